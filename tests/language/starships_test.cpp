#include "language/starships.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <ostream>
#include <random>

#include "language/number_text.h"
#include "platform/memory_rich_text_box.h"
#include "support/literal_passes.h"
#include "support/script_generator.h"

namespace language {

void PrintTo(const StarshipInfo& s, std::ostream* out)
{
    *out << '{' << s.VariableName.toStdString() << ", " << s.ModelName.toStdString() << ", "
         << s.VesselName.toStdString() << ", " << s.Argument4 << ", " << s.Argument5.toStdString()
         << ", " << s.PositionX << ' ' << s.PositionY << ' ' << s.PositionZ << ", " << s.OrientationX
         << ' ' << s.OrientationY << ' ' << s.OrientationZ << ", line " << s.LineNumber << '}';
}

namespace {

using Table = std::array<StarshipInfo, kStarshipRecords>;

StarshipInfo Ship(QString variable, QString model, QString vessel, qint32 argument4, QString argument5,
                  std::array<qint32, 6> coordinates, qint16 lineNumber)
{
    const auto [px, py, pz, ox, oy, oz] = coordinates;
    return {std::move(variable), px, py, pz, ox, oy, oz, argument4, std::move(vessel),
            std::move(argument5), std::move(model), lineNumber};
}

const QString kValues = "s1,hull,Vega,1000,x,-5,-6,-7,-1,-2,-3";
const StarshipInfo kWorkedShip = Ship("s1", "hull", "Vega", 1000, "x", {-5, -6, -7, -1, -2, -3}, 4);

// The worked example's text: the statement is line 4.
QString WorkedText(const QString& indentation = "  ", const QString& values = kValues)
{
    return "SET a\r\nSET b\r\nSET c\r\n" + indentation + "CREATE_SHIP " + values + "\r\nRETURN\r\n";
}

class StarshipsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StarshipTable = Table{};
    }

    static void Parse(const QString& text) { ParseStarships(platform::MemoryRichTextBox(text)); }

    static int RecordsInUse()
    {
        const auto free = std::find_if(StarshipTable.begin(), StarshipTable.end(),
                                       [](const StarshipInfo& s) { return s.VariableName.isEmpty(); });
        EXPECT_TRUE(std::all_of(free, StarshipTable.end(),
                                [](const StarshipInfo& s) { return s.VariableName.isEmpty(); }));
        return int(free - StarshipTable.begin());
    }
};

TEST_F(StarshipsTest, WorkedExampleFillsEveryField)
{
    Parse(WorkedText());
    EXPECT_EQ(RecordsInUse(), 1);
    EXPECT_EQ(StarshipTable[0], kWorkedShip);
}

TEST_F(StarshipsTest, FurtherExamplesShiftTheValuesAsTheCutsFall)
{
    const StarshipInfo noIndentation = Ship("hull", "Vega", "1000", 0, "-6", {-7, -1, -2, -3, 0, 0}, 4);
    StarshipInfo firstLine = noIndentation;
    firstLine.LineNumber = 1;
    const std::vector<std::tuple<QString, QString, StarshipInfo>> examples = {
        {"positions 5,6,7", WorkedText("  ", "s1,hull,Vega,1000,x,5,6,7,-1,-2,-3"),
         Ship("s1", "hull", "Vega", 1000, "x", {5, 7, -1, -2, -3, 0}, 4)},
        {"no indentation", WorkedText(""), noIndentation},
        {"first line", "  CREATE_SHIP " + kValues + "\r\nRETURN\r\n", firstLine},
        {"eight blanks", WorkedText("        "), kWorkedShip},
        {"two tabs", WorkedText("\t\t"), kWorkedShip},
        {"three blanks", WorkedText("   "), kWorkedShip},
        {"four blanks", WorkedText("    "), Ship("P", "s1", "hull", 0, "1000", {0, 5, 6, 7, 1, 2}, 4)},
        {"comma and blank", WorkedText("  ", "s1, hull, Vega, 1000, x, -5, -6, -7, -1, -2, -3, "),
         Ship("s1", "hull", "Vega", 0, "00", {0, -5, -6, 6, -7, -1}, 4)},
    };
    for (const auto& [change, text, expected] : examples) {
        StarshipTable = Table{};
        Parse(text);
        EXPECT_EQ(RecordsInUse(), 1) << change.toStdString();
        EXPECT_EQ(StarshipTable[0], expected) << change.toStdString();
    }
}

