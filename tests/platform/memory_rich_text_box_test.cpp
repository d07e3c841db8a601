#include "platform/memory_rich_text_box.h"

#include <gtest/gtest.h>

#include "support/test_environment.h"

namespace platform {
namespace {

// A box of text coloured by pattern: red for each character, blue for each '*'.
MemoryRichTextBox Box(const QString& text, const QString& pattern, qint32 start = 0, qint32 length = 0)
{
    MemoryRichTextBox box(text);
    for (qint32 i = 0; i < qint32(pattern.size()); ++i) {
        box.setSelStart(i);
        box.setSelLength(1);
        box.setSelColor(pattern[i] == u'*' ? 0xFF0000 : 0x0000FF);
    }
    box.setSelStart(start);
    box.setSelLength(length);
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
        {"\r\n{\\rtf1{\\colortbl ;\\red0\\green0\\blue255;}a \\cf1 b\\par\r\n\\'e9}", "a b\r\né",
         {0, 0, 0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000}},
    };
    for (const auto& [file, text, colors] : cases) {
        MemoryRichTextBox box = Box("old text", "*.......", 2, 3);
        ASSERT_TRUE(box.setFilename(environment.writeFile("file.scr", file)));
        EXPECT_EQ(State(box), std::tuple(text, colors, 0, 0)) << file.constData();
    }
    MemoryRichTextBox box = Box("kept", "*...", 1, 2);
    const Status loaded = box.LoadFile(environment.root() + "/missing.scr");
    EXPECT_TRUE(!loaded && loaded.message().contains("missing.scr")) << loaded.message().toStdString();
    EXPECT_EQ(State(box), State(Box("kept", "*...", 1, 2)));
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
        EXPECT_EQ(std::tuple(afterStart, box.SelStart(), box.SelLength()),
                  std::tuple(0, expectedStart, expectedLength));
    }
}

// Inserted text takes the colour of the character before it, or of the first at the start; text
// that is not RTF goes in as it is.
TEST(MemoryRichTextBoxTest, SelTextAndSelRtfReplaceTheSelection)
{
    const std::vector<std::tuple<qint32, qint32, QString, QString, QString, qint32>> cases = {
        {5, 0, "XY", "abcdeXYf", "*..****.", 7},     {0, 0, "XY", "XYabcdef", "***..**.", 2},
        {1, 4, "X", "aXf", "**.", 2},                {2, 2, "", "abef", "*.*.", 2},
        {6, 0, "!", "abcdef!", "*..**..", 7},        {2, 1, " {\\rt", "ab {\\rtdef", "*......**.", 7},
        {2, 1, "plain {\\b x}", "abplain {\\b x}def", "*.............**.", 14},
    };
    for (const auto& [start, length, inserted, text, pattern, caret] : cases) {
        for (const bool asRtf : {false, true}) {
            MemoryRichTextBox box = Box("abcdef", "*..**.", start, length);
            asRtf ? box.setSelRTF(inserted) : box.setSelText(inserted);
            EXPECT_EQ(State(box), State(Box(text, pattern, caret))) << text.toStdString() << asRtf;
        }
    }
    MemoryRichTextBox source = Box("x{a*\r\n\\b}é中y", ".*.*..***...", 1, 10);
    MemoryRichTextBox target = Box("[]", "..", 1);
    target.setSelRTF(source.SelRTF());
    EXPECT_EQ(State(target), State(Box("[{a*\r\n\\b}é中]", ".*.*..***...", 11)));
    target.setSelStart(0);
    target.setSelLength(11);
    target.setSelRTF(MemoryRichTextBox().SelRTF());  // an empty selection's RTF deletes what it replaces
    EXPECT_EQ(target.Text(), "]");
}

}  // namespace
}  // namespace platform
