#include "platform/qt_box_text.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace platform {
namespace {

// Lines longer than this are cut into pieces.
constexpr qsizetype kPieceLength = 2048;
// A block format property: the block continues the line of the one before.
constexpr int kContinuesLine = QTextFormat::UserProperty;

bool ContinuesLine(const QTextBlock& block)
{
    return block.blockFormat().boolProperty(kContinuesLine);
}

QTextBlockFormat PieceFormat(bool continuesLine)
{
    QTextBlockFormat format;
    if (continuesLine)
        format.setProperty(kContinuesLine, true);
    return format;
}

// A line end other than a CR: Unicode's line separator would break a line inside a paragraph,
// out of the text's sight, and the document itself takes the frame marks for paragraph breaks.
bool IsLineEnd(QChar c)
{
    return c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator
           || c == QChar(0xFDD0) || c == QChar(0xFDD1);
}

// The length of a full piece of a line that goes on: up to its last blank near the end, so that
// the cut looks like a wrap; else the whole piece, but never half of a surrogate pair.
qsizetype PieceLength(QStringView piece)
{
    for (qsizetype length = piece.size(); length > piece.size() * 3 / 4; --length) {
        if (piece[length - 1] == u' ' || piece[length - 1] == u'\t')
            return length;
    }
    return piece.size() - (piece.back().isHighSurrogate() ? 1 : 0);
}

}  // namespace

DocumentText ToDocumentText(QStringView text, std::span<const Color> colors)
{
    DocumentText document;
    document.text.reserve(text.size() + text.size() / (kPieceLength / 2));
    const bool colored = !colors.empty();
    const auto colorAt = [&](qsizetype i) { return size_t(i) < colors.size() ? colors[size_t(i)] : 0; };
    int separators = 0;
    qsizetype pieceStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool crLf = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        const bool lineEnd = text[i] == u'\r' || IsLineEnd(text[i]);
        if (!lineEnd && document.text.size() - pieceStart == kPieceLength) {
            pieceStart += PieceLength(QStringView(document.text).sliced(pieceStart));
            document.text.insert(pieceStart++, QChar::ParagraphSeparator);
            document.cuts.push_back(++separators);
        }
        document.text += lineEnd ? QChar::ParagraphSeparator : text[i];
        if (lineEnd) {
            pieceStart = document.text.size();
            ++separators;
        }
        if (colored)
            document.colors.push_back(colorAt(i));
        if (colored && lineEnd)
            document.colors.push_back(colorAt(crLf ? i + 1 : i));
        i += crLf;
    }
    return document;
}

QString TextOf(QStringView held, QTextBlock block)
{
    QString text;
    text.reserve(held.size() + held.count(QChar::ParagraphSeparator));
    for (qsizetype end; (end = held.indexOf(QChar::ParagraphSeparator)) >= 0; held = held.sliced(end + 1)) {
        block = block.next();
        text += held.first(end);
        if (!ContinuesLine(block))
            text += u"\r\n";
    }
    return text += held;
}

QString TextOf(const QTextDocument& document)
{
    return TextOf(document.toRawText(), document.firstBlock());
}

qint32 BoxText::TextPosition(int documentPosition) const
{
    const int blockNumber = document_.findBlock(documentPosition).blockNumber();
    return documentPosition + blockNumber - 2 * cutsUpTo(blockNumber);
}

int BoxText::DocumentPosition(qint32 textPosition) const
{
    const int blockNumber = BlockAt(textPosition).blockNumber();
    return textPosition - blockNumber + 2 * cutsUpTo(blockNumber);
}

QTextBlock BoxText::BlockAt(qint32 textPosition) const
{
    const auto textStart = [this](int blockNumber) {
        return document_.findBlockByNumber(blockNumber).position() + blockNumber - 2 * cutsUpTo(blockNumber);
    };
    int low = 0;
    int high = document_.blockCount() - 1;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (textStart(middle) <= textPosition)
            low = middle;
        else
            high = middle - 1;
    }
    return document_.findBlockByNumber(low);
}

qint32 BoxText::TextLength(const QTextBlock& block)
{
    const QTextBlock next = block.next();
    return block.length() - 1 + (next.isValid() && !ContinuesLine(next) ? 2 : 0);
}

TextChange BoxText::follow(int position, int added)
{
    // The final separator is no character of the text.
    const int end = std::min(position + added, document_.characterCount() - 1);
    followCuts(position, end);
    QTextCursor range(&document_);
    range.setPosition(position);
    range.setPosition(end, QTextCursor::KeepAnchor);
    const QString inserted = TextOf(range.selectedText(), document_.findBlock(position));
    const TextChange change{TextPosition(position),
                            TextLength() - documentTextLength() + qint32(inserted.size()),
                            qint32(inserted.size())};
    splice(change, inserted);
    return change;
}

const QString& BoxText::text() const
{
    if (pending_) {
        text_.replace(pending_->start, pending_->removed, pending_->inserted);
        pending_.reset();
    }
    return text_;
}

qint32 BoxText::TextLength() const
{
    return qint32(text_.size()) + (pending_ ? qint32(pending_->inserted.size()) - pending_->removed : 0);
}

