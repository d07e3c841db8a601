#include "language/colorize.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/memory_rich_text_box.h"
#include "shell/options.h"
#include "support/golden.h"
#include "support/literal_colorize.h"
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

    // Slot i holds keywords[i]; an empty text leaves its slot free.
    static void useKeywords(const QStringList& keywords)
    {
        language::ResetCommandTable();
        std::copy(keywords.begin(), keywords.end(), language::CommandTable.begin());
    }
};

TEST_F(ColorizeTest, KeywordsAnywhereThenCommentsOverThem)
{
    const std::vector<QStringList> cases = support::GoldenCases("language/golden/colorize.txt");
    ASSERT_EQ(cases.size(), 16u);
    for (const QStringList& c : cases) {
        useKeywords(c[0].split(u','));
        MemoryRichTextBox box(c[1], kStale);
        language::ColorizeScript(box);
        std::string letters;
        for (const Color color : box.colors())
            letters += color == 16711680 ? 'k' : color == 65280 ? 'c' : color == 0 ? 'n' : '?';
        EXPECT_EQ(letters, c[2].toStdString()) << c[1].toStdString();
    }
}

TEST_F(ColorizeTest, RecoloursEveryCharacterHiddenAndLeavesACaretAtTheSavedStart)
{
    shell::options.TextColors = {1, 2, 3, 4};
    useKeywords({"SET"});
    const QString text = "x SET; b\r\nc";
    WatchedBox box(text, kStale);
    box.setSelStart(4);
    box.setSelLength(6);
    language::ColorizeScript(box);
    EXPECT_EQ(std::tuple(box.colors(), box.visibleWrites, box.colorWritesWhileVisible(), box.SelStart(), box.SelLength(), box.Text()),
              std::tuple(std::vector<Color>{3, 3, 1, 1, 1, 2, 2, 2, 2, 3, 3}, std::vector<bool>{false, true}, 0, 4, 0, text));
}

TEST_F(ColorizeTest, DoesNothingWhenOffOrEmpty)
{
    useKeywords({"SET"});
    for (const auto& [text, flags] : {std::pair{QString("SET ; x"), qint16(0)}, std::pair{QString("SET ; x"), qint16(2)},
                                      std::pair{QString(), qint16(1)}}) {
        shell::options.SystemFlags = flags;
        WatchedBox box(text, kStale);
        box.setSelStart(1);
        box.setSelLength(3);
        language::ColorizeScript(box);
        EXPECT_EQ(std::tuple(box.visibleWrites.size(), box.colors(), box.SelStart(), box.SelLength()),
                  std::tuple(size_t(0), std::vector<Color>(text.size(), kStale), text.isEmpty() ? 0 : 1, text.isEmpty() ? 0 : 3));
    }
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
    std::vector<platform::ColorRun> stretches;
    for (qint32 i = 0; i < qint32(text.size()); ++i) {
        if (stretches.empty() || stretches.back().color != literal.colors()[i])
            stretches.push_back({i, 0, literal.colors()[i]});
        ++stretches.back().length;
    }
    const auto& o = shell::options.TextColors;
    const auto runs = language::ComputeColorRuns(text, language::CommandTable, {o[0], o[1], o[2]});
    const auto same = [](const auto& a, const auto& b) { return a.start == b.start && a.length == b.length && a.color == b.color; };
    if (fast.colors() == literal.colors() && fast.SelStart() == literal.SelStart() && fast.visible() == literal.visible()
        && std::equal(runs.begin(), runs.end(), stretches.begin(), stretches.end(), same))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "on " << text.toStdString();
}

// On generated scripts and adversarial texts, with the built-in keywords and with tables made
// to trip a matcher.
TEST_F(ColorizeTest, MatchesTheLiteralColouring)
{
    const std::vector<QStringList> tables = {
        language::BuiltInCommands(),
        {"AA", "AAA", "A", "", "AAA", "aa"},
        {"set", "SET", "RESET", "ESE", "E", "OR", "FOR", "CALL", "CALL_WHEN", "ALL_W"},
        {";", "/", "*", "/*", "*/", "//", "\r\n", "\n", "CR\r", ";;", "S;E"},
        {"\"a b\"", " ", "  ", "x", "3DP", "_SHIP", "CREATE_SHIP ", "\t", "\u00e9", "\u20acX"},
    };
    std::vector<QString> texts = {QString()};
    for (std::uint32_t seed = 1; seed <= 300; ++seed)
        texts.push_back(support::GenerateAdversarialText(200, seed) + "\u20acX\u20ac");
    for (std::uint32_t seed = 1; seed <= 20; ++seed)
        texts.push_back(support::GenerateScript(1500, seed).chopped(seed % 3));
    for (const QStringList& table : tables) {
        useKeywords(table);
        for (const QString& text : texts)
            ASSERT_TRUE(ColoursLikeTheLiteralVersion(text)) << table.join('|').toStdString();
    }
}

// A table over thousands of code units, with long keywords that overlap in many ways, needs
// more moves than the matcher keeps in full rows: the deeper nodes walk their fallbacks.
TEST_F(ColorizeTest, MatchesTheLiteralColouringWithAHugeTable)
{
    std::mt19937 random(5);
    QString wideUnits;
    for (char16_t unit = 0x3000; unit < 0x3000 + 5000; ++unit)
        wideUnits += QChar(unit);
    QStringList table;
    for (int i = 0; i < 20; ++i)
        table += wideUnits.mid(i * 250, 250);
    while (table.size() < language::kCommandSlots) {
        QString keyword;
        for (std::uint32_t length = 1 + random() % 40; length > 0; --length)
            keyword += random() % 2 ? u'A' : u'B';
        table += keyword;
    }
    useKeywords(table);
    for (int round = 0; round < 30; ++round) {
        QString text;
        while (text.size() < 2000) {
            const std::uint32_t pick = random() % 20;
            text += pick == 0 ? wideUnits[random() % 5000] : pick < 10 ? u'A' : pick < 19 ? u'B' : u' ';
        }
        ASSERT_TRUE(ColoursLikeTheLiteralVersion(text));
    }
}

}  // namespace
