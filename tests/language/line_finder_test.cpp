#include "language/line_finder.h"

#include <gtest/gtest.h>

#include "platform/memory_rich_text_box.h"

namespace language {
namespace {

TEST(LineFinder, SelectsTheWholeLineWithItsLineEndOrLeavesTheSelection)
{
    struct Case {
        QString text;
        qint32 line;
        std::pair<qint32, qint32> selection;  // start and length afterwards
    };
    const QString ships = "0123456789\r\nabcd\r\n  CREATE_SHIP s1\r\nlast";
    const QString longLine(40000, u'x');
    const std::pair<qint32, qint32> unchanged{-1, -1};
    const Case cases[] = {
        {"ab\r\ncd\r\n", 1, {0, 4}},
        {"ab\r\ncd\r\n", 2, {4, 4}},
        {ships, 3, {18, 18}},
        {ships, 4, {36, 4}},  // the last line, without a line feed
        {ships, 5, unchanged},
        {ships, 0, unchanged},
        {ships, -1, unchanged},
        {"ab\r\ncd\r\n", 3, unchanged},  // nothing after the last line feed
        {"", 1, unchanged},
        {longLine + "\r\nship\r\n", 2, {40002, 6}},
        {longLine + "\r\n" + longLine, 2, {40002, 40000}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.text.left(40).toStdString() + " line " + std::to_string(test.line));
        platform::MemoryRichTextBox box(test.text);
        box.setSelStart(1);
        box.setSelLength(2);
        const std::pair before(box.SelStart(), box.SelLength());
        SelectLine(box, test.line);
        EXPECT_EQ(std::pair(box.SelStart(), box.SelLength()), test.selection == unchanged ? before : test.selection);
    }
}

}  // namespace
}  // namespace language
