#include "platform/memory_rich_text_box.h"

#include <gtest/gtest.h>

#include "platform/rtf.h"
#include "platform/text_file.h"
#include "support/test_environment.h"

namespace platform {
namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kBlue = 0xFF0000;

// A box holding text whose characters are red, except those marked '*' in the pattern, blue.
MemoryRichTextBox RedBlueBox(const QString& text, const QString& bluePattern)
{
    MemoryRichTextBox box(text, kRed);
    for (qsizetype i = 0; i < bluePattern.size(); ++i) {
        if (bluePattern[i] == u'*') {
            box.setSelStart(qint32(i));
            box.setSelLength(1);
            box.setSelColor(kBlue);
        }
    }
    return box;
}

std::vector<Color> Colors(const QString& pattern)
{
    std::vector<Color> colors;
    for (QChar c : pattern)
        colors.push_back(c == u'*' ? kBlue : kRed);
    return colors;
}

// Every byte but CR, LF and NUL: each must load as one character and save as itself.
QByteArray EveryTextByte()
{
    QByteArray bytes;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            bytes += char(b);
    }
    return bytes;
}

TEST(MemoryRichTextBoxTest, LoadsPlainTextWithCrLfLineEnds)
{
    support::TestEnvironment environment;
    const struct {
        QByteArray file;
        QByteArray text;
    } cases[] = {
        {"", ""},
        {"a\r\nb\nc\rd\r\n", "a\r\nb\r\nc\r\nd\r\n"},
        {"\n\r\r\n\nlast", "\r\n\r\n\r\n\r\nlast"},
        {EveryTextByte(), EveryTextByte()},
    };
    for (const auto& c : cases) {
        MemoryRichTextBox box("old text", kRed);
        box.setSelStart(2);
        ASSERT_TRUE(box.setFilename(environment.writeFile("plain.scr", c.file)));
        EXPECT_EQ(box.Text().size(), c.text.size());
        EXPECT_EQ(EncodeText(box.Text()), c.text);
        EXPECT_EQ(box.colors(), std::vector<Color>(c.text.size(), 0));
        EXPECT_EQ(box.SelStart(), 0);
    }
}

TEST(MemoryRichTextBoxTest, LoadsRtfAsRichText)
{
    support::TestEnvironment environment;
    const QByteArray rtf = "\r\n{\\rtf1\\ansi{\\colortbl ;\\red0\\green0\\blue255;}"
                           "\\pard\\plain\\f0\\fs20 a \\cf1 b\\par\r\n\\'e9}";
    MemoryRichTextBox box;
    ASSERT_TRUE(box.LoadFile(environment.writeFile("rich.rtf", rtf)));
    EXPECT_EQ(box.Text(), QString::fromUtf16(u"a b\r\né"));
    EXPECT_EQ(box.colors(), (std::vector<Color>{0, 0, kBlue, kBlue, kBlue, kBlue}));
}

TEST(MemoryRichTextBoxTest, MissingFileFailsAndKeepsTheText)
{
    support::TestEnvironment environment;
    MemoryRichTextBox box("kept", kRed);
    const Status loaded = box.LoadFile(environment.root() + "/missing.scr");
    EXPECT_FALSE(loaded);
    EXPECT_TRUE(loaded.message().contains("missing.scr")) << loaded.message().toStdString();
    EXPECT_EQ(box.Text(), "kept");
    EXPECT_EQ(box.colors(), std::vector<Color>(4, kRed));
}

TEST(MemoryRichTextBoxTest, SelectionStaysInsideTheText)
{
    MemoryRichTextBox box("0123456789");
    const struct {
        qint32 start, length, expectedStart, expectedLength;
    } cases[] = {
        {3, 4, 3, 4}, {-5, 2, 0, 2}, {20, 1, 10, 0}, {8, 5, 8, 2}, {4, -1, 4, 0},
        {0, 2147483647, 0, 10},
    };
    for (const auto& c : cases) {
        box.setSelStart(c.start);
        box.setSelLength(c.length);
        EXPECT_EQ(box.SelStart(), c.expectedStart) << c.start << "," << c.length;
        EXPECT_EQ(box.SelLength(), c.expectedLength) << c.start << "," << c.length;
    }
    box.setSelStart(2);
    box.setSelLength(3);
    box.setSelStart(2);
    EXPECT_EQ(box.SelLength(), 0) << "writing the start empties the selection";
}

TEST(MemoryRichTextBoxTest, SelTextReplacesTheSelection)
{
    // Inserted text takes the colour of the character before it, or of the first at the start.
    const struct {
        qint32 start, length;
        const char* inserted;
        const char* text;
        const char* pattern;
        qint32 caret;
    } cases[] = {
        {5, 0, "XY", "abcdeXYf", "*..****.", 7},
        {0, 0, "XY", "XYabcdef", "***..**.", 2},
        {1, 4, "X", "aXf", "**.", 2},
        {2, 2, "", "abef", "*.*.", 2},
        {6, 0, "!", "abcdef!", "*..**..", 7},
    };
    for (const auto& c : cases) {
        MemoryRichTextBox box = RedBlueBox("abcdef", "*..**.");
        box.setSelStart(c.start);
        box.setSelLength(c.length);
        box.setSelText(c.inserted);
        EXPECT_EQ(box.Text(), c.text);
        EXPECT_EQ(box.colors(), Colors(c.pattern)) << c.text;
        EXPECT_EQ(box.SelStart(), c.caret) << c.text;
        EXPECT_EQ(box.SelLength(), 0) << c.text;
    }
}

TEST(MemoryRichTextBoxTest, SelRtfCarriesTextAndColoursToAnotherBox)
{
    MemoryRichTextBox source =
        RedBlueBox(QString::fromUtf16(u"x{a*\r\n\\b}é中y"), ".*.*..***...");
    source.setSelStart(1);
    source.setSelLength(10);
    const QString rtf = source.SelRTF();
    EXPECT_TRUE(LooksLikeRtf(rtf.toLatin1()));

    MemoryRichTextBox target = RedBlueBox("[]", "..");
    target.setSelStart(1);
    target.setSelRTF(rtf);
    EXPECT_EQ(target.Text(), QString::fromUtf16(u"[{a*\r\n\\b}é中]"));
    EXPECT_EQ(target.colors(), Colors(".*.*..***..."));
    EXPECT_EQ(target.SelStart(), 11);

    target.setSelStart(0);
    target.setSelLength(11);
    target.setSelRTF(MemoryRichTextBox().SelRTF());
    EXPECT_EQ(target.Text(), "]") << "an empty selection's RTF deletes what it replaces";
}

TEST(MemoryRichTextBoxTest, SelRtfInsertsPlainTextAsText)
{
    for (const QString& plain : {QString("plain {\\b text}"), QString(" {\\rt"), QString("")}) {
        MemoryRichTextBox box = RedBlueBox("a*b", ".*.");
        box.setSelStart(1);
        box.setSelLength(1);
        box.setSelRTF(plain);
        EXPECT_EQ(box.Text(), "a" + plain + "b");
        EXPECT_EQ(box.colors(), std::vector<Color>(plain.size() + 2, kRed));
    }
}

}  // namespace
}  // namespace platform
