#include "platform/qt_rich_text_box.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPrinter>
#include <QScopedValueRollback>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <algorithm>
#include <optional>
#include <utility>

#include "platform/qt_color.h"
#include "platform/qt_document_colors.h"
#include "platform/qt_twips.h"
#include "platform/rtf.h"
#include "platform/text_file.h"

namespace platform {
namespace {

const QString kRtfMimeType = QStringLiteral("text/rtf");

QTextCharFormat ColorFormat(Color color)
{
    QTextCharFormat format;
    format.setForeground(ToQColor(color));
    return format;
}

// The document's text with CR LF for each paragraph separator.
QString TextOf(const QTextDocument& document)
{
    const QString raw = document.toRawText();
    QString text;
    text.reserve(raw.size() + document.blockCount() - 1);
    QStringView rest(raw);
    for (qsizetype end; (end = rest.indexOf(QChar::ParagraphSeparator)) >= 0;
         rest = rest.sliced(end + 1)) {
        text += rest.first(end);
        text += u"\r\n";
    }
    text += rest;
    return text;
}

// The colour of each character at text positions [from, to).
std::vector<Color> ColorsOf(const QTextDocument& document, qint32 from, qint32 to)
{
    std::vector<Color> colors;
    colors.reserve(size_t(to - from));
    for (const ShownRun& run : ReadShownRuns(document, from, to))
        colors.insert(colors.end(), size_t(run.end - run.start), run.color.value_or(0));
    return colors;
}

// Unicode's line separator would break a line inside a paragraph, out of the text's sight.
QString LineBreaksAsParagraphs(QString text)
{
    return text.replace(QChar::LineSeparator, QChar::ParagraphSeparator);
}

// Inserts the text at the cursor, each character in its colour; without colours it takes the
// cursor's format. Every line end becomes a paragraph break.
void InsertColored(QTextCursor& cursor, const QString& text, std::span<const Color> colors)
{
    if (colors.empty()) {
        cursor.insertText(LineBreaksAsParagraphs(text));
        return;
    }
    const auto colorAt = [&](qsizetype i) { return size_t(i) < colors.size() ? colors[i] : 0; };
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = start + 1;
        while (end < text.size() && colorAt(end) == colorAt(start))
            ++end;
        cursor.insertText(LineBreaksAsParagraphs(text.mid(start, end - start)),
                          ColorFormat(colorAt(start)));
        start = end;
    }
}

bool IsEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// The Windows virtual-key code of a key: letters, digits and the blank are their upper-case
// characters; 0 for keys without one here.
int KeyCode(int key)
{
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)
        || key == Qt::Key_Space)
        return key;
    static constexpr std::pair<int, int> kCodes[] = {
        {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},     {Qt::Key_Return, 13},   {Qt::Key_Enter, 13},
        {Qt::Key_Shift, 16},    {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},     {Qt::Key_Escape, 27},
        {Qt::Key_PageUp, 33},   {Qt::Key_PageDown, 34}, {Qt::Key_End, 35},     {Qt::Key_Home, 36},
        {Qt::Key_Left, 37},     {Qt::Key_Up, 38},      {Qt::Key_Right, 39},   {Qt::Key_Down, 40},
        {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},
    };
    const auto* code = std::ranges::find(kCodes, key, &std::pair<int, int>::first);
    return code != std::end(kCodes) ? code->second : 0;
}

// Shift 1, Ctrl 2, Alt 4.
int ShiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
           | (modifiers & Qt::AltModifier ? 4 : 0);
}

