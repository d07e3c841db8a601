#include "platform/rtf.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/text_file.h"

namespace platform {
namespace {

constexpr Color kDefault = 0x123456;
constexpr Color kRed = 0x0000FF;
constexpr Color kGreen = 0x008000;
constexpr Color kBlue = 0xFF0000;

// Colours as runs, so that a failure shows where they differ: "3:ff 2:123456".
std::string DescribeColors(const std::vector<Color>& colors)
{
    std::string description;
    for (size_t i = 0; i < colors.size();) {
        size_t end = i;
        while (end < colors.size() && colors[end] == colors[i])
            ++end;
        description += std::to_string(end - i) + ':' +
                       QString::number(colors[i], 16).toStdString() + ' ';
        i = end;
    }
    return description;
}

std::vector<Color> Runs(std::initializer_list<std::pair<int, Color>> runs)
{
    std::vector<Color> colors;
    for (auto [length, color] : runs)
        colors.insert(colors.end(), length, color);
    return colors;
}

// No lone CR or LF: every line end is CR LF.
bool HasOnlyCrLfLineEnds(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n'))
            return false;
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            return false;
    }
    return true;
}

TEST(RtfTest, RecognisesRtfByItsOpening)
{
    EXPECT_TRUE(LooksLikeRtf("{\\rtf1\\ansi}"));
    EXPECT_TRUE(LooksLikeRtf(" \r\n\t{\\rtf"));
    EXPECT_FALSE(LooksLikeRtf(""));
    EXPECT_FALSE(LooksLikeRtf("{\\rt"));
    EXPECT_FALSE(LooksLikeRtf("{\\RTF1}"));
    EXPECT_FALSE(LooksLikeRtf("// {\\rtf1} in a script comment"));
}

TEST(RtfTest, ReadsAWordProcessorDocument)
{
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033"
        "{\\fonttbl{\\f0\\fmodern\\fprq1\\fcharset0 Courier New;}{\\f1\\fswiss\\fcharset0 Arial;}"
        "{\\f2\\froman\\fprq2\\fcharset2 Symbol;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;\\red0\\green0\\blue255;}\r\n"
        "{\\stylesheet{\\s0 Normal;}}"
        "{\\*\\generator Msftedit 5.41.21.2510;}"
        "{\\info{\\author A. Writer}{\\title Mission one}{\\creatim\\yr2001\\mo5\\dy3}}"
        "\\viewkind4\\uc1\\pard\\plain\\f0\\fs20\\cf1 // Caf\\'e9\\par\r\n"
        "\\cf2 na\\u239?ve {\\cf3\\b blue}\r\n back\\tab x\\par\r\n"
        "\\pard\\plain\\f1 plain {\\*\\bkmkstart here}te{\\*\\bkmkend here}xt\\line end\\par\r\n"
        "}\r\n";
    const ColoredText read = ReadRtf(rtf, kDefault);
    EXPECT_EQ(read.text,
              QString::fromUtf16(u"// Café\r\nnaïve blue back\tx\r\nplain text\r\nend\r\n"));
    EXPECT_EQ(DescribeColors(read.colors),
              DescribeColors(Runs({{9, kRed}, {6, kGreen}, {4, kBlue}, {9, kGreen},
                                   {17, kDefault}})));
}

TEST(RtfTest, ReadsControlSymbolsAndUnicode)
{
    const struct {
        const char* rtf;
        const char16_t* text;
    } cases[] = {
        {"{\\rtf1 a\\\\b\\{c\\}d}", u"a\\b{c}d"},
        {"{\\rtf1 no\\~break\\_hyphen op\\-tional}", u"no\u00A0break-hyphen optional"},
        {"{\\rtf1 \\'E9\\'c9\\'80\\'93}", u"éÉ€“"},
        {"{\\rtf1 \\u8364?\\u-3?x}", u"€\uFFFDx"},
        {"{\\rtf1\\uc2 \\u8364\\'80\\'80x {\\uc0\\u233 y}\\u233??z}", u"€x éyéz"},
        {"{\\rtf1 \\u8364{\\'80}x}", u"€€x"},  // the fallback ends with its group
        {"{\\rtf1 \\u-10179?\\u-8704?}", u"\U0001F600"},
        {"{\\rtf1 \\ldblquote q\\rdblquote\\emdash\\bullet}", u"\u201Cq\u201D\u2014\u2022"},
        {"{\\rtf1 one\\\r\ntwo}", u"one\r\ntwo"},
        {"{\\rtf1 {\\*\\unknown skipped {nested}}{\\header h}{\\pict 0a1b}seen}", u"seen"},
        {"{\\rtf1 {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}", u"link"},
        {"{\\rtf1 a\\bin3 {}\\b}", u"ab"},
        {"{\\rtf1 a\\'0d\\'0ab\rc\nd}", u"abcd"},
        {"{\\rtf1 \\fs-x}", u"-x"},
        {"{\\rtf1 inside} outside", u"inside"},
    };
    for (const auto& c : cases) {
        const ColoredText read = ReadRtf(c.rtf);
        EXPECT_EQ(read.text, QString::fromUtf16(c.text)) << c.rtf;
        EXPECT_EQ(read.colors.size(), size_t(read.text.size())) << c.rtf;
    }
}

TEST(RtfTest, ColourIndexOutsideTheTableOrZeroIsTheDefault)
{
    const QByteArray rtf = "{\\rtf1{\\colortbl;\\red1\\green2\\blue3;;\\red9;}"
                           "\\cf0 a\\cf1 b\\cf2 c\\cf3 d\\cf4 e\\cf-1 f\\cf99999999999 g"
                           "\\cf3 h\\plain i\\cf1 j\\pard k}";
    const ColoredText read = ReadRtf(rtf, kDefault);
    EXPECT_EQ(read.text, "abcdefghijk");
    EXPECT_EQ(DescribeColors(read.colors),
              DescribeColors(Runs({{1, kDefault}, {1, 0x030201}, {1, kDefault}, {1, 9},
                                   {3, kDefault}, {1, 9}, {1, kDefault}, {2, 0x030201}})));
}

TEST(RtfTest, WritesAPlainDocumentOtherProgramsOpen)
{
    const QString text = "a{b}\\\tc\r\nd";
    const std::vector<Color> colors = Runs({{3, kRed}, {6, kGreen}, {1, kRed}});
    EXPECT_EQ(WriteRtf(text, colors),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}"
              "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"
              "\\cf1 a\\{b\\cf2 \\}\\\\\\tab c\\par\r\n\\cf1 d}");
}

