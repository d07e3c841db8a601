#include "platform/qt_box_text.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace platform {

QString TextOf(const QTextDocument& document, int from, int to)
{
    QString text;
    text.reserve(to - from);
    for (QTextBlock line = document.findBlock(from); line.isValid() && line.position() < to;
         line = line.next()) {
        const int start = std::max(from, line.position());
        const int end = line.position() + line.length() - 1;  // the separator's position
        text += QStringView(line.text()).sliced(start - line.position(), std::min(end, to) - start);
        if (end < to)
            text += u"\r\n";
    }
    return text;
}

QString TextOf(const QTextDocument& document)
{
    return TextOf(document, 0, document.characterCount() - 1);
}

qint32 BoxText::TextPosition(int documentPosition) const
{
    return documentPosition + document_.findBlock(documentPosition).blockNumber();
}

int BoxText::DocumentPosition(qint32 textPosition) const
{
    // The line holding the position: the last one whose text starts at or before it.
    int low = 0;
    int high = document_.blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (document_.findBlockByNumber(middle).position() + middle <= textPosition)
            low = middle;
        else
            high = middle - 1;
    }
    return textPosition - low;
}

TextChange BoxText::follow(int position, int added)
{
    // The final separator is no character of the text.
    const int end = std::min(position + added, document_.characterCount() - 1);
    const QString inserted = TextOf(document_, position, end);
    const TextChange change{TextPosition(position),
                            TextLength() - documentTextLength() + qint32(inserted.size()),
                            qint32(inserted.size())};
    text_.replace(change.start, change.removed, inserted);
    return change;
}

void BoxText::reload()
{
    text_ = TextOf(document_);
}

qint32 BoxText::documentTextLength() const
{
    return document_.characterCount() - 1 + document_.blockCount() - 1;
}

}  // namespace platform
