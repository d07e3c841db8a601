#pragma once

#include "platform/rich_text_box.h"

namespace support {

// The colouring done literally, step by step: the whole text in the normal colour, then one
// search and one selection write per keyword occurrence and per comment marker. Slow on
// purpose; the fast colouring must give the same box.
void LiteralColorizeScript(platform::RichTextBox& rtfText);

}  // namespace support
