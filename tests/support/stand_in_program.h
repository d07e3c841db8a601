#pragma once

#include <QByteArray>
#include <QStringList>
#include <optional>

namespace support {

// How a stand-in program was started, as it recorded it.
struct StartRecord {
    qint64 pid = 0;
    QString workDir;  // with every link resolved
    QStringList arguments;
};

// Writes at hostPath an executable shell script that stands in for a program such as the game.
// When run, it copies the file logSource (if there is one by then) to debug.txt in its working
// directory, then writes its record (process id, working directory, one argument per line) to
// recordPath in one step, so that a record that exists is complete. It then keeps running for
// as long as a file named recordPath + ".hold" exists.
void WriteStandInProgram(const QString& hostPath, const QString& recordPath,
                         const QString& logSource);

// The content of the file at hostPath once it exists; nullopt when it has not appeared within
// the bound (a minute: a Wine program may be slow to start), or at once when the process pid,
// if given, has ended without writing it. Only a bound against hanging: callers assert on
// content, never on time.
std::optional<QByteArray> WaitForFile(const QString& hostPath, qint64 pid = 0, int seconds = 60);

// The record written at recordPath by a stand-in program, once it exists. A stand-in writes it
// as it starts, so one that did not start fails within seconds, at once when pid is given.
std::optional<StartRecord> WaitForStart(const QString& recordPath, qint64 pid = 0);

// Returns once the process has ended; false when it still runs after a minute.
bool WaitForEnd(qint64 pid);

// Sets an environment variable for as long as it lives.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const char* name, const QByteArray& value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    const char* name_;
    bool wasSet_;
    QByteArray saved_;
};

}  // namespace support
