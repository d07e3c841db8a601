#include "support/script_generator.h"

#include <QStringList>
#include <random>

namespace support {
namespace {

const QStringList kStatements = {
    "CALL_WHEN Arrived, NEARTO ship1, waypt2", "SET nCount, 0", "ADD nCount, 1", "WAIT_TIME 10",
    "BRA_IF_NOT loop_start, DESTROYED enemy_wing", "ORDER ship1, ATTACK, enemy_wing", "PLACE_BETWEEN ship1, station, 5000",
    "ANNOUNCE \"Incoming; stay alert\"", "CALL_ONCE_IF Bonus, SHIPCOUNT_LT enemy_wing, 2", "DOCK ship2, station",
    "PLAYSOUND \"sfx/alarm.wav\"", "RETURN"};
const QStringList kDeclarations = {"BOOL bDone, bFailed", "NUMBER nCount nWaves", "SCENEITEM ship1, ship2, station",
                                   "3DP vPos, vDir", "STRING sName", "var vTemp"};
const QStringList kComments = {"; the player's wing forms up here", "// tuned for the hard difficulty",
                               "/* waves arrive every 30 seconds */", "/* a comment that spans\r\n   two lines */"};

QString Pick(std::mt19937& random, const QStringList& list)
{
    return list[random() % list.size()];
}

// Lines of a type keyword or CREATE_SHIP, then values and delimiters.
QString StatementScript(std::mt19937& random)
{
    static const QStringList indentations = {"", " ", "  ", "   ", "    ", "     ", "      ", "       ", "        ",
                                             "\t", "\t\t", " \t", "          "};
    static const QStringList keywords = {"CREATE_SHIP", "CREATE_SHIP", "CREATE_SHIP", "create_ship", "BOOL", "var", "3DP"};
    static const QStringList delimiters = {",", ", ", " ", "\t", ",,", " ,", "", "\r", "\""};
    static const QStringList values = {
        "s1", "PLAYER_SHIP", "hull", "\"Big Ship\"", "\"open", "Vega", "1000", "x", "-5", "5", "0", "-0", "2.5", "-2.5",
        "3.5", "1e3", ".5", "5.", "+7", "0x1F", "inf", "nan", "1e400", "-2147483648", "2147483647", "2147483648",
        "-2147483649", "99999999999", "-12345678", "\"5\"", "", "_SHIP", "1e", "2e+"};
    QString text;
    for (int line = int(random() % 12); line > 0; --line) {
        text += random() % 4 == 0 ? "SET a" : Pick(random, indentations) + Pick(random, keywords) + Pick(random, delimiters);
        for (int value = int(random() % 14); value > 0; --value)
            text += Pick(random, values) + Pick(random, delimiters);
        text += random() % 8 ? "\r\n" : "\n";
    }
    return text;
}

QString CreateShip(std::mt19937& random)
{
    std::uniform_int_distribution<int> coordinate(-50000, 50000);
    return QStringLiteral("CREATE_SHIP ship%1, hull%2, \"Vessel %1\", 1000, x, %3, %4, %5, 0, 90, 0")
        .arg(random() % 100)
        .arg(random() % 9)
        .arg(coordinate(random))
        .arg(coordinate(random))
        .arg(coordinate(random));
}

}  // namespace

QString GenerateScript(qsizetype targetBytes, std::uint32_t seed)
{
    std::mt19937 random(seed);
    QString script;
    script.reserve(targetBytes + 200);
    while (script.size() < targetBytes) {
        const int kind = int(random() % 10);
        const QStringList& lines = kind < 5 ? kStatements : kind < 7 ? kDeclarations : kComments;
        const QString line = kind == 7 ? CreateShip(random) : lines[random() % lines.size()];
        script += QString(int(random() % 3) * 2, QLatin1Char(' ')) + line + QStringLiteral("\r\n");
    }
    return script;
}

QString GenerateAdversarialText(qsizetype maxLength, std::uint32_t seed)
{
    static const QStringList pieces = {
        "SET", "RESET", "set", "OR", "FOR", "CALL", "CALL_WHEN", "CREATE_SHIP", "CREATE_SHIP ", "_SHIP", "PLAYER_SHIP",
        "BOOL", "bool", "Var", "3DP", "SCENEITEM", ";", "//", "/", "*", "/*", "*/", "/*/", "\"", "\"a b\"", ",", " ", "  ",
        "    ", "\t", "\r\n", "\n", "\r", "x", "-5", "2.5", "-2.5", "1e3", ".5", "5.", "0x1F", "99999999999", "1000", "ab",
        "\xc3\xa9", "\t\tBOOL x", "  CREATE_SHIP s1,hull,Vega,1000,x,-5,-6,-7,-1,-2,-3"};
    std::mt19937 random(seed);
    QString text;
    const qsizetype length = qsizetype(random() % (maxLength + 1));
    while (text.size() < length)
        text += pieces[random() % pieces.size()];
    return text;
}

const std::vector<QString>& PassTexts()
{
    static const std::vector<QString> texts = [] {
        std::vector<QString> all = {QString()};
        std::mt19937 random(11);
        for (std::uint32_t seed = 1; seed <= 300; ++seed) {
            all.push_back(GenerateAdversarialText(300, seed) + (seed % 2 ? "\u20acX\u20ac" : ""));
            all.push_back(StatementScript(random).chopped(seed % 2));
            all.push_back(seed <= 30 ? GenerateScript(2000, seed).chopped(seed % 3) : StatementScript(random));
        }
        return all;
    }();
    return texts;
}

}  // namespace support
