#include "platform/qt_document_colors.h"

#include <algorithm>

#include "platform/qt_color.h"

namespace platform {

void DocumentColors::follow(const TextChange& change, std::span<const Color> colors)
{
    const auto at = colors_.begin() + change.start;
    const qint32 removed = std::clamp(change.removed, 0, qint32(colors_.size()) - change.start);
    const auto kept = colors_.insert(colors_.erase(at, at + removed), size_t(change.added), 0);
    if (colors.size() == size_t(change.added))
        std::copy(colors.begin(), colors.end(), kept);
    else if (kept != colors_.begin() || kept + change.added != colors_.end())
        // The first character stands before nothing: what follows it gives the colour.
        std::fill_n(kept, change.added, kept != colors_.begin() ? kept[-1] : kept[change.added]);
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

QList<QTextLayout::FormatRange> DocumentColors::formats(qint32 first, int length) const
{
    QList<QTextLayout::FormatRange> formats;
    const auto end = colors_.begin() + first + length;
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
