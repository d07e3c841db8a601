#pragma once

#include "platform/rich_text_box.h"

// The two analysis passes written step by step, cutting with copies (QString::mid) the way the
// steps read, and sharing no helper with the fast passes. They write the same tables
// (language::VarTable, language::StarshipTable), so a test runs one, keeps the table, runs the
// other from the same starting table and compares. Quadratic in the script's length.
namespace support {

void LiteralParseVariables(const platform::RichTextBox& rtfText);
void LiteralParseStarships(const platform::RichTextBox& rtfText);

}  // namespace support