// The widget behind the box. It raises the box's events, and whatever is typed, pasted or
// dropped reaches the document as the box's own operations put it there.
class ScriptEdit : public QTextEdit {
public:
    ScriptEdit(RichTextBox& box, QWidget* parent) : QTextEdit(parent), box_(box) {}

protected:
    void focusInEvent(QFocusEvent* event) override
    {
        QTextEdit::focusInEvent(event);
        if (box_.GotFocus)
            box_.GotFocus();
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (IsEnter(event->key())) {
            // Shift+Enter would break the line inside a paragraph and Ctrl+Enter would do
            // nothing; every Enter is one line break.
            QKeyEvent plain(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QTextEdit::keyPressEvent(&plain);
            event->setAccepted(plain.isAccepted());
        } else {
            QTextEdit::keyPressEvent(event);
        }
        if (box_.KeyDown)
            box_.KeyDown(KeyCode(event->key()), ShiftState(event->modifiers()));
    }

    // Copies carry the selection both as plain text, for every other program, and as RTF, so
    // that its colours come along when it is pasted back. Pasted RTF keeps its colours; plain
    // text goes in as text (an RTF document that arrives as text counts as RTF).
    bool canInsertFromMimeData(const QMimeData* source) const override
    {
        return source->hasText() || source->hasFormat(kRtfMimeType);
    }

    QMimeData* createMimeDataFromSelection() const override
    {
        auto* data = new QMimeData;
        data->setText(textCursor().selection().toPlainText());
        data->setData(kRtfMimeType, box_.SelRTF().toLatin1());
        return data;
    }

    void insertFromMimeData(const QMimeData* source) override
    {
        const QByteArray rtf = source->data(kRtfMimeType);
        box_.setSelRTF(rtf.isEmpty() ? source->text() : QString::fromLatin1(rtf));
    }

private:
    RichTextBox& box_;
};

}  // namespace

QtRichTextBox::QtRichTextBox(QWidget* parent) : edit_(new ScriptEdit(*this, parent))
{
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    edit_->setFont(font);
    edit_->setAcceptRichText(false);
    // The program's default colours, black on white, whatever the desktop's theme.
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    edit_->setPalette(palette);
    // Scripts read left to right; a fixed direction spares the layout a scan of every line
    // after each change.
    QTextOption option = edit_->document()->defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    edit_->document()->setDefaultTextOption(option);
    QObject::connect(edit_->document(), &QTextDocument::contentsChange, edit_,
                     [this](int position, int removed, int added) {
                         if (written_)
                             NoteEdit(*written_, position, removed, added);
                         if (!writingColors_)
                             text_.reset();
                     });
}

QtRichTextBox::~QtRichTextBox()
{
    delete edit_;
}

QString QtRichTextBox::Text() const
{
    // Enter reads it three times, with only colours written in between.
    if (!text_)
        text_ = TextOf(*edit_->document());
    return *text_;
}

qint32 QtRichTextBox::SelStart() const
{
    return TextPosition(*edit_->document(), edit_->textCursor().selectionStart());
}

void QtRichTextBox::setSelStart(qint32 start)
{
    const QTextDocument& document = *edit_->document();
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(DocumentPosition(document, std::clamp(start, 0, TextLength(document))));
    edit_->setTextCursor(cursor);
}

qint32 QtRichTextBox::SelLength() const
{
    const QTextCursor cursor = edit_->textCursor();
    return TextPosition(*edit_->document(), cursor.selectionEnd()) - SelStart();
}

void QtRichTextBox::setSelLength(qint32 length)
{
    const QTextDocument& document = *edit_->document();
    const qint32 start = SelStart();
    const qint32 end = start + std::clamp(length, 0, TextLength(document) - start);
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(DocumentPosition(document, start));
    cursor.setPosition(DocumentPosition(document, end), QTextCursor::KeepAnchor);
    edit_->setTextCursor(cursor);
}

void QtRichTextBox::setSelColor(Color color)
{
    const QScopedValueRollback writingColors(writingColors_, true);
    QTextCursor cursor = edit_->textCursor();
    cursor.mergeCharFormat(ColorFormat(color));
}

QString QtRichTextBox::SelRTF() const
{
    const QString text = Text();
    const qint32 start = SelStart();
    const qint32 end = start + SelLength();
    const std::vector<Color> colors = ColorsOf(*edit_->document(), start, end);
    return QString::fromLatin1(WriteRtf(QStringView(text).sliced(start, end - start), colors));
}

void QtRichTextBox::setSelRTF(const QString& rtfOrPlainText)
{
    const QByteArray bytes = EncodeText(rtfOrPlainText);
    if (!LooksLikeRtf(bytes)) {
        replaceSelection(rtfOrPlainText, {});
        return;
    }
    const ColoredText rich = ReadRtf(bytes);
    replaceSelection(rich.text, rich.colors);
}

void QtRichTextBox::setSelText(const QString& text)
{
    replaceSelection(text, {});
}

void QtRichTextBox::replaceSelection(const QString& text, std::span<const Color> colors)
{
    QTextCursor cursor = edit_->textCursor();
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    InsertColored(cursor, text, colors);
    cursor.endEditBlock();
    edit_->setTextCursor(cursor);
}

