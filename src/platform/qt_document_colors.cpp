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

// Turns ascending text positions into document positions, walking forward over the lines.
class PositionWalk {
public:
    PositionWalk(const QTextDocument& document, qint32 first)
        : block_(LineAt(document, first)), line_(block_.blockNumber()), lineStart_(block_.position() + line_)
    {
    }

    int operator()(qint32 textPosition)
    {
        for (QTextBlock next = block_.next(); next.isValid(); next = next.next()) {
            const qint32 nextStart = lineStart_ + block_.length() + 1;  // CR LF for the separator
            if (nextStart > textPosition)
                break;
            block_ = next;
            ++line_;
            lineStart_ = nextStart;
        }
        return textPosition - line_;
    }

private:
    QTextBlock block_;
    int line_;
    qint32 lineStart_;  // in text positions
};

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

void DocumentColors::replace(int position, int removed, int added, std::span<const Color> colors)
{
    const auto at = colors_.begin() + position;
    if (colors.size() == size_t(added)) {
        std::copy(colors.begin(), colors.end(), colors_.insert(colors_.erase(at, at + removed), added, 0));
        return;
    }
    // The first character stands before nothing: what follows it gives the colour.
    const Color color = position > 0 ? colors_[size_t(position) - 1] : colors_.empty() ? 0 : colors_[0];
    colors_.insert(colors_.erase(at, at + removed), size_t(added), color);
}

Color DocumentColors::at(int documentPosition) const
{
    return colors_.at(size_t(documentPosition));
}

std::vector<Color> DocumentColors::textColors(const QTextDocument& document, QStringView text,
                                              qint32 from, qint32 to) const
{
    std::vector<Color> colors;
    colors.reserve(size_t(std::max(to - from, 0)));
    for (int at = DocumentPosition(document, from); from < to; ++from) {
        // An LF shares its separator with the CR before it.
        const bool sharesSeparator = text[from] == u'\n' && from > 0 && text[from - 1] == u'\r';
        colors.push_back(colors_[size_t(sharesSeparator ? at - 1 : at++)]);
    }
    return colors;
}

bool DocumentColors::fillDocument(int start, int end, Color color)
{
    const auto first = colors_.begin() + start;
    const auto last = colors_.begin() + end;
    const auto differs = std::find_if(first, last, [color](Color shown) { return shown != color; });
    std::fill(differs, last, color);
    return differs != last;
}

bool DocumentColors::fill(const QTextDocument& document, qint32 start, qint32 end, Color color)
{
    return fillDocument(DocumentPosition(document, start), DocumentPosition(document, end), color);
}

bool DocumentColors::apply(const QTextDocument& document, std::span<const ColorRun> runs)
{
    if (runs.empty())
        return false;
    const qint32 length = TextLength(document);
    PositionWalk documentPosition(document, std::clamp(runs.front().start, 0, length));
    bool changed = false;
    for (const ColorRun& run : runs) {
        const qint32 start = std::clamp(run.start, 0, length);
        const qint32 end = std::clamp(qint64(start) + std::max(run.length, 0), qint64(start), qint64(length));
        // A run of a lone LF leaves its line end alone: the separator goes with the CR.
        const int documentStart = documentPosition(start);
        changed |= fillDocument(documentStart, std::max(documentStart, documentPosition(end)), run.color);
    }
    return changed;
}

QList<QTextLayout::FormatRange> DocumentColors::formats(const QTextBlock& block) const
{
    QList<QTextLayout::FormatRange> formats;
    const int first = block.position();
    const int end = first + block.length() - 1;
    for (int start = first; start < end;) {
        const Color color = colors_[size_t(start)];
        const int runEnd = int(std::find_if(colors_.begin() + start, colors_.begin() + end,
                                            [color](Color c) { return c != color; })
                               - colors_.begin());
        QTextLayout::FormatRange range{start - first, runEnd - start, {}};
        range.format.setForeground(ToQColor(color));
        formats.append(range);
        start = runEnd;
    }
    return formats;
}

bool AscendingAndDisjoint(std::span<const ColorRun> runs)
{
    for (size_t i = 1; i < runs.size(); ++i) {
        if (qint64(runs[i].start) < qint64(runs[i - 1].start) + std::max(runs[i - 1].length, 0))
            return false;
    }
    return true;
}

}  // namespace platform
