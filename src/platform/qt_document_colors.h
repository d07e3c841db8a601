#pragma once

#include <QList>
#include <QTextDocument>
#include <QTextLayout>
#include <span>
#include <vector>

#include "platform/qt_box_text.h"
#include "platform/rich_text_box.h"

class QTextBlock;

namespace platform {

// The colour of every character of a document's text, CR and LF each their own, kept block by
// block as runs of equal colour (as a syntax highlighter keeps its formats), so that an edit
// touches the colours of the blocks it changes and nothing else.
class DocumentColors {
public:
    // The text all in colour 0.
    explicit DocumentColors(const BoxText& text);

    // One colour for each character of the text; characters without one get colour 0.
    void reset(std::span<const Color> colors);
    // Follows a change of the document as QTextDocument::contentsChange reports it, once the box's
    // text has followed it: added characters at position, which may reach over unchanged ones and the final separator; the
    // text's new length tells how many went. The characters added are given colors when it
    // holds one for each of them in the text, otherwise the colour of the character before them.
    void follow(int position, int added, std::span<const Color> colors);

    // The colours of text positions [from, to), which lie inside the text.
    std::vector<Color> colors(qint32 from, qint32 to) const;

    // True when a colour changed. Positions outside the text are left out.
    bool fill(qint32 start, qint32 end, Color color);
    // The runs in their order, each as fill does it.
    bool apply(std::span<const ColorRun> runs);

    // The colours of the block's characters, as the formats of its layout.
    QList<QTextLayout::FormatRange> formats(const QTextBlock& block) const;

private:
    struct Run {
        qint32 length;
        Color color;
    };

    // The colours of one block's characters in the text.
    class Block {
    public:
        Block() = default;
        explicit Block(std::span<const Color> colors);

        qint32 length() const { return length_; }
        const std::vector<Run>& runs() const { return runs_; }
        // The colours of [from, to), which lies inside the block, appended one a character.
        void appendTo(std::vector<Color>& colors, qint32 from, qint32 to) const;
        // True when a colour of [from, to) changed; positions outside the block are left out.
        bool fill(qint32 from, qint32 to, Color color);

    private:
        // Whether every character of [from, to) has the colour.
        bool holds(qint32 from, qint32 to, Color color) const;
        // Adds a run, joined to the last one when of its colour.
        static void append(std::vector<Run>& runs, Run run);
        // Adds the runs of [from, to).
        void appendPart(std::vector<Run>& runs, qint32 from, qint32 to) const;

        std::vector<Run> runs_;
        qint32 length_ = 0;
    };

    // A block and the text position of its first character.
    struct BlockStart {
        size_t index;
        qint32 position;
    };

    // The block holding textPosition, found by walking on from at when it lies before it.
    BlockStart seek(BlockStart at, qint32 textPosition) const;
    const Block& blockOf(const QTextBlock& block) const;

    const BoxText& text_;
    std::vector<Block> blocks_;
};

}  // namespace platform
