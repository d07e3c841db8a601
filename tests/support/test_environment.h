#pragma once

#include <QTemporaryDir>

#include "support/stand_in_program.h"

namespace support {

// A private world for one test: a temporary folder holding a Wine prefix (WINEPREFIX, with
// drive_c and dosdevices/c: linked to it), a config home (XDG_CONFIG_HOME, so the settings
// store starts empty), a cache home (XDG_CACHE_HOME) and a working directory (the process's current directory meanwhile).
// Everything is restored and removed when it goes out of scope.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();

    QString root() const { return dir_.path(); }
    QString driveC() const { return root() + "/wine/drive_c"; }
    QString workDir() const { return root() + "/work"; }
    QString configHome() const { return root() + "/config"; }
    QString cacheHome() const { return root() + "/cache"; }

    // Host path of a file under the root folder, made with its parent folders and content.
    QString writeFile(const QString& relativePath, const QByteArray& content) const;
    // Content of the file at a host path; empty when it cannot be read.
    static QByteArray readFile(const QString& hostPath);
    // Every regular file under a host folder, sorted, each as "relative/path=content", so that
    // a whole tree compares in one assertion.
    static QStringList files(const QString& hostFolder);
    // Content of a data file kept with the tests ("platform/golden/x.txt"); throws when missing,
    // so that a lost golden file can never compare equal to an empty result.
    static QByteArray testData(const QString& relativePath);

private:
    QTemporaryDir dir_;
    ScopedEnvironmentVariable winePrefix_;
    ScopedEnvironmentVariable configHome_;
    ScopedEnvironmentVariable cacheHome_;
    QString savedWorkDir_;
};

}  // namespace support
