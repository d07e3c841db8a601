#pragma once

#include <QString>

#include "platform/registry.h"

namespace shell {

enum class KeyValueRead {
    Read,    // KeyVal holds the value's text
    Absent,  // the key or the value cannot be read; KeyVal is ""
    Failed,  // the value fills the whole read buffer with no zero byte; KeyVal is unchanged
};

// Reads the value SubKeyRef of the key KeyName under KeyRoot into KeyVal, through a 1024-byte
// buffer cut before its first zero byte: a string as its text; a number as "&h", KeyVal's own
// text and the number's bytes from the last to the first in hexadecimal without leading zeros
// (so 0x0102 read into "" gives "&h12"); any other type leaves KeyVal as it was. Every key it opens is closed again.
KeyValueRead GetKeyValue(const platform::HKEY& KeyRoot, const QString& KeyName,
                         const QString& SubKeyRef, QString& KeyVal);

// Starts the System Information program: the path of HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO
// value PATH as it stands, or else MSINFO32.EXE in the folder of HKLM\SOFTWARE\Microsoft\Shared
// Tools Location value MSINFO when that file exists. False when the program is unavailable:
// neither value readable, no such file, or a start that failed.
bool StartSystemInformation();

}  // namespace shell