TEST(RtfTest, WritesEveryLineEndAsAParagraph)
{
    const QString text = "a\rb\nc\r\nd\n\re";
    const ColoredText read = ReadRtf(WriteRtf(text, std::vector<Color>(text.size(), kRed)));
    EXPECT_EQ(read.text, "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(read.colors, std::vector<Color>(read.text.size(), kRed));
}

// Every character of Windows-1252 but the line ends, each in a colour of its own.
ColoredText Every1252Character()
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            bytes += char(b);
    }
    ColoredText every{DecodeText(bytes), {}};
    for (qsizetype i = 0; i < every.text.size(); ++i)
        every.colors.push_back(Color(i * 0x010203));
    return every;
}

// Random text of those characters, characters outside Windows-1252, CR LF pairs, tabs and
// RTF's own special characters, with colours changing at random.
ColoredText GenerateText(std::mt19937& random, int length)
{
    const QString alphabet =
        Every1252Character().text + QString::fromUtf16(u"\u0100\u4E2D\uFFFF\U0001F600{}\\\t");
    const Color palette[] = {0, kRed, kGreen, kBlue, 0xFFFFFF, 0x808080};
    ColoredText generated;
    Color color = 0;
    while (generated.text.size() < length) {
        if (random() % 8 == 0)
            color = palette[random() % std::size(palette)];
        const qsizetype before = generated.text.size();
        if (random() % 20 == 0)
            generated.text += "\r\n";
        else if (const qsizetype i = random() % alphabet.size(); alphabet[i].isHighSurrogate())
            generated.text += alphabet.mid(i, 2);
        else
            generated.text += alphabet[i];
        generated.colors.insert(generated.colors.end(), generated.text.size() - before, color);
    }
    return generated;
}

