#pragma once

#include "platform/rich_text_box.h"

namespace language {

// Selects line lineNumber (counted from 1) of the box's text: from its first character through
// its CR LF, or through the end of the text for a last line without a line feed. A line number
// that names no line with characters leaves the selection as it was. Any length of text serves.
void SelectLine(platform::RichTextBox& rtfText, qint32 lineNumber);

}  // namespace language
