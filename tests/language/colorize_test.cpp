#include "language/colorize.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/memory_rich_text_box.h"
#include "shell/options.h"
#include "support/golden.h"
#include "support/literal_passes.h"
#include "support/script_generator.h"

namespace {

using platform::Color;
using platform::MemoryRichTextBox;

constexpr Color kStale = 0x123456;  // a colour no pass writes

// Records every show and hide, to tell "never hidden" from "hidden and shown again".
class WatchedBox : public MemoryRichTextBox {
public:
    using MemoryRichTextBox::MemoryRichTextBox;
    void setVisible(bool visible) override
    {
        visibleWrites.push_back(visible);
        MemoryRichTextBox::setVisible(visible);
    }
    std::vector<bool> visibleWrites;
};

class ColorizeTest : public ::testing::Test {
protected:
    void SetUp() override { shell::options = {}; }
    void TearDown() override { language::ResetCommandTable(); }
    static void useKeywords(const QStringList& keywords)  // slot i holds keywords[i]; "" stays free
    {
        language::ResetCommandTable();
        std::copy(keywords.begin(), keywords.end(), language::CommandTable.begin());
    }
    // The box after colouring text with its selection at start, length.
    static std::tuple<std::vector<Color>, std::vector<bool>, int, qint32, qint32> colorize(const QString& text,
                                                                                           qint32 start = 0,
                                                                                           qint32 length = 0)
    {
        WatchedBox box(text, kStale);
        box.setSelStart(start);
        box.setSelLength(length);
        language::ColorizeScript(box);
        EXPECT_EQ(box.Text(), text);
        return {box.colors(), box.visibleWrites, box.colorWritesWhileVisible(), box.SelStart(), box.SelLength()};
    }
};

// The golden cases give the colour of each character: k keyword, c comment, n normal.
TEST_F(ColorizeTest, KeywordsAnywhereThenCommentsOverThem)
{
    const std::vector<QStringList> cases = support::GoldenCases("language/golden/colorize.txt");
    ASSERT_EQ(cases.size(), 16u);
    for (const QStringList& c : cases) {
        useKeywords(c[0].split(u','));
        std::vector<Color> letters;
        for (const QChar letter : c[2])
            letters.push_back(letter == u'k' ? 16711680 : letter == u'c' ? 65280 : 0);
        EXPECT_EQ(std::get<0>(colorize(c[1])), letters) << c[1].toStdString();
    }
}

// Hidden while it works, every character recoloured with the current colours, and the
// selection left as a caret at its start; nothing at all when colouring is off or the text empty.
TEST_F(ColorizeTest, RecoloursHiddenLeavingACaretOrDoesNothing)
{
    shell::options.TextColors = {1, 2, 3, 4};
    useKeywords({"SET"});
    EXPECT_EQ(colorize("x SET; b\r\nc", 4, 6),
              std::tuple(std::vector<Color>{3, 3, 1, 1, 1, 2, 2, 2, 2, 3, 3}, std::vector<bool>{false, true}, 0, 4, 0));
    for (const qint16 flags : {0, 2}) {
        shell::options.SystemFlags = flags;
        EXPECT_EQ(colorize("SET ; x", 1, 3), std::tuple(std::vector<Color>(7, kStale), std::vector<bool>{}, 0, 1, 3));
    }
    shell::options.SystemFlags = 1;
    EXPECT_EQ(colorize(""), std::tuple(std::vector<Color>{}, std::vector<bool>{}, 0, 0, 0));
}

// The fast colouring leaves the box as the literal one does, and its runs are the fewest that
// give those colours: one per stretch of equal colour, in order.
::testing::AssertionResult ColoursLikeTheLiteralVersion(const QString& text)
{
    MemoryRichTextBox fast(text, kStale), literal(text, kStale);
    for (MemoryRichTextBox* box : {&fast, &literal})
        box->setSelStart(qint32(text.size() / 2));
    language::ColorizeScript(fast);
    support::LiteralColorizeScript(literal);
    std::vector<std::array<qint32, 3>> stretches, runs;
    for (qint32 i = 0; i < qint32(text.size()); ++i) {
        if (stretches.empty() || stretches.back()[2] != literal.colors()[i])
            stretches.push_back({i, 0, literal.colors()[i]});
        ++stretches.back()[1];
    }
    const auto& o = shell::options.TextColors;
    for (const platform::ColorRun& run : language::ComputeColorRuns(text, language::CommandTable, {o[0], o[1], o[2]}))
        runs.push_back({run.start, run.length, run.color});
    if (fast.colors() == literal.colors() && fast.SelStart() == literal.SelStart() && runs == stretches)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "on " << text.toStdString();
}

// On generated scripts and adversarial texts, with the built-in keywords and with tables made
// to trip a matcher.
TEST_F(ColorizeTest, MatchesTheLiteralColouring)
{
    std::vector<QStringList> tables = support::GoldenCases("language/golden/keyword_tables.txt");
    tables.push_back(language::BuiltInCommands());
    ASSERT_EQ(tables.size(), 5u);
    for (const QStringList& table : tables) {
        useKeywords(table);
        for (const QString& text : support::PassTexts())
            ASSERT_TRUE(ColoursLikeTheLiteralVersion(text)) << table.join('|').toStdString();
    }
}

// A table over thousands of code units, with long keywords that overlap in many ways, needs
// more moves than the matcher keeps in full rows: the deeper nodes walk their fallbacks.
TEST_F(ColorizeTest, MatchesTheLiteralColouringWithAHugeTable)
{
    std::mt19937 random(5);
    QString wide;
    for (char16_t unit = 0x3000; unit < 0x3000 + 5000; ++unit)
        wide += QChar(unit);
    QStringList table;
    for (int i = 0; i < 20; ++i)
        table += wide.mid(i * 250, 250);
    while (table.size() < language::kCommandSlots) {
        table += QString();
        for (std::uint32_t length = 1 + random() % 40; length > 0; --length)
            table.back() += random() % 2 ? u'A' : u'B';
    }
    useKeywords(table);
    for (int round = 0; round < 30; ++round) {
        QString text;
        while (text.size() < 2000) {
            const std::uint32_t pick = random() % 20;
            text += pick == 0 ? wide[random() % 5000] : pick < 10 ? u'A' : pick < 19 ? u'B' : u' ';
        }
        ASSERT_TRUE(ColoursLikeTheLiteralVersion(text));
    }
}

}  // namespace
