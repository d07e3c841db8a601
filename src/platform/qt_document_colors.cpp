#include "platform/qt_document_colors.h"

#include <QTextBlock>
#include <algorithm>

#include "platform/qt_color.h"

namespace platform {
namespace {

// The line holding a text position: the last one whose text starts at or before it.
QTextBlock LineAt(const QTextDocument& document, qint32 textPosition)
{
    int low = 0;
    int high = document.blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (document.findBlockByNumber(middle).position() + middle <= textPosition)
            low = middle;
        else
            high = middle - 1;
    }
    return document.findBlockByNumber(low);
}

}  // namespace

qint32 TextLength(const QTextDocument& document)
{
    return document.characterCount() - 1 + document.blockCount() - 1;
}

qint32 TextPosition(const QTextDocument& document, int documentPosition)
{
    return documentPosition + document.findBlock(documentPosition).blockNumber();
}

int DocumentPosition(const QTextDocument& document, qint32 textPosition)
{
    return textPosition - LineAt(document, textPosition).blockNumber();
}

void DocumentColors::follow(const QTextDocument& document, int position, int added,
                            std::span<const Color> colors)
{
    // The final separator is no character of the text; each separator before it is two.
    const int end = std::min(position + added, document.characterCount() - 1);
    const qint32 start = TextPosition(document, position);
    const qint32 addedText = TextPosition(document, end) - start;
    const qint32 removedText = std::clamp(qint32(colors_.size()) - TextLength(document) + addedText, 0,
                                          qint32(colors_.size()) - start);
    const auto at = colors_.begin() + start;
    const auto kept = colors_.insert(colors_.erase(at, at + removedText), size_t(addedText), 0);
    if (colors.size() == size_t(addedText))
        std::copy(colors.begin(), colors.end(), kept);
    else if (kept != colors_.begin() || kept + addedText != colors_.end())
        // The first character stands before nothing: what follows it gives the colour.
        std::fill_n(kept, addedText, kept != colors_.begin() ? kept[-1] : kept[addedText]);
}

std::span<const Color> DocumentColors::colors(qint32 from, qint32 to) const
{
    return std::span(colors_).subspan(size_t(from), size_t(to - from));
}

bool DocumentColors::fill(qint32 start, qint32 end, Color color)
{
    const qint32 length = qint32(colors_.size());
    const auto first = colors_.begin() + std::clamp(start, 0, length);
    const auto last = colors_.begin() + std::clamp(end, std::clamp(start, 0, length), length);
    const auto differs = std::find_if(first, last, [color](Color shown) { return shown != color; });
    std::fill(differs, last, color);
    return differs != last;
}

bool DocumentColors::apply(std::span<const ColorRun> runs)
{
    bool changed = false;
    for (const ColorRun& run : runs)
        changed |= fill(run.start, qint32(std::min<qint64>(qint64(run.start) + run.length, INT32_MAX)),
                        run.color);
    return changed;
}

QList<QTextLayout::FormatRange> DocumentColors::formats(const QTextBlock& line) const
{
    QList<QTextLayout::FormatRange> formats;
    const qint32 first = line.position() + line.blockNumber();
    const auto end = colors_.begin() + first + line.length() - 1;
    for (auto start = colors_.begin() + first; start < end;) {
        const Color color = *start;
        const auto runEnd = std::find_if(start, end, [color](Color c) { return c != color; });
        QTextLayout::FormatRange range{int(start - colors_.begin() - first), int(runEnd - start), {}};
        range.format.setForeground(ToQColor(color));
        formats.append(range);
        start = runEnd;
    }
    return formats;
}

}  // namespace platform