TEST(RtfTest, WrittenTextReadsBackWithItsColours)
{
    std::vector<ColoredText> texts = {{}, Every1252Character()};
    std::mt19937 random(20010503);
    for (int length : {1, 10, 1000, 20000})
        texts.push_back(GenerateText(random, length));
    for (const ColoredText& original : texts) {
        const QByteArray rtf = WriteRtf(original.text, original.colors);
        EXPECT_TRUE(LooksLikeRtf(rtf));
        EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; }))
            << "RTF is 7-bit text";
        const ColoredText read = ReadRtf(rtf, 0x777777);
        EXPECT_EQ(read.text, original.text) << "length " << original.text.size();
        EXPECT_EQ(DescribeColors(read.colors), DescribeColors(original.colors))
            << "length " << original.text.size();
    }
}

TEST(RtfTest, HostileInputEndsWithoutHarm)
{
    const QByteArray deepOpen(100000, '{');
    const QByteArray deepClose(100000, '}');
    const struct {
        QByteArray rtf;
        QString text;
    } cases[] = {
        {"{\\rtf1 abc", "abc"},
        {"}}}{\\rtf1 a}}}b", "a"},
        {"{\\rtf1 a\\", "a"},
        {"{\\rtf1 a\\'4", "a4"},
        {"{\\rtf1 a\\'4z", "a4z"},
        {"{\\rtf1 a\\u", "a"},
        {"{\\rtf1 a\\u-", "a-"},
        {"{\\rtf1 \\u99999999999 x}", "x"},
        {"{\\rtf1 \\u-99999999999?}", "?"},
        {"{\\rtf1 \\uc99999999999\\u65 abc}", "A"},
        {"{\\rtf1{\\colortbl\\red99999999999;}\\cf1 a}", "a"},
        {"{\\rtf1 a\\bin99999999999", "a"},
        {"{\\rtf1 a\\bin-5 b}", "ab"},
        {"{\\rtf1 " + deepOpen + "deep" + deepClose + " after}", "deep after"},
        {"{\\rtf1 " + deepOpen + "unclosed", "unclosed"},
        {QByteArray("{\\rtf1 a\0b}", 11), "ab"},
    };
    for (const auto& c : cases) {
        const ColoredText read = ReadRtf(c.rtf);
        EXPECT_EQ(read.text, c.text) << c.rtf.left(40).constData();
        EXPECT_EQ(read.colors.size(), size_t(read.text.size()));
    }
}

TEST(RtfTest, RandomBytesGiveConsistentText)
{
    // Mostly RTF's own characters, so that the bytes reach deep into the reader.
    const QByteArray syntax = "{}\\'*;-0123456789abcdefu ucparcfredtabbin\r\n";
    std::mt19937 random(1998);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes = "{\\rtf1{\\colortbl;\\red1;}";
        const int length = random() % 400;
        for (int i = 0; i < length; ++i)
            bytes += random() % 4 == 0 ? char(random()) : syntax[random() % syntax.size()];
        const ColoredText read = ReadRtf(bytes, kDefault);
        ASSERT_EQ(read.colors.size(), size_t(read.text.size())) << bytes.toHex().constData();
        ASSERT_TRUE(HasOnlyCrLfLineEnds(read.text)) << bytes.toHex().constData();
        ASSERT_LE(read.text.size(), bytes.size());
    }
}

}  // namespace
}  // namespace platform
