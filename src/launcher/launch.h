#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace launcher {

// What the launch and the Errors command show. The main window implements it over the Errors
// window (frmErrors and its list lstErrors) and message boxes.
class LaunchView {
public:
    virtual ~LaunchView() = default;

    // The modal box ErrorCodeText(taskId), titled kErrorCodeTitle, with only OK; returns once
    // it is dismissed.
    virtual void ShowErrorCode(qint64 taskId) = 0;
    // A modal box: the game was not started, and why (the message names the path at fault).
    virtual void ShowFailure(const QString& message) = 0;
    // Replaces the lines of the Errors window's list, in one go.
    virtual void FillErrors(const QStringList& lines) = 0;
    // Shows the Errors window, modeless.
    virtual void ShowErrors() = 0;
    // The Errors command found no log to list: a modal box titled kErrorListingTitle.
    virtual void ReportNoLog(const QString& message) = 0;
};

inline const QString kLaunchScriptPath = QStringLiteral("C:\\TEMP\\TEMP1.SCR");
inline const QString kErrorCodeTitle = QStringLiteral("External Error");
inline const QString kErrorListingTitle = QStringLiteral("Error Listing");
// LaunchFlags bit "Debug Mode": a launch also lists the game's new debug log.
constexpr qint16 kDebugMode = 0x2;

QString ErrorCodeText(qint64 taskId);

// Tools > Launch Independence War: writes the active script (none when no script window is
// open) to C:\TEMP\TEMP1.SCR, making C:\TEMP when the prefix has none, makes the game's folder
// the working directory, saves the old debug.txt as debug.bak, starts the game without waiting
// for it, lists its new debug.txt in Debug Mode, puts the history back into debug.txt unless
// the game still runs, and shows the Errors window.
void LaunchIndependenceWar(const std::optional<QString>& scriptText, LaunchView& view);

// Window > Errors: lists debug.txt of the game's folder, taken as LaunchPath less the 8
// characters of "IWAR.EXE", and shows the Errors window.
void ListErrors(LaunchView& view);

}  // namespace launcher
