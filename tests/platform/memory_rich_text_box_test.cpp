#include "platform/memory_rich_text_box.h"

#include <gtest/gtest.h>

#include "platform/rtf.h"
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

MemoryRichTextBox RedBlueBox(const QString& text, const QString& pattern)
{
    MemoryRichTextBox box(text, kRed);
    for (qint32 i = 0; i < qint32(pattern.size()); ++i) {
        box.setSelStart(i);
        box.setSelLength(1);
        box.setSelColor(Colors(pattern)[i]);
    }
    return box;
}

auto State(const MemoryRichTextBox& box)
{
    return std::tuple(box.Text(), box.colors(), box.SelStart(), box.SelLength());
}

TEST(MemoryRichTextBoxTest, LoadReplacesTextAndColoursOrFailsKeepingThem)
{
    support::TestEnvironment environment;
    const std::vector<std::tuple<QByteArray, QString, std::vector<Color>>> cases = {
        {"", "", {}},
        {"\n\r\r\nx\n", "\r\n\r\n\r\nx\r\n", std::vector<Color>(9, 0)},
        {"\r\n{\\rtf1{\\colortbl ;\\red0\\green0\\blue255;}a \\cf1 b\\par\r\n\\'e9}", QString::fromUtf16(u"a b\r\né"), {0, 0, kBlue, kBlue, kBlue, kBlue}},
    };
    for (const auto& [file, text, colors] : cases) {
        MemoryRichTextBox box("old text", kRed);
        box.setSelStart(2);
        box.setSelLength(3);
        ASSERT_TRUE(box.setFilename(environment.writeFile("file.scr", file)));
        EXPECT_EQ(State(box), std::tuple(text, colors, 0, 0)) << file.constData();
    }
    MemoryRichTextBox box("kept", kRed);
    const Status loaded = box.LoadFile(environment.root() + "/missing.scr");
    EXPECT_TRUE(!loaded && loaded.message().contains("missing.scr")) << loaded.message().toStdString();
    EXPECT_EQ(State(box), std::tuple(QString("kept"), std::vector<Color>(4, kRed), 0, 0));
}

TEST(MemoryRichTextBoxTest, SelectionStaysInsideTheTextAndANewStartEmptiesIt)
{
    MemoryRichTextBox box("0123456789");
    const std::vector<std::array<qint32, 4>> cases = {
        {3, 4, 3, 4}, {-5, 2, 0, 2}, {20, 1, 10, 0}, {8, 5, 8, 2}, {4, -1, 4, 0}, {0, 2147483647, 0, 10}};
    for (const auto& [start, length, expectedStart, expectedLength] : cases) {
        box.setSelLength(3);
        box.setSelStart(start);
        const qint32 afterStart = box.SelLength();
        box.setSelLength(length);
        EXPECT_EQ(std::tuple(afterStart, box.SelStart(), box.SelLength()), std::tuple(0, expectedStart, expectedLength)) << start << "," << length;
    }
}

TEST(MemoryRichTextBoxTest, SelTextAndPlainSelRtfReplaceTheSelection)
{
    // Inserted text takes the colour of the character before it, or of the first at the start.
    const std::vector<std::tuple<qint32, qint32, QString, QString, QString, qint32>> cases = {
        {5, 0, "XY", "abcdeXYf", "*..****.", 7},
        {0, 0, "XY", "XYabcdef", "***..**.", 2},
        {1, 4, "X", "aXf", "**.", 2},
        {2, 2, "", "abef", "*.*.", 2},
        {6, 0, "!", "abcdef!", "*..**..", 7},
        {2, 1, "plain {\\b x}", "abplain {\\b x}def", "*.............**.", 14},
        {2, 1, " {\\rt", "ab {\\rtdef", "*......**.", 7},
    };
    for (const auto& [start, length, inserted, text, pattern, caret] : cases) {
        for (const bool asRtf : {false, true}) {
            MemoryRichTextBox box = RedBlueBox("abcdef", "*..**.");
            box.setSelStart(start);
            box.setSelLength(length);
            asRtf ? box.setSelRTF(inserted) : box.setSelText(inserted);
            EXPECT_EQ(State(box), std::tuple(text, Colors(pattern), caret, 0)) << text.toStdString() << asRtf;
        }
    }
}

TEST(MemoryRichTextBoxTest, SelRtfCarriesTextAndColoursToAnotherBox)
{
    MemoryRichTextBox source = RedBlueBox(QString::fromUtf16(u"x{a*\r\n\\b}é中y"), ".*.*..***...");
    source.setSelStart(1);
    source.setSelLength(10);
    const QString rtf = source.SelRTF();
    EXPECT_TRUE(LooksLikeRtf(rtf.toLatin1()));
    MemoryRichTextBox target = RedBlueBox("[]", "..");
    target.setSelStart(1);
    target.setSelRTF(rtf);
    EXPECT_EQ(State(target), std::tuple(QString::fromUtf16(u"[{a*\r\n\\b}é中]"), Colors(".*.*..***..."), 11, 0));
    // An empty selection's RTF deletes what it replaces.
    target.setSelStart(0);
    target.setSelLength(11);
    target.setSelRTF(MemoryRichTextBox().SelRTF());
    EXPECT_EQ(target.Text(), "]");
}

}  // namespace
}  // namespace platform
