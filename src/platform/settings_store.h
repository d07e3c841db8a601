#pragma once

#include <QString>

// The per-user settings store: text values addressed by application, section and key. Section
// and key names compare without regard to case. Kept as an INI file in the user's config folder
// ($XDG_CONFIG_HOME/<application>/<application>.ini).
namespace platform {

// The stored text, or defaultValue when the key, its section or the application has no entry.
QString GetSetting(const QString& application, const QString& section, const QString& key,
                   const QString& defaultValue);

// Creates or replaces the entry (whatever the case of its stored key name).
void SaveSetting(const QString& application, const QString& section, const QString& key,
                 const QString& value);

}  // namespace platform