TEST_F(StarshipsTest, FourToSevenBlanksLeaveTheKeywordsTailAsTheVariable)
{
    const std::vector<std::pair<QString, QString>> examples = {
        {"    ", "P"}, {"     ", "IP"}, {"      ", "HIP"}, {"       ", "SHIP"}};
    for (const auto& [indentation, variable] : examples) {
        Parse(WorkedText(indentation));
        EXPECT_EQ(RecordsInUse(), 1) << variable.toStdString();
        EXPECT_EQ(StarshipTable[0].VariableName, variable);
        EXPECT_EQ(StarshipTable[0].LineNumber, 4);
    }
}

TEST_F(StarshipsTest, OnlyTheExactKeywordAsFirstTokenIsAStatement)
{
    Parse(WorkedText());
    Parse("  create_ship " + kValues + "\r\n  Create_Ship " + kValues + "\r\n  SET CREATE_SHIP " + kValues +
          "\r\n  CREATE_SHIPS " + kValues + "\r\n  \"CREATE_SHIP\" " + kValues + "\r\n");
    EXPECT_EQ(RecordsInUse(), 0);
    // Freeing a record empties its variable only.
    EXPECT_EQ(StarshipTable[0].ModelName, "hull");
    EXPECT_EQ(StarshipTable[0].OrientationZ, -3);
}

TEST_F(StarshipsTest, AStatementWithoutAFirstValueLeavesItsRecordFree)
{
    Parse("SET a\r\n  CREATE_SHIP\r\n  CREATE_SHIP ,, ,\t\r\n  CREATE_SHIP " + kValues + "\r\n");
    EXPECT_EQ(RecordsInUse(), 1);
    EXPECT_EQ(StarshipTable[0].VariableName, "s1");
    EXPECT_EQ(StarshipTable[0].LineNumber, 4);
}

TEST_F(StarshipsTest, OnlyTheFirst101StatementsAreRecorded)
{
    QString text = "SET a\r\n";
    for (int i = 0; i < 103; ++i)
        text += QStringLiteral("  CREATE_SHIP s%1,hull,Vega,%1,x,1,2,3,4,5,6\r\n").arg(i);
    Parse(text);
    ASSERT_EQ(RecordsInUse(), kStarshipRecords);
    EXPECT_EQ(StarshipTable[100].VariableName, "s100");
    EXPECT_EQ(StarshipTable[100].Argument4, 100);
    EXPECT_EQ(StarshipTable[100].LineNumber, 102);
}

TEST_F(StarshipsTest, LineNumbersStopAt32767)
{
    const std::vector<int> statementLines = {32766, 32767, 32768, 40000};
    QString text;
    text.reserve(40000 * 8);
    for (int line = 1; line <= 40000; ++line)
        text += std::count(statementLines.begin(), statementLines.end(), line)
                    ? QStringLiteral("  CREATE_SHIP s,m,v,1,x,1,2,3,4,5,6\r\n")
                    : QStringLiteral("SET a\r\n");
    Parse(text);
    ASSERT_EQ(RecordsInUse(), 4);
    EXPECT_EQ(StarshipTable[0].LineNumber, 32766);
    EXPECT_EQ(StarshipTable[1].LineNumber, 32767);
    EXPECT_EQ(StarshipTable[2].LineNumber, 32767);
    EXPECT_EQ(StarshipTable[3].LineNumber, 32767);
}

TEST_F(StarshipsTest, AStatementOnTheLastLineWithoutALineBreakIsReadOnce)
{
    Parse("SET a\r\n  CREATE_SHIP " + kValues);
    EXPECT_EQ(RecordsInUse(), 1);
    StarshipInfo expected = kWorkedShip;
    expected.LineNumber = 2;
    EXPECT_EQ(StarshipTable[0], expected);
}

TEST_F(StarshipsTest, AValueEndingInShipDropsEverythingUpToTheDelimiterBehindIt)
{
    Parse(WorkedText("  ", "PLAYER_SHIP,s1,hull,Vega,1000,x,-5,-6,-7,-1,-2,-3"));
    EXPECT_EQ(StarshipTable[0], kWorkedShip);
}

TEST_F(StarshipsTest, AQuotedVesselNameWithABlankIsOneValueWithItsQuotes)
{
    Parse(WorkedText("  ", "s1,hull,\"Big Vega\",1000,x,-5,-6,-7,-1,-2,-3"));
    StarshipInfo expected = kWorkedShip;
    expected.VesselName = "\"Big Vega\"";
    EXPECT_EQ(StarshipTable[0], expected);
}

