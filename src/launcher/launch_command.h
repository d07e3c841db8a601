#pragma once

#include <QString>
#include <array>

#include "platform/status.h"

namespace launcher {

// One launch switch: its bit of LaunchFlags, its control and caption in the Options dialog, and
// the text it adds to the game's command line (empty: none).
struct LaunchSwitch {
    qint16 bit;
    const char* control;
    const char* caption;
    const char* switchText;
};

// In ascending bit order, which is also the order of the switches on the command line.
extern const std::array<LaunchSwitch, 14> kLaunchSwitches;

inline const QString kGameScriptPath = QStringLiteral("C:\\TEMP\\temp.scr");

// Copies scriptPath to C:\TEMP\temp.scr and gives the game's command line in commandLine: the
// game path, the switch texts of the set bits of LaunchFlags, then " C:\TEMP\temp.scr".
// A failed copy returns the failure, leaves commandLine and C:\TEMP\temp.scr untouched.
platform::Status BuildLaunchCommand(const QString& gamePath, const QString& scriptPath,
                                    QString& commandLine);

}  // namespace launcher
