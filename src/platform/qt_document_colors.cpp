#include "platform/qt_document_colors.h"

#include <QTextBlock>
#include <algorithm>
#include <optional>

#include "platform/qt_color.h"

namespace platform {

DocumentColors::Block::Block(std::span<const Color> colors) : length_(qint32(colors.size()))
{
    for (const Color color : colors)
        append(runs_, {1, color});
}

void DocumentColors::Block::append(std::vector<Run>& runs, Run run)
{
    if (run.length <= 0)
        return;
    if (!runs.empty() && runs.back().color == run.color)
        runs.back().length += run.length;
    else
        runs.push_back(run);
}

void DocumentColors::Block::appendPart(std::vector<Run>& runs, qint32 from, qint32 to) const
{
    qint32 start = 0;
    for (const Run& run : runs_) {
        append(runs, {std::min(start + run.length, to) - std::max(start, from), run.color});
        start += run.length;
    }
}

void DocumentColors::Block::appendTo(std::vector<Color>& colors, qint32 from, qint32 to) const
{
    std::vector<Run> part;
    appendPart(part, from, to);
    for (const Run& run : part)
        colors.insert(colors.end(), size_t(run.length), run.color);
}

bool DocumentColors::Block::holds(qint32 from, qint32 to, Color color) const
{
    qint32 start = 0;
    for (auto run = runs_.begin(); run != runs_.end() && start < to; start += (run++)->length) {
        if (start + run->length > from && run->color != color)
            return false;
    }
    return true;
}

bool DocumentColors::Block::fill(qint32 from, qint32 to, Color color)
{
    from = std::max(from, 0);
    to = std::min(to, length_);
    if (holds(from, to, color))
        return false;
    std::vector<Run> runs;
    runs.reserve(runs_.size() + 2);
    appendPart(runs, 0, from);
    append(runs, {to - from, color});
    appendPart(runs, to, length_);
    runs_ = std::move(runs);
    return true;
}

DocumentColors::DocumentColors(const BoxText& text) : text_(text)
{
    reset({});
}

void DocumentColors::reset(std::span<const Color> colors)
{
    blocks_.clear();
    blocks_.reserve(size_t(text_.document().blockCount()));
    std::vector<Color> padding;
    size_t start = 0;
    for (QTextBlock block = text_.document().begin(); block.isValid(); block = block.next()) {
        const auto length = size_t(BoxText::TextLength(block));
        const std::span<const Color> given = colors.subspan(std::min(start, colors.size()));
        if (given.size() >= length) {
            blocks_.emplace_back(given.first(length));
        } else {
            padding.assign(given.begin(), given.end());
            padding.resize(length, 0);
            blocks_.emplace_back(padding);
        }
        start += length;
    }
}

void DocumentColors::follow(int position, int added, std::span<const Color> colors)
{
    // The final separator is no character of the text.
    const int end = std::min(position + added, text_.document().characterCount() - 1);
    const QTextBlock first = text_.document().findBlock(position);
    const QTextBlock last = text_.document().findBlock(end);
    const auto index = size_t(first.blockNumber());
    const size_t newCount = size_t(last.blockNumber()) - index + 1;
    const size_t oldCount = newCount + blocks_.size() - size_t(text_.document().blockCount());

    // The colours of the blocks the change touched, from their old colours with the change in.
    std::vector<Color> touched;
    for (size_t i = index; i < index + oldCount; ++i)
        blocks_[i].appendTo(touched, 0, blocks_[i].length());
    qint32 newLength = 0;
    for (QTextBlock block = first; block != last.next(); block = block.next())
        newLength += BoxText::TextLength(block);
    const qint32 start = position - first.position();
    const qint32 addedText = text_.TextPosition(end) - text_.TextPosition(position);
    const qint32 removedText = std::clamp(qint32(touched.size()) - newLength + addedText, 0,
                                          std::max(qint32(touched.size()) - start, 0));
    const auto at = touched.begin() + std::min(start, qint32(touched.size()));
    const auto kept = touched.insert(touched.erase(at, at + removedText), size_t(addedText), 0);
    if (colors.size() == size_t(addedText)) {
        std::copy(colors.begin(), colors.end(), kept);
    } else {
        // The first character stands before nothing: what follows it gives the colour.
        const auto after = kept + addedText;
        std::optional<Color> neighbour;
        if (kept != touched.begin())
            neighbour = kept[-1];
        else if (index > 0)
            neighbour = blocks_[index - 1].runs().back().color;
        else if (after != touched.end())
            neighbour = *after;
        else if (index + oldCount < blocks_.size() && !blocks_[index + oldCount].runs().empty())
            neighbour = blocks_[index + oldCount].runs().front().color;
        std::fill(kept, after, neighbour.value_or(0));
    }
    touched.resize(size_t(newLength), 0);

    std::vector<Block> changed;
    changed.reserve(newCount);
    qint32 from = 0;
    for (QTextBlock block = first; block != last.next(); block = block.next()) {
        changed.emplace_back(std::span(touched).subspan(size_t(from), size_t(BoxText::TextLength(block))));
        from += BoxText::TextLength(block);
    }
    // Only a change of the block count moves the blocks after it.
    if (newCount > oldCount)
        blocks_.insert(blocks_.begin() + qsizetype(index + oldCount), newCount - oldCount, Block());
    else
        blocks_.erase(blocks_.begin() + qsizetype(index + newCount), blocks_.begin() + qsizetype(index + oldCount));
    std::move(changed.begin(), changed.end(), blocks_.begin() + qsizetype(index));
}

std::vector<Color> DocumentColors::colors(qint32 from, qint32 to) const
{
    std::vector<Color> colors;
    colors.reserve(size_t(std::max(to - from, 0)));
    if (from >= to)
        return colors;
    for (BlockStart at = seek({0, 0}, from); at.index < blocks_.size() && at.position < to;
         at = {at.index + 1, at.position + blocks_[at.index].length()}) {
        const Block& block = blocks_[at.index];
        block.appendTo(colors, std::max(from - at.position, 0), std::min(to - at.position, block.length()));
    }
    return colors;
}

bool DocumentColors::fill(qint32 start, qint32 end, Color color)
{
    const qint32 from = std::max(start, 0);
    const ColorRun run{from, std::max(end, from) - from, color};
    return apply(std::span(&run, 1));
}

bool DocumentColors::apply(std::span<const ColorRun> runs)
{
    const qint32 length = text_.TextLength();
    bool changed = false;
    BlockStart at{0, 0};
    for (const ColorRun& run : runs) {
        const qint32 start = std::clamp(run.start, 0, length);
        const auto end = qint32(std::clamp<qint64>(qint64(run.start) + run.length, start, length));
        if (start == end)
            continue;
        // The walk stops at the run's last block, where the next run usually starts.
        for (at = seek(at, start);; at = {at.index + 1, at.position + blocks_[at.index].length()}) {
            changed |= blocks_[at.index].fill(start - at.position, end - at.position, run.color);
            if (at.position + blocks_[at.index].length() >= end || at.index + 1 == blocks_.size())
                break;
        }
    }
    return changed;
}

DocumentColors::BlockStart DocumentColors::seek(BlockStart at, qint32 textPosition) const
{
    if (textPosition < at.position) {
        const QTextBlock block = text_.BlockAt(textPosition);
        at = {size_t(block.blockNumber()), text_.TextPosition(block.position())};
    }
    while (at.index + 1 < blocks_.size() && at.position + blocks_[at.index].length() <= textPosition)
        at = {at.index + 1, at.position + blocks_[at.index].length()};
    return at;
}

const DocumentColors::Block& DocumentColors::blockOf(const QTextBlock& block) const
{
    return blocks_[size_t(block.blockNumber())];
}

QList<QTextLayout::FormatRange> DocumentColors::formats(const QTextBlock& block) const
{
    QList<QTextLayout::FormatRange> formats;
    // The block's own characters, without its line end's.
    const qint32 shown = block.length() - 1;
    qint32 start = 0;
    for (const Run& run : blockOf(block).runs()) {
        if (start >= shown)
            break;
        QTextLayout::FormatRange range{start, std::min(run.length, shown - start), {}};
        range.format.setForeground(ToQColor(run.color));
        formats.append(range);
        start += run.length;
    }
    return formats;
}

}  // namespace platform
