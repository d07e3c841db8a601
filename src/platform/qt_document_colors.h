#pragma once

#include <QTextDocument>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "platform/rich_text_box.h"

// A text box's document holds one paragraph per line and nothing but characters and their
// colours. Its text is the box's text with a paragraph separator where the box has CR LF, so
// a document position p is the text position p + (the number of line ends before p). A text
// position between CR and LF is taken as the start of the next line.
namespace platform {

qint32 TextLength(const QTextDocument& document);
qint32 TextPosition(const QTextDocument& document, int documentPosition);
// textPosition lies in [0, TextLength].
int DocumentPosition(const QTextDocument& document, qint32 textPosition);

// Characters at text positions [start, end) shown in one colour; none where the palette decides.
// A line end shows the colour of its separator for both CR and LF.
struct ShownRun {
    qint32 start;
    qint32 end;
    std::optional<Color> color;
};

// What the document shows at text positions [from, to), in order.
std::vector<ShownRun> ReadShownRuns(const QTextDocument& document, qint32 from, qint32 to);

// The runs last written over the whole text, and the stretch of the document edited since
// (document positions): outside it the document still shows them, shifted by the edits.
struct WrittenColors {
    std::vector<ColorRun> runs;
    qint32 textLength = 0;
    std::optional<std::pair<int, int>> edited;
};

// Widens the edited stretch by one change of the document, as QTextDocument::contentsChange
// reports it (a change of format included).
void NoteEdit(WrittenColors& written, int position, int removed, int added);

// Gives the characters the colours of the runs, which are ascending and disjoint, writing only
// where the document shows another colour. What it shows is taken from the runs written before
// where the document was not edited since, and read from the document elsewhere. The caller
// provides the edit block, and remembers what this returns once the block has ended: the runs
// written, when they cover the whole text.
std::optional<WrittenColors> WriteColorRuns(QTextDocument& document, std::span<const ColorRun> runs,
                                            const std::optional<WrittenColors>& before);

bool AscendingAndDisjoint(std::span<const ColorRun> runs);

}  // namespace platform
