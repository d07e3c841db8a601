#include "platform/rtf.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/text_file.h"

namespace platform {
namespace {

using namespace Qt::StringLiterals;

constexpr Color kDefault = 0x77;

// Colours as runs, so that a failure shows where they differ: "3:ff 2:77 ".
std::string DescribeColors(const std::vector<Color>& colors)
{
    std::string runs;
    for (auto run = colors.begin(), end = run; run != colors.end(); run = end) {
        end = std::find_if(run, colors.end(), [&](Color color) { return color != *run; });
        runs += std::to_string(end - run) + ':' + QString::number(*run, 16).toStdString() + ' ';
    }
    return runs;
}

TEST(RtfTest, RecognisesRtfByItsOpening)
{
    for (const auto& [bytes, rtf] : {std::pair{"{\\rtf1\\ansi}", true}, {" \r\n\t{\\rtf", true}, {"", false},
                                     {"{\\rt", false}, {"{\\RTF1}", false}, {"// {\\rtf1} in a comment", false}})
        EXPECT_EQ(LooksLikeRtf(bytes), rtf) << bytes;
}

// Each document as its text, and as its colour runs where it has colours.
TEST(RtfTest, ReadsTextAndColoursAsOtherProgramsWriteThem)
{
    const QByteArray deepOpen(100000, '{'), deepClose(100000, '}');
    struct Case { QByteArray rtf; QString text; std::string runs = ""; };
    const Case cases[] = {
        {"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}{\\f1 Arial;}}\r\n"
         "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;\\red0\\green0\\blue255;}\r\n"
         "{\\stylesheet{\\s0 Normal;}}{\\*\\generator Msftedit;}{\\info{\\title Mission}}"
         "\\uc1\\pard\\plain\\f0\\cf1 // Caf\\'e9\\par\r\n\\cf2 na\\u239?ve {\\cf3\\b blue}\r\n back\\tab x"
         "\\par\r\n\\pard\\plain plain {\\*\\bkmkstart h}te{\\*\\bkmkend h}xt\\line end\\par\r\n}\r\n",
         u"// Café\r\nnaïve blue back\tx\r\nplain text\r\nend\r\n"_s, "9:ff 6:8000 4:ff0000 9:8000 17:77 "},
        {"{\\rtf1{\\colortbl;\\red1\\green2\\blue3;;\\red9;}\\cf0 a\\cf1 b\\cf2 c\\cf3 d\\cf4 e\\cf-1 f"
         "\\cf99999999999 g\\cf3 h\\plain i\\cf1 j\\pard k}", "abcdefghijk", "1:77 1:30201 1:77 1:9 3:77 1:9 1:77 2:30201 "},
        {"{\\rtf1{\\colortbl\\red255;}x\\cf0 red\\cf1 y\\cf0 r\\plain z}", "xredyrz", "1:77 3:ff 1:77 1:ff 1:77 "},
        {"{\\rtf1\\ansi a\\cell b\\cell\\row c\\par d\\page e\\sect f}", "a\tb\r\nc\r\nd\r\ne\r\nf"},
        {"{\\rtf1\\ansi a{\\xe {entry}}b{\\tc TOC}c{\\tcn n}}", "abc"}, {"{\\rtf1 a\\u-", "a-"}, {"{\\rtf1 a\\", "a"},
        {"{\\rtf1{\\listtext\\pard\\plain \\u61589 ?\\tab}item{\\pntext 1.\\tab}two}", "itemtwo"},
        {"{\\rtf1 a\\\\b\\{c\\}d}", "a\\b{c}d"}, {"{\\rtf1 \\'E9\\'c9\\'80\\'93}", u"éÉ€“"_s}, {"{\\rtf1 \\fs-x}", "-x"},
        {"{\\rtf1 no\\~break\\_hyphen op\\-tional}", u"no\u00A0break-hyphen optional"_s},
        {"{\\rtf1 \\u8364?\\u-3?x\\u129?}", u"€\uFFFDx\u0081"_s}, {"{\\rtf1 \\u8364{\\'80}x}", u"€€x"_s},
        {"{\\rtf1\\uc2 \\u8364\\'80\\'80x {\\uc0\\u233 y}\\u233??z}", u"€x éyéz"_s}, {"{\\rtf1 abc", "abc"},
        {"{\\rtf1 \\u-10179?\\u-8704?}", u"\U0001F600"_s}, {"{\\rtf1 one\\\r\ntwo}", "one\r\ntwo"},
        {"{\\rtf1 \\ldblquote q\\rdblquote\\emdash\\bullet}", u"\u201Cq\u201D\u2014\u2022"_s},
        {"{\\rtf1 {\\*\\unknown skipped {nested}}{\\header h}{\\pict 0a1b}seen}", "seen"},
        {"{\\rtf1 {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}", "link"}, {"{\\rtf1 a\\bin3 {}\\b}", "ab"},
        {"{\\rtf1 a\\'0d\\'0ab\rc\nd}", "abcd"}, {"{\\rtf1 inside} outside", "inside"}, {"}}}{\\rtf1 a}}}b", "a"},
        {"{\\rtf1 a\\'4z", "a4z"}, {"{\\rtf1 \\u99999999999 x}", "x"}, {"{\\rtf1 a\\bin-5 b}", "ab"},
        {"{\\rtf1 \\u-99999999999?}", "?"}, {"{\\rtf1 \\uc99999999999\\u65 abc}", "A"}, {"{\\rtf1 a\\bin99999999999", "a"},
        {"{\\rtf1{\\colortbl\\red99999999999;}\\cf1 a}", "a"}, {QByteArray("{\\rtf1 a\0b}", 11), "ab"},
        {"{\\rtf1 " + deepOpen + "deep" + deepClose + " after}", "deep after"}, {"{\\rtf1 " + deepOpen + "x", "x"},
    };
    for (const auto& [rtf, text, runs] : cases) {
        const ColoredText read = ReadRtf(rtf, kDefault);
        EXPECT_EQ(read.colors.size(), size_t(read.text.size())) << rtf.left(60).constData();
        EXPECT_EQ(read.text.toStdString() + '|' + (runs.empty() ? "" : DescribeColors(read.colors)),
                  text.toStdString() + '|' + runs) << rtf.left(60).constData();
    }
}

TEST(RtfTest, WritesAPlainDocumentOtherProgramsOpen)
{
    const QString text = u"a{b}\\\tc\r\nd\u0081\u008D\u008F\u0090\u009D\u00A0\u20AC"_s;
    std::vector<Color> colors(text.size(), 0x0000FF);
    std::fill(colors.begin() + 3, colors.begin() + 9, 0x008000);
    EXPECT_EQ(WriteRtf(text, colors),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fmodern Courier New;}}"
              "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}\r\n"
              "\\cf1 a\\{b\\cf2 \\}\\\\\\tab c\\par\r\n\\cf1 d\\u129?\\u141?\\u143?\\u144?\\u157?\\'a0\\'80}");

