#include "support/literal_passes.h"

#include <QRegularExpression>
#include <cmath>
#include <optional>

#include "language/parser.h"
#include "language/starships.h"

namespace support {
namespace {

using language::StarshipInfo;

const QString kDelimiters = QStringLiteral("\r\t, ");

QString Trim(const QString& s)
{
    qsizetype start = 0;
    while (start < s.size() && s.at(start) == QLatin1Char(' '))
        ++start;
    qsizetype end = s.size();
    while (end > start && s.at(end - 1) == QLatin1Char(' '))
        --end;
    return s.mid(start, end - start);
}

QString CutBy(const QString& s, qsizetype n)
{
    return n >= s.size() ? QString() : s.mid(n);
}

QString LastK(const QString& s, qsizetype k)
{
    return k <= 0 ? QString() : s.right(k);
}

QString FirstLine(const QString& text)
{
    const qsizetype lineFeed = text.indexOf(QLatin1Char('\n'));
    return lineFeed < 0 ? text : text.left(lineFeed);
}

struct Token {
    QString text;
    qsizetype skipped = 0;
};

Token ReadToken(const QString& line)
{
    Token token;
    while (token.skipped < line.size() && kDelimiters.contains(line.at(token.skipped)))
        ++token.skipped;
    bool quoted = false;
    for (qsizetype i = token.skipped; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && kDelimiters.contains(c))
            break;
        token.text += c;
    }
    return token;
}

int TypeIndex(const QString& token)
{
    const QString wanted = Trim(token).toUpper();
    for (int i = 0; i < language::kTypeKeywordSlots; ++i) {
        const QString keyword = Trim(language::TypeKeywords[i]).toUpper();
        if (!keyword.isEmpty() && keyword == wanted)
            return i;
    }
    return -1;
}

void AddName(const QString& name, int typeIndex)
{
    static const QStringList displayNames = {"3DP",     "STRING",   "NUMBER", "SCENEITEM", "RESOURCE",
                                             "BOOLEAN", "WAYPOINT", "MODEL",  "VARIABLE"};
    for (language::VarRow& row : language::VarTable) {
        if (row[0].isEmpty()) {
            row[0] = name;
            row[1] = typeIndex >= 0 && typeIndex < displayNames.size() ? displayNames[typeIndex] : QString();
            return;
        }
    }
}

std::optional<double> Decimal(const QString& token)
{
    static const QRegularExpression number(
        QRegularExpression::anchoredPattern(QStringLiteral("[+-]?([0-9]+\\.?[0-9]*|\\.[0-9]+)([eE][+-]?[0-9]+)?")));
    if (!number.match(token).hasMatch())
        return std::nullopt;
    return token.toDouble();
}

std::optional<qint32> InRange(double integral)
{
    if (integral < -2147483648.0 || integral > 2147483647.0)
        return std::nullopt;
    return qint32(integral);
}

std::optional<qint32> Rounded(const QString& token)
{
    const std::optional<double> value = Decimal(token);
    return value ? InRange(std::nearbyint(*value)) : std::nullopt;
}

std::optional<qint32> Floored(const QString& token)
{
    const std::optional<double> value = Decimal(token);
    return value ? InRange(std::floor(*value)) : std::nullopt;
}

QString TextForm(qint32 value)
{
    return (value >= 0 ? QStringLiteral(" ") : QString()) + QString::number(value);
}

void ReadStatement(QString line, StarshipInfo& r, qint16 counter)
{
    line = CutBy(line, 2);
    if (line.contains(QStringLiteral("_SHIP"))) {
        const qsizetype q = line.indexOf(QStringLiteral("_SHIP")) + 1;
        line = CutBy(line, q + 5);
    }
    r.VariableName = ReadToken(line).text;
    line = CutBy(line, r.VariableName.size() + 1);
    r.ModelName = ReadToken(line).text;
    line = CutBy(line, r.ModelName.size() + 1);
    r.VesselName = ReadToken(line).text;
    line = CutBy(line, r.VesselName.size() + 1);
    if (const std::optional<qint32> value = Rounded(ReadToken(line).text))
        r.Argument4 = *value;
    line = CutBy(line, 5);
    r.Argument5 = ReadToken(line).text;
    line = CutBy(line, r.Argument5.size() + 1);
    for (qint32* field :
         {&r.PositionX, &r.PositionY, &r.PositionZ, &r.OrientationX, &r.OrientationY, &r.OrientationZ}) {
        if (const std::optional<qint32> value = Floored(ReadToken(line).text))
            *field = *value;
        line = CutBy(line, TextForm(*field).size() + 1);
    }
    r.LineNumber = counter;
}

}  // namespace

void LiteralParseVariables(const platform::RichTextBox& rtfText)
{
    for (language::VarRow& row : language::VarTable)
        row = {QString(), QString(), QString()};
    QString text = Trim(rtfText.Text());
    if (text.isEmpty())
        return;
    do {
        QString line = FirstLine(text);
        text = CutBy(text, line.size() + 1);
        const Token tok = ReadToken(line);
        line = CutBy(line, tok.skipped + tok.text.size() + 1);
        if (!Trim(tok.text).isEmpty() && TypeIndex(tok.text) >= 0) {
            const int idx = TypeIndex(tok.text);
            do {
                const Token name = ReadToken(line);
                line = CutBy(line, name.skipped + name.text.size() + 1);
                AddName(name.text, idx);
            } while (!Trim(line).isEmpty());
        }
    } while (text.size() > 4);
}

void LiteralParseStarships(const platform::RichTextBox& rtfText)
{
    for (StarshipInfo& ship : language::StarshipTable)
        ship.VariableName = QString();
    QString text = Trim(rtfText.Text());
    qint16 counter = 0;
    do {
        if (counter != 32767)
            counter = qint16(counter + 1);
        QString line = FirstLine(text);
        text = CutBy(text, line.size() + 1);
        const QString tok = ReadToken(line).text;
        const qsizetype k = line.size() - tok.size() - 1;
        line = LastK(Trim(line), k);
        if (Trim(tok).isEmpty() || tok != QStringLiteral("CREATE_SHIP"))
            continue;
        for (StarshipInfo& r : language::StarshipTable) {
            if (r.VariableName.isEmpty()) {
                ReadStatement(line, r, counter);
                break;
            }
        }
    } while (text.size() > 4);
}

}  // namespace support
