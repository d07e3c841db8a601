#include "platform/settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <unistd.h>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "platform/text_file.h"

namespace platform {
namespace {

// Asked afresh at every call: the config home may change while the program runs (tests do).
QString SettingsFile(const QString& application)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/'
           + application + u'/' + application + QStringLiteral(".ini");
}

// QSettings would wait forever on a FIFO put in the file's place: such a store is as unreadable
// as one without permission, so nothing is read from it or written to it.
bool IsUsable(const QString& file)
{
    const QFileInfo info(file);
    return !info.exists() || info.isFile();
}

// The stored spelling of a section or key name: the exact one when present, else the first that
// differs only in case; null when there is none.
QString StoredName(const QStringList& names, const QString& name)
{
    if (names.contains(name))
        return name;
    for (const QString& stored : names) {
        if (stored.compare(name, Qt::CaseInsensitive) == 0)
            return stored;
    }
    return {};
}

// We write every value as one quoted text; a hand-edited line with a bare comma reads as a list.
QString SingleText(const QVariant& value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

// The first setting that could not be stored since the last TakeSettingsFailure.
Status firstFailure = Status::Ok();

void KeepFailure(const Status& stored)
{
    if (!stored && firstFailure.ok())
        firstFailure = stored;
}

struct Entry {
    QString section;
    QString key;
    QString value;
};

// The entries of one application saved while a SettingsBatch lives.
struct Batch {
    QString application;
    std::vector<Entry> entries;
};
std::optional<Batch> batch;

// Whether the file at path holds exactly the entries of settings: QSettings reports success
// even when its file was cut short on the disk.
bool HoldsAll(const QString& path, const QSettings& settings)
{
    const QSettings written(path, QSettings::IniFormat);
    const QStringList keys = settings.allKeys();
    return written.status() == QSettings::NoError && written.allKeys().size() == keys.size()
           && std::all_of(keys.begin(), keys.end(), [&](const QString& key) {
                  return written.value(key) == settings.value(key);
              });
}

Status NotStored(const QString& file, const Status& failure)
{
    return Status::Failed(
        QStringLiteral("The settings could not be stored in %1. %2").arg(file, failure.message()));
}

// Whether a file one byte longer than size fits in the folder: when it does not, a file of that
// size that misses entries was cut short by a full disk or a size limit, not by its content.
bool HasRoomBeyond(const QString& folder, qsizetype size)
{
    const QString probe = folder + QStringLiteral("/room");
    const bool room = ReplaceFile(probe, QByteArray(size + 1, '\n')).ok();
    QFile::remove(probe);
    return room;
}

// Sets the entries in the INI draft, in order. QSettings reports success even when the file it
// wrote was cut short on the disk, and writes some content it has read back differently (a
// hand-made or damaged file), so the draft is read back to see that it holds them all.
Status SetEntries(const QString& draft, std::span<const Entry> entries)
{
    QSettings settings(draft, QSettings::IniFormat);
    for (const Entry& entry : entries) {
        const QString group = StoredName(settings.childGroups(), entry.section);
        settings.beginGroup(group.isNull() ? entry.section : group);
        for (const QString& stored : settings.childKeys()) {
            if (stored != entry.key && stored.compare(entry.key, Qt::CaseInsensitive) == 0)
                settings.remove(stored);
        }
        settings.setValue(entry.key, entry.value);
        settings.endGroup();
    }
    settings.sync();
    // Another QSettings on this file would answer from the cache it shares with this one: the
    // bytes that reached the disk are checked through a copy of them.
    const QString copy = draft + QStringLiteral(".check");
    QByteArray bytes;
    Status checked = ReadFileBytes(draft, bytes);
    if (checked)
        checked = ReplaceFile(copy, bytes);
    if (!checked || HoldsAll(copy, settings))
        return checked;
    if (!HasRoomBeyond(QFileInfo(draft).path(), bytes.size()))
        return Status::Failed(QStringLiteral("It was cut short (is the disk full?)"));
    return Status::Failed(QStringLiteral("Its content cannot be stored as it is: part of it would "
                                         "be written back differently."));
}

// Drafts live in the user's cache, one folder a process, named by its id: two editors storing at
// once must not clear each other's draft. A folder whose process is gone was left by a store that
// was killed midway, and goes.
QDir DraftFolder()
{
    const QDir drafts(QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                      + QStringLiteral("/settings-draft"));
    for (const QString& name : drafts.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const pid_t owner = pid_t(name.toLongLong(&number));
        if (!number || owner <= 0 || (::kill(owner, 0) != 0 && errno == ESRCH))
            QDir(drafts.filePath(name)).removeRecursively();
    }
    return QDir(drafts.filePath(QString::number(::getpid())));
}

// The new file is composed in a draft folder; the settings file itself is only ever replaced
// whole, by a write that is checked to the last byte. Every store removes its folder when it is
// done, and the folders that stores killed midway left.
Status StoreEntries(const QString& file, std::span<const Entry> entries)
{
    QDir drafts = DraftFolder();
    const QString draft = drafts.filePath(QStringLiteral("settings.ini"));
    QByteArray bytes;
    Status stored = drafts.mkpath(QStringLiteral("."))
                        ? Status::Ok()
                        : Status::Failed(QStringLiteral("Cannot make the folder ") + drafts.path());
    if (stored && QFileInfo::exists(file))
        stored = ReadFileBytes(file, bytes);
    if (stored)
        stored = ReplaceFile(draft, bytes);
    if (stored)
        stored = SetEntries(draft, entries);
    if (stored)
        stored = ReadFileBytes(draft, bytes);
    if (stored) {
        QDir().mkpath(QFileInfo(file).path());  // a folder that cannot be made fails the write
        stored = ReplaceFile(file, bytes);
    }
    drafts.removeRecursively();
    QDir().rmdir(QFileInfo(drafts.path()).path());  // only when no other process drafts there
    return stored ? stored : NotStored(file, stored);
}

}  // namespace

QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    const QString file = SettingsFile(application);
    if (!IsUsable(file))
        return defaultValue;
    QSettings settings(file, QSettings::IniFormat);
    const QString group = StoredName(settings.childGroups(), section);
    if (group.isNull())
        return defaultValue;
    settings.beginGroup(group);
    const QString storedKey = StoredName(settings.childKeys(), key);
    return storedKey.isNull() ? defaultValue : SingleText(settings.value(storedKey));
}

void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value)
{
    Entry entry{section, key, value};
    if (batch && batch->application == application)
        batch->entries.push_back(std::move(entry));
    else
        KeepFailure(StoreEntries(SettingsFile(application), {&entry, 1}));
}

SettingsBatch::SettingsBatch(const QString& application) : gathers_(!batch)
{
    if (gathers_)
        batch = Batch{application, {}};
}

SettingsBatch::~SettingsBatch()
{
    if (!gathers_)
        return;
    const Batch gathered = *std::exchange(batch, std::nullopt);
    if (!gathered.entries.empty())
        KeepFailure(StoreEntries(SettingsFile(gathered.application), gathered.entries));
}

Status TakeSettingsFailure()
{
    return std::exchange(firstFailure, Status::Ok());
}

}  // namespace platform
