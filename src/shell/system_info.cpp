#include "shell/system_info.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "platform/process.h"
#include "platform/text_file.h"

namespace shell {
namespace {

// READ_CONTROL and every key right but delete and write-owner: query, set, create sub key,
// enumerate, notify and create link.
constexpr quint32 kKeyAccess = 0x2003F;
constexpr qsizetype kBufferSize = 1024;
const char kCodePage[] = "windows-1252";

QByteArray CodePageText(const QString& text)
{
    QStringEncoder encoder(kCodePage);
    return encoder.encode(text);
}

QString NumberText(QByteArrayView bytes)
{
    QString digits;
    for (qsizetype i = bytes.size() - 1; i >= 0; --i)
        digits += QString::number(quint8(bytes[i]), 16).toUpper();
    return digits;
}

KeyValueRead ReadValue(platform::HKEY key, const QString& SubKeyRef, QString& KeyVal)
{
    QByteArray buffer(kBufferSize, '\0');
    quint32 type = 0;
    quint32 size = kBufferSize;
    if (platform::RegQueryValueExA(key, CodePageText(SubKeyRef), 0, type, buffer.data(), size)
        != platform::ERROR_SUCCESS) {
        KeyVal.clear();
        return KeyValueRead::Absent;
    }
    const qsizetype zero = buffer.indexOf('\0');
    if (zero < 0)
        return KeyValueRead::Failed;
    const QByteArrayView text = QByteArrayView(buffer).first(zero);
    if (type == platform::REG_SZ) {
        QStringDecoder decoder(kCodePage);
        KeyVal = decoder.decode(text);
    } else if (type == platform::REG_DWORD) {
        KeyVal = QStringLiteral("&h") + KeyVal + NumberText(text);
    }
    return KeyValueRead::Read;
}

}  // namespace

KeyValueRead GetKeyValue(const platform::HKEY& KeyRoot, const QString& KeyName,
                         const QString& SubKeyRef, QString& KeyVal)
{
    platform::HKEY key = 0;
    KeyValueRead read = KeyValueRead::Absent;
    if (platform::RegOpenKeyExA(KeyRoot, CodePageText(KeyName), 0, kKeyAccess, key)
        == platform::ERROR_SUCCESS)
        read = ReadValue(key, SubKeyRef, KeyVal);
    else
        KeyVal.clear();
    // Also after a failed open, when the handle is 0 and closing it does nothing.
    platform::RegCloseKey(key);
    return read;
}

bool StartSystemInformation()
{
    QString path;
    const KeyValueRead read = GetKeyValue(platform::HKEY_LOCAL_MACHINE,
                                          QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                          QStringLiteral("PATH"), path);
    if (read == KeyValueRead::Failed)
        return false;
    if (read == KeyValueRead::Absent) {
        if (GetKeyValue(platform::HKEY_LOCAL_MACHINE,
                        QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                        QStringLiteral("MSINFO"), path)
            != KeyValueRead::Read)
            return false;
        path += QStringLiteral("\\MSINFO32.EXE");
        if (!platform::FileExists(path))
            return false;
    }
    qint64 taskId = 0;
    return platform::StartProcess(path, taskId).ok();
}

}  // namespace shell
