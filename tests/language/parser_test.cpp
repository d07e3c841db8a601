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
    ASSERT_EQ(cases.size(), 22u);
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

// Tokens are covered by the comparison with the literal passes; the type keywords here.
TEST_F(PassTest, TypeKeywordsFillFreeSlotsAndMatchTrimmedInAnyCase)
{
    for (int i = 9; i <= kTypeKeywordSlots; ++i)
        AddTypeKeyword(QStringLiteral("EXTRA%1").arg(i));
    EXPECT_EQ(QStringList(TypeKeywords.begin(), TypeKeywords.begin() + 10) + QStringList(TypeKeywords.back()),
              QStringList({"3DP", "STRING", "NUMBER", "SCENEITEM", "RESOURCE", "BOOL", "WAYHJKHJKHPT", "MODEL", "VAR",
                           "EXTRA9", "EXTRA20"}));
    EXPECT_EQ(std::vector<int>({GetTypeIndex(u" vAr "), GetTypeIndex(u"WAYPOINT"), GetTypeIndex(u""),
                                IsTypeKeyword(u"Model")}),
              std::vector<int>({8, -1, -1, true}));
    EXPECT_EQ(Variables("EXTRA9 name"), QStringList{"name|"});  // no display name beyond the built-in ones
}

TEST_F(PassTest, StatementsFillTheStarshipFieldsAsTheCutsFall)
{
    const std::vector<QStringList> cases = support::GoldenCases("language/golden/starships.txt");
    ASSERT_EQ(cases.size(), 16u);
    for (const QStringList& c : cases) {
        StarshipTable = Table{};
        EXPECT_EQ(Starships(c[0]), c.mid(1)) << c[0].toStdString();
    }
    // A freed record keeps all but its variable, and a failed conversion reads the old value back:
    // the kept -12345 has a text form of six characters, so the cut behind the unconverted q takes
    // seven, "q,-6,-7", and PositionY reads -8.
    const QString text = "SET a\r\nSET b\r\nSET c\r\n  CREATE_SHIP %1\r\nRETURN\r\n";
    Starships(text.arg("s1,hull,Vega,1000,x,-12345,-1,-2,-3,-4,-5"));
    EXPECT_EQ(Starships(text.arg("s2,hull2,Vega2,abcd,z,q,-6,-7,-8,-9,-10,-11")),
              QStringList{"s2|hull2|Vega2|1000|z|-12345|-8|-9|-10|-11|-5|4"});
    Starships("SET a");
    EXPECT_EQ(Records(StarshipTable, 1), QStringList{"|hull2|Vega2|1000|z|-12345|-8|-9|-10|-11|-5|4"});
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
    ASSERT_EQ(cases.size(), 48u);
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
