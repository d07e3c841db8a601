#include "platform/rtf.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "platform/text_file.h"

namespace platform {
namespace {

using namespace std::string_view_literals;

constexpr QChar kCr = u'\r';
constexpr QChar kLf = u'\n';

// Windows-1252 both ways, built once from the program's own text decoding.
struct Windows1252 {
    std::array<QChar, 256> decoded;
    // Characters whose byte is 0x80-0xFF. The five bytes the code page leaves undefined decode
    // to C1 controls; other programs read those bytes as other characters, so they are absent.
    QHash<char16_t, uchar> upperHalf;

    static const Windows1252& instance()
    {
        static const Windows1252 table;
        return table;
    }

private:
    Windows1252()
    {
        QByteArray bytes(256, '\0');
        for (int b = 0; b < 256; ++b)
            bytes[b] = char(b);
        const QString text = DecodeText(bytes);
        for (int b = 0; b < 256; ++b) {
            decoded[b] = text.at(b);
            const bool undefined = b < 0xA0 && text.at(b).unicode() == b;
            if (b >= 0x80 && !undefined)
                upperHalf.insert(text.at(b).unicode(), uchar(b));
        }
    }
};

// Destinations whose content is not document text.
constexpr std::array kSkippedDestinations = {
    "fonttbl"sv, "stylesheet"sv, "info"sv, "pict"sv, "object"sv, "fldinst"sv, "footnote"sv,
    "header"sv, "headerl"sv, "headerr"sv, "headerf"sv, "footer"sv, "footerl"sv, "footerr"sv,
    "footerf"sv, "listtable"sv, "listoverridetable"sv, "revtbl"sv, "rsidtbl"sv, "filetbl"sv,
    "themedata"sv, "colorschememapping"sv, "latentstyles"sv, "datastore"sv, "xmlnstbl"sv,
    // Index and contents entries, and the bullets and numbers a list shows before its items.
    "xe"sv, "tc"sv, "tcn"sv, "listtext"sv, "pntext"sv,
};

// Characters word processors write as control words instead of \'hh.
struct NamedCharacter {
    std::string_view word;
    char16_t character;
};
constexpr std::array<NamedCharacter, 7> kNamedCharacters = {{
    {"emdash"sv, u'\u2014'}, {"endash"sv, u'\u2013'}, {"bullet"sv, u'\u2022'},
    {"lquote"sv, u'\u2018'}, {"rquote"sv, u'\u2019'}, {"ldblquote"sv, u'\u201C'},
    {"rdblquote"sv, u'\u201D'},
}};

// Deeper groups are still counted, so braces stay balanced, but share their parent's state.
constexpr int kMaxGroupDepth = 256;

enum class Destination { Text, ColorTable, Skipped };

struct Group {
    Destination destination = Destination::Text;
    int colorIndex = -1;  // -1 until \cfN names an entry: the default colour
    int fallbackLength = 1;  // \ucN: characters after each \uN that stand in for it
};

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

class RtfReader {
public:
    RtfReader(QByteArrayView rtf, Color defaultColor)
        : rtf_(rtf.data(), size_t(rtf.size())), defaultColor_(defaultColor)
    {
        groups_.reserve(kMaxGroupDepth + 1);
        groups_.emplace_back();
    }

    ColoredText read()
    {
        while (pos_ < rtf_.size() && !documentEnded_) {
            const char c = rtf_[pos_++];
            if (c == '{')
                openGroup();
            else if (c == '}')
                closeGroup();
            else if (c == '\\')
                readControl();
            else if ((uchar(c) >= 0x20 || c == '\t') && !skipFallback())
                character(Windows1252::instance().decoded[uchar(c)]);
            // Other raw control bytes, CR and LF among them, are layout of the markup.
        }
        return std::move(out_);
    }

private:
    Group& group() { return groups_.back(); }

    void openGroup()
    {
        fallbackToSkip_ = 0;
        if (groups_.size() > kMaxGroupDepth)
            ++excessDepth_;
        else
            groups_.push_back(group());
    }

    void closeGroup()
    {
        fallbackToSkip_ = 0;
        if (excessDepth_ > 0)
            --excessDepth_;
        else if (groups_.size() > 1) {
            groups_.pop_back();
            // The document is its outermost group; whatever follows it is not part of it.
            documentEnded_ = groups_.size() == 1;
        }
    }

