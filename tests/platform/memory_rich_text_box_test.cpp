#include "platform/memory_rich_text_box.h"

#include <gtest/gtest.h>

#include "support/test_environment.h"

namespace platform {
namespace {

// The text, its colours, and the selection of a box whose characters under a '*' of pattern are
// red and the others black, selected as given.
auto Box(const QString& text, const QString& pattern = {}, qint32 start = 0, qint32 length = 0)
{
    MemoryRichTextBox box(text);
    for (qint32 i = 0; i < qint32(pattern.size()); ++i) {
        box.setSelStart(i);
        box.setSelLength(pattern[i] == u'*');
        box.setSelColor(0xFF0000);
    }
    box.setSelStart(start);
    box.setSelLength(length);
    return box;
}

auto State(const MemoryRichTextBox& box)
{
    return std::tuple(box.Text(), box.colors(), box.SelStart(), box.SelLength());
}

// A file replaces text and colours and puts the caret at the start; a missing one changes nothing.
TEST(MemoryRichTextBoxTest, LoadReplacesTextAndColoursOrFailsKeepingThem)
{
    support::TestEnvironment environment;
    const std::vector<std::array<QString, 3>> cases = {
        {"", "", ""},
        {"\n\r\r\nx\n", "\r\n\r\n\r\nx\r\n", ""},
        {"\r\n{\\rtf1{\\colortbl ;\\red0\\green0\\blue255;}a \\cf1 b\\par\r\n\\'e9}", "a b\r\né", "..****"},
    };
    for (const auto& [file, text, pattern] : cases) {
        MemoryRichTextBox box = Box("old text", "*...", 2, 3);
        ASSERT_TRUE(box.setFilename(environment.writeFile("file.scr", file.toLatin1())));
        EXPECT_EQ(State(box), State(Box(text, pattern))) << file.toStdString();
    }
    MemoryRichTextBox box = Box("kept", "*...", 1, 2);
    const Status loaded = box.LoadFile(environment.root() + "/missing.scr");
    EXPECT_TRUE(!loaded && loaded.message().contains("missing.scr")) << loaded.message().toStdString();
    EXPECT_EQ(State(box), State(Box("kept", "*...", 1, 2)));
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