Status QtRichTextBox::SelPrint(PrinterHandle* handle)
{
    QPrinter* printer = PrinterOf(handle);
    if (!printer)
        return Status::Failed(QStringLiteral("No printer has been chosen."));
    // What is printed follows the selection alone, whatever range the dialog showed.
    printer->setPrintRange(edit_->textCursor().hasSelection() ? QPrinter::Selection
                                                               : QPrinter::AllPages);
    printer->setPageRanges({});
    edit_->print(printer);
    if (printer->printerState() == QPrinter::Error) {
        const QString where = printer->outputFileName().isEmpty() ? printer->printerName()
                                                                  : printer->outputFileName();
        return Status::Failed(QStringLiteral("The script could not be printed on %1.").arg(where));
    }
    return Status::Ok();
}

Status QtRichTextBox::LoadFile(const QString& path)
{
    QByteArray bytes;
    if (Status read = ReadFileBytes(path, bytes); !read)
        return read;
    QTextDocument& document = *edit_->document();
    // The caret leaves the document while it is replaced: left in it, it would be pushed to the
    // end, and putting it back at the start would lay the whole text out at once.
    edit_->setTextCursor(QTextCursor());
    // A load is not a step to undo.
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    // Cleared and filled in one edit block, the text is laid out lazily, as by setPlainText.
    cursor.beginEditBlock();
    document.clear();
    cursor.setCharFormat(ColorFormat(0));
    if (LooksLikeRtf(bytes)) {
        const ColoredText rich = ReadRtf(bytes);
        InsertColored(cursor, rich.text, rich.colors);
    } else {
        InsertColored(cursor, DecodeText(bytes), {});
    }
    cursor.endEditBlock();
    document.setUndoRedoEnabled(true);
    edit_->setTextCursor(QTextCursor(&document));
    written_.reset();
    return Status::Ok();
}

void QtRichTextBox::setBackColor(Color color)
{
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Base, ToQColor(color));
    edit_->setPalette(palette);
}

Status QtRichTextBox::setRightMargin(qint32 twips)
{
    if (twips < 0)
        return Status::Failed(QStringLiteral("The right margin cannot be negative."));
    // A margin of 0 is none: lines wrap at the box's edge.
    const auto mode = twips == 0 ? QTextEdit::WidgetWidth : QTextEdit::FixedPixelWidth;
    const int pixels = TwipsToPixelsX(twips);
    // Each change lays the whole text out again; a resize repeats the same margin often.
    if (edit_->lineWrapMode() != mode || edit_->lineWrapColumnOrWidth() != pixels) {
        edit_->setLineWrapMode(mode);
        edit_->setLineWrapColumnOrWidth(pixels);
    }
    return Status::Ok();
}

void QtRichTextBox::setVisible(bool visible)
{
    edit_->setVisible(visible);
}

Status QtRichTextBox::Move(qint32 left, qint32 top, qint32 width, qint32 height)
{
    if (width < 0 || height < 0)
        return Status::Failed(QStringLiteral("A text box cannot have a negative size."));
    edit_->setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
                       TwipsToPixelsY(height));
    return Status::Ok();
}

qint32 QtRichTextBox::Width() const
{
    return qRound(PixelsToTwipsX(edit_->width()));
}

void QtRichTextBox::ApplyColorRuns(std::span<const ColorRun> runs)
{
    QTextDocument& document = *edit_->document();
    // After a load there is nothing to undo, and the colours alone must not become a step.
    const bool undoable = document.availableUndoSteps() > 0;
    document.setUndoRedoEnabled(undoable);
    QTextCursor block(&document);
    block.joinPreviousEditBlock();
    std::optional<WrittenColors> written;
    if (AscendingAndDisjoint(runs))
        written = WriteColorRuns(document, runs, written_);
    else
        RichTextBox::ApplyColorRuns(runs);
    {
        const QScopedValueRollback writingColors(writingColors_, true);
        block.endEditBlock();
    }
    document.setUndoRedoEnabled(true);
    written_ = std::move(written);
}

PrinterHandle* HandleOf(QPrinter* printer)
{
    return reinterpret_cast<PrinterHandle*>(printer);
}

QPrinter* PrinterOf(PrinterHandle* handle)
{
    return reinterpret_cast<QPrinter*>(handle);
}

}  // namespace platform
