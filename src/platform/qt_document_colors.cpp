#include "platform/qt_document_colors.h"

#include <QTextBlock>
#include <QTextCursor>
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

// Characters at [start, end) that are to be given a colour.
struct Write {
    int start;
    int end;
    Color color;
};

// The colour each of the document's formats shows, by format index.
class ShownColors {
public:
    explicit ShownColors(const QTextDocument& document)
    {
        for (const QTextFormat& format : document.allFormats()) {
            colors_.push_back(format.hasProperty(QTextFormat::ForegroundBrush)
                                  ? std::optional(FromQColor(format.foreground().color()))
                                  : std::nullopt);
        }
    }

    std::optional<Color> operator[](int formatIndex) const { return colors_.at(size_t(formatIndex)); }

private:
    std::vector<std::optional<Color>> colors_;
};

// Characters of one format at text positions [start, end): a piece of a line, or a line end.
struct Stretch {
    qint32 start;
    qint32 end;
    int formatIndex;
};

// Calls visit(stretch) for the stretches in order, from the line holding text position from
// until the line that starts at or after to. One walk over the lines.
template <typename Visit>
void ForEachStretch(const QTextDocument& document, qint32 from, qint32 to, Visit visit)
{
    QTextBlock block = LineAt(document, from);
    qint32 position = block.position() + block.blockNumber();
    for (; block.isValid() && position < to; block = block.next()) {
        for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
            const QTextFragment fragment = piece.fragment();
            const qint32 end = position + fragment.length();
            visit(Stretch{position, end, fragment.charFormatIndex()});
            position = end;
        }
        if (const QTextBlock next = block.next(); next.isValid()) {
            // A line's character format is that of the separator before it.
            visit(Stretch{position, position + 2, next.charFormatIndex()});
            position += 2;
        }
    }
}

// Appends the run, joined to the last one when it goes on in the same colour.
void Append(std::vector<ShownRun>& runs, const ShownRun& run)
{
    if (!runs.empty() && runs.back().end == run.start && runs.back().color == run.color)
        runs.back().end = run.end;
    else
        runs.push_back(run);
}

// The written colours at the text positions [from, to) they were written to, moved by shift.
void AppendWritten(std::vector<ShownRun>& shown, const WrittenColors& written, qint32 from,
                   qint32 to, qint32 shift)
{
    for (const ColorRun& run : written.runs) {
        const qint32 start = std::max(from, run.start);
        const qint32 end = std::min(to, run.start + run.length);
        if (start < end)
            Append(shown, {start + shift, end + shift, run.color & 0xFFFFFF});
    }
}

// What the whole text shows, read from the document where it was edited since the colours
// written before, and taken from those elsewhere.
std::vector<ShownRun> Shown(const QTextDocument& document, const std::optional<WrittenColors>& before)
{
    const qint32 length = TextLength(document);
    if (!before)
        return ReadShownRuns(document, 0, length);
    const int last = document.characterCount() - 1;
    const auto [editedStart, editedEnd] = before->edited.value_or(std::pair(0, 0));
    const qint32 readFrom = TextPosition(document, std::clamp(editedStart, 0, last));
    const qint32 readTo = TextPosition(document, std::clamp(editedEnd, 0, last));
    const qint32 shift = length - before->textLength;
    std::vector<ShownRun> shown;
    AppendWritten(shown, *before, 0, readFrom, 0);
    for (const ShownRun& run : ReadShownRuns(document, readFrom, readTo))
        Append(shown, run);
    AppendWritten(shown, *before, readTo - shift, before->textLength, shift);
    return shown;
}

// The runs inside the text, empty ones left out.
std::vector<ColorRun> Clamped(std::span<const ColorRun> runs, qint32 length)
{
    std::vector<ColorRun> clamped;
    clamped.reserve(runs.size());
    for (const ColorRun& run : runs) {
        const qint32 start = std::clamp(run.start, 0, length);
        const qint32 runLength = std::clamp(run.length, 0, length - start);
        if (runLength > 0)
            clamped.push_back({start, runLength, run.color});
    }
    return clamped;
}

