#pragma once

#include <QStringView>
#include <vector>

#include "language/command_table.h"
#include "platform/rich_text_box.h"

namespace language {

struct ColorScheme {
    platform::Color command;
    platform::Color comment;
    platform::Color normal;
};

// The final colour of every character of text, as runs of equal colour covering the whole text
// in order: normal colour, then every occurrence of every keyword (case-sensitive, inside words
// too, overlapping), then ";" and "//" comments up to the line feed and "/*" comments through
// the next "*/" (or to the end of the text). Linear in the length of the text.
std::vector<platform::ColorRun> ComputeColorRuns(QStringView text, const CommandSlots& keywords,
                                                 const ColorScheme& colors);

// Recolours the whole text of the box when colouring is on (SystemFlags bit 0) and the text is
// not empty; hides the box while it works, leaves the characters unchanged and puts the caret
// back at the selection start it had, with nothing selected.
void ColorizeScript(platform::RichTextBox& rtfText);

}  // namespace language
