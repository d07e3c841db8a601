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

// Reads each document: its text, and one colour for each character.
void ExpectTexts(std::initializer_list<std::pair<QByteArray, QStringView>> cases)
{
    for (const auto& [rtf, text] : cases) {
        const ColoredText read = ReadRtf(rtf);
        EXPECT_EQ(read.text, text) << rtf.left(40).constData();
        EXPECT_EQ(read.colors.size(), size_t(read.text.size())) << rtf.left(40).constData();
    }
}

TEST(RtfTest, RecognisesRtfByItsOpening)
{
    for (const char* rtf : {"{\\rtf1\\ansi}", " \r\n\t{\\rtf"})
        EXPECT_TRUE(LooksLikeRtf(rtf)) << rtf;
    for (const char* other : {"", "{\\rt", "{\\RTF1}", "// {\\rtf1} in a script comment"})
        EXPECT_FALSE(LooksLikeRtf(other)) << other;
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
    ExpectTexts({
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
    });
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
    EXPECT_EQ(WriteRtf(text, Runs({{3, kRed}, {6, kGreen}, {1, kRed}})),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}"
              "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"
              "\\cf1 a\\{b\\cf2 \\}\\\\\\tab c\\par\r\n\\cf1 d}");

    const QString lineEnds = "a\rb\nc\r\nd\n\re";
    const ColoredText read = ReadRtf(WriteRtf(lineEnds, std::vector<Color>(lineEnds.size(), kRed)));
    EXPECT_EQ(read.text, "a\r\nb\r\nc\r\nd\r\n\r\ne");
    EXPECT_EQ(read.colors, std::vector<Color>(read.text.size(), kRed));
}

// Random text of every Windows-1252 character but the line ends, characters it lacks, lone
// surrogates and CR LF pairs, its colour changing at random.
ColoredText GenerateText(std::mt19937& random, int length)
{
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            bytes += char(b);
    }
    const QString alphabet = DecodeText(bytes) + QString::fromUtf16(u"\u0100\u4E2D\uFFFF\U0001F600");
    const Color palette[] = {0, kRed, kGreen, kBlue, 0xFFFFFF};
    ColoredText generated;
    Color color = 0;
    while (generated.text.size() < length) {
        if (random() % 8 == 0)
            color = random() % 2 ? palette[random() % std::size(palette)] : Color(random() & 0xFFFFFF);
        const qsizetype i = random() % alphabet.size();
        const QString piece = random() % 20 == 0 ? QStringLiteral("\r\n")
                                                 : alphabet.mid(i, alphabet[i].isHighSurrogate() ? 2 : 1);
        generated.text += piece;
        generated.colors.insert(generated.colors.end(), piece.size(), color);
    }
    return generated;
}

TEST(RtfTest, WrittenTextReadsBackWithItsColours)
{
    std::mt19937 random(20010503);
    for (int length : {0, 1, 10, 1000, 20000}) {
        const ColoredText original = GenerateText(random, length);
        const QByteArray rtf = WriteRtf(original.text, original.colors);
        EXPECT_TRUE(LooksLikeRtf(rtf));
        EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; }))
            << "RTF is 7-bit text";
        const ColoredText read = ReadRtf(rtf, 0x777777);
        EXPECT_EQ(read.text, original.text) << "length " << length;
        EXPECT_EQ(DescribeColors(read.colors), DescribeColors(original.colors)) << "length " << length;
    }
}

TEST(RtfTest, HostileInputEndsWithoutHarm)
{
    const QByteArray deepOpen(100000, '{');
    const QByteArray deepClose(100000, '}');
    ExpectTexts({
        {"{\\rtf1 abc", u"abc"},
        {"}}}{\\rtf1 a}}}b", u"a"},
        {"{\\rtf1 a\\", u"a"},
        {"{\\rtf1 a\\'4", u"a4"},
        {"{\\rtf1 a\\'4z", u"a4z"},
        {"{\\rtf1 a\\u", u"a"},
        {"{\\rtf1 a\\u-", u"a-"},
        {"{\\rtf1 \\u99999999999 x}", u"x"},
        {"{\\rtf1 \\u-99999999999?}", u"?"},
        {"{\\rtf1 \\uc99999999999\\u65 abc}", u"A"},
        {"{\\rtf1{\\colortbl\\red99999999999;}\\cf1 a}", u"a"},
        {"{\\rtf1 a\\bin99999999999", u"a"},
        {"{\\rtf1 a\\bin-5 b}", u"ab"},
        {"{\\rtf1 " + deepOpen + "deep" + deepClose + " after}", u"deep after"},
        {"{\\rtf1 " + deepOpen + "unclosed", u"unclosed"},
        {QByteArray("{\\rtf1 a\0b}", 11), u"ab"},
    });
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
        ASSERT_EQ(ToCrLf(read.text), read.text) << "a lone CR or LF: " << bytes.toHex().constData();
        ASSERT_LE(read.text.size(), bytes.size());
    }
}

}  // namespace
}  // namespace platform
