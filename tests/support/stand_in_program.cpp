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

// Polls until done() holds; false when the deadline passed first.
template <typename Done>
bool PollUntil(int seconds, Done done)
{
    const QDeadlineTimer deadline(seconds * 1000);
    while (!done() && !deadline.hasExpired())
        QThread::msleep(5);
    return done();
}

}  // namespace

void WriteStandInProgram(const QString& hostPath, const QString& recordPath,
                         const QString& logSource)
{
    const QString script =
        QStringLiteral("#!/bin/sh\nPATH=/usr/bin:/bin\nif [ -f %1 ]; then cp %1 debug.txt; fi\n"
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

std::optional<QByteArray> WaitForFile(const QString& hostPath, qint64 pid, int seconds)
{
    PollUntil(seconds, [&] { return QFileInfo::exists(hostPath) || (pid > 0 && !platform::IsRunning(pid)); });
    QFile file(hostPath);
    return file.open(QIODevice::ReadOnly) ? std::optional(file.readAll()) : std::nullopt;
}

std::optional<StartRecord> WaitForStart(const QString& recordPath, qint64 pid)
{
    const std::optional<QByteArray> content = WaitForFile(recordPath, pid, 5);
    QStringList lines = QString::fromUtf8(content.value_or("")).split(u'\n');
    if (lines.size() < 3 || !lines.takeLast().isEmpty())
        return std::nullopt;
    // Braced initialisers run in order: the process id, the folder, then the arguments left.
    return StartRecord{lines.takeFirst().toLongLong(), lines.takeFirst(), lines};
}

bool WaitForEnd(qint64 pid)
{
    return PollUntil(60, [pid] { return !platform::IsRunning(pid); });
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
