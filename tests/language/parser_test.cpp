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

using Table = std::array<StarshipInfo, kStarshipRecords>;

class PassTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TypeKeywords.fill(QString());
        InitParser();
        StarshipTable = Table{};
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
// OrientationX|OrientationY|OrientationZ|LineNumber.
QStringList Records(const Table& table, qsizetype count = kStarshipRecords)
{
    QStringList records;
    for (const StarshipInfo& s : std::span(table).first(size_t(count)))
        records += QStringList({s.VariableName, s.ModelName, s.VesselName, QString::number(s.Argument4), s.Argument5})
                       .join('|') + QString::asprintf("|%d|%d|%d|%d|%d|%d|%d", s.PositionX, s.PositionY, s.PositionZ,
                                                      s.OrientationX, s.OrientationY, s.OrientationZ, s.LineNumber);
    return records;
}

// The starship records in use after a pass over text, which must run unbroken from record 0.
QStringList Starships(const QString& text)
{
    ParseStarships(platform::MemoryRichTextBox(text));
    const auto isFree = [](const StarshipInfo& s) { return s.VariableName.isEmpty(); };
    const auto end = std::find_if(StarshipTable.begin(), StarshipTable.end(), isFree);
    EXPECT_TRUE(std::all_of(end, StarshipTable.end(), isFree));
    return Records(StarshipTable, end - StarshipTable.begin());
}

TEST_F(PassTest, DeclarationsRecordTheirNamesWithTheTypesDisplayName)
{
    std::vector<QStringList> cases = support::GoldenCases("language/golden/variables.txt");
    cases.push_back({""});
    for (const QStringList& c : cases) {
        Variables("BOOL old");
        EXPECT_EQ(Variables(c[0]), c.mid(1)) << c[0].toStdString();
    }
    QString names = "NUMBER";  // only the first 201 names are recorded
    for (int i = 0; i < 260; ++i)
        names += QString(i == 150 ? "\r\nBOOL n%1" : " n%1").arg(i);
    const QStringList rows = Variables(names);
    EXPECT_EQ(QStringList({QString::number(rows.size()), rows[149], rows[150], rows[200]}),
              QStringList({"201", "n149|NUMBER", "n150|BOOLEAN", "n200|BOOLEAN"}));
}

// The built-in type keywords are each in the golden cases; the slots beyond them here.
TEST_F(PassTest, TypeKeywordsFillFreeSlotsAndHaveNoDisplayNameBeyondTheBuiltInOnes)
{
    for (int i = 9; i <= kTypeKeywordSlots; ++i)
        AddTypeKeyword(QStringLiteral("EXTRA%1").arg(i));
    EXPECT_EQ(std::tuple(TypeKeywords[8], TypeKeywords.back(), GetTypeIndex(u" eXtRa20 "), IsTypeKeyword(u"EXTRA21")),
              std::tuple("VAR", "EXTRA20", 20, false));
    EXPECT_EQ(Variables("EXTRA9 name"), QStringList{"name|"});
}

TEST_F(PassTest, StatementsFillTheStarshipFieldsAsTheCutsFall)
{
    for (const QStringList& c : support::GoldenCases("language/golden/starships.txt")) {
        StarshipTable = Table{};
        EXPECT_EQ(Starships(c[0]), c.mid(1)) << c[0].toStdString();
    }
    // Only the first 101 statements are recorded, and line numbers stop at 32767.
    QString many = QStringLiteral("SET a\r\n").repeated(32699);
    for (int ship = 0; ship < 103; ++ship)
        many += QStringLiteral("  CREATE_SHIP s%1,hull,Vega,1000,x,-5,-6,-7,-1,-2,-3\r\n").arg(ship);
    const QStringList ships = Starships(many);
    EXPECT_EQ(QStringList({QString::number(ships.size()), ships[66], ships[67], ships[100]}),
              QStringList({"101", "s66|hull|Vega|1000|x|-5|-6|-7|-1|-2|-3|32766",
                           "s67|hull|Vega|1000|x|-5|-6|-7|-1|-2|-3|32767",
                           "s100|hull|Vega|1000|x|-5|-6|-7|-1|-2|-3|32767"}));
}

TEST_F(PassTest, NumbersRoundHalfToEvenOrTakeTheFloor)
{
    const std::vector<QStringList> cases = support::GoldenCases("language/golden/numbers.txt");
    const auto text = [](std::optional<qint32> value) { return value ? QString::number(*value) : QString("none"); };
    for (const QStringList& c : cases)
        EXPECT_EQ(QStringList({c[0], text(ReadRoundedInt32(c[0])), text(ReadFlooredInt32(c[0]))}), c);
}

// Both passes give what their literal versions give, the starship pass from tables as earlier
// passes may leave them, whose numbers failed conversions read back.
TEST_F(PassTest, ThePassesMatchTheirStepByStepVersions)
{
    std::mt19937 random(11);
    const std::array<qint32, 6> numbers = {0, 7, -1, 123456, 2147483647, -2147483647 - 1};
    for (const QString& text : support::PassTexts()) {
        const platform::MemoryRichTextBox box(text);
        support::LiteralParseVariables(box);
        const auto variables = VarTable;
        ParseVariables(box);
        ASSERT_EQ(VarTable, variables) << text.toStdString();

        Table earlier;
        for (StarshipInfo& s : earlier) {
            for (qint32* field : {&s.PositionX, &s.PositionY, &s.PositionZ, &s.OrientationX, &s.OrientationY,
                                  &s.OrientationZ, &s.Argument4})
                *field = numbers[random() % numbers.size()];
            s.ModelName = "old";
            s.LineNumber = qint16(random() % 100);
        }
        StarshipTable = earlier;
        support::LiteralParseStarships(box);
        const QStringList starships = Records(StarshipTable);
        StarshipTable = earlier;
        ParseStarships(box);
        ASSERT_EQ(Records(StarshipTable), starships) << text.toStdString();
    }
}

}  // namespace
}  // namespace language
