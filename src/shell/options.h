#pragma once

#include <QString>
#include <array>

#include "platform/rich_text_box.h"

namespace shell {

inline const QString kApplicationName = QStringLiteral("Orbiscribe");
inline const QString kDefaultLaunchPath =
    QStringLiteral("C:\\PROGRAM FILES\\PARTICLE SYSTEMS\\INDEPENDENCE WAR\\IWAR.EXE");

// Indexes of TextColors.
enum TextColorIndex { CommandColor = 0, CommentColor = 1, NormalColor = 2, BackgroundColor = 3 };

// SystemFlags bit: keyword and comment colouring on.
constexpr qint16 kColoringOn = 0x1;

// The option variables: filled at start-up by LoadOptions, changed only by the Options dialog,
// written back at a normal exit by SaveOptions. Every reader reads them when it runs.
struct OptionVariables {
    qint16 LaunchFlags = 144;
    QString LaunchPath = kDefaultLaunchPath;
    qint16 SystemFlags = kColoringOn;
    std::array<platform::Color, 4> TextColors{16711680, 65280, 0, 16777215};
};

// The program's option variables; tests reset them with `options = {}`.
extern OptionVariables options;

// Reads section "Options" of the settings store; a missing, unconvertible or out-of-range value
// gives its default.
void LoadOptions();
// Writes all seven keys of section "Options".
void SaveOptions();

}  // namespace shell
