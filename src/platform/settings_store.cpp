#include "platform/settings_store.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

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
    const QString file = SettingsFile(application);
    if (!IsUsable(file))
        return;
    QSettings settings(file, QSettings::IniFormat);
    const QString group = StoredName(settings.childGroups(), section);
    settings.beginGroup(group.isNull() ? section : group);
    for (const QString& stored : settings.childKeys()) {
        if (stored != key && stored.compare(key, Qt::CaseInsensitive) == 0)
            settings.remove(stored);
    }
    settings.setValue(key, value);
    settings.endGroup();
    settings.sync();
}

}  // namespace platform
