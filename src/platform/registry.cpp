#include "platform/registry.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <cstring>
#include <optional>

#include "platform/win_path.h"

namespace platform {

RegistryKeys registryKeys;

namespace {

using Values = QHash<QString, RegistryValue>;

const char kCodePage[] = "windows-1252";

QStringView NextLine(QStringView text, qsizetype& pos)
{
    const qsizetype end = text.indexOf(u'\n', pos);
    const qsizetype lineEnd = end < 0 ? text.size() : end;
    QStringView line = text.sliced(pos, lineEnd - pos);
    pos = end < 0 ? text.size() : end + 1;
    return line.endsWith(u'\r') ? line.chopped(1) : line;
}

int DigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

// The number written in up to maxDigits digits of base from text[pos]; pos moves past them.
char16_t ReadDigits(QStringView text, qsizetype& pos, int base, int maxDigits)
{
    char16_t code = 0;
    for (int digits = 0; digits < maxDigits && pos < text.size(); ++digits, ++pos) {
        const int digit = DigitValue(text[pos]);
        if (digit < 0 || digit >= base)
            break;
        code = char16_t(code * base + digit);
    }
    return code;
}

// The text of a quoted name or string from text[pos] up to the unescaped closing character,
// with its escapes replaced; pos moves past the closing character. Nullopt when it is not closed.
std::optional<QString> Unescape(QStringView text, qsizetype& pos, QChar close)
{
    static constexpr std::pair<char16_t, char16_t> kEscapes[] = {
        {u'a', 0x07}, {u'b', 0x08}, {u'e', 0x1b}, {u'f', 0x0c},
        {u'n', 0x0a}, {u'r', 0x0d}, {u't', 0x09}, {u'v', 0x0b},
    };
    QString result;
    while (pos < text.size()) {
        const QChar c = text[pos++];
        if (c == close)
            return result;
        if (c != u'\\' || pos == text.size()) {
            result += c;
            continue;
        }
        const QChar escaped = text[pos];
        if (escaped == u'x') {
            ++pos;
            result += QChar(ReadDigits(text, pos, 16, 4));
        } else if (escaped >= u'0' && escaped <= u'7') {
            result += QChar(ReadDigits(text, pos, 8, 3));
        } else {
            ++pos;
            QChar plain = escaped;
            for (const auto& [letter, code] : kEscapes) {
                if (escaped == letter)
                    plain = QChar(code);
            }
            result += plain;
        }
    }
    return std::nullopt;
}

QByteArray Utf16Le(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text) {
        bytes.append(char(c.unicode() & 0xff));
        bytes.append(char(c.unicode() >> 8));
    }
    return bytes;
}

QString FromUtf16Le(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        text += QChar(char16_t(quint8(bytes[i]) | quint8(bytes[i + 1]) << 8));
    return text;
}

std::optional<quint32> HexNumber(QStringView text)
{
    bool ok = false;
    const uint number = text.toUInt(&ok, 16);
    return ok ? std::optional<quint32>(number) : std::nullopt;
}

// "01,ab,\" with its continuation lines "  ff,00": the bytes; nullopt when one is no hex byte.
std::optional<QByteArray> HexBytes(QStringView data, QStringView file, qsizetype& pos)
{
    QString text = data.trimmed().toString();
    while (text.endsWith(u'\\') && pos < file.size()) {
        text.chop(1);
        text += NextLine(file, pos).trimmed();
    }
    QByteArray bytes;
    for (QStringView byte : QStringView(text).split(u',', Qt::SkipEmptyParts)) {
        const std::optional<quint32> value = HexNumber(byte.trimmed());
        if (!value || *value > 0xff || byte.trimmed().size() > 2)
            return std::nullopt;
        bytes.append(char(*value));
    }
    return bytes;
}

// A quoted string from text[0] as the registry holds it: UTF-16LE with a terminating zero.
std::optional<RegistryValue> StringValue(quint32 type, QStringView text)
{
    qsizetype pos = 1;
    const std::optional<QString> unescaped =
        text.startsWith(u'"') ? Unescape(text, pos, u'"') : std::nullopt;
    if (!unescaped)
        return std::nullopt;
    return RegistryValue{type, Utf16Le(*unescaped) + QByteArray(2, '\0')};
}

// A value's data as written after "=": "text", str(N):"text", dword:XXXXXXXX, hex:.. or
// hex(N):.., the hex forms possibly continued on the lines after it.
std::optional<RegistryValue> ParseData(QStringView data, QStringView file, qsizetype& pos)
{
    if (data.startsWith(u'"'))
        return StringValue(REG_SZ, data);
    const qsizetype colon = data.indexOf(u':');
    if (colon < 0)
        return std::nullopt;
    const QStringView kind = data.first(colon);
    const QStringView rest = data.sliced(colon + 1);
    if (kind == u"dword") {
        const std::optional<quint32> number = rest.size() <= 8 ? HexNumber(rest) : std::nullopt;
        if (!number)
            return std::nullopt;
        QByteArray bytes;
        for (int shift = 0; shift < 32; shift += 8)
            bytes.append(char(*number >> shift));
        return RegistryValue{REG_DWORD, bytes};
    }
    // "str(N)" and "hex(N)" name their type in hex; a plain "hex" is binary.
    QStringView form = kind;
    quint32 type = REG_BINARY;
    if (kind.size() > 5 && kind[3] == u'(' && kind.endsWith(u')')) {
        const std::optional<quint32> number = HexNumber(kind.sliced(4, kind.size() - 5));
        if (!number)
            return std::nullopt;
        form = kind.first(3);
        type = *number;
    }
    if (form == u"str" && kind != form)
        return StringValue(type, rest);
    if (form != u"hex")
        return std::nullopt;
    const std::optional<QByteArray> bytes = HexBytes(rest, file, pos);
    return bytes ? std::optional(RegistryValue{type, *bytes}) : std::nullopt;
}

// A line "name"=data or @=data adds its value to values; a line it cannot read adds nothing.
void AddValue(QStringView line, QStringView file, qsizetype& pos, Values& values)
{
    qsizetype at = 1;
    const std::optional<QString> name =
        line.startsWith(u'@') ? std::optional(QString()) : Unescape(line, at, u'"');
    if (!name || at >= line.size() || line[at] != u'=')
        return;
    if (const std::optional<RegistryValue> value = ParseData(line.sliced(at + 1), file, pos))
        values.insert(name->toLower(), *value);
}

// The values of the key keyName, found without regard to case in the text of a registry file:
// "[Key\\Path] stamp" headers, each followed by its values; nullopt when the key is not there.
std::optional<Values> ReadKey(QStringView file, QStringView keyName)
{
    std::optional<Values> values;
    qsizetype pos = 0;
    while (pos < file.size()) {
        const QStringView line = NextLine(file, pos);
        if (line.startsWith(u'[')) {
            if (values)
                break;
            qsizetype at = 1;
            const std::optional<QString> name = Unescape(line, at, u']');
            if (name && name->compare(keyName, Qt::CaseInsensitive) == 0)
                values.emplace();
        } else if (values && (line.startsWith(u'"') || line.startsWith(u'@'))) {
            AddValue(line, file, pos, *values);
        }
    }
    return values;
}

// The text of $WINEPREFIX/system.reg; null when it is no regular file or cannot be read.
QString MachineRegistryText()
{
    QFile file(WinePrefix() + QStringLiteral("/system.reg"));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

bool IsString(quint32 type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

QByteArray AnsiData(const RegistryValue& value)
{
    if (!IsString(value.type))
        return value.data;
    QStringEncoder encoder(kCodePage);
    return encoder.encode(FromUtf16Le(value.data));
}

}  // namespace

LSTATUS RegOpenKeyExA(HKEY key, const QByteArray& subKey, quint32, quint32, HKEY& result)
{
    if (key != HKEY_LOCAL_MACHINE)
        return ERROR_INVALID_HANDLE;
    QStringDecoder decoder(kCodePage);
    const QString keyName = decoder.decode(subKey);
    std::optional<Values> values = ReadKey(MachineRegistryText(), keyName);
    if (!values)
        return ERROR_FILE_NOT_FOUND;
    result = ++registryKeys.lastHandle;
    registryKeys.open[result] = std::move(*values);
    return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExA(HKEY key, const QByteArray& valueName, quint32, quint32& type, char* data,
                         quint32& size)
{
    const auto open = registryKeys.open.find(key);
    if (open == registryKeys.open.end())
        return ERROR_INVALID_HANDLE;
    QStringDecoder decoder(kCodePage);
    const auto value = open->second.constFind(QString(decoder.decode(valueName)).toLower());
    if (value == open->second.cend())
        return ERROR_FILE_NOT_FOUND;
    const QByteArray bytes = AnsiData(*value);
    type = value->type;
    const quint32 room = size;
    size = quint32(bytes.size());
    if (size > room)
        return ERROR_MORE_DATA;
    if (data)
        std::memcpy(data, bytes.constData(), bytes.size());
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key)
{
    return registryKeys.open.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

}  // namespace platform
