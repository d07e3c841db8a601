#include "language/line_finder.h"

namespace language {

void SelectLine(platform::RichTextBox& rtfText, qint32 lineNumber)
{
    if (lineNumber < 1)
        return;
    const QString text = rtfText.Text();
    qsizetype start = 0;
    for (qint32 line = 1; line < lineNumber; ++line) {
        const qsizetype feed = text.indexOf(u'\n', start);
        if (feed < 0)
            return;
        start = feed + 1;
    }
    // After a closing line feed there is no further line, only the end of the text.
    if (start == text.size())
        return;
    const qsizetype feed = text.indexOf(u'\n', start);
    const qsizetype end = feed < 0 ? text.size() : feed + 1;
    rtfText.setSelStart(qint32(start));
    rtfText.setSelLength(qint32(end - start));
}

}  // namespace language
