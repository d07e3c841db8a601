#include "language/parser.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <random>

#include "platform/memory_rich_text_box.h"
#include "support/literal_passes.h"
#include "support/script_generator.h"

namespace language {
namespace {

using Rows = std::vector<std::pair<QString, QString>>;

class ParserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TypeKeywords.fill(QString());
        InitParser();
    }

    static void Parse(const QString& text) { ParseVariables(platform::MemoryRichTextBox(text)); }

    // Name and display name of the rows in use, which must run unbroken from row 0.
    static Rows RowsInUse()
    {
        Rows rows;
        bool ended = false;
        for (const VarRow& row : VarTable) {
            EXPECT_TRUE(row[2].isEmpty());
            if (row[0].isEmpty()) {
                ended = true;
                continue;
            }
            EXPECT_FALSE(ended) << "row in use after a free row: " << row[0].toStdString();
            rows.emplace_back(row[0], row[1]);
        }
        return rows;
    }
};

Rows Each(const QStringList& names, const QString& displayName)
{
    Rows rows;
    for (const QString& name : names)
        rows.emplace_back(name, displayName);
    return rows;
}

TEST_F(ParserTest, WorkedExamplesRecordTheNamesOfEachLine)
{
    const std::vector<std::pair<QString, Rows>> examples = {
        {"BOOL bDone", {{"bDone", "BOOLEAN"}}},
        {"3DP vPos vDir", {{"vPos", "3DP"}, {"vDir", "3DP"}}},
        {"STRING a,b,c", Each({"a", "b", "c"}, "STRING")},
        {"var count", {{"count", "VARIABLE"}}},
        {"3DP vPos, vDir", Each({"vPos", "vDir"}, "3DP")},
        {"BOOL alpha, beta, gamma", Each({"alpha", "beta", "gamma"}, "BOOLEAN")},
        {"NUMBER x, y, z", Each({"x", "y", "z"}, "NUMBER")},
        {"VAR a1, b2, c3, d4, e5", Each({"a1", "b2", "c3", "d4", "e5"}, "VARIABLE")},
        {"\t\tBOOL x", {{"x", "BOOLEAN"}}},
        {"CALL x", {}},
        {"; BOOL hidden", {}},
        {"BOOL x ; note", Each({"x", ";", "note"}, "BOOLEAN")},
    };
    for (const auto& [line, expected] : examples) {
        Parse("SET nCount, 0\r\n" + line + "\r\nRETURN\r\n");
        EXPECT_EQ(RowsInUse(), expected) << line.toStdString();
    }
}

TEST_F(ParserTest, GetTokenSkipsDelimitersAndKeepsQuotedOnesInside)
{
    const std::vector<std::tuple<QString, QString, qsizetype>> examples = {
        {"\t\tBOOL x\r", "BOOL", 2},
        {", x", "x", 2},
        {"\"big ship\",2", "\"big ship\"", 0},
        {"   \r", "", 4},
        {"", "", 0},
        {"STRING \"abc, d\r", "STRING", 0},
        {"\"abc, d\r", "\"abc, d\r", 0},
        {"a\"b c\"d e", "a\"b c\"d", 0},
    };
    for (const auto& [line, token, skipped] : examples) {
        qsizetype d = -1;
        EXPECT_EQ(GetToken(line, &d), token) << line.toStdString();
        EXPECT_EQ(d, skipped) << line.toStdString();
    }
}

TEST_F(ParserTest, GetFirstLineEndsBeforeTheLineFeedAndKeepsTheCr)
{
    EXPECT_EQ(GetFirstLine(u"BOOL x\r\nVAR y"), u"BOOL x\r");
    EXPECT_EQ(GetFirstLine(u"no line feed\r"), u"no line feed\r");
    EXPECT_EQ(GetFirstLine(u"\nx"), u"");
    EXPECT_EQ(GetFirstLine(u""), u"");
}

TEST_F(ParserTest, TrimmingRemovesBlanksOnlyAndCutsStopAtTheEnd)
{
    EXPECT_EQ(Trimmed(u"  \tx \r  "), u"\tx \r");
    EXPECT_EQ(Trimmed(u"    "), u"");
    EXPECT_EQ(Cut(u"abcdef", 2), u"cdef");
    EXPECT_EQ(Cut(u"abc", 3), u"");
    EXPECT_EQ(Cut(u"abc", 40), u"");
}

TEST_F(ParserTest, TypeKeywordsAreFoundTrimmedAndInAnyCase)
{
    EXPECT_EQ(TypeKeywords[6], "WAYHJKHJKHPT");
    EXPECT_TRUE(TypeKeywords[9].isEmpty());
    for (const char* token : {"var", "Var", "VAR", " vAr "})
        EXPECT_EQ(GetTypeIndex(QString(token)), 8) << token;
    EXPECT_EQ(GetTypeIndex(u"3dp"), 0);
    EXPECT_EQ(GetTypeIndex(u"WAYPOINT"), -1);
    EXPECT_EQ(GetTypeIndex(u"BOOLEAN"), -1);
    EXPECT_EQ(GetTypeIndex(u""), -1);
    EXPECT_FALSE(IsTypeKeyword(u"CALL"));
    EXPECT_TRUE(IsTypeKeyword(u"Model"));
}

