#include "launcher/launch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <sys/stat.h>

#include "launcher/launch_command.h"
#include "platform/process.h"
#include "platform/text_file.h"
#include "platform/win_path.h"
#include "shell/options.h"

namespace launcher {
namespace {

using platform::Status;

// Both are opened by bare name: they are the game folder's once a command has entered it.
const QString kDebugLog = QStringLiteral("debug.txt");
const QString kDebugHistory = QStringLiteral("debug.bak");
// The same file as kLaunchScriptPath; the command line is built from this spelling.
const QString kLaunchScriptCopySource = QStringLiteral("C:\\TEMP\\TEMP1.scr");

// The folder of kLaunchScriptPath.
const QString kLaunchScriptFolder = QStringLiteral("C:\\TEMP");

// Every Windows machine the game ran on had C:\TEMP; a fresh Wine prefix has none. Only that
// one folder is made: a missing drive stays a failure.
Status MakeLaunchScriptFolder()
{
    const QString folder = platform::HostPath(kLaunchScriptFolder);
    if (QFileInfo(folder).isDir() || ::mkdir(QFile::encodeName(folder).constData(), 0777) == 0)
        return Status::Ok();
    return Status::Failed(
        QStringLiteral("Cannot create folder %1: %2").arg(kLaunchScriptFolder, qt_error_string(errno)));
}

// The lines of a log. CR LF, a lone LF and a lone CR each end a line, so no entry ever holds a
// line break; a last line without one counts too, and an empty log has no line at all.
QStringList LogLines(QStringView text)
{
    QStringList lines;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.sliced(lineStart, i - lineStart).toString());
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        lineStart = i + 1;
    }
    if (lineStart < text.size())
        lines.append(text.sliced(lineStart).toString());
    return lines;
}

// The game's folder is LaunchPath up to and including its last backslash; a path without one
// leaves the working directory as it is. A folder that cannot be entered shows up as a game
// that cannot be started.
void EnterGameFolder(const QString& launchPath)
{
    const qsizetype lastBackslash = launchPath.lastIndexOf(u'\\');
    if (lastBackslash >= 0)
        (void)platform::ChangeDirectory(launchPath.first(lastBackslash + 1));
}

// The game starts a new debug.txt; the old one is deleted only once debug.bak holds it, so
// that a failed copy never costs the log.
void SaveOldLog()
{
    if (platform::CopyFile(kDebugLog, kDebugHistory))
        (void)platform::DeleteFile(kDebugLog);
}

// What the game has logged by the time the box is dismissed is listed and added to the
// history; a log not (yet) written counts as one empty line.
void ListNewLog(qint64 taskId, LaunchView& view)
{
    view.ShowErrorCode(taskId);
    QString text;
    (void)platform::ReadTextFile(kDebugLog, text);
    QStringList lines = LogLines(text);
    if (lines.isEmpty())
        lines.append(QString());
    view.FillErrors(lines);
    (void)platform::AppendTextLine(kDebugHistory, lines.join(QStringLiteral("\r\n")));
}

// The Errors command's folder is LaunchPath less the 8 characters of "IWAR.EXE"; it becomes the
// working directory, and its debug.txt is read.
Status ReadGameLog(const QString& launchPath, QString& text)
{
    if (launchPath.size() < 8) {
        return Status::Failed(
            QStringLiteral("No game log found: the game path \"%1\" is too short to name a folder")
                .arg(launchPath));
    }
    const QString folder = launchPath.chopped(8);
    if (Status entered = platform::ChangeDirectory(folder); !entered)
        return Status::Failed(QStringLiteral("No game log found: %1").arg(entered.message()));
    if (Status read = platform::ReadTextFile(kDebugLog, text); !read) {
        const QString shownFolder = folder.isEmpty() ? QDir::currentPath() : folder;
        return Status::Failed(
            QStringLiteral("No game log found in %1: %2").arg(shownFolder, read.message()));
    }
    return Status::Ok();
}

}  // namespace

QString ErrorCodeText(qint64 taskId)
{
    return QStringLiteral("Independence War returned Error Code %1").arg(taskId);
}

void LaunchIndependenceWar(const std::optional<QString>& scriptText, LaunchView& view)
{
    const QString launchPath = shell::options.LaunchPath;
    // A script that cannot be written starts no game: it would run the one an earlier launch left.
    Status started = Status::Ok();
    if (scriptText) {
        started = MakeLaunchScriptFolder();
        if (started)
            started = platform::WriteTextFile(kLaunchScriptPath, *scriptText);
    }
    EnterGameFolder(launchPath);
    QString commandLine;
    if (started)
        started = BuildLaunchCommand(launchPath, kLaunchScriptCopySource, commandLine);
    SaveOldLog();
    qint64 taskId = 0;
    if (started)
        started = platform::StartProcess(commandLine, taskId);
    if (!started)
        view.ShowFailure(
            QStringLiteral("Independence War was not started. %1").arg(started.message()));
    if (taskId != 0 && (shell::options.LaunchFlags & kDebugMode))
        ListNewLog(taskId, view);
    // A game that still runs writes on into the debug.txt it holds open; replacing that file
    // would send the rest of its log into an unlinked one.
    if (taskId == 0 || !platform::IsRunning(taskId))
        (void)platform::CopyFile(kDebugHistory, kDebugLog);
    view.ShowErrors();
}

void ListErrors(LaunchView& view)
{
    QString text;
    const Status read = ReadGameLog(shell::options.LaunchPath, text);
    view.FillErrors(LogLines(text));
    if (!read)
        view.ReportNoLog(read.message());
    view.ShowErrors();
}

}  // namespace launcher
