#include "language/colorize.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/memory_rich_text_box.h"
#include "shell/options.h"
#include "support/literal_colorize.h"
#include "support/script_generator.h"

namespace {

using language::CommandTable;
using platform::Color;
using platform::MemoryRichTextBox;

constexpr Color kCommand = 16711680;
constexpr Color kComment = 65280;
constexpr Color kNormal = 0;
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
    void SetUp() override
    {
        shell::options = {};
        useKeywords({"SET", "OR"});
    }
    void TearDown() override { language::ResetCommandTable(); }

    // Slot i holds keywords[i]; an empty text leaves its slot free.
    static void useKeywords(const QStringList& keywords)
    {
        language::ResetCommandTable();
        std::copy(keywords.begin(), keywords.end(), CommandTable.begin());
    }

    // The colours of the text after colouring, one letter per character: k keyword, c comment,
    // n normal, ? untouched.
    static std::string colorize(const QString& text)
    {
        MemoryRichTextBox box(text, kStale);
        language::ColorizeScript(box);
        std::string letters;
        for (Color color : box.colors())
            letters += color == kCommand   ? 'k'
                       : color == kComment ? 'c'
                       : color == kNormal  ? 'n'
                                           : '?';
        return letters;
    }
};

TEST_F(ColorizeTest, KeywordsAreFoundInsideWordsWithTheirCase)
{
    EXPECT_EQ(colorize("RESET reset FOR"), "nnkkknnnnnnnnkk");
    EXPECT_EQ(colorize("SETSET"), "kkkkkk");
    useKeywords({"set", "", "OR"});  // an empty slot between keywords is skipped
    EXPECT_EQ(colorize("SET set FOR"), "nnnnkkknnkk");
}

TEST_F(ColorizeTest, OverlappingKeywordsColourTheirUnion)
{
    useKeywords({"AA", "ABA", "BAB", "CXYZ", "X"});
    EXPECT_EQ(colorize("AAA"), "kkk");
    EXPECT_EQ(colorize("ABABA"), "kkkkk");
    EXPECT_EQ(colorize("CXYW CXYZ"), "nknnnkkkk");
    // A later, longer match reaches back past the start of an earlier, shorter one.
    useKeywords({"B", "ABCD"});
    EXPECT_EQ(colorize("ABCD ABC"), "kkkknnkn");
}

TEST_F(ColorizeTest, LineCommentsRunToTheLineFeed)
{
    EXPECT_EQ(colorize("SET x ; SET y\r\nSET"), "kkknnnccccccccnkkk");
    EXPECT_EQ(colorize("x // SET\r\ny"), "nncccccccnn");
    // On a last line without a line break, to the end of the text.
    EXPECT_EQ(colorize("SET ;x"), "kkkncc");
    EXPECT_EQ(colorize("x //"), "nncc");
    // Quotes do not protect a marker; a lone CR does not end a comment.
    EXPECT_EQ(colorize("\"a;b\"\rc\nd"), "nncccccnn");
}

TEST_F(ColorizeTest, BlockCommentsRunThroughTheNextCloser)
{
    EXPECT_EQ(colorize("a/*/b"), "ncccn");
    EXPECT_EQ(colorize("a/**/b"), "nccccn");
    EXPECT_EQ(colorize("SET /* x\r\nSET\r\n"), "kkknccccccccccc");
    // Block comments do not nest: the first closer ends both openers.
    EXPECT_EQ(colorize("/* a /* b */ c */ SET"), "ccccccccccccnnnnnnkkk");
    // A closer without an opener does nothing; an opener may share the closer's slash.
    EXPECT_EQ(colorize("*/ SET"), "nnnkkk");
    EXPECT_EQ(colorize("/* a */* b */ OR"), "cccccccccccccnkk");
}

TEST_F(ColorizeTest, RecolouringResetsEveryCharacter)
{
    MemoryRichTextBox box("SET x", kComment);
    language::ColorizeScript(box);
    EXPECT_EQ(box.colors(), (std::vector<Color>{kCommand, kCommand, kCommand, kNormal, kNormal}));
    useKeywords({"x"});
    language::ColorizeScript(box);
    EXPECT_EQ(box.colors(), (std::vector<Color>{kNormal, kNormal, kNormal, kNormal, kCommand}));
}

TEST_F(ColorizeTest, HidesTheBoxAndLeavesACaretAtTheSavedStart)
{
    const QString text = "SET a ; b\r\nOR c";
    WatchedBox box(text, kStale);
    box.setSelStart(4);
    box.setSelLength(6);
    language::ColorizeScript(box);
    EXPECT_EQ(box.visibleWrites, (std::vector<bool>{false, true}));
    EXPECT_EQ(box.colorWritesWhileVisible(), 0);
    EXPECT_EQ(box.SelStart(), 4);
    EXPECT_EQ(box.SelLength(), 0);
    EXPECT_EQ(box.Text(), text);
}

TEST_F(ColorizeTest, DoesNothingWhenOffOrEmpty)
{
    for (const auto& [text, flags] : {std::pair{QString("SET ; x"), qint16(0)},
                                      std::pair{QString("SET ; x"), qint16(2)},
                                      std::pair{QString(), qint16(1)}}) {
        shell::options.SystemFlags = flags;
        WatchedBox box(text, kStale);
        box.setSelStart(1);
        box.setSelLength(3);
        language::ColorizeScript(box);
        EXPECT_TRUE(box.visibleWrites.empty());
        EXPECT_EQ(box.colors(), std::vector<Color>(text.size(), kStale));
        EXPECT_EQ(box.SelStart(), text.isEmpty() ? 0 : 1);
        EXPECT_EQ(box.SelLength(), text.isEmpty() ? 0 : 3);
    }
}

TEST_F(ColorizeTest, UsesTheCurrentColours)
{
    shell::options.TextColors = {1, 2, 3, 4};
    MemoryRichTextBox box("x SET;", kStale);
    language::ColorizeScript(box);
    EXPECT_EQ(box.colors(), (std::vector<Color>{3, 3, 1, 1, 1, 2}));
}

TEST(ColorRunsTest, RunsCoverTheTextInOrderAndChangeColourAtEachBoundary)
{
    language::CommandSlots keywords;
    std::copy(language::BuiltInCommands().begin(), language::BuiltInCommands().end(),
              keywords.begin());
    const QString script = support::GenerateScript(20000, 7);
    const auto runs = language::ComputeColorRuns(script, keywords, {kCommand, kComment, kNormal});
    ASSERT_FALSE(runs.empty());
    qint32 next = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i].start, next);
        EXPECT_GT(runs[i].length, 0);
        if (i > 0) {
            EXPECT_NE(runs[i].color, runs[i - 1].color);
        }
        next += runs[i].length;
    }
    EXPECT_EQ(next, script.size());
    EXPECT_TRUE(language::ComputeColorRuns(u"", keywords, {kCommand, kComment, kNormal}).empty());
}

// The fast colouring and the literal one leave the box alike.
::testing::AssertionResult ColoursLikeTheLiteralVersion(const QString& text)
{
    MemoryRichTextBox fast(text, kStale), literal(text, kStale);
    for (MemoryRichTextBox* box : {&fast, &literal})
        box->setSelStart(qint32(text.size() / 2));
    language::ColorizeScript(fast);
    support::LiteralColorizeScript(literal);
    if (fast.colors() == literal.colors() && fast.SelStart() == literal.SelStart()
        && fast.visible() == literal.visible())
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
    std::vector<QString> texts;
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
