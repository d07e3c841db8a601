#include "platform/win_path.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>

namespace platform {
namespace {

bool StartsWithDrive(QStringView path)
{
    return path.size() >= 2 && path[1] == u':' && path[0].isLetter() && path[0].unicode() < 0x80;
}

// Wine keeps a link per drive letter; drive C is also reachable as drive_c when the link is gone.
QString DriveFolder(QChar letter)
{
    const QString linked = WinePrefix() + "/dosdevices/" + letter.toLower() + u':';
    if (letter.toLower() == u'c' && !QFileInfo::exists(linked))
        return WinePrefix() + "/drive_c";
    return linked;
}

// The components after "." and ".." are applied as Windows does, by name alone: ".." never
// climbs above the first folder.
QStringList NormalComponents(QString path)
{
    QStringList components;
    for (const QString& name : path.replace(u'\\', u'/').split(u'/', Qt::SkipEmptyParts)) {
        if (name == u"..") {
            if (!components.isEmpty())
                components.removeLast();
        } else if (name != u".") {
            components.append(name);
        }
    }
    return components;
}

bool IsDecimalNumber(QStringView text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
}

// The entry that a short name PREFIX~N stands for: the N-th, in name order without regard to
// case, of the entries whose names, less blanks and dots, begin with PREFIX in any case. So
// PROGRA~1, PROGRA~2 and PROGRA~3 are "Program Files", "Program Files (x86)" and "ProgramData",
// as Windows names them. Null when name is no short name or there is no N-th entry.
QString ShortNameSpelling(const QStringList& entries, QStringView name)
{
    const qsizetype tilde = name.lastIndexOf(u'~');
    const QStringView number = name.sliced(tilde + 1);
    if (tilde < 1 || number.size() > 9 || !IsDecimalNumber(number))
        return {};
    const QStringView prefix = name.first(tilde);
    QStringList matches;
    for (const QString& entry : entries) {
        if (QString(entry).remove(u' ').remove(u'.').startsWith(prefix, Qt::CaseInsensitive))
            matches.append(entry);
    }
    // Stable over the case-sensitive listing, so names that differ only in case keep one order.
    std::stable_sort(matches.begin(), matches.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    const qsizetype index = number.toInt() - 1;
    return index >= 0 && index < matches.size() ? matches[index] : QString();
}

// The spelling of the entry of folder that Windows would open for name: the exact one when it
// exists, else the first that differs only in case, else the one a short name stands for; null
// when there is none.
QString ExistingSpelling(const QString& folder, const QString& name)
{
    if (QFileInfo::exists(folder + u'/' + name))
        return name;
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return ShortNameSpelling(entries, name);
}

QString ResolveUnder(const QString& folder, const QString& relativePath)
{
    QString host = folder.endsWith(u'/') ? folder.chopped(1) : folder;
    bool exists = true;  // once a component is missing, nothing below it can be found
    for (const QString& name : NormalComponents(relativePath)) {
        const QString spelling = exists ? ExistingSpelling(host, name) : QString();
        exists = !spelling.isNull();
        host += u'/' + (exists ? spelling : name);
    }
    return host.isEmpty() ? QStringLiteral("/") : host;
}

// The path with every link resolved, as the drive folders are: the part that exists through its
// canonical form, the rest as written.
QString CanonicalHostPath(const QString& path)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(existing) && existing != u"/") {
        const qsizetype slash = existing.lastIndexOf(u'/');
        rest.prepend(existing.sliced(slash));
        existing.truncate(std::max<qsizetype>(slash, 1));
    }
    const QString canonical = QFileInfo(existing).canonicalFilePath();
    return canonical == u"/" ? (rest.isEmpty() ? canonical : rest) : canonical + rest;
}

}  // namespace

QString WinePrefix()
{
    const QString prefix = qEnvironmentVariable("WINEPREFIX");
    return prefix.isEmpty() ? QDir::homePath() + "/.wine" : QDir::cleanPath(prefix);
}

QString HostPath(const QString& path)
{
    if (path.startsWith(u'/'))
        return path;
    if (StartsWithDrive(path))
        return ResolveUnder(DriveFolder(path[0]), path.sliced(2));
    // A rooted path without a drive lies on the current drive, which the program never leaves.
    if (path.startsWith(u'\\'))
        return ResolveUnder(DriveFolder(u'c'), path);
    return ResolveUnder(QStringLiteral("/"), QDir::currentPath() + u'/' + path);
}

QString WindowsPath(const QString& path)
{
    if (!path.startsWith(u'/'))
        return path;
    const QString host = CanonicalHostPath(path);
    QString bestDrive;
    QString bestFolder;
    const QDir devices(WinePrefix() + "/dosdevices");
    for (const QFileInfo& device : devices.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString name = device.fileName();
        if (name.size() != 2 || name[1] != u':' || !StartsWithDrive(name))
            continue;
        const QString folder = device.canonicalFilePath();
        const bool holds = !folder.isEmpty()
                           && (host == folder || host.startsWith(folder == u"/" ? folder : folder + u'/'));
        if (holds && folder.size() > bestFolder.size()) {
            bestFolder = folder;
            bestDrive = name.toUpper();
        }
    }
    if (bestDrive.isEmpty())
        return path;
    QString rest = host.sliced(bestFolder.size());
    if (!rest.startsWith(u'/'))
        rest.prepend(u'/');
    return bestDrive + rest.replace(u'/', u'\\');
}

}  // namespace platform
