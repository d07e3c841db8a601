#include "platform/rtf.h"

#include <gtest/gtest.h>

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
    for (size_t run = 0, end = 0; run < read.colors.size(); run = end) {
        while (end < read.colors.size() && read.colors[end] == read.colors[run])
            ++end;
        runs += QByteArray::number(end - run) + ':' + QByteArray::number(read.colors[run], 16);
    }
    return runs.join(' ') + (read.colors.size() == size_t(read.text.size()) ? "" : " (miscounted)");
}

// Each line of the golden file is a document, "->" its text and "->" its colour runs. Only what
// opens as RTF is taken for it.
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
    const std::vector<bool> rtf{LooksLikeRtf(" \r\n\t{\\rtf"), LooksLikeRtf("{\\rt"),
                                LooksLikeRtf("{\\RTF1}"), LooksLikeRtf("// {\\rtf1}"), LooksLikeRtf("")};
    EXPECT_EQ(rtf, std::vector<bool>({true, false, false, false, false}));
}

TEST(RtfTest, WritesAPlainDocumentOtherProgramsOpenAndThatReadsBackAsItWas)
{
    const QString text = u"a{b}\\\tc\r\nd\u0081\u008D\u008F\u0090\u009D\u00A0\u20AC"_s;
    std::vector<Color> colors(text.size(), 0x0000FF);
    std::fill(colors.begin() + 3, colors.begin() + 9, 0x008000);
    EXPECT_EQ(WriteRtf(text, colors), support::TestEnvironment::testData("platform/golden/rtf_written.rtf"));
    EXPECT_EQ(ReadRtf(WriteRtf(u"a\rb\nc\r\nd\n\re", std::vector<Color>(12, 1))).text,
              "a\r\nb\r\nc\r\nd\r\n\r\ne");
    // Every Windows-1252 character, characters it lacks, surrogates and CR LF pairs, in changing
    // colours, are written as 7-bit RTF and read back as they were.
    ColoredText original{u"\u0100\u4E2D\uFFFF\U0001F600\r\n"_s + QChar(0xD800), {}};
    for (int b = 0; b < 256; ++b)
        original.text += b == '\r' || b == '\n' ? u"\r\n"_s : DecodeText(QByteArray(1, char(b)));
    for (qsizetype i = 0; i < original.text.size(); ++i)  // a CR LF pair is one line end of one colour
        original.colors.push_back(original.text[i] == u'\n' ? original.colors.back() : Color(i / 5 % 3 * 99));
    const QByteArray rtf = WriteRtf(original.text, original.colors);
    EXPECT_TRUE(std::all_of(rtf.begin(), rtf.end(), [](char c) { return uchar(c) < 0x80; })) << "7-bit";
    const ColoredText read = ReadRtf(rtf, 0x777777);
    EXPECT_TRUE(read.text == original.text && read.colors == original.colors);
}

}  // namespace
}  // namespace platform