    EXPECT_EQ(ReadRtf(WriteRtf(u"a\rb\nc\r\nd\n\re", std::vector<Color>(12, 0xFF0000))).text, "a\r\nb\r\nc\r\nd\r\n\r\ne");
}

// Random text of every Windows-1252 character but the line ends, characters it lacks, lone
// surrogates and CR LF pairs, its colour changing at random, reads back as it was written.
TEST(RtfTest, WrittenTextReadsBackWithItsColours)
{
    QString alphabet = u"\u0100\u4E2D\uFFFF\U0001F600"_s;
    for (int b = 0; b < 256; ++b)
        alphabet += b == '\r' || b == '\n' ? u'x' : DecodeText(QByteArray(1, char(b))).at(0);
    std::mt19937 random(20010503);
    for (int length : {0, 1, 10, 1000, 20000}) {
        ColoredText original;
        for (Color color = 0; original.text.size() < length;) {
            if (random() % 8 == 0)
                color = random() % 2 ? 0x008000 : Color(random() & 0xFFFFFF);
            const qsizetype i = random() % alphabet.size();
            const QString piece = random() % 20 == 0 ? "\r\n" : alphabet.mid(i, alphabet[i].isHighSurrogate() ? 2 : 1);
            original.text += piece;
            original.colors.insert(original.colors.end(), piece.size(), color);
        }
        const QByteArray rtf = WriteRtf(original.text, original.colors);
        EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; })) << "7-bit";
        const ColoredText read = ReadRtf(rtf, 0x777777);
        EXPECT_TRUE(read.text == original.text && read.colors == original.colors) << "length " << length;
    }
}

TEST(RtfTest, RandomBytesGiveConsistentText)
{
    // Mostly RTF's own characters, so that the bytes reach deep into the reader.
    const QByteArray syntax = "{}\\'*;-077789abcdefu ucparcfredtabbincellrow\r\n";
    std::mt19937 random(1998);
    for (int round = 0; round < 2000; ++round) {
        QByteArray bytes = "{\\rtf1{\\colortbl;\\red1;}";
        for (int i = random() % 400; i > 0; --i)
            bytes += random() % 4 == 0 ? char(random()) : syntax[random() % syntax.size()];
        const ColoredText read = ReadRtf(bytes, kDefault);
        ASSERT_EQ(read.colors.size(), size_t(read.text.size())) << bytes.toHex().constData();
        ASSERT_EQ(ToCrLf(read.text), read.text) << "a lone CR or LF: " << bytes.toHex().constData();
        ASSERT_LE(read.text.size(), bytes.size());
    }
}

}  // namespace
}  // namespace platform
