#pragma once

#include <QString>

#include "platform/status.h"

// The per-user settings store: text values addressed by application, section and key. Section
// and key names compare without regard to case. Kept as an INI file in the user's config folder
// ($XDG_CONFIG_HOME/<application>/<application>.ini).
namespace platform {

// The stored text, or defaultValue when the key, its section or the application has no entry.
QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue);

// Creates or replaces the entry (whatever the case of its stored key name). The file is replaced
// whole or not at all, from a draft composed in the user's cache folder; an entry that cannot be
// stored is kept for TakeSettingsFailure.
void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value);

// While it lives, the application's entries that SaveSetting is given are gathered, and the
// file is replaced once, with all of them, when it ends: a shut-down that stores many entries
// writes the file once. A batch begun inside another gathers nothing of its own.
class SettingsBatch {
public:
    explicit SettingsBatch(const QString& application);
    ~SettingsBatch();
    SettingsBatch(const SettingsBatch&) = delete;
    SettingsBatch& operator=(const SettingsBatch&) = delete;

private:
    bool gathers_;
};

// The first SaveSetting failure since the last call (its message names the file and the
// reason), or success; the record starts afresh.
Status TakeSettingsFailure();

}  // namespace platform
