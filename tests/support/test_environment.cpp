#include "support/test_environment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace support {
namespace {

void restoreVariable(const char* name, const QByteArray& value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

}  // namespace

TestEnvironment::TestEnvironment()
    : savedWinePrefix_(qgetenv("WINEPREFIX")),
      savedConfigHome_(qgetenv("XDG_CONFIG_HOME")),
      savedWorkDir_(QDir::currentPath())
{
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
    QDir root(dir_.path());
    root.mkpath("wine/drive_c");
    root.mkpath("wine/dosdevices");
    root.mkpath("config");
    root.mkpath("work");
    QFile::link("../drive_c", root.filePath("wine/dosdevices/c:"));
    qputenv("WINEPREFIX", QFile::encodeName(root.filePath("wine")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome()));
    QDir::setCurrent(workDir());
}

TestEnvironment::~TestEnvironment()
{
    QDir::setCurrent(savedWorkDir_);
    restoreVariable("WINEPREFIX", savedWinePrefix_);
    restoreVariable("XDG_CONFIG_HOME", savedConfigHome_);
}

QString TestEnvironment::writeFile(const QString& relativePath, const QByteArray& content) const
{
    const QString path = QDir(root()).filePath(relativePath);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        throw std::runtime_error("cannot write a test file");
    return path;
}

QByteArray TestEnvironment::readFile(const QString& hostPath)
{
    QFile file(hostPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList TestEnvironment::files(const QString& hostFolder)
{
    QStringList found;
    QDirIterator it(hostFolder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        found.append(QDir(hostFolder).relativeFilePath(path) + u'=' + QString::fromLatin1(readFile(path)));
    }
    found.sort();
    return found;
}

}  // namespace support
