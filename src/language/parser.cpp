#include "language/parser.h"

#include <algorithm>

namespace language {

std::array<QString, kTypeKeywordSlots> TypeKeywords;
std::array<VarRow, kVarRows> VarTable;

namespace {

struct TypeKeyword {
    QStringView keyword;
    QStringView displayName;
};

// The declaration keywords in slot order, each with the name the Variables list shows for it.
constexpr std::array<TypeKeyword, 9> kBuiltInTypeKeywords = {{
    {u"3DP", u"3DP"},
    {u"STRING", u"STRING"},
    {u"NUMBER", u"NUMBER"},
    {u"SCENEITEM", u"SCENEITEM"},
    {u"RESOURCE", u"RESOURCE"},
    {u"BOOL", u"BOOLEAN"},
    {u"WAYHJKHJKHPT", u"WAYPOINT"},
    {u"MODEL", u"MODEL"},
    {u"VAR", u"VARIABLE"},
}};

QStringView DisplayName(qint16 typeIndex)
{
    const bool known = typeIndex >= 0 && typeIndex < qint16(kBuiltInTypeKeywords.size());
    return known ? kBuiltInTypeKeywords[typeIndex].displayName : QStringView();
}

bool IsDelimiter(QChar c)
{
    return c == u'\r' || c == u'\t' || c == u',' || c == u' ';
}

// True when s trimmed is empty. Scans from the front only, so that asking it of what is left of
// a line after each name costs no more than the blanks the next token read skips anyway.
bool IsBlank(QStringView s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c == u' '; });
}

// QChar::toUpper, without a call into the Unicode tables for the letters every script is made of.
QChar UpperCase(QChar c)
{
    if (c.unicode() >= 0x80)
        return c.toUpper();
    return c >= u'a' && c <= u'z' ? QChar(c.unicode() - (u'a' - u'A')) : c;
}

bool EqualsIgnoringCase(QStringView a, QStringView b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](QChar x, QChar y) {
               return UpperCase(x) == UpperCase(y);
           });
}

// The next token of line; line loses the delimiters before it, the token and one character more.
QStringView TakeToken(QStringView& line)
{
    qsizetype skipped = 0;
    const QStringView token = GetToken(line, &skipped);
    line = Cut(line, skipped + token.size() + 1);
    return token;
}

// Records the names declared on one line when its first token is a type keyword.
void ReadDeclaration(QStringView line)
{
    const qint16 typeIndex = GetTypeIndex(TakeToken(line));
    if (typeIndex < 0)
        return;
    do
        AddVariable(TakeToken(line), typeIndex);
    while (!IsBlank(line));
}

// Rows are taken in order, so the last one is taken only when all are.
bool VarTableFull()
{
    return !VarTable.back()[0].isEmpty();
}

}  // namespace

void InitParser()
{
    LoadTypeKeywords();
    ClearVariables();
}

void LoadTypeKeywords()
{
    for (const TypeKeyword& type : kBuiltInTypeKeywords)
        AddTypeKeyword(type.keyword.toString());
}

void AddTypeKeyword(const QString& name)
{
    const auto slot = std::find_if(TypeKeywords.begin(), TypeKeywords.end(),
                                   [](const QString& keyword) { return keyword.isEmpty(); });
    if (slot != TypeKeywords.end())
        *slot = name;
}

void ClearVariables()
{
    for (VarRow& row : VarTable)
        row.fill(QString());
}

void AddVariable(QStringView name, qint16 typeIndex)
{
    const auto row = std::find_if(VarTable.begin(), VarTable.end(),
                                  [](const VarRow& r) { return r[0].isEmpty(); });
    if (row == VarTable.end())
        return;
    (*row)[0] = name.toString();
    (*row)[1] = DisplayName(typeIndex).toString();
}

bool IsTypeKeyword(QStringView token)
{
    return GetTypeIndex(token) >= 0;
}

qint16 GetTypeIndex(QStringView token)
{
    const QStringView wanted = Trimmed(token);
    for (qint16 i = 0; i < kTypeKeywordSlots; ++i) {
        const QStringView keyword = Trimmed(TypeKeywords[i]);
        if (!keyword.isEmpty() && EqualsIgnoringCase(wanted, keyword))
            return i;
    }
    return -1;
}

QStringView GetFirstLine(QStringView text)
{
    const qsizetype lineFeed = text.indexOf(u'\n');
    return lineFeed < 0 ? text : text.first(lineFeed);
}

QStringView GetToken(QStringView line, qsizetype* skipped)
{
    qsizetype start = 0;
    while (start < line.size() && IsDelimiter(line[start]))
        ++start;
    bool quoted = false;
    qsizetype end = start;
    for (; end < line.size(); ++end) {
        if (line[end] == u'"')
            quoted = !quoted;
        else if (!quoted && IsDelimiter(line[end]))
            break;
    }
    if (skipped)
        *skipped = start;
    return line.sliced(start, end - start);
}

QStringView Trimmed(QStringView s)
{
    qsizetype start = 0;
    while (start < s.size() && s[start] == u' ')
        ++start;
    qsizetype end = s.size();
    while (end > start && s[end - 1] == u' ')
        --end;
    return s.sliced(start, end - start);
}

QStringView Cut(QStringView s, qsizetype n)
{
    if (n >= s.size())
        return {};
    return n <= 0 ? s : s.sliced(n);
}

void ParseVariables(const platform::RichTextBox& rtfText)
{
    ClearVariables();
    const QString whole = rtfText.Text();
    QStringView text = Trimmed(whole);
    if (text.isEmpty())
        return;
    do {
        const QStringView line = GetFirstLine(text);
        text = Cut(text, line.size() + 1);
        ReadDeclaration(line);
        // Names beyond the table's rows are dropped: the rest of the text can change nothing.
    } while (text.size() > 4 && !VarTableFull());
}

}  // namespace language