TEST_F(ParserTest, AddTypeKeywordFillsFreeSlotsAndDropsTheRest)
{
    for (int i = 9; i < kTypeKeywordSlots; ++i)
        AddTypeKeyword(QStringLiteral("EXTRA%1").arg(i));
    AddTypeKeyword("DROPPED");
    EXPECT_EQ(GetTypeIndex(u"extra20"), 20);
    EXPECT_EQ(GetTypeIndex(u"DROPPED"), -1);

    // A keyword beyond the built-in ones has no display name.
    Parse("EXTRA9 name");
    EXPECT_EQ(RowsInUse(), (Rows{{"name", ""}}));
}

TEST_F(ParserTest, EmptyAndBlankTextsLeaveTheTableEmpty)
{
    for (const char* text : {"", "     "}) {
        Parse("BOOL x");
        Parse(text);
        EXPECT_TRUE(RowsInUse().empty()) << '"' << text << '"';
        EXPECT_TRUE(VarTable[0][1].isEmpty());
    }
}

TEST_F(ParserTest, LastLineIsReadOnceWithoutALineBreakWhenLongerThanFourCharacters)
{
    Parse("SET a\r\nBOOL x");
    EXPECT_EQ(RowsInUse(), (Rows{{"x", "BOOLEAN"}}));

    // A keyword with nothing behind it still reads one empty name, which marks column 1 of the
    // first free row: that shows whether the line was examined at all.
    Parse("SET a\r\nVAR\t\t");
    EXPECT_EQ(VarTable[0][1], "VARIABLE");
    Parse("SET a\r\nVAR\t");
    EXPECT_TRUE(VarTable[0][1].isEmpty());
    Parse("VAR\t");
    EXPECT_EQ(VarTable[0][1], "VARIABLE");
    EXPECT_TRUE(RowsInUse().empty());
}

TEST_F(ParserTest, AnEmptyLastNameMarksOnlyColumnOneOfTheNextFreeRow)
{
    Parse("BOOL x \r\nSET a\r\n");
    EXPECT_EQ(RowsInUse(), (Rows{{"x", "BOOLEAN"}}));
    EXPECT_EQ(VarTable[1][1], "BOOLEAN");

    Parse("SCENEITEM\r\nRETURN\r\n");
    EXPECT_TRUE(RowsInUse().empty());
}

TEST_F(ParserTest, IndentationAndDelimiterRunsDoNotChangeTheNames)
{
    Parse("SET a\r\n  \t BOOL ,\t a ,, b\t\t,c\r\n\t,NUMBER\t\tn\r\n");
    EXPECT_EQ(RowsInUse(), (Rows{{"a", "BOOLEAN"}, {"b", "BOOLEAN"}, {"c", "BOOLEAN"}, {"n", "NUMBER"}}));
}

TEST_F(ParserTest, NamesKeepTheirCaseAndDuplicatesAndQuotesStand)
{
    Parse("bOoL MixedCase\r\nbool MixedCase\r\nSTRING \"abc, d\r\n");
    EXPECT_EQ(RowsInUse(), (Rows{{"MixedCase", "BOOLEAN"}, {"MixedCase", "BOOLEAN"}, {"\"abc, d\r", "STRING"}}));
}

TEST_F(ParserTest, OnlyTheFirst201NamesAreRecorded)
{
    QString text = "NUMBER";
    for (int i = 0; i < 150; ++i)
        text += QStringLiteral(" n%1").arg(i);
    text += "\r\nBOOL";
    for (int i = 150; i < 260; ++i)
        text += QStringLiteral(" n%1").arg(i);
    Parse(text);
    const Rows rows = RowsInUse();
    ASSERT_EQ(rows.size(), 201u);
    EXPECT_EQ(rows[149], (std::pair<QString, QString>("n149", "NUMBER")));
    EXPECT_EQ(rows[200], (std::pair<QString, QString>("n200", "BOOLEAN")));
}

TEST_F(ParserTest, ThePassMatchesTheStepByStepVersionOnManyScripts)
{
    std::vector<QString> texts;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        texts.push_back(support::GenerateScript(2000, seed));
        texts.push_back(support::GenerateAdversarialText(600, seed));
    }
    std::mt19937 random(7);
    const QStringList pieces = {"BOOL", "var", "3DP", " ", "\t", ",", "\r", "\r\n", "\n", "\"", "x", "y1"};
    for (int i = 0; i < 300; ++i) {
        QString text;
        for (int n = int(random() % 40); n > 0; --n)
            text += pieces[random() % pieces.size()];
        texts.push_back(text);
    }
    for (const QString& text : texts) {
        const platform::MemoryRichTextBox box(text);
        support::LiteralParseVariables(box);
        const auto expected = VarTable;
        ParseVariables(box);
        ASSERT_EQ(VarTable, expected) << text.toStdString();
    }
}

}  // namespace
}  // namespace language
