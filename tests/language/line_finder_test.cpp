#include "language/line_finder.h"

#include <gtest/gtest.h>

#include "platform/memory_rich_text_box.h"

namespace language {
namespace {

TEST(LineFinder, SelectsTheWholeLineWithItsLineEndOrLeavesTheSelection)
{
    const QString ships = "0123456789\r\nabcd\r\n  CREATE_SHIP s1\r\nlast";
    const std::pair<qint32, qint32> unchanged{1, 2};  // start and length
    const std::tuple<QString, qint32, std::pair<qint32, qint32>> cases[] = {
        // Nothing after the last line feed is a line; a last line without one is.
        {"ab\r\ncd\r\n", 1, {0, 4}}, {"ab\r\ncd\r\n", 2, {4, 4}}, {"ab\r\ncd\r\n", 3, unchanged},
        {ships, 3, {18, 18}}, {ships, 4, {36, 4}},
        {ships, 5, unchanged}, {ships, 0, unchanged}, {"", 1, {0, 0}},
        {QString(40000, u'x') + "\r\n" + QString(40000, u'y'), 2, {40002, 40000}},
    };
    for (const auto& [text, line, selection] : cases) {
        SCOPED_TRACE(text.left(20).toStdString() + " line " + std::to_string(line));
        platform::MemoryRichTextBox box(text);
        box.setSelStart(unchanged.first);
        box.setSelLength(unchanged.second);
        SelectLine(box, line);
        EXPECT_EQ(std::pair(box.SelStart(), box.SelLength()), selection);
    }
}

}  // namespace
}  // namespace language
