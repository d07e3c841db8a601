#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <map>

namespace platform {

// The registry as the Windows side of this program sees it: HKEY_LOCAL_MACHINE is the Wine
// prefix's $WINEPREFIX/system.reg, read and never written. The calls keep the shape of the
// system's 8-bit registry calls (names in the Windows code page, a status code as result), so
// that code written against them reads as it would there. A missing or unreadable file, key or
// value is absent.

using HKEY = quint32;
using LSTATUS = qint32;

inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;

inline constexpr quint32 REG_SZ = 1;
inline constexpr quint32 REG_EXPAND_SZ = 2;
inline constexpr quint32 REG_BINARY = 3;
inline constexpr quint32 REG_DWORD = 4;
inline constexpr quint32 REG_MULTI_SZ = 7;

inline constexpr LSTATUS ERROR_SUCCESS = 0;
inline constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
inline constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
inline constexpr LSTATUS ERROR_MORE_DATA = 234;

// A value as the registry holds it: strings in UTF-16LE, numbers little-endian.
struct RegistryValue {
    quint32 type = 0;
    QByteArray data;
};

// The keys open at this moment, by handle, each with the values it had when it was opened.
struct RegistryKeys {
    std::map<HKEY, QHash<QString, RegistryValue>> open;  // value names in lower case
    HKEY lastHandle = 0;
};
extern RegistryKeys registryKeys;

// Opens the key subKey ("Software\Microsoft\...", any case) under HKEY_LOCAL_MACHINE; result
// receives its handle. Options and access mask are taken as given: nothing can be written.
LSTATUS RegOpenKeyExA(HKEY key, const QByteArray& subKey, quint32 options, quint32 samDesired,
                      HKEY& result);

// Copies the value valueName ("" for the key's default value) into data, which holds
// size bytes; type receives the value's type and size the length of its data. Strings come in
// the Windows code page. Data longer than size gives ERROR_MORE_DATA and copies nothing.
LSTATUS RegQueryValueExA(HKEY key, const QByteArray& valueName, quint32 reserved, quint32& type,
                         char* data, quint32& size);

LSTATUS RegCloseKey(HKEY key);

}  // namespace platform
