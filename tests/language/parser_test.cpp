#include "language/parser.h"

#include <QStringList>
#include <gtest/gtest.h>

#include "platform/memory_rich_text_box.h"
#include "support/golden.h"
#include "support/literal_passes.h"
#include "support/script_generator.h"

namespace language {
namespace {

class ParserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TypeKeywords.fill(QString());
        InitParser();
    }
};

// The table after a pass over text, as "name|display name" per row up to the last row that
// holds anything (a third column would show as a further "|").
QStringList Parsed(const QString& text)
{
    ParseVariables(platform::MemoryRichTextBox(text));
    QStringList rows;
    for (const VarRow& row : VarTable)
        rows += row[2].isEmpty() ? row[0] + '|' + row[1] : QStringList(row.begin(), row.end()).join('|');
    while (!rows.isEmpty() && rows.back() == "|")
        rows.removeLast();
    return rows;
}

TEST_F(ParserTest, DeclarationsRecordTheirNamesWithTheTypesDisplayName)
{
    std::vector<QStringList> cases = support::GoldenCases("language/golden/variables.txt");
    ASSERT_EQ(cases.size(), 22u);
    cases.push_back({""});
    for (const QStringList& c : cases) {
        Parsed("BOOL old");
        EXPECT_EQ(Parsed(c[0]), c.mid(1)) << c[0].toStdString();
    }
    QString names = "NUMBER";  // only the first 201 names are recorded
    for (int i = 0; i < 260; ++i)
        names += QString(i == 150 ? "\r\nBOOL n%1" : " n%1").arg(i);
    const QStringList rows = Parsed(names);
    EXPECT_EQ(QStringList({QString::number(rows.size()), rows[149], rows[150], rows[200]}),
              QStringList({"201", "n149|NUMBER", "n150|BOOLEAN", "n200|BOOLEAN"}));
}

TEST_F(ParserTest, TokensSkipDelimitersAndKeepQuotedOnesInside)
{
    QStringList tokens;
    for (const QString line : {"\t\tBOOL x\r", ", x", "\"big ship\",2", "   \r", "\"abc, d\r", "a\"b c\"d e"}) {
        qsizetype skipped = -1;
        const QString token = GetToken(line, &skipped).toString();
        tokens += token + "/" + QString::number(skipped);
    }
    EXPECT_EQ(tokens, QStringList({"BOOL/2", "x/2", "\"big ship\"/0", "/4", "\"abc, d\r/0", "a\"b c\"d/0"}));
}

TEST_F(ParserTest, TypeKeywordsFillFreeSlotsAndMatchTrimmedInAnyCase)
{
    EXPECT_EQ(QStringList(TypeKeywords.begin(), TypeKeywords.begin() + 10),
              QStringList({"3DP", "STRING", "NUMBER", "SCENEITEM", "RESOURCE", "BOOL", "WAYHJKHJKHPT", "MODEL", "VAR", ""}));
    for (int i = 9; i <= kTypeKeywordSlots; ++i)
        AddTypeKeyword(QStringLiteral("EXTRA%1").arg(i));
    EXPECT_EQ(std::vector<int>({GetTypeIndex(u" vAr "), GetTypeIndex(u"3dp"), GetTypeIndex(u"WAYPOINT"), GetTypeIndex(u""),
                                GetTypeIndex(u"extra20"), GetTypeIndex(u"EXTRA21"), IsTypeKeyword(u"Model")}),
              std::vector<int>({8, 0, -1, -1, 20, -1, true}));
    EXPECT_EQ(Parsed("EXTRA9 name"), QStringList{"name|"});  // no display name beyond the built-in ones
}

TEST_F(ParserTest, ThePassMatchesTheStepByStepVersionOnManyScripts)
{
    for (const QString& text : support::PassTexts()) {
        const platform::MemoryRichTextBox box(text);
        support::LiteralParseVariables(box);
        const auto expected = VarTable;
        ParseVariables(box);
        ASSERT_EQ(VarTable, expected) << text.toStdString();
    }
}

}  // namespace
}  // namespace language
