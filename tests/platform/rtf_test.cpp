#include "platform/rtf.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/text_file.h"
#include "support/test_environment.h"

namespace platform {
namespace {

using namespace Qt::StringLiterals;

// Control bytes and '%' as %XX, so that every case is one line.
QByteArray Escaped(const QString& text)
{
    QByteArray printable;
    for (int c = 0x20; c < 0x100; ++c)
        printable += c == '%' ? ' ' : char(c);
    return text.toUtf8().toPercentEncoding(printable);
}

// Colours as runs, so that a failure shows where they differ: "3:ff 2:77".
QByteArray Runs(const ColoredText& read)
{
    QByteArrayList runs;
    for (auto run = read.colors.begin(), end = run; run != read.colors.end(); run = end) {
        end = std::find_if(run, read.colors.end(), [&](Color color) { return color != *run; });
        runs += QByteArray::number(end - run) + ':' + QByteArray::number(*run, 16);
    }
    return runs.join(' ') + (read.colors.size() == size_t(read.text.size()) ? "" : " (not one per character)");
}

TEST(RtfTest, RecognisesRtfByItsOpening)
{
    for (const auto& [bytes, rtf] : {std::pair{"{\\rtf1\\ansi}", true}, {" \r\n\t{\\rtf", true}, {"", false},
                                     {"{\\rt", false}, {"{\\RTF1}", false}, {"// {\\rtf1} in a comment", false}})
        EXPECT_EQ(LooksLikeRtf(bytes), rtf) << bytes;
}

// Each line of the golden file is a document, "->" its text and "->" its colour runs.
TEST(RtfTest, ReadsTextAndColoursAsOtherProgramsWriteThem)
{
    const QByteArray golden = support::TestEnvironment::testData("platform/golden/rtf_read.txt");
    QByteArray read;
    for (const QByteArray& line : golden.split('\n')) {
        const QByteArray rtf = line.left(line.indexOf(" -> "));
        const ColoredText text = ReadRtf(QByteArray::fromPercentEncoding(rtf), 0x77);
        read += line.isEmpty() ? line : rtf + " -> " + Escaped(text.text) + " -> " + Runs(text) + '\n';
    }
    EXPECT_EQ(read.toStdString(), golden.toStdString());
    const QByteArray deepOpen(100000, '{'), deepClose(100000, '}');
    EXPECT_EQ(ReadRtf("{\\rtf1 " + deepOpen + "deep" + deepClose + " after}").text + ReadRtf("{\\rtf1 " + deepOpen + "x").text,
              "deep afterx");
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
    EXPECT_EQ(ReadRtf(WriteRtf(u"a\rb\nc\r\nd\n\re", std::vector<Color>(12, 1))).text, "a\r\nb\r\nc\r\nd\r\n\r\ne");
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

}  // namespace
}  // namespace platform
