#include "platform/process.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <utility>

#include "platform/win_path.h"

namespace platform {
namespace {

// The program at the start of a command line: its path as written, the host file (null when
// there is none) and where the arguments begin.
struct Program {
    QString path;
    QString hostPath;
    qsizetype argumentsStart;
};

bool IsBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QString WithExtension(QStringView path)
{
    const qsizetype nameStart = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/')) + 1;
    if (path.sliced(nameStart).contains(u'.'))
        return path.toString();
    return path.toString() + QStringLiteral(".EXE");
}

// The host path of the file that Windows would run for path; null when there is none.
QString ExistingProgram(QStringView path)
{
    const QString host = HostPath(WithExtension(path));
    return QFileInfo(host).isFile() ? host : QString();
}

Program QuotedProgram(QStringView line)
{
    const qsizetype close = line.indexOf(u'"', 1);
    const qsizetype end = close < 0 ? line.size() : close;
    const QStringView path = line.sliced(1, end - 1);
    return {path.toString(), ExistingProgram(path), std::min(end + 1, line.size())};
}

// Each blank-separated beginning of the line in turn: the first that names a file wins, so a
// path with blanks needs no quotes (and a file "C:\My.exe" shadows "C:\My Games\...").
Program UnquotedProgram(QStringView line)
{
    for (qsizetype end = 1; end <= line.size(); ++end) {
        const bool wordEnds = end == line.size() || (IsBlank(line[end]) && !IsBlank(line[end - 1]));
        if (!wordEnds)
            continue;
        const QString host = ExistingProgram(line.first(end));
        if (!host.isNull())
            return {line.first(end).toString(), host, end};
    }
    return {line.toString(), QString(), line.size()};
}

QStringList SplitArguments(QStringView text)
{
    QStringList arguments;
    QString argument;
    bool inArgument = false;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'"') {
            quoted = !quoted;
            inArgument = true;
        } else if (IsBlank(c) && !quoted) {
            if (inArgument)
                arguments.append(std::exchange(argument, QString()));
            inArgument = false;
        } else {
            argument += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments.append(argument);
    return arguments;
}

bool IsWindowsExecutable(const QString& hostPath)
{
    QFile file(hostPath);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "MZ";
}

Status CannotStart(const QString& path, const QString& reason)
{
    return Status::Failed(QStringLiteral("Cannot start %1: %2").arg(path, reason));
}

Status StartDetached(const Program& program, QStringList arguments, qint64& taskId)
{
    QProcess process;
    if (IsWindowsExecutable(program.hostPath)) {
        const QString wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
        if (wine.isEmpty()) {
            return CannotStart(program.path,
                               QStringLiteral("it is a Windows program, and \"wine\", "
                                              "which runs those, is not on the PATH"));
        }
        arguments.prepend(program.hostPath);
        process.setProgram(wine);
    } else {
        process.setProgram(program.hostPath);
    }
    // No working directory is set: the program inherits ours.
    process.setArguments(arguments);
    if (!process.startDetached(&taskId))
        return CannotStart(program.path, process.errorString());
    return Status::Ok();
}

}  // namespace

Status StartProcess(const QString& commandLine, qint64& taskId)
{
    const QStringView line = QStringView(commandLine).trimmed();
    if (line.isEmpty())
        return Status::Failed(QStringLiteral("Cannot start a program: the command line is empty"));
    const bool quoted = line.startsWith(u'"');
    const Program program = quoted ? QuotedProgram(line) : UnquotedProgram(line);
    if (program.hostPath.isNull() && quoted)
        return CannotStart(program.path, QStringLiteral("no such program file"));
    if (program.hostPath.isNull()) {
        return Status::Failed(
            QStringLiteral("No program file found in the command line %1").arg(program.path));
    }
    return StartDetached(program, SplitArguments(line.sliced(program.argumentsStart)), taskId);
}

bool IsRunning(qint64 taskId)
{
    // A process that has ended but is not yet reaped is gone all the same: state Z or X.
    QFile status(QStringLiteral("/proc/%1/stat").arg(taskId));
    if (taskId <= 0 || !status.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = status.readLine();
    const qsizetype nameEnd = line.lastIndexOf(')');
    return nameEnd >= 0 && nameEnd + 2 < line.size() && line[nameEnd + 2] != 'Z'
           && line[nameEnd + 2] != 'X';
}

}  // namespace platform