TEST_F(StarshipsTest, AFailedConversionKeepsTheOldValueAndCutsByItsTextForm)
{
    Parse(WorkedText("  ", "s1,hull,Vega,1000,x,-12345,-1,-2,-3,-4,-5"));
    EXPECT_EQ(StarshipTable[0], Ship("s1", "hull", "Vega", 1000, "x", {-12345, -1, -2, -3, -4, -5}, 4));
    // The kept -12345 has a text form of six characters, so the cut behind the unconverted q
    // takes seven, "q,-6,-7", and PositionY reads -8.
    Parse(WorkedText("  ", "s2,hull2,Vega2,abcd,z,q,-6,-7,-8,-9,-10,-11"));
    EXPECT_EQ(StarshipTable[0], Ship("s2", "hull2", "Vega2", 1000, "z", {-12345, -8, -9, -10, -11, -5}, 4));
}

TEST_F(StarshipsTest, NumbersRoundHalfToEvenForArgument4)
{
    const std::vector<std::pair<const char*, qint32>> converted = {
        {"2.5", 2},   {"3.5", 4},     {"-2.5", -2},     {"0.5", 0},     {"-0.5", 0},
        {"1.5", 2},   {"2.4999", 2},  {"2.5001", 3},    {"1e3", 1000},  {".5", 0},
        {"5.", 5},    {"+7", 7},      {"-7", -7},       {"1.25E1", 12}, {"007", 7},
        {"1e-400", 0}, {"2147483647.4", 2147483647}, {"-2147483648.5", -2147483647 - 1}};
    for (const auto& [text, value] : converted)
        EXPECT_EQ(ReadRoundedInt32(QString(text)), value) << text;
    for (const char* text : {"", "x", "0x1F", "&H1F", "inf", "-inf", "nan", "\"5\"", "1e", ".", "-", "+",
                             "5 ", " 5", "1,5", "1.2.3", "--5", "e5", "2147483647.5", "-2147483649",
                             "1e400", "\xd9\xa1"})
        EXPECT_EQ(ReadRoundedInt32(QString(text)), std::nullopt) << text;
}

TEST_F(StarshipsTest, PositionsTakeTheFloor)
{
    const std::vector<std::pair<const char*, qint32>> converted = {
        {"-2.5", -3}, {"2.5", 2}, {"-0.5", -1}, {"-0", 0}, {"-1e-400", 0},
        {"2147483647.9", 2147483647}, {"-2147483648", -2147483647 - 1}};
    for (const auto& [text, value] : converted)
        EXPECT_EQ(ReadFlooredInt32(QString(text)), value) << text;
    for (const char* text : {"-2147483648.5", "2147483648", "99999999999", "1e10", "x"})
        EXPECT_EQ(ReadFlooredInt32(QString(text)), std::nullopt) << text;
}

// Scripts of CREATE_SHIP lines with every kind of indentation, delimiter and number.
QString StatementScript(std::mt19937& random)
{
    static const QStringList indentations = {"", " ", "  ", "   ", "    ", "     ", "      ", "       ",
                                             "        ", "\t", "\t\t", " \t", "          "};
    static const QStringList delimiters = {",", ", ", " ", "\t", ",,", " ,", "", "\r"};
    static const QStringList values = {
        "s1", "PLAYER_SHIP", "hull", "\"Big Ship\"", "\"open", "Vega", "1000", "x", "-5", "5", "0", "-0",
        "2.5", "-2.5", "3.5", "1e3", ".5", "5.", "+7", "0x1F", "inf", "nan", "1e400", "-2147483648",
        "2147483647", "2147483648", "-2147483649", "99999999999", "-12345678", "\"5\"", "", "_SHIP", "1e", "2e+"};
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

// A table as earlier passes may leave it: failed conversions read these values back.
Table EarlierTable(std::mt19937& random)
{
    static const std::array<qint32, 6> numbers = {0, 7, -1, 123456, 2147483647, -2147483647 - 1};
    Table table;
    for (StarshipInfo& ship : table) {
        for (qint32* field : {&ship.PositionX, &ship.PositionY, &ship.PositionZ, &ship.OrientationX,
                              &ship.OrientationY, &ship.OrientationZ, &ship.Argument4})
            *field = numbers[random() % numbers.size()];
        ship.ModelName = "old";
        ship.LineNumber = qint16(random() % 100);
    }
    return table;
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
        texts.push_back(StatementScript(random));
    for (const QString& text : texts) {
        const platform::MemoryRichTextBox box(text);
        const Table earlier = EarlierTable(random);
        StarshipTable = earlier;
        support::LiteralParseStarships(box);
        const Table expected = StarshipTable;
        StarshipTable = earlier;
        ParseStarships(box);
        for (int r = 0; r < kStarshipRecords; ++r)
            ASSERT_EQ(StarshipTable[r], expected[r]) << "record " << r << " of " << text.toStdString();
    }
}

}  // namespace
}  // namespace language