    void readControl()
    {
        if (pos_ == rtf_.size())
            return;
        if (!isLetter(rtf_[pos_])) {
            controlSymbol(rtf_[pos_++]);
            return;
        }
        const size_t begin = pos_;
        while (pos_ < rtf_.size() && isLetter(rtf_[pos_]))
            ++pos_;
        const std::string_view word = rtf_.substr(begin, pos_ - begin);
        const std::optional<int> parameter = readParameter();
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ')
            ++pos_;
        if (word == "bin"sv)  // binary data follows; it may hold any byte, braces too
            pos_ += std::min<size_t>(std::max(parameter.value_or(0), 0), rtf_.size() - pos_);
        else if (!skipFallback())
            controlWord(word, parameter);
    }

    // An optional signed decimal number; long ones saturate instead of overflowing.
    std::optional<int> readParameter()
    {
        const bool negative =
            pos_ + 1 < rtf_.size() && rtf_[pos_] == '-' && isDigit(rtf_[pos_ + 1]);
        if (negative)
            ++pos_;
        if (pos_ == rtf_.size() || !isDigit(rtf_[pos_]))
            return std::nullopt;
        constexpr qint64 kLimit = std::numeric_limits<int>::max();
        qint64 value = 0;
        for (; pos_ < rtf_.size() && isDigit(rtf_[pos_]); ++pos_)
            value = std::min(value * 10 + (rtf_[pos_] - '0'), kLimit);
        return int(negative ? -value : value);
    }

    void controlSymbol(char symbol)
    {
        if (symbol == '*') {  // {\*\name ...}: a destination to skip unless understood
            group().destination = Destination::Skipped;
            return;
        }
        const std::optional<uchar> hexByte = symbol == '\'' ? readHexByte() : std::nullopt;
        if (skipFallback())
            return;
        switch (symbol) {
        case '\\': case '{': case '}': character(QChar(symbol)); break;
        case '~': character(u'\u00A0'); break;
        case '_': character(u'-'); break;
        case '\r': case '\n': lineBreak(); break;
        case '\'':
            if (hexByte)
                character(Windows1252::instance().decoded[*hexByte]);
            break;
        default: break;  // \- (optional hyphen) and symbols we do not show
        }
    }

