#pragma once

#include "platform/rich_text_box.h"

// The colouring and the two analysis passes written literally, step by step, cutting with copies
// (QString::mid) the way the steps read and sharing no helper with the fast versions. They write
// the same box and tables (language::VarTable, language::StarshipTable), so a test runs one,
// keeps the result, runs the other from the same start and compares. Slow on purpose.
namespace support {

// The whole text in the normal colour, then one search and one selection write per keyword
// occurrence and per comment marker.
void LiteralColorizeScript(platform::RichTextBox& rtfText);
void LiteralParseVariables(const platform::RichTextBox& rtfText);
void LiteralParseStarships(const platform::RichTextBox& rtfText);

}  // namespace support
