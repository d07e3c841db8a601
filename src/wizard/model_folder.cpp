#include "wizard/model_folder.h"

#include <QDir>

#include "platform/win_path.h"

namespace wizard {
namespace {

constexpr qsizetype kFileNameLength = 8;

}  // namespace

QString ModelFolder(const QString& launchPath)
{
    if (launchPath.size() < kFileNameLength)
        return QString();
    return launchPath.chopped(kFileNameLength) + QStringLiteral("psg\\resource\\shapes");
}

QStringList ModelFiles(const QString& windowsFolder)
{
    if (windowsFolder.isEmpty())
        return {};
    // Name filters match without regard to case unless told otherwise.
    return QDir(platform::HostPath(windowsFolder))
        .entryList({QStringLiteral("*.lwo")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

}  // namespace wizard
