#include "language/starships.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <random>

#include "language/number_text.h"
#include "platform/memory_rich_text_box.h"
#include "support/golden.h"
#include "support/literal_passes.h"
#include "support/script_generator.h"

namespace language {
namespace {

using Table = std::array<StarshipInfo, kStarshipRecords>;

// A record as VariableName|ModelName|VesselName|Argument4|Argument5|PositionX|PositionY|
// PositionZ|OrientationX|OrientationY|OrientationZ|LineNumber.
QString Fields(const StarshipInfo& s)
{
    return QStringList({s.VariableName, s.ModelName, s.VesselName, QString::number(s.Argument4), s.Argument5}).join('|')
           + QString::asprintf("|%d|%d|%d|%d|%d|%d|%d", s.PositionX, s.PositionY, s.PositionZ, s.OrientationX,
                               s.OrientationY, s.OrientationZ, s.LineNumber);
}

QStringList Records(const Table& table, qsizetype count = kStarshipRecords)
{
    QStringList records;
    for (qsizetype r = 0; r < count; ++r)
        records += Fields(table[size_t(r)]);
    return records;
}

// The records in use after a pass over text, which must run unbroken from record 0.
QStringList Parsed(const QString& text)
{
    ParseStarships(platform::MemoryRichTextBox(text));
    const auto isFree = [](const StarshipInfo& s) { return s.VariableName.isEmpty(); };
    const auto end = std::find_if(StarshipTable.begin(), StarshipTable.end(), isFree);
    EXPECT_TRUE(std::all_of(end, StarshipTable.end(), isFree));
    return Records(StarshipTable, end - StarshipTable.begin());
}

QString WorkedText(const QString& values)
{
    return "SET a\r\nSET b\r\nSET c\r\n  CREATE_SHIP " + values + "\r\nRETURN\r\n";
}

class StarshipsTest : public ::testing::Test {
protected:
    void SetUp() override { StarshipTable = Table{}; }
};

TEST_F(StarshipsTest, StatementsFillTheFieldsAsTheCutsFall)
{
    const std::vector<QStringList> cases = support::GoldenCases("language/golden/starships.txt");
    ASSERT_EQ(cases.size(), 16u);
    for (const QStringList& c : cases) {
        StarshipTable = Table{};
        EXPECT_EQ(Parsed(c[0]), c.mid(1)) << c[0].toStdString();
    }
}

// A freed record keeps all but its variable, and a failed conversion reads the old value back:
// the kept -12345 has a text form of six characters, so the cut behind the unconverted q takes
// seven, "q,-6,-7", and PositionY reads -8.
TEST_F(StarshipsTest, ALaterPassKeepsTheOldNumbersWhereConversionsFail)
{
    Parsed(WorkedText("s1,hull,Vega,1000,x,-12345,-1,-2,-3,-4,-5"));
    EXPECT_EQ(Parsed(WorkedText("s2,hull2,Vega2,abcd,z,q,-6,-7,-8,-9,-10,-11")),
              QStringList{"s2|hull2|Vega2|1000|z|-12345|-8|-9|-10|-11|-5|4"});
    Parsed("SET a");
    EXPECT_EQ(Fields(StarshipTable[0]), "|hull2|Vega2|1000|z|-12345|-8|-9|-10|-11|-5|4");
}

TEST_F(StarshipsTest, TheFirst101StatementsAreRecordedAndLineNumbersStopAt32767)
{
    QString text = QStringLiteral("SET a\r\n").repeated(32699);
    for (int ship = 0; ship < 103; ++ship)
        text += QStringLiteral("  CREATE_SHIP s%1,hull,Vega,1000,x,-5,-6,-7,-1,-2,-3\r\n").arg(ship);
    const QStringList ships = Parsed(text);
    EXPECT_EQ(QStringList({QString::number(ships.size()), ships[66], ships[67], ships[100]}),
              QStringList({"101", "s66|hull|Vega|1000|x|-5|-6|-7|-1|-2|-3|32766",
                           "s67|hull|Vega|1000|x|-5|-6|-7|-1|-2|-3|32767", "s100|hull|Vega|1000|x|-5|-6|-7|-1|-2|-3|32767"}));
}

TEST_F(StarshipsTest, NumbersRoundHalfToEvenOrTakeTheFloor)
{
    const std::vector<QStringList> cases = support::GoldenCases("language/golden/numbers.txt");
    ASSERT_EQ(cases.size(), 48u);
    const auto text = [](std::optional<qint32> value) { return value ? QString::number(*value) : QString("none"); };
    for (const QStringList& c : cases)
        EXPECT_EQ(QStringList({c[0], text(ReadRoundedInt32(c[0])), text(ReadFlooredInt32(c[0]))}), c);
}

// From tables as earlier passes may leave them, whose numbers failed conversions read back.
TEST_F(StarshipsTest, ThePassMatchesTheStepByStepVersionOnManyScripts)
{
    std::mt19937 random(11);
    static const std::array<qint32, 6> numbers = {0, 7, -1, 123456, 2147483647, -2147483647 - 1};
    for (const QString& text : support::PassTexts()) {
        Table earlier;
        for (StarshipInfo& s : earlier) {
            for (qint32* field : {&s.PositionX, &s.PositionY, &s.PositionZ, &s.OrientationX, &s.OrientationY,
                                  &s.OrientationZ, &s.Argument4})
                *field = numbers[random() % numbers.size()];
            s.ModelName = "old";
            s.LineNumber = qint16(random() % 100);
        }
        const platform::MemoryRichTextBox box(text);
        StarshipTable = earlier;
        support::LiteralParseStarships(box);
        const QStringList expected = Records(StarshipTable);
        StarshipTable = earlier;
        ParseStarships(box);
        ASSERT_EQ(Records(StarshipTable), expected) << text.toStdString();
    }
}

}  // namespace
}  // namespace language
