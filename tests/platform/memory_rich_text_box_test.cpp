#include "platform/memory_rich_text_box.h"

#include <gtest/gtest.h>

#include "platform/rtf.h"
#include "platform/text_file.h"
#include "support/test_environment.h"

namespace platform {
namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kBlue = 0xFF0000;

// Red for each character of the pattern, blue for each '*'.
std::vector<Color> Colors(const QString& pattern)
{
    std::vector<Color> colors;
    for (QChar c : pattern)
        colors.push_back(c == u'*' ? kBlue : kRed);
    return colors;
}

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

TEST(MemoryRichTextBoxTest, LoadReplacesTextAndColoursOrFailsKeepingThem)
{
    support::TestEnvironment environment;
    const struct {
        QByteArray file;
        QString text;
        std::vector<Color> colors;
    } cases[] = {
        {"", "", {}},
        {"\n\r\r\nx\n", "\r\n\r\n\r\nx\r\n", std::vector<Color>(9, 0)},
        {"\r\n{\\rtf1{\\colortbl ;\\red0\\green0\\blue255;}a \\cf1 b\\par\r\n\\'e9}",
         QString::fromUtf16(u"a b\r\né"), {0, 0, kBlue, kBlue, kBlue, kBlue}},
    };
    for (const auto& c : cases) {
        MemoryRichTextBox box("old text", kRed);
        box.setSelStart(2);
        ASSERT_TRUE(box.setFilename(environment.writeFile("file.scr", c.file)));
        EXPECT_EQ(box.Text(), c.text);
        EXPECT_EQ(box.colors(), c.colors) << c.file.constData();
        EXPECT_EQ(box.SelStart(), 0);
    }

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
    box.setSelLength(3);
    box.setSelStart(2);
    EXPECT_EQ(box.SelLength(), 0) << "writing the start empties the selection";
}

TEST(MemoryRichTextBoxTest, SelTextAndPlainSelRtfReplaceTheSelection)
{
    // Inserted text takes the colour of the character before it, or of the first at the start.
    const struct {
        qint32 start, length;
        QString inserted, text, pattern;
        qint32 caret;
    } cases[] = {
        {5, 0, "XY", "abcdeXYf", "*..****.", 7},
        {0, 0, "XY", "XYabcdef", "***..**.", 2},
        {1, 4, "X", "aXf", "**.", 2},
        {2, 2, "", "abef", "*.*.", 2},
        {6, 0, "!", "abcdef!", "*..**..", 7},
        {2, 1, "plain {\\b x}", "abplain {\\b x}def", "*.............**.", 14},
        {2, 1, " {\\rt", "ab {\\rtdef", "*......**.", 7},
    };
    for (const auto& c : cases) {
        for (const bool asRtf : {false, true}) {
            MemoryRichTextBox box = RedBlueBox("abcdef", "*..**.");
            box.setSelStart(c.start);
            box.setSelLength(c.length);
            asRtf ? box.setSelRTF(c.inserted) : box.setSelText(c.inserted);
            EXPECT_EQ(box.Text(), c.text) << asRtf;
            EXPECT_EQ(box.colors(), Colors(c.pattern)) << c.text.toStdString() << asRtf;
            EXPECT_EQ(box.SelStart(), c.caret) << c.text.toStdString() << asRtf;
            EXPECT_EQ(box.SelLength(), 0) << c.text.toStdString() << asRtf;
        }
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

}  // namespace
}  // namespace platform