bool Covers(const std::vector<ColorRun>& runs, qint32 length)
{
    qint32 end = 0;
    for (const ColorRun& run : runs) {
        if (run.start != end)
            return false;
        end += run.length;
    }
    return end == length;
}

// The parts of the runs where the text shows another colour, in text positions, neighbours of
// one colour joined. Both lists are ascending.
std::vector<Write> Differences(const std::vector<ShownRun>& shown, const std::vector<ColorRun>& runs)
{
    std::vector<Write> writes;
    size_t first = 0;  // the first shown run that does not end before the run
    for (const ColorRun& run : runs) {
        const qint32 runEnd = run.start + run.length;
        while (first < shown.size() && shown[first].end <= run.start)
            ++first;
        for (size_t i = first; i < shown.size() && shown[i].start < runEnd; ++i) {
            if (shown[i].color == (run.color & 0xFFFFFF))
                continue;
            const qint32 start = std::max(run.start, shown[i].start);
            const qint32 end = std::min(runEnd, shown[i].end);
            if (!writes.empty() && writes.back().end == start && writes.back().color == run.color)
                writes.back().end = end;
            else
                writes.push_back({start, end, run.color});
        }
    }
    return writes;
}

// The writes in document positions, in one walk over the lines from the first write's.
std::vector<Write> ToDocument(const QTextDocument& document, const std::vector<Write>& textWrites)
{
    std::vector<Write> writes;
    if (textWrites.empty())
        return writes;
    QTextBlock block = LineAt(document, textWrites.front().start);
    int line = block.blockNumber();
    qint32 lineStart = block.position() + line;  // in text positions
    const auto documentPosition = [&](qint32 textPosition) {
        for (QTextBlock next = block.next(); next.isValid(); next = next.next()) {
            const qint32 nextStart = lineStart + block.length() + 1;  // CR LF for the separator
            if (nextStart > textPosition)
                break;
            block = next;
            ++line;
            lineStart = nextStart;
        }
        return textPosition - line;
    };
    for (const Write& write : textWrites) {
        const int start = documentPosition(write.start);
        const int end = documentPosition(write.end);
        if (start >= end)
            continue;  // a lone LF: its separator goes with the CR
        if (!writes.empty() && writes.back().end == start && writes.back().color == write.color)
            writes.back().end = end;
        else
            writes.push_back({start, end, write.color});
    }
    return writes;
}

void Paint(QTextDocument& document, const std::vector<Write>& writes)
{
    QTextCursor cursor(&document);
    QTextCharFormat format;
    for (const Write& write : writes) {
        cursor.setPosition(write.start);
        cursor.setPosition(write.end, QTextCursor::KeepAnchor);
        format.setForeground(ToQColor(write.color));
        cursor.mergeCharFormat(format);
    }
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

std::vector<ShownRun> ReadShownRuns(const QTextDocument& document, qint32 from, qint32 to)
{
    const ShownColors shownColors(document);
    std::vector<ShownRun> runs;
    ForEachStretch(document, from, to, [&](const Stretch& stretch) {
        const qint32 start = std::max(from, stretch.start);
        const qint32 end = std::min(to, stretch.end);
        if (start < end)
            Append(runs, {start, end, shownColors[stretch.formatIndex]});
    });
    return runs;
}

void NoteEdit(WrittenColors& written, int position, int removed, int added)
{
    const int end = position + added;
    if (!written.edited) {
        written.edited = {position, end};
        return;
    }
    // Positions after the change move with it; those in the part it removed fall into it.
    const auto moved = [&](int p, int inside) {
        return p <= position ? p : p >= position + removed ? p + added - removed : inside;
    };
    auto& [start, stop] = *written.edited;
    start = std::min(moved(start, position), position);
    stop = std::max(moved(stop, end), end);
}

std::optional<WrittenColors> WriteColorRuns(QTextDocument& document, std::span<const ColorRun> runs,
                                            const std::optional<WrittenColors>& before)
{
    const qint32 length = TextLength(document);
    std::vector<ColorRun> clamped = Clamped(runs, length);
    Paint(document, ToDocument(document, Differences(Shown(document, before), clamped)));
    if (!Covers(clamped, length))
        return std::nullopt;
    return WrittenColors{std::move(clamped), length, std::nullopt};
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
