#pragma once

#include <QList>
#include <QTextDocument>
#include <QTextLayout>
#include <span>
#include <vector>

#include "platform/rich_text_box.h"

class QTextBlock;

// A text box's document holds one paragraph per line and nothing but characters; their colours
// are kept beside it. Its text is the box's text with a paragraph separator where the box has
// CR LF, so a document position p is the text position p + (the number of line ends before p).
// A text position between CR and LF is taken as the start of the next line.
namespace platform {

qint32 TextLength(const QTextDocument& document);
qint32 TextPosition(const QTextDocument& document, int documentPosition);
// textPosition lies in [0, TextLength].
int DocumentPosition(const QTextDocument& document, qint32 textPosition);

// The colour of every character of a document, its paragraph separators and the final one
// included, so that it follows the positions QTextDocument::contentsChange reports. A line
// end has one colour: that of its CR.
class DocumentColors {
public:
    // One colour for each of the document's characters, the final separator included.
    void reset(std::vector<Color> colors) { colors_ = std::move(colors); }
    // removed characters at position became added ones: in colors when it holds one per added
    // character, otherwise in the colour of the character before them.
    void replace(int position, int removed, int added, std::span<const Color> colors = {});

    Color at(int documentPosition) const;
    // One colour for each position in [from, to) of the document's text (lines ending in
    // CR LF): CR and LF both get their line end's.
    std::vector<Color> textColors(const QTextDocument& document, QStringView text, qint32 from,
                                  qint32 to) const;

    // Gives text positions [start, end) the colour. True when a colour changed.
    bool fill(const QTextDocument& document, qint32 start, qint32 end, Color color);
    // The runs, ascending and disjoint, in one walk over the lines. True when a colour changed.
    bool apply(const QTextDocument& document, std::span<const ColorRun> runs);

    // The colours of the block's characters, as the formats of its layout.
    QList<QTextLayout::FormatRange> formats(const QTextBlock& block) const;

private:
    bool fillDocument(int start, int end, Color color);

    std::vector<Color> colors_;
};

bool AscendingAndDisjoint(std::span<const ColorRun> runs);

}  // namespace platform
