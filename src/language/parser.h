#pragma once

#include <QString>
#include <QStringView>
#include <array>

#include "platform/rich_text_box.h"

// The tokenizer shared by both analysis passes, the type keywords and the variable pass.
namespace language {

constexpr int kTypeKeywordSlots = 21;
constexpr int kVarRows = 201;
constexpr int kVarColumns = 3;

// Declaration keywords; slots 0 to 8 are filled by InitParser, an empty slot is free.
extern std::array<QString, kTypeKeywordSlots> TypeKeywords;

// Declared variables: column 0 the name as written, column 1 the type's display name, column 2
// unused. A row whose column 0 is empty is free; rows in use run unbroken from row 0.
using VarRow = std::array<QString, kVarColumns>;
extern std::array<VarRow, kVarRows> VarTable;

void InitParser();
void LoadTypeKeywords();
void AddTypeKeyword(const QString& name);
void ClearVariables();
void AddVariable(QStringView name, qint16 typeIndex);
bool IsTypeKeyword(QStringView token);
qint16 GetTypeIndex(QStringView token);  // -1 when no type keyword matches

// The characters before the first line feed (the whole text when it holds none).
QStringView GetFirstLine(QStringView text);

// The first token of line: leading CR, TAB, comma and blank are skipped (their count goes to
// *skipped); the token ends at the next of them outside double quotes, or at the end of line.
QStringView GetToken(QStringView line, qsizetype* skipped = nullptr);

// Removal of leading and trailing blanks (code 32) only.
QStringView Trimmed(QStringView s);
// s without its first n characters; empty when n is not smaller than its length.
QStringView Cut(QStringView s, qsizetype n);

// Rebuilds VarTable from the box's text.
void ParseVariables(const platform::RichTextBox& rtfText);

}  // namespace language
