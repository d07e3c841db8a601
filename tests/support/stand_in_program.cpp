#include "support/stand_in_program.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <stdexcept>

#include "platform/process.h"

namespace support {
namespace {

QString ShellQuoted(const QString& text)
{
    return u'\'' + QString(text).replace(u'\'', QStringLiteral("'\\''")) + u'\'';
}

}  // namespace

void WriteStandInProgram(const QString& hostPath, const QString& recordPath,
                         const QString& logSource)
{
    const QString script =
        QStringLiteral(
            "#!/bin/sh\n"
            "PATH=/usr/bin:/bin\n"
            "if [ -f %1 ]; then cp %1 debug.txt; fi\n"
            "{ echo $$; pwd -P; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > %2"
            " && mv %2 %3\n"
            "while [ -e %4 ]; do sleep 0.01; done\n")
            .arg(ShellQuoted(logSource), ShellQuoted(recordPath + ".part"),
                 ShellQuoted(recordPath), ShellQuoted(recordPath + ".hold"));
    QDir().mkpath(QFileInfo(hostPath).path());
    QFile file(hostPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(script.toUtf8()) < 0
        || !file.setPermissions(file.permissions() | QFile::ExeOwner))
        throw std::runtime_error("cannot write a stand-in program");
}

std::optional<QByteArray> WaitForFile(const QString& hostPath)
{
    const QDeadlineTimer deadline(60 * 1000);
    while (!QFileInfo::exists(hostPath)) {
        if (deadline.hasExpired())
            return std::nullopt;
        QThread::msleep(10);
    }
    QFile file(hostPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

std::optional<StartRecord> WaitForStart(const QString& recordPath)
{
    const std::optional<QByteArray> content = WaitForFile(recordPath);
    if (!content)
        return std::nullopt;
    QStringList lines = QString::fromUtf8(*content).split(u'\n');
    if (lines.size() < 3 || !lines.last().isEmpty())
        return std::nullopt;
    lines.removeLast();
    StartRecord record;
    record.pid = lines.takeFirst().toLongLong();
    record.workDir = lines.takeFirst();
    record.arguments = lines;
    return record;
}

bool WaitForEnd(qint64 pid)
{
    const QDeadlineTimer deadline(60 * 1000);
    while (platform::IsRunning(pid)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(5);
    }
    return true;
}

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name, const QByteArray& value)
    : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), saved_(qgetenv(name))
{
    qputenv(name, value);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable()
{
    if (wasSet_)
        qputenv(name_, saved_);
    else
        qunsetenv(name_);
}

}  // namespace support
