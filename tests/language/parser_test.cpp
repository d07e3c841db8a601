#include "language/parser.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <random>

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
}

TEST_F(ParserTest, TokensSkipDelimitersAndKeepQuotedOnesInside)
{
    const std::vector<std::tuple<QString, QString, qsizetype>> cases = {
        {"\t\tBOOL x\r", "BOOL", 2}, {", x", "x", 2}, {"\"big ship\",2", "\"big ship\"", 0}, {"   \r", "", 4},
        {"", "", 0}, {"\"abc, d\r", "\"abc, d\r", 0}, {"a\"b c\"d e", "a\"b c\"d", 0},
    };
    for (const auto& [line, token, skipped] : cases) {
        qsizetype d = -1;
        EXPECT_EQ(std::pair(GetToken(line, &d).toString(), d), std::pair(token, skipped)) << line.toStdString();
    }
}

TEST_F(ParserTest, TypeKeywordsFillFreeSlotsAndMatchTrimmedInAnyCase)
{
    QStringList keywords(TypeKeywords.begin(), TypeKeywords.end());
    EXPECT_EQ(keywords.mid(0, 10), QStringList({"3DP", "STRING", "NUMBER", "SCENEITEM", "RESOURCE", "BOOL", "WAYHJKHJKHPT", "MODEL", "VAR", ""}));
    EXPECT_EQ(std::vector<qint16>({GetTypeIndex(u" vAr "), GetTypeIndex(u"3dp"), GetTypeIndex(u"WAYPOINT"), GetTypeIndex(u"")}),
              std::vector<qint16>({8, 0, -1, -1}));
    for (int i = 9; i <= kTypeKeywordSlots; ++i)
        AddTypeKeyword(QStringLiteral("EXTRA%1").arg(i));
    EXPECT_EQ(std::tuple(GetTypeIndex(u"extra20"), IsTypeKeyword(u"EXTRA21"), IsTypeKeyword(u"Model")), std::tuple(20, false, true));
    // A keyword beyond the built-in ones has no display name.
    EXPECT_EQ(Parsed("EXTRA9 name"), QStringList{"name|"});
}

TEST_F(ParserTest, OnlyTheFirst201NamesAreRecorded)
{
    QString text = "NUMBER";
    for (int i = 0; i < 150; ++i)
        text += QStringLiteral(" n%1").arg(i);
    text += "\r\nBOOL";
    for (int i = 150; i < 260; ++i)
        text += QStringLiteral(" n%1").arg(i);
    const QStringList rows = Parsed(text);
    EXPECT_EQ(std::tuple(rows.size(), rows[149], rows[150], rows[200]), std::tuple(201, "n149|NUMBER", "n150|BOOLEAN", "n200|BOOLEAN"));
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
