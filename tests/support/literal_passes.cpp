#include "support/literal_passes.h"

#include <QRegularExpression>
#include <cmath>
#include <optional>

#include "language/command_table.h"
#include "language/parser.h"
#include "language/starships.h"
#include "shell/options.h"

namespace support {
namespace {

QString Trim(QString s)  // blanks only, not tabs
{
    static const QRegularExpression blanks(QStringLiteral("^ +| +\\z"));
    return s.remove(blanks);
}

QString Cut(const QString& s, qsizetype n)
{
    return n >= s.size() ? QString() : s.mid(n);
}

// The token (quoted stretches, an unclosed one to the end, and other characters up to the next
// delimiter) and the count of delimiters skipped before it.
std::pair<QString, qsizetype> Token(const QString& line)
{
    static const QRegularExpression token(QStringLiteral("^([\r\t, ]*)((?:\"[^\"]*\"?|[^\r\t, \"])*)"));
    const QRegularExpressionMatch match = token.match(line);
    return {match.captured(2), match.capturedLength(1)};
}

int TypeIndex(const QString& token)
{
    for (int i = 0; i < language::kTypeKeywordSlots; ++i) {
        const QString keyword = Trim(language::TypeKeywords[i]).toUpper();
        if (!keyword.isEmpty() && keyword == Trim(token).toUpper())
            return i;
    }
    return -1;
}

// Read as a decimal number, then made an integer by round (half to even) or floor; none when
// not a number or out of the 32-bit range.
std::optional<qint32> Integer(const QString& token, double (*round)(double))
{
    static const QRegularExpression number(QRegularExpression::anchoredPattern(
        QStringLiteral("[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?")));
    const double value = number.match(token).hasMatch() ? round(token.toDouble()) : NAN;
    if (!(value >= -2147483648.0 && value <= 2147483647.0))
        return std::nullopt;
    return qint32(value);
}

void ReadStatement(QString line, language::StarshipInfo& r, qint16 counter)
{
    line = Cut(line, 2);
    if (line.contains(QStringLiteral("_SHIP")))
        line = Cut(line, line.indexOf(QStringLiteral("_SHIP")) + 1 + 5);
    for (QString* field : {&r.VariableName, &r.ModelName, &r.VesselName}) {
        *field = Token(line).first;
        line = Cut(line, field->size() + 1);
    }
    r.Argument4 = Integer(Token(line).first, std::nearbyint).value_or(r.Argument4);
    line = Cut(line, 5);
    r.Argument5 = Token(line).first;
    line = Cut(line, r.Argument5.size() + 1);
    for (qint32* field :
         {&r.PositionX, &r.PositionY, &r.PositionZ, &r.OrientationX, &r.OrientationY, &r.OrientationZ}) {
        *field = Integer(Token(line).first, std::floor).value_or(*field);
        line = Cut(line, (*field >= 0 ? 1 : 0) + QString::number(*field).size() + 1);
    }
    r.LineNumber = counter;
}

}  // namespace

void LiteralColorizeScript(platform::RichTextBox& rtfText)
{
    const qint32 saved = rtfText.SelStart();
    const QString text = rtfText.Text();
    if (text.isEmpty() || !(shell::options.SystemFlags & 1))
        return;
    // Entry 0 of the text colours is the command colour, 1 the comment colour, 2 the normal one.
    const auto colour = [&rtfText](qsizetype start, qsizetype length, int entry) {
        rtfText.setSelStart(qint32(start));
        rtfText.setSelLength(qint32(length));
        rtfText.setSelColor(shell::options.TextColors[entry]);
    };
    rtfText.setVisible(false);
    colour(0, text.size(), 2);
    for (const QString& keyword : language::CommandTable) {
        for (qsizetype p = text.indexOf(keyword); !keyword.isEmpty() && p >= 0; p = text.indexOf(keyword, p + 1))
            colour(p, keyword.size(), 0);
    }
    for (const QString marker : {";", "//", "/*"}) {
        const QString end = marker == "/*" ? "*/" : "\n";
        for (qsizetype p = text.indexOf(marker); p >= 0; p = text.indexOf(marker, p + 1)) {
            const qsizetype e = text.indexOf(end, p);
            colour(p, e < 0 ? text.size() - p : e - p + (end == "*/" ? 2 : 0), 1);
        }
    }
    rtfText.setSelStart(saved);
    rtfText.setVisible(true);
}

void LiteralParseVariables(const platform::RichTextBox& rtfText)
{
    static const QStringList displayNames = {"3DP", "STRING", "NUMBER", "SCENEITEM", "RESOURCE", "BOOLEAN", "WAYPOINT",
                                             "MODEL", "VARIABLE"};
    language::VarTable.fill({});
    QString text = Trim(rtfText.Text());
    if (text.isEmpty())
        return;
    do {
        QString line = text.left(text.indexOf(u'\n'));
        text = Cut(text, line.size() + 1);
        const auto [tok, skipped] = Token(line);
        line = Cut(line, skipped + tok.size() + 1);
        const int idx = TypeIndex(tok);
        if (Trim(tok).isEmpty() || idx < 0)
            continue;
        do {
            const auto [name, skippedBefore] = Token(line);
            line = Cut(line, skippedBefore + name.size() + 1);
            const auto row = std::find_if(language::VarTable.begin(), language::VarTable.end(),
                                          [](const language::VarRow& r) { return r[0].isEmpty(); });
            if (row != language::VarTable.end())
                *row = {name, idx < displayNames.size() ? displayNames[idx] : QString(), QString()};
        } while (!Trim(line).isEmpty());
    } while (text.size() > 4);
}

void LiteralParseStarships(const platform::RichTextBox& rtfText)
{
    for (language::StarshipInfo& ship : language::StarshipTable)
        ship.VariableName = QString();
    QString text = Trim(rtfText.Text());
    qint16 counter = 0;
    do {
        counter = counter == 32767 ? counter : qint16(counter + 1);
        QString line = text.left(text.indexOf(u'\n'));
        text = Cut(text, line.size() + 1);
        const QString tok = Token(line).first;
        const qsizetype k = line.size() - tok.size() - 1;
        line = k <= 0 ? QString() : Trim(line).right(k);
        if (Trim(tok).isEmpty() || tok != QStringLiteral("CREATE_SHIP"))
            continue;
        for (language::StarshipInfo& r : language::StarshipTable) {
            if (r.VariableName.isEmpty()) {
                ReadStatement(line, r, counter);
                break;
            }
        }
    } while (text.size() > 4);
}

}  // namespace support
