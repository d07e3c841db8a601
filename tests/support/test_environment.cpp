#include "support/test_environment.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <stdexcept>

namespace support {

TestEnvironment::TestEnvironment()
    : winePrefix_("WINEPREFIX", QFile::encodeName(root() + "/wine")),
      configHome_("XDG_CONFIG_HOME", QFile::encodeName(configHome())),
      cacheHome_("XDG_CACHE_HOME", QFile::encodeName(cacheHome())),
      savedWorkDir_(QDir::currentPath())
{
    QDir rootFolder(root());
    if (!dir_.isValid() || !rootFolder.mkpath("wine/drive_c") || !rootFolder.mkpath("wine/dosdevices")
        || !rootFolder.mkpath("config") || !rootFolder.mkpath("work")
        || !QFile::link("../drive_c", rootFolder.filePath("wine/dosdevices/c:")))
        throw std::runtime_error("cannot make the temporary folders");
    QDir::setCurrent(workDir());
}

TestEnvironment::~TestEnvironment()
{
    QDir::setCurrent(savedWorkDir_);
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

QByteArray TestEnvironment::testData(const QString& relativePath)
{
    QFile file(QStringLiteral(ORBISCRIBE_TESTS_DIR "/") + relativePath);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("missing test data: " + file.fileName().toStdString());
    return file.readAll();
}

}  // namespace support
