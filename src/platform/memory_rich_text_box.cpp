#include "platform/memory_rich_text_box.h"

#include <algorithm>

#include "platform/rtf.h"
#include "platform/text_file.h"

namespace platform {

namespace {

void FillFour(Color* out, Color color)
{
    out[0] = out[1] = out[2] = out[3] = color;
}

// Colour runs are mostly short, and a plain loop of unknown length is not vectorised at -O2:
// four at a time instead, the last four ending at the end and overlapping the ones before.
void Fill(Color* out, qint32 length, Color color)
{
    if (length < 4) {
        std::fill_n(out, length, color);
        return;
    }
    Color* const lastFour = out + length - 4;
    for (; out < lastFour; out += 4)
        FillFour(out, color);
    FillFour(lastFour, color);
}

}  // namespace

MemoryRichTextBox::MemoryRichTextBox(QString text, Color color)
    : text_(std::move(text)), colors_(text_.size(), color)
{
}

void MemoryRichTextBox::setSelStart(qint32 start)
{
    selStart_ = std::clamp<qint32>(start, 0, qint32(text_.size()));
    selLength_ = 0;
}

void MemoryRichTextBox::setSelLength(qint32 length)
{
    selLength_ = std::clamp<qint32>(length, 0, qint32(text_.size()) - selStart_);
}

void MemoryRichTextBox::setSelColor(Color color)
{
    countColorWrites(1);
    std::fill_n(colors_.begin() + selStart_, selLength_, color);
}

void MemoryRichTextBox::countColorWrites(int writes)
{
    if (visible_)
        colorWritesWhileVisible_ += writes;
}

// Each run is one colour write, as through the selection, but without its bookkeeping.
void MemoryRichTextBox::ApplyColorRuns(std::span<const ColorRun> runs)
{
    countColorWrites(int(runs.size()));
    const qint32 size = qint32(text_.size());
    for (const ColorRun& run : runs) {
        const qint32 start = std::clamp<qint32>(run.start, 0, size);
        Fill(colors_.data() + start, std::clamp<qint32>(run.length, 0, size - start), run.color);
    }
}

QString MemoryRichTextBox::SelRTF() const
{
    return QString::fromLatin1(WriteRtf(QStringView(text_).mid(selStart_, selLength_),
                                        std::span(colors_).subspan(selStart_, selLength_)));
}

void MemoryRichTextBox::setSelRTF(const QString& rtfOrPlainText)
{
    const QByteArray bytes = EncodeText(rtfOrPlainText);
    if (!LooksLikeRtf(bytes)) {
        setSelText(rtfOrPlainText);
        return;
    }
    ColoredText rich = ReadRtf(bytes);
    replaceSelection(rich.text, rich.colors);
}

void MemoryRichTextBox::setSelText(const QString& text)
{
    // Inserted text takes the colour of the character it follows, as in a word processor.
    const Color color = selStart_ > 0 ? colors_[selStart_ - 1] : (colors_.empty() ? 0 : colors_[0]);
    replaceSelection(text, std::vector<Color>(text.size(), color));
}

void MemoryRichTextBox::replaceSelection(const QString& text, const std::vector<Color>& colors)
{
    text_.replace(selStart_, selLength_, text);
    colors_.erase(colors_.begin() + selStart_, colors_.begin() + selStart_ + selLength_);
    colors_.insert(colors_.begin() + selStart_, colors.begin(), colors.end());
    selStart_ += qint32(text.size());
    selLength_ = 0;
}

Status MemoryRichTextBox::SelPrint(PrinterHandle*)
{
    return Status::Failed(QStringLiteral("This text box cannot print."));
}

Status MemoryRichTextBox::LoadFile(const QString& path)
{
    QByteArray bytes;
    if (Status read = ReadFileBytes(path, bytes); !read)
        return read;
    if (LooksLikeRtf(bytes)) {
        ColoredText rich = ReadRtf(bytes);
        text_ = std::move(rich.text);
        colors_ = std::move(rich.colors);
    } else {
        text_ = ToCrLf(DecodeText(bytes));
        colors_.assign(text_.size(), 0);
    }
    selStart_ = 0;
    selLength_ = 0;
    return Status::Ok();
}

Status MemoryRichTextBox::setRightMargin(qint32 twips)
{
    if (twips < 0)
        return Status::Failed(QStringLiteral("The right margin cannot be negative."));
    rightMargin_ = twips;
    return Status::Ok();
}

void MemoryRichTextBox::setVisible(bool visible)
{
    visible_ = visible;
}

Status MemoryRichTextBox::Move(qint32, qint32, qint32 width, qint32 height)
{
    if (width < 0 || height < 0)
        return Status::Failed(QStringLiteral("A text box cannot have a negative size."));
    width_ = width;
    return Status::Ok();
}

}  // namespace platform
