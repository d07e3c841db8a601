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

// The colour of every character of a document's text, CR and LF each their own.
class DocumentColors {
public:
    // One colour for each character of the text.
    void reset(std::vector<Color> colors) { colors_ = std::move(colors); }
    // Follows a change of the document as QTextDocument::contentsChange reports it: added
    // characters at position, which may reach over unchanged ones and the final separator; the
    // text's new length tells how many went. The characters added are given colors when it
    // holds one for each of them in the text, otherwise the colour of the character before them.
    void follow(const QTextDocument& document, int position, int added, std::span<const Color> colors);

    // The colours of text positions [from, to), which lie inside the text.
    std::span<const Color> colors(qint32 from, qint32 to) const;

    // True when a colour changed. Positions outside the text are left out.
    bool fill(qint32 start, qint32 end, Color color);
    // The runs in their order, each as fill does it.
    bool apply(std::span<const ColorRun> runs);

    // The colours of the line's characters, as the formats of its layout.
    QList<QTextLayout::FormatRange> formats(const QTextBlock& line) const;

private:
    std::vector<Color> colors_;
};

}  // namespace platform
