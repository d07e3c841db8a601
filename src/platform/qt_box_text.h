#pragma once

#include <QString>

class QTextDocument;

namespace platform {

// Characters of the box's text, from start: removed ones replaced by added ones.
struct TextChange {
    qint32 start;
    qint32 removed;
    qint32 added;
};

// The box's text kept beside the document that shows it. The document holds one paragraph per
// line; the text has CR LF where the document has a paragraph separator, so a document position
// p is the text position p + (the number of line ends before p). A text position between CR and
// LF is taken as the start of the next line.
class BoxText {
public:
    explicit BoxText(const QTextDocument& document) : document_(document) {}

    // The text with CR LF line ends, current after every change the box has followed.
    const QString& text() const { return text_; }
    qint32 TextLength() const { return qint32(text_.size()); }
    qint32 TextPosition(int documentPosition) const;
    // textPosition lies in [0, TextLength].
    int DocumentPosition(qint32 textPosition) const;

    // Follows a change of the document as QTextDocument::contentsChange reports it: added
    // characters at position, which may reach over unchanged ones and the final separator; the
    // text's new length tells how many went.
    TextChange follow(int position, int added);
    // Takes the document's text anew, after a change it has not followed.
    void reload();

private:
    // The text a document's length and line count give it.
    qint32 documentTextLength() const;

    const QTextDocument& document_;
    QString text_;
};

// The text of the document's characters [from, to), with CR LF for each paragraph separator.
QString TextOf(const QTextDocument& document, int from, int to);
// The whole document's text.
QString TextOf(const QTextDocument& document);

}  // namespace platform
