#include "language/starships.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <ostream>
#include <random>

#include "language/number_text.h"
#include "platform/memory_rich_text_box.h"
#include "support/golden.h"
#include "support/literal_passes.h"
#include "support/script_generator.h"

namespace language {

void PrintTo(const StarshipInfo& s, std::ostream* out)
{
    *out << '{' << s.VariableName.toStdString() << ", " << s.ModelName.toStdString() << ", " << s.VesselName.toStdString()
         << ", " << s.Argument4 << ", " << s.Argument5.toStdString() << ", " << s.PositionX << ' ' << s.PositionY << ' '
         << s.PositionZ << ", " << s.OrientationX << ' ' << s.OrientationY << ' ' << s.OrientationZ << ", line " << s.LineNumber << '}';
}

namespace {

using Table = std::array<StarshipInfo, kStarshipRecords>;

StarshipInfo Ship(QString variable, QString model, QString vessel, qint32 argument4, QString argument5,
                  std::array<qint32, 6> coordinates, qint16 lineNumber = 4)
{
    const auto [px, py, pz, ox, oy, oz] = coordinates;
    return {std::move(variable), px, py, pz, ox, oy, oz, argument4, std::move(vessel), std::move(argument5),
            std::move(model), lineNumber};
}

QString WorkedText(const QString& values)
{
    return "SET a\r\nSET b\r\nSET c\r\n  CREATE_SHIP " + values + "\r\nRETURN\r\n";
}

// The records in use after a pass over text, which must run unbroken from record 0.
std::vector<StarshipInfo> Parsed(const QString& text)
{
    ParseStarships(platform::MemoryRichTextBox(text));
    const auto isFree = [](const StarshipInfo& s) { return s.VariableName.isEmpty(); };
    const auto end = std::find_if(StarshipTable.begin(), StarshipTable.end(), isFree);
    EXPECT_TRUE(std::all_of(end, StarshipTable.end(), isFree));
    return {StarshipTable.begin(), end};
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
        QStringList records;
        for (const StarshipInfo& s : Parsed(c[0]))
            records += QStringList({s.VariableName, s.ModelName, s.VesselName, QString::number(s.Argument4), s.Argument5})
                           .join('|') + QString::asprintf("|%d|%d|%d|%d|%d|%d|%d", s.PositionX, s.PositionY, s.PositionZ,
                                                          s.OrientationX, s.OrientationY, s.OrientationZ, s.LineNumber);
        EXPECT_EQ(records, c.mid(1)) << c[0].toStdString();
    }
}

TEST_F(StarshipsTest, ALaterPassKeepsTheOldNumbersWhereConversionsFail)
{
    Parsed(WorkedText("s1,hull,Vega,1000,x,-12345,-1,-2,-3,-4,-5"));
    // The kept -12345 has a text form of six characters, so the cut behind the unconverted q
    // takes seven, "q,-6,-7", and PositionY reads -8.
    EXPECT_EQ(Parsed(WorkedText("s2,hull2,Vega2,abcd,z,q,-6,-7,-8,-9,-10,-11")),
              std::vector{Ship("s2", "hull2", "Vega2", 1000, "z", {-12345, -8, -9, -10, -11, -5})});
    Parsed("SET a");
    EXPECT_EQ(StarshipTable[0], Ship("", "hull2", "Vega2", 1000, "z", {-12345, -8, -9, -10, -11, -5}));
}

TEST_F(StarshipsTest, TheFirst101StatementsAreRecordedAndLineNumbersStopAt32767)
{
    QString text;
    for (int line = 1; line <= 32802; ++line)
        text += line < 32700 ? QStringLiteral("SET a\r\n") : QStringLiteral("  CREATE_SHIP s%1,m,v,1,x,1,2,3,4,5,6\r\n").arg(line - 32700);
    const std::vector<StarshipInfo> ships = Parsed(text);
    ASSERT_EQ(ships.size(), 101u);
    EXPECT_EQ(std::tuple(ships[66].LineNumber, ships[67].LineNumber, ships[100].LineNumber, ships[100].VariableName),
              std::tuple(32766, 32767, 32767, "s100"));
}

TEST_F(StarshipsTest, NumbersRoundHalfToEvenOrTakeTheFloor)
{
    const std::vector<QStringList> cases = support::GoldenCases("language/golden/numbers.txt");
    ASSERT_EQ(cases.size(), 48u);
    const auto text = [](std::optional<qint32> value) { return value ? QString::number(*value) : QString("none"); };
    for (const QStringList& c : cases)
        EXPECT_EQ(QStringList({c[0], text(ReadRoundedInt32(c[0])), text(ReadFlooredInt32(c[0]))}), c);
}

// Scripts of CREATE_SHIP lines with every kind of indentation, delimiter and number.
QString StatementScript(std::mt19937& random)
{
    static const QStringList indentations = {"", " ", "  ", "   ", "    ", "     ", "      ", "       ", "        ", "\t", "\t\t", " \t", "          "};
    static const QStringList delimiters = {",", ", ", " ", "\t", ",,", " ,", "", "\r"};
    static const QStringList values = {"s1", "PLAYER_SHIP", "hull", "\"Big Ship\"", "\"open", "Vega", "1000", "x", "-5", "5", "0", "-0",
        "2.5", "-2.5", "3.5", "1e3", ".5", "5.", "+7", "0x1F", "inf", "nan", "1e400", "-2147483648", "2147483647", "2147483648",
        "-2147483649", "99999999999", "-12345678", "\"5\"", "", "_SHIP", "1e", "2e+"};
    auto pick = [&random](const QStringList& list) { return list[random() % list.size()]; };
    QString text;
    for (int line = int(random() % 12); line > 0; --line) {
        if (random() % 4 == 0) {
            text += "SET a";
        } else {
            text += pick(indentations) + (random() % 10 ? "CREATE_SHIP" : "create_ship") + pick(delimiters);
            for (int value = int(random() % 14); value > 0; --value)
                text += pick(values) + pick(delimiters);
        }
        text += random() % 8 ? "\r\n" : "\n";
    }
    return text;
}

TEST_F(StarshipsTest, ThePassMatchesTheStepByStepVersionOnManyScripts)
{
    std::mt19937 random(11);
    std::vector<QString> texts;
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        texts.push_back(support::GenerateScript(3000, seed));
        texts.push_back(support::GenerateAdversarialText(600, seed));
    }
    for (int i = 0; i < 400; ++i)
        texts.push_back(StatementScript(random).chopped(i % 2));
    static const std::array<qint32, 6> numbers = {0, 7, -1, 123456, 2147483647, -2147483647 - 1};
    for (const QString& text : texts) {
        // A table as earlier passes may leave it: failed conversions read these values back.
        Table earlier;
        for (StarshipInfo& ship : earlier) {
            for (qint32* field : {&ship.PositionX, &ship.PositionY, &ship.PositionZ, &ship.OrientationX, &ship.OrientationY, &ship.OrientationZ, &ship.Argument4})
                *field = numbers[random() % numbers.size()];
            ship.ModelName = "old";
            ship.LineNumber = qint16(random() % 100);
        }
        const platform::MemoryRichTextBox box(text);
        StarshipTable = earlier;
        support::LiteralParseStarships(box);
        const Table expected = StarshipTable;
        StarshipTable = earlier;
        ParseStarships(box);
        ASSERT_EQ(StarshipTable, expected) << text.toStdString();
    }
}

}  // namespace
}  // namespace language
