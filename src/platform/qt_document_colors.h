#pragma once

#include <QList>
#include <QTextLayout>
#include <span>
#include <vector>

#include "platform/qt_box_text.h"
#include "platform/rich_text_box.h"

// A text box's document holds nothing but characters; their colours are kept beside it.
namespace platform {

// The colour of every character of a box's text, CR and LF each their own.
class DocumentColors {
public:
    // One colour for each character of the text.
    void reset(std::vector<Color> colors) { colors_ = std::move(colors); }
    // Follows a change of the text. The characters added are given colors when it holds one for
    // each of them, otherwise the colour of the character before them.
    void follow(const TextChange& change, std::span<const Color> colors);

    // The colours of text positions [from, to), which lie inside the text.
    std::span<const Color> colors(qint32 from, qint32 to) const;

    // True when a colour changed. Positions outside the text are left out.
    bool fill(qint32 start, qint32 end, Color color);
    // The runs in their order, each as fill does it.
    bool apply(std::span<const ColorRun> runs);

    // The colours of text positions [start, start + length), as the formats of the layout of a
    // line whose text starts at start.
    QList<QTextLayout::FormatRange> formats(qint32 start, int length) const;

private:
    std::vector<Color> colors_;
};

}  // namespace platform
