#include "language/starships.h"

#include <algorithm>

#include "language/number_text.h"
#include "language/parser.h"

namespace language {

std::array<StarshipInfo, kStarshipRecords> StarshipTable;

namespace {

constexpr qint16 kHighestLineNumber = 32767;

// The last k characters of s: all of s when k is not smaller than its length, none when k <= 0.
QStringView LastCharacters(QStringView s, qsizetype k)
{
    if (k <= 0)
        return {};
    return k >= s.size() ? s : s.last(k);
}

qsizetype DecimalDigits(qint32 value)
{
    qint64 magnitude = qAbs(qint64(value));
    qsizetype digits = 1;
    for (; magnitude >= 10; magnitude /= 10)
        ++digits;
    return digits;
}

// A string field: the next token as written; line loses as many characters as the token has,
// plus one, counted from its front whatever delimiters stood before the token.
QString TakeString(QStringView& line)
{
    const QStringView token = GetToken(line);
    line = Cut(line, token.size() + 1);
    return token.toString();
}

// A position or orientation. A token that does not convert leaves the field as it was, and the
// cut counts the text form of the value the field holds then (a sign or blank, the digits) plus
// one delimiter.
void TakeCoordinate(QStringView& line, qint32& field)
{
    if (const std::optional<qint32> value = ReadFlooredInt32(GetToken(line)))
        field = *value;
    line = Cut(line, DecimalDigits(field) + 2);
}

StarshipInfo* FirstFreeRecord()
{
    const auto free = std::find_if(StarshipTable.begin(), StarshipTable.end(),
                                   [](const StarshipInfo& ship) { return ship.VariableName.isEmpty(); });
    return free == StarshipTable.end() ? nullptr : &*free;
}

// Records are taken in order, so the last one is taken only when all are.
bool StarshipTableFull()
{
    return !StarshipTable.back().VariableName.isEmpty();
}

// Reads a statement's values into ship. line is the statement as the line walk leaves it: for a
// line indented by two blanks, the keyword's last letter, a delimiter and the values.
void ReadStatement(QStringView line, StarshipInfo& ship, qint16 lineNumber)
{
    line = Cut(line, 2);
    // Everything up to and including the first "_SHIP" and the character behind it goes.
    if (const qsizetype suffix = line.indexOf(u"_SHIP"); suffix >= 0)
        line = Cut(line, suffix + 6);
    ship.VariableName = TakeString(line);
    ship.ModelName = TakeString(line);
    ship.VesselName = TakeString(line);
    if (const std::optional<qint32> value = ReadRoundedInt32(GetToken(line)))
        ship.Argument4 = *value;
    line = Cut(line, 5);
    ship.Argument5 = TakeString(line);
    for (qint32* field : {&ship.PositionX, &ship.PositionY, &ship.PositionZ, &ship.OrientationX,
                          &ship.OrientationY, &ship.OrientationZ})
        TakeCoordinate(line, *field);
    ship.LineNumber = lineNumber;
}

}  // namespace

void ClearStarships()
{
    for (StarshipInfo& ship : StarshipTable)
        ship.VariableName.clear();
}

void ParseStarships(const platform::RichTextBox& rtfText)
{
    ClearStarships();
    const QString whole = rtfText.Text();
    QStringView text = Trimmed(whole);
    qint16 lineNumber = 0;
    do {
        if (lineNumber < kHighestLineNumber)
            ++lineNumber;
        const QStringView line = GetFirstLine(text);
        text = Cut(text, line.size() + 1);
        const QStringView keyword = GetToken(line);
        if (keyword != u"CREATE_SHIP")
            continue;
        // The count of characters kept comes from the line as it stands, the characters
        // themselves from the line trimmed: indentation by blanks shifts where the values start.
        const qsizetype kept = line.size() - keyword.size() - 1;
        if (StarshipInfo* ship = FirstFreeRecord())
            ReadStatement(LastCharacters(Trimmed(line), kept), *ship, lineNumber);
        // Statements beyond the table's records are dropped: the rest of the text can change nothing.
    } while (text.size() > 4 && !StarshipTableFull());
}

}  // namespace language