void BoxText::splice(const TextChange& change, const QString& inserted)
{
    if (pending_) {
        Splice& pending = *pending_;
        // Where the two meet: [from, to) of the text with the pending change in.
        const qint32 pendingEnd = pending.start + qint32(pending.inserted.size());
        const qint32 from = std::min(change.start, pending.start);
        const qint32 to = std::max(change.start + change.removed, pendingEnd);
        if (change.start <= pendingEnd && change.start + change.removed >= pending.start) {
            const qint32 after = pending.start + pending.removed;  // in text_
            QString joined = text_.sliced(from, pending.start - from) + pending.inserted
                             + text_.sliced(after, to - pendingEnd);
            joined.replace(change.start - from, change.removed, inserted);
            pending = {from, after + to - pendingEnd - from, std::move(joined)};
            return;
        }
        (void)text();
    }
    pending_ = Splice{change.start, change.removed, inserted};
}

void BoxText::followCuts(int position, int end)
{
    const QTextBlock first = document_.findBlock(position);
    const int last = document_.findBlock(end).blockNumber();
    const int grown = document_.blockCount() - blockCount_;
    blockCount_ = document_.blockCount();
    auto after = cuts_.erase(std::ranges::lower_bound(cuts_, first.blockNumber()),
                             std::ranges::upper_bound(cuts_, last - grown));
    if (grown != 0)
        std::for_each(after, cuts_.end(), [grown](int& blockNumber) { blockNumber += grown; });
    std::vector<int> found;
    int number = first.blockNumber();
    for (QTextBlock block = first; number <= last; block = block.next(), ++number) {
        if (ContinuesLine(block))
            found.push_back(number);
    }
    cuts_.insert(after, found.begin(), found.end());
}

void BoxText::reload(const std::vector<int>& cuts)
{
    const bool undoable = document_.isUndoRedoEnabled();
    document_.setUndoRedoEnabled(false);
    QTextCursor cursor(&document_);
    cursor.beginEditBlock();
    for (const int blockNumber : cuts) {
        cursor.setPosition(document_.findBlockByNumber(blockNumber).position());
        cursor.setBlockFormat(PieceFormat(true));
    }
    cursor.endEditBlock();
    document_.setUndoRedoEnabled(undoable);
    cuts_ = cuts;
    blockCount_ = document_.blockCount();
    text_ = TextOf(document_);
    pending_.reset();
}

void BoxText::replace(QTextCursor& cursor, const DocumentText& inserted) const
{
    cursor = acrossCuts(cursor);
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    auto cut = inserted.cuts.begin();
    int separators = 0;
    QStringView rest(inserted.text);
    for (qsizetype end; (end = rest.indexOf(QChar::ParagraphSeparator)) >= 0; rest = rest.sliced(end + 1)) {
        cursor.insertText(rest.first(end).toString());
        const bool continuesLine = cut != inserted.cuts.end() && *cut == ++separators;
        cut += continuesLine;
        cursor.insertBlock(PieceFormat(continuesLine));
    }
    cursor.insertText(rest.toString());
    cursor.endEditBlock();
}

std::optional<QTextCursor> BoxText::removedByKey(QTextCursor cursor, bool forward) const
{
    if (!cursor.hasSelection())
        cursor = withCharacterBeside(acrossCuts(cursor), forward);
    cursor = acrossCuts(cursor);
    const auto firstCut = std::ranges::upper_bound(cuts_, document_.findBlock(cursor.selectionStart()).blockNumber());
    if (firstCut == cuts_.end() || *firstCut > document_.findBlock(cursor.selectionEnd()).blockNumber())
        return std::nullopt;
    return cursor;
}

QTextCursor BoxText::withCharacterBeside(QTextCursor cursor, bool after) const
{
    const auto pairAt = [this](int position) {
        return document_.characterAt(position).isHighSurrogate()
               && document_.characterAt(position + 1).isLowSurrogate();
    };
    int start = cursor.selectionStart();
    int end = cursor.selectionEnd();
    if (after && end < document_.characterCount() - 1)
        end += pairAt(end) ? 2 : 1;
    if (!after && start > 0)
        start -= start > 1 && pairAt(start - 2) ? 2 : 1;
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    return cursor;
}

QTextCursor BoxText::acrossCuts(QTextCursor cursor) const
{
    int start = cursor.selectionStart();
    int end = cursor.selectionEnd();
    for (QTextBlock block = document_.findBlock(start); start == block.position() && ContinuesLine(block);
         block = block.previous()) {
        --start;
    }
    for (QTextBlock block = document_.findBlock(end);
         end == block.position() + block.length() - 1 && ContinuesLine(block.next()); block = block.next()) {
        ++end;
    }
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    return cursor;
}

qint32 BoxText::cutsUpTo(int blockNumber) const
{
    return qint32(std::ranges::upper_bound(cuts_, blockNumber) - cuts_.begin());
}

qint32 BoxText::documentTextLength() const
{
    return document_.characterCount() - 1 + document_.blockCount() - 1 - 2 * qint32(cuts_.size());
}

}  // namespace platform