    std::optional<uchar> readHexByte()
    {
        if (pos_ + 2 > rtf_.size())
            return std::nullopt;
        const int high = hexValue(rtf_[pos_]);
        const int low = hexValue(rtf_[pos_ + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        pos_ += 2;
        return uchar(high * 16 + low);
    }

    void controlWord(std::string_view word, std::optional<int> parameter)
    {
        const int n = parameter.value_or(0);
        if (word == "par"sv || word == "line"sv || word == "page"sv || word == "sect"sv)
            lineBreak();
        else if (word == "row"sv)
            endRow();
        else if (word == "cell"sv)
            cellPending_ = group().destination == Destination::Text;
        else if (word == "tab"sv)
            character(u'\t');
        else if (word == "u"sv && parameter && n >= -0x8000 && n <= 0xFFFF)
            unicodeCharacter(char16_t(n < 0 ? n + 0x10000 : n));
        else if (word == "uc"sv)
            group().fallbackLength = std::max(n, 0);
        else if (word == "cf"sv)
            group().colorIndex = n;
        else if (word == "plain"sv)
            group().colorIndex = -1;
        else if (word == "red"sv)
            setColorComponent(n, 0);
        else if (word == "green"sv)
            setColorComponent(n, 8);
        else if (word == "blue"sv)
            setColorComponent(n, 16);
        else if (word == "colortbl"sv)
            enterDestination(Destination::ColorTable);
        else if (std::ranges::find(kSkippedDestinations, word) != kSkippedDestinations.end())
            enterDestination(Destination::Skipped);
        else if (auto named = std::ranges::find(kNamedCharacters, word, &NamedCharacter::word);
                 named != kNamedCharacters.end())
            character(named->character);
    }

    void enterDestination(Destination destination)
    {
        if (group().destination != Destination::Skipped)
            group().destination = destination;
    }

    void unicodeCharacter(char16_t c)
    {
        character(c);
        fallbackToSkip_ = group().fallbackLength;
    }

    // True when this character or control is the stand-in for the \uN just read.
    bool skipFallback()
    {
        if (fallbackToSkip_ == 0)
            return false;
        --fallbackToSkip_;
        return true;
    }

    // A table's cells are separated by tabs, its rows by line ends; the last cell of a row
    // needs no separator.
    void endRow()
    {
        cellPending_ = false;
        lineBreak();
    }

    void lineBreak()
    {
        if (group().destination == Destination::Text) {
            append(kCr);
            append(kLf);
        }
    }

    void character(QChar c)
    {
        switch (group().destination) {
        case Destination::Text:
            // Line ends come only from \par and \line, so that they are always CR LF.
            if (c != kCr && c != kLf)
                append(c);
            break;
        case Destination::ColorTable:
            if (c == u';')
                finishColorTableEntry();
            break;
        case Destination::Skipped:
            break;
        }
    }

    void append(QChar c)
    {
        if (std::exchange(cellPending_, false))
            append(u'\t');
        const int index = group().colorIndex;
        const bool known = index >= 0 && size_t(index) < colorTable_.size();
        out_.text.append(c);
        out_.colors.push_back(known ? colorTable_[index] : defaultColor_);
    }

    void setColorComponent(int value, int shift)
    {
        if (group().destination != Destination::ColorTable)
            return;
        entry_ = (entry_ & ~(0xFF << shift)) | (std::clamp(value, 0, 255) << shift);
        entryHasComponent_ = true;
    }

    void finishColorTableEntry()
    {
        // An entry without components is the "automatic" colour.
        colorTable_.push_back(entryHasComponent_ ? entry_ : defaultColor_);
        entry_ = 0;
        entryHasComponent_ = false;
    }

    std::string_view rtf_;
    size_t pos_ = 0;
    const Color defaultColor_;
    std::vector<Group> groups_;  // groups_[0] is outside every group
    qsizetype excessDepth_ = 0;
    int fallbackToSkip_ = 0;
    bool documentEnded_ = false;
    bool cellPending_ = false;
    std::vector<Color> colorTable_;
    Color entry_ = 0;
    bool entryHasComponent_ = false;
    ColoredText out_;
};

void appendControlWord(QByteArray& out, const char* word, int parameter)
{
    out += '\\';
    out += word;
    out += QByteArray::number(parameter);
}

void appendHexByte(QByteArray& out, uchar byte)
{
    constexpr char kHex[] = "0123456789abcdef";
    out += "\\'";
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

// Appends the character at i, or the CR LF pair that begins there; returns the index after it.
qsizetype appendCharacter(QByteArray& out, QStringView text, qsizetype i)
{
    const char16_t c = text[i].unicode();
    if (c == u'\r' || c == u'\n') {
        out += "\\par\r\n";
        return c == u'\r' && i + 1 < text.size() && text[i + 1] == kLf ? i + 2 : i + 1;
    }
    if (c == u'\\' || c == u'{' || c == u'}') {
        out += '\\';
        out += char(c);
    } else if (c == u'\t') {
        out += "\\tab ";
    } else if (c >= 0x20 && c < 0x7F) {
        out += char(c);
    } else if (c < 0x80) {
        appendHexByte(out, uchar(c));
    } else if (auto byte = Windows1252::instance().upperHalf.constFind(c);
               byte != Windows1252::instance().upperHalf.cend()) {
        appendHexByte(out, *byte);
    } else {
        appendControlWord(out, "u", c > 0x7FFF ? int(c) - 0x10000 : int(c));
        out += '?';
    }
    return i + 1;
}

}  // namespace

bool LooksLikeRtf(QByteArrayView bytes)
{
    qsizetype start = 0;
    while (start < bytes.size() && isBlank(bytes[start]))
        ++start;
    return bytes.sliced(start).startsWith("{\\rtf");
}

ColoredText ReadRtf(QByteArrayView rtf, Color defaultColor)
{
    return RtfReader(rtf, defaultColor).read();
}

QByteArray WriteRtf(QStringView text, std::span<const Color> colors)
{
    const auto colorAt = [&](qsizetype i) { return size_t(i) < colors.size() ? colors[i] : 0; };

    // One colour-table entry per distinct colour, in order of first use; entry 0 is automatic.
    QHash<Color, int> tableIndex;
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}"
                     "{\\colortbl ;";
    for (qsizetype i = 0; i < text.size(); ++i) {
        const Color color = colorAt(i);
        if (tableIndex.contains(color))
            continue;
        tableIndex.insert(color, int(tableIndex.size()) + 1);
        appendControlWord(out, "red", color & 0xFF);
        appendControlWord(out, "green", (color >> 8) & 0xFF);
        appendControlWord(out, "blue", (color >> 16) & 0xFF);
        out += ';';
    }
    out += "}\r\n";

    int currentIndex = 0;
    for (qsizetype i = 0; i < text.size();) {
        const int index = tableIndex.value(colorAt(i));
        if (index != currentIndex) {
            appendControlWord(out, "cf", index);
            out += ' ';
            currentIndex = index;
        }
        i = appendCharacter(out, text, i);
    }
    out += '}';
    return out;
}

}  // namespace platform
