#include "language/parser.h"

#include <gtest/gtest.h>

#include <random>

#include "language/number_text.h"
#include "language/starships.h"
#include "platform/memory_rich_text_box.h"
#include "support/literal_passes.h"
#include "support/script_generator.h"

namespace language {
namespace {

class PassTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TypeKeywords.fill(QString());
        InitParser();
    }
};

// The variable table after a pass over text, as "name|display name" per row up to the last row
// that holds anything (a third column would show as a further "|").
QStringList Variables(const QString& text)
{
    ParseVariables(platform::MemoryRichTextBox(text));
    QStringList rows;
    for (const VarRow& row : VarTable)
        rows += row[2].isEmpty() ? row[0] + '|' + row[1] : QStringList(row.begin(), row.end()).join('|');
    while (!rows.isEmpty() && rows.back() == "|")
        rows.removeLast();
    return rows;
}

// Records as VariableName|ModelName|VesselName|Argument4|Argument5|PositionX|PositionY|PositionZ|
// OrientationX|OrientationY|OrientationZ|LineNumber, up to the first free one when inUse.
QStringList Records(bool inUse = false)
{
    QStringList records;
    for (const StarshipInfo& s : StarshipTable) {
        if (inUse && s.VariableName.isEmpty())
            break;
        records += QStringList({s.VariableName, s.ModelName, s.VesselName, QString::number(s.Argument4), s.Argument5})
                       .join('|') + QString::asprintf("|%d|%d|%d|%d|%d|%d|%d", s.PositionX, s.PositionY, s.PositionZ,
                                                      s.OrientationX, s.OrientationY, s.OrientationZ, s.LineNumber);
    }
    return records;
}

TEST_F(PassTest, DeclarationsAndStatementsFillTheirTablesAsTheCutsFall)
{
    std::vector<QStringList> cases = support::GoldenCases("language/golden/variables.txt");
    cases.push_back({""});
    for (const QStringList& c : cases) {
        Variables("BOOL old");
        EXPECT_EQ(Variables(c[0]), c.mid(1)) << c[0].toStdString();
    }
    for (const QStringList& c : support::GoldenCases("language/golden/starships.txt")) {
        StarshipTable = {};
        ParseStarships(platform::MemoryRichTextBox(c[0]));
        EXPECT_EQ(Records(true), c.mid(1)) << c[0].toStdString();
    }
    // Only the first 201 names and 101 statements are recorded, and line numbers stop at 32767.
    QString many = "NUMBER";
    for (int i = 0; i < 260; ++i)
        many += QString(i == 150 ? "\r\nBOOL n%1" : " n%1").arg(i);
    many += QStringLiteral("\r\nSET a").repeated(32697) + "\r\n";
    for (int ship = 0; ship < 103; ++ship)
        many += QStringLiteral("  CREATE_SHIP s%1,hull,Vega,1000,x,-5,-6,-7,-1,-2,-3\r\n").arg(ship);
    ParseStarships(platform::MemoryRichTextBox(many));
    const QStringList rows = Variables(many), ships = Records(true);
    EXPECT_EQ(QStringList({QString::number(rows.size()), rows[149], rows[150], rows[200], QString::number(ships.size()),
                           ships[66], ships[67], ships[100]}),
              QStringList({"201", "n149|NUMBER", "n150|BOOLEAN", "n200|BOOLEAN", "101",
                           "s66|hull|Vega|1000|x|-5|-6|-7|-1|-2|-3|32766", "s67|hull|Vega|1000|x|-5|-6|-7|-1|-2|-3|32767",
                           "s100|hull|Vega|1000|x|-5|-6|-7|-1|-2|-3|32767"}));
    // The built-in type keywords are each in the golden cases; the slots beyond them have no display name.
    for (int i = 9; i <= kTypeKeywordSlots; ++i)
        AddTypeKeyword(QStringLiteral("EXTRA%1").arg(i));
    EXPECT_EQ(std::tuple(TypeKeywords[8], TypeKeywords.back(), GetTypeIndex(u" eXtRa20 "), IsTypeKeyword(u"EXTRA21"),
                         Variables("EXTRA9 name")),
              std::tuple("VAR", "EXTRA20", 20, false, QStringList{"name|"}));
}

TEST_F(PassTest, NumbersRoundHalfToEvenOrTakeTheFloor)
{
    const auto text = [](std::optional<qint32> value) { return value ? QString::number(*value) : QString("none"); };
    for (const QStringList& c : support::GoldenCases("language/golden/numbers.txt"))
        EXPECT_EQ(QStringList({c[0], text(ReadRoundedInt32(c[0])), text(ReadFlooredInt32(c[0]))}), c);
}

// Both passes give what their literal versions give, the starship pass from a table as an earlier
// pass may leave it, whose numbers failed conversions read back.
TEST_F(PassTest, ThePassesMatchTheirStepByStepVersions)
{
    std::mt19937 random(11);
    const std::array<qint32, 6> numbers = {0, 7, -1, 123456, 2147483647, -2147483647 - 1};
    std::vector<QString> texts = support::PassTexts();
    // More names and statements than the tables hold.
    texts.push_back(support::GenerateScript(60'000, 3));
    for (const QString& text : texts) {
        const platform::MemoryRichTextBox box(text);
        support::LiteralParseVariables(box);
        const auto variables = VarTable;
        ParseVariables(box);
        ASSERT_EQ(VarTable, variables) << text.toStdString();

        const qint32 n = numbers[random() % numbers.size()];
        decltype(StarshipTable) earlier;
        earlier.fill({QString(), n, n, n, n, n, n, n, QString(), QString(), "old", qint16(n & 0x7f)});
        StarshipTable = earlier;
        support::LiteralParseStarships(box);
        const QStringList starships = Records();
        StarshipTable = earlier;
        ParseStarships(box);
        ASSERT_EQ(Records(), starships) << text.toStdString();
    }
}

}  // namespace
}  // namespace language
