#pragma once

#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <optional>
#include <span>
#include <vector>

#include "platform/rich_text_box.h"

class QTextDocument;

namespace platform {

// Characters of the box's text, from start: removed ones replaced by added ones.
struct TextChange {
    qint32 start;
    qint32 removed;
    qint32 added;
};

// Text as the box's document holds it: a paragraph separator for each line end, and for each cut
// of a long line into pieces.
struct DocumentText {
    QString text;
    // The colour of each character of the box's text; none when the text has no colours.
    std::vector<Color> colors;
    // The cuts, as numbers of paragraph separators counted from the first, ascending.
    std::vector<int> cuts;
};

// Every line end (CR LF, a lone CR, or any other character the document would take for a line
// end) becomes one paragraph separator, which the box's text shows as CR LF: a lone line end
// gives its colour to both. Long lines are cut into pieces. Without colours, none are given.
DocumentText ToDocumentText(QStringView text, std::span<const Color> colors);

// The box's text kept beside the document that shows it. The document holds one paragraph per
// line, except that a long line is cut into pieces of a few thousand characters, each a
// paragraph of its own: the layout shapes the whole of a paragraph as soon as any of it shows,
// which takes seconds for a line of a megabyte. The paragraph after a cut is marked in its block
// format, which undo and redo restore with it. The text has CR LF where a line ends and nothing
// where a line is cut, so a document position p is the text position p + (the number of line
// ends before p) - (the number of cuts before p). A text position between CR and LF is taken as
// the start of the next line; one at a cut as the start of the piece after it.
class BoxText {
public:
    explicit BoxText(QTextDocument& document) : document_(document) {}

    // The text with CR LF line ends, current after every change the box has followed.
    const QString& text() const;
    qint32 TextLength() const;
    qint32 TextPosition(int documentPosition) const;
    // textPosition lies in [0, TextLength].
    int DocumentPosition(qint32 textPosition) const;
    // The block whose characters in the text hold textPosition (in [0, TextLength]): the last one
    // whose text starts at or before it.
    QTextBlock BlockAt(qint32 textPosition) const;
    // The characters of the text a block stands for: its own, and CR LF when a line ends after it.
    static qint32 TextLength(const QTextBlock& block);
    const QTextDocument& document() const { return document_; }

    // Follows a change of the document as QTextDocument::contentsChange reports it: added
    // characters at position, which may reach over unchanged ones and the final separator; the
    // text's new length tells how many went.
    TextChange follow(int position, int added);
    // Takes the document's text anew after it was set to a DocumentText's text, whose cuts it
    // marks. Leaves no step to undo.
    void reload(const std::vector<int>& cuts);

    // Replaces the cursor's selection with the text, as one step to undo.
    void replace(QTextCursor& cursor, const DocumentText& inserted) const;
    // What Backspace (forward false) or Delete removes at the cursor: its selection, or else the
    // character before or after the caret; with the cuts at either end, so that no piece is left
    // empty. Empty when that is what the key removes by itself, which touches no cut.
    std::optional<QTextCursor> removedByKey(QTextCursor cursor, bool forward) const;

private:
    // The cursor with its selection reaching over the cuts at its ends: an edit there changes the
    // line, not a piece of it.
    QTextCursor acrossCuts(QTextCursor cursor) const;
    // The cursor with the character after (or before) its selection added to it.
    QTextCursor withCharacterBeside(QTextCursor cursor, bool after) const;
    // The cuts before the block with this number and the one at its start.
    qint32 cutsUpTo(int blockNumber) const;
    // The text a document's length, line count and cuts give it.
    qint32 documentTextLength() const;
    // Follows the blocks that may have come or gone or changed their mark in a change from
    // position to end.
    void followCuts(int position, int end);

    QTextDocument& document_;
    // A change of the text not yet spliced into text_: from start on, removed characters of
    // text_ are inserted. Keys typed, deleted or pasted next to each other join into one, so that
    // the whole text moves once when it is read, not once a key.
    struct Splice {
        qint32 start;
        qint32 removed;
        QString inserted;
    };
    // Joins the change to the one pending, or splices that one in first when they do not meet.
    void splice(const TextChange& change, const QString& inserted);

    mutable QString text_;
    mutable std::optional<Splice> pending_;
    // The numbers of the blocks that continue a line, ascending.
    std::vector<int> cuts_;
    int blockCount_ = 1;
};

// The text of characters held by a document, the first of them in the block given, with CR LF
// for each line end.
QString TextOf(QStringView held, QTextBlock block);
// The whole document's text.
QString TextOf(const QTextDocument& document);

}  // namespace platform
