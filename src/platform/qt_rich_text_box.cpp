#include "platform/qt_rich_text_box.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPrinter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <tuple>
#include <utility>

#include "platform/qt_color.h"
#include "platform/qt_script_clipboard.h"
#include "platform/qt_twips.h"
#include "platform/rtf.h"
#include "platform/text_file.h"

namespace platform {
namespace {

// Inserts text without line ends at the cursor, each character in its colour.
void InsertColored(QTextCursor& cursor, QStringView text, std::span<const Color> colors)
{
    QTextCharFormat format;
    for (qsizetype start = 0; start < text.size();) {
        const auto end = std::find_if(colors.begin() + start, colors.begin() + text.size(),
                                      [&](Color color) { return color != colors[size_t(start)]; });
        const qsizetype length = end - (colors.begin() + start);
        format.setForeground(ToQColor(colors[size_t(start)]));
        cursor.insertText(text.sliced(start, length).toString(), format);
        start += length;
    }
}

// Inserts text with CR LF line ends at the cursor as the box shows it, a long line in its pieces
// (a page would otherwise lay out a line of a megabyte whole), each character in its colour.
void InsertShown(QTextCursor& cursor, QStringView text, std::span<const Color> colors)
{
    const DocumentText shown = ToDocumentText(text, {});
    auto cut = shown.cuts.begin();
    int separators = 0;
    qsizetype at = 0;  // in text
    QStringView rest(shown.text);
    for (qsizetype end; (end = rest.indexOf(QChar::ParagraphSeparator)) >= 0; rest = rest.sliced(end + 1)) {
        InsertColored(cursor, rest.first(end), colors.subspan(size_t(at), size_t(end)));
        at += end;
        const bool isCut = cut != shown.cuts.end() && *cut == ++separators;
        cut += isCut;
        if (!isCut)
            at += text.sliced(at).startsWith(u"\r\n") ? 2 : 1;
        cursor.insertBlock();
    }
    InsertColored(cursor, rest, colors.subspan(size_t(at)));
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

// Delete (true) and Backspace (false), each removing one character or the selection.
std::optional<bool> RemovalDirection(const QKeyEvent* event)
{
    if (event->matches(QKeySequence::Delete))
        return true;
    if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier))
        return false;
    return std::nullopt;
}

// A key that moves the caret, or the end of the selection, by a character or a word.
bool IsStep(const QKeyEvent* event)
{
    static constexpr QKeySequence::StandardKey kSteps[] = {
        QKeySequence::MoveToNextChar,     QKeySequence::MoveToPreviousChar, QKeySequence::SelectNextChar,
        QKeySequence::SelectPreviousChar, QKeySequence::MoveToNextWord,     QKeySequence::MoveToPreviousWord,
        QKeySequence::SelectNextWord,     QKeySequence::SelectPreviousWord,
    };
    return std::ranges::any_of(kSteps, [event](QKeySequence::StandardKey key) { return event->matches(key); });
}

// Shift 1, Ctrl 2, Alt 4.
int ShiftState(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
           | (modifiers & Qt::AltModifier ? 4 : 0);
}

// The keys of the window's Cut, Copy and Paste commands, which the box leaves to them.
bool IsClipboardKey(const QKeyEvent* event)
{
    const QKeyCombination key(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key()));
    return event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Copy)
           || event->matches(QKeySequence::Paste) || key == (Qt::SHIFT | Qt::Key_Delete)
           || key == (Qt::CTRL | Qt::Key_Insert) || key == (Qt::SHIFT | Qt::Key_Insert);
}

// The box's document layout, which lays out a line given new formats (its colours) again and
// repaints it alone. New formats are reported to the document as a change of the line's text,
// which the document would pass on with its next edit; the plain layout, told of it, takes it
// for a change of the lines after it too and repaints the whole viewport.
class ScriptLayout : public QPlainTextDocumentLayout {
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;

    void setFormats(const QTextBlock& line, const QList<QTextLayout::FormatRange>& formats)
    {
        line.layout()->setFormats(formats);
        const QScopedValueRollback reformatting(reformatted_, line);
        document()->markContentsDirty(line.position(), line.length());
    }

protected:
    void documentChanged(int from, int removed, int added) override
    {
        if (!reformatted_.isValid()) {
            QPlainTextDocumentLayout::documentChanged(from, removed, added);
            return;
        }
        // A line laid out for the first time may take more rows than it was counted for.
        const int rows = reformatted_.lineCount();
        ensureBlockLayout(reformatted_);
        if (reformatted_.lineCount() == rows)
            emit updateBlock(reformatted_);
        else
            requestUpdate();
    }

private:
    QTextBlock reformatted_;
};

}  // namespace

// The widget behind the box. It raises the box's events, gives the lines it shows their
// colours, and whatever is typed, pasted or dropped reaches the document as the box's own
// operations put it there.
class ScriptEdit : public QPlainTextEdit {
public:
    ScriptEdit(QtRichTextBox& box, QWidget* parent) : QPlainTextEdit(parent), box_(box)
    {
        auto* document = new QTextDocument(this);
        layout_ = new ScriptLayout(document);
        layout_->setPaintDevice(viewport());
        document->setDocumentLayout(layout_);
        setDocument(document);
        // Asked for whenever lines are to be repainted or scrolled into view.
        connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect) {
            if (isVisible())
                showColors();
            else
                changedWhileHidden_ += rect;
        });
    }

    // Hidden and shown again before the next paint, as around a colouring, the box repaints only
    // what changed meanwhile. Qt would repaint the area it leaves and then all of it again.
    void hideForAMoment()
    {
        if (isHidden())
            return;
        lookWhenHidden_ = look();
        changedWhileHidden_ = {};
        setUpdatesEnabled(false);
        hide();
        // Hidden, it asks for no repaint.
        setUpdatesEnabled(true);
        // Left hidden, it must not leave its picture on the window.
        QTimer::singleShot(0, this, [this] {
            if (isHidden() && parentWidget())
                parentWidget()->update(geometry());
        });
    }

    void showAfterAMoment()
    {
        const bool hiddenForAMoment = isHidden() && lookWhenHidden_;
        show();
        if (!hiddenForAMoment || look() != *std::exchange(lookWhenHidden_, std::nullopt))
            return;
        // Shown, the box and everything in it have asked to be repainted whole.
        for (QWidget* widget : findChildren<QWidget*>())
            QCoreApplication::removePostedEvents(widget, QEvent::UpdateLater);
        QCoreApplication::removePostedEvents(this, QEvent::UpdateLater);
        viewport()->update(changedWhileHidden_);
    }

    ScriptLayout& layout() const { return *layout_; }

    // Gives each line on screen the colours kept for it, before it is painted. Formats set while
    // painting would make Qt repaint the whole viewport once more.
    void showColors()
    {
        // A line given its colours asks for its repaint, which comes back here.
        if (showingColors_ || box_.loading_ || !isVisible())
            return;
        const QScopedValueRollback showing(showingColors_, true);
        qreal top = contentOffset().y();
        for (QTextBlock line = firstVisibleBlock(); line.isValid() && top <= viewport()->height();
             line = line.next()) {
            box_.showColors(line);
            top += blockBoundingRect(line).height();
        }
    }

    // 0: lines wrap at the box's edge.
    void setWrapWidth(int pixels)
    {
        wrapWidth_ = pixels;
        applyWrapWidth();
    }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride && IsClipboardKey(static_cast<QKeyEvent*>(event))) {
            event->ignore();
            return false;
        }
        return QPlainTextEdit::event(event);
    }

    void focusInEvent(QFocusEvent* event) override
    {
        QPlainTextEdit::focusInEvent(event);
        if (box_.GotFocus)
            box_.GotFocus();
    }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (IsClipboardKey(event)) {
            event->ignore();
            return;
        }
        if (IsEnter(event->key())) {
            // Shift+Enter would break the line inside a paragraph and Ctrl+Enter would do
            // nothing; every Enter is one line break. The widget's own would carry the mark of a
            // piece of a long line over to the new line.
            box_.setSelText(QStringLiteral("\r\n"));
        } else if (const std::optional<bool> forward = RemovalDirection(event);
                   !forward || !box_.removeByKey(*forward)) {
            handleKey(event);
        }
        if (box_.KeyDown)
            box_.KeyDown(KeyCode(event->key()), ShiftState(event->modifiers()));
    }

    void resizeEvent(QResizeEvent* event) override
    {
        QPlainTextEdit::resizeEvent(event);
        applyWrapWidth();
        showColors();
    }

    void showEvent(QShowEvent* event) override
    {
        QPlainTextEdit::showEvent(event);
        showColors();
    }

    // Copies carry the selection both as plain text, for every other program, and as RTF, so
    // that its colours come along when it is pasted back. Pasted RTF keeps its colours; plain
    // text goes in as text (an RTF document that arrives as text counts as RTF).
    // A drag or the box's own menu moves text as the Edit commands do.
    QMimeData* createMimeDataFromSelection() const override
    {
        const QString text = box_.Text().mid(box_.SelStart(), box_.SelLength());
        return ScriptMimeData(text, box_.SelRTF());
    }

    void insertFromMimeData(const QMimeData* source) override
    {
        box_.setSelRTF(PastedText(*source));
    }

private:
    // The widget's own handling of a key, in which a step that only crossed where a long line is
    // cut, and so moved nowhere in the text, takes one step more.
    void handleKey(QKeyEvent* event)
    {
        const int caret = textCursor().position();
        QPlainTextEdit::keyPressEvent(event);
        const int moved = textCursor().position();
        if (IsStep(event) && moved != caret && box_.text_.TextPosition(moved) == box_.text_.TextPosition(caret))
            QPlainTextEdit::keyPressEvent(event);
    }

    // What the box shows besides the lines its document asks to repaint.
    using Look = std::tuple<QSize, bool, qint64, int, int, int, int>;
    Look look() const
    {
        return {size(), hasFocus(), palette().cacheKey(), horizontalScrollBar()->value(),
                horizontalScrollBar()->maximum(), verticalScrollBar()->value(), verticalScrollBar()->maximum()};
    }

    // The widget wraps lines at its viewport's edge: a margin narrower than the viewport
    // narrows the viewport.
    void applyWrapWidth()
    {
        const int right = wrapWidth_ > 0 ? std::max(0, widthBeforeMargin() - wrapWidth_) : 0;
        if (right == viewportMargins().right())
            return;
        setViewportMargins(0, 0, right, 0);
        // The widget lays its lines out again only when it is resized itself, not when its
        // viewport narrows inside it.
        setLineWrapMode(NoWrap);
        setLineWrapMode(WidgetWidth);
    }

    // The width the viewport takes without a margin, from the widget's own size: the viewport
    // may not be laid out yet (a hidden widget is laid out when shown) or may have been cut to
    // nothing by a margin wider than the widget, and would carry that old margin into the new one.
    int widthBeforeMargin() const
    {
        const QScrollBar& bar = *verticalScrollBar();
        return contentsRect().width() - (bar.isVisibleTo(this) ? bar.sizeHint().width() : 0);
    }

    QtRichTextBox& box_;
    ScriptLayout* layout_;
    int wrapWidth_ = 0;
    bool showingColors_ = false;
    std::optional<Look> lookWhenHidden_;
    QRegion changedWhileHidden_;
};

QtRichTextBox::QtRichTextBox(QWidget* parent)
    : edit_(new ScriptEdit(*this, parent)), text_(*edit_->document()), colors_(text_)
{
    QFont font(QStringLiteral("Courier New"), 10);
    font.setStyleHint(QFont::TypeWriter);
    edit_->setFont(font);
    // The program's default colours, black on white, whatever the desktop's theme.
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Text, Qt::black);
    edit_->setPalette(palette);
    setBackColor(0xFFFFFF);
    // Beside a narrowed viewport the box shows its own background.
    edit_->setAutoFillBackground(true);
    // Scripts read left to right; a fixed direction spares the layout a scan of every line.
    QTextOption option = document().defaultTextOption();
    option.setTextDirection(Qt::LeftToRight);
    document().setDefaultTextOption(option);
    QObject::connect(&document(), &QTextDocument::contentsChange, edit_,
                     [this](int position, int /*removed*/, int added) {
                         if (loading_)
                             return;
                         text_.follow(position, added);
                         colors_.follow(position, added, inserting_);
                     });
}

QtRichTextBox::~QtRichTextBox()
{
    delete edit_;
}

QPlainTextEdit* QtRichTextBox::widget() const
{
    return edit_;
}

QTextDocument& QtRichTextBox::document() const
{
    return *edit_->document();
}

QString QtRichTextBox::Text() const
{
    return text_.text();
}

qint32 QtRichTextBox::SelStart() const
{
    return text_.TextPosition(edit_->textCursor().selectionStart());
}

void QtRichTextBox::setSelStart(qint32 start)
{
    const QTextCursor caret = edit_->textCursor();
    const int position = text_.DocumentPosition(std::clamp(start, 0, text_.TextLength()));
    // A caret put back where it stands, as after a colouring, repaints nothing.
    if (position == caret.position() && !caret.hasSelection())
        return;
    QTextCursor cursor = caret;
    cursor.setPosition(position);
    edit_->setTextCursor(cursor);
}

qint32 QtRichTextBox::SelLength() const
{
    return text_.TextPosition(edit_->textCursor().selectionEnd()) - SelStart();
}

void QtRichTextBox::setSelLength(qint32 length)
{
    const qint32 start = SelStart();
    const qint32 end = start + std::clamp(length, 0, text_.TextLength() - start);
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(text_.DocumentPosition(start));
    cursor.setPosition(text_.DocumentPosition(end), QTextCursor::KeepAnchor);
    edit_->setTextCursor(cursor);
}

void QtRichTextBox::setSelColor(Color color)
{
    const qint32 start = SelStart();
    if (colors_.fill(start, start + SelLength(), color))
        edit_->showColors();
}

QString QtRichTextBox::SelRTF() const
{
    const QString text = Text();
    const qint32 start = SelStart();
    const qint32 end = start + SelLength();
    const QByteArray rtf = WriteRtf(QStringView(text).sliced(start, end - start), colors_.colors(start, end));
    return QString::fromLatin1(rtf);
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
    const DocumentText inserted = ToDocumentText(text, colors);
    const QScopedValueRollback inserting(inserting_, std::span<const Color>(inserted.colors));
    QTextCursor cursor = edit_->textCursor();
    text_.replace(cursor, inserted);
    edit_->setTextCursor(cursor);
}

bool QtRichTextBox::removeByKey(bool forward)
{
    std::optional<QTextCursor> removed = text_.removedByKey(edit_->textCursor(), forward);
    if (!removed)
        return false;
    removed->removeSelectedText();
    edit_->setTextCursor(*removed);
    return true;
}

Status QtRichTextBox::SelPrint(PrinterHandle* handle)
{
    QPrinter* printer = PrinterOf(handle);
    if (!printer)
        return Status::Failed(QStringLiteral("No printer has been chosen."));
    const QString text = Text();
    const bool selected = SelLength() > 0;
    const qint32 start = selected ? SelStart() : 0;
    const qint32 end = selected ? start + SelLength() : qint32(text.size());
    QTextDocument printed;
    printed.setDefaultFont(edit_->font());
    QTextCursor cursor(&printed);
    InsertShown(cursor, QStringView(text).sliced(start, end - start), colors_.colors(start, end));
    // The printed document holds only what is to be printed, whatever range the dialog showed.
    printer->setPrintRange(QPrinter::AllPages);
    printer->setPageRanges({});
    printed.print(printer);
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
    const ColoredText content = LooksLikeRtf(bytes) ? ReadRtf(bytes) : ColoredText{DecodeText(bytes), {}};
    const DocumentText loaded = ToDocumentText(content.text, content.colors);
    {
        // Laid out lazily and no step to undo.
        const QScopedValueRollback loading(loading_, true);
        edit_->setPlainText(loaded.text);
        text_.reload(loaded.cuts);
        colors_.reset(loaded.colors);
    }
    edit_->showColors();
    return Status::Ok();
}

void QtRichTextBox::setBackColor(Color color)
{
    QPalette palette = edit_->palette();
    palette.setColor(QPalette::Base, ToQColor(color));
    palette.setColor(QPalette::Window, ToQColor(color));
    edit_->setPalette(palette);
}

Status QtRichTextBox::setRightMargin(qint32 twips)
{
    if (twips < 0)
        return Status::Failed(QStringLiteral("The right margin cannot be negative."));
    edit_->setWrapWidth(TwipsToPixelsX(twips));
    return Status::Ok();
}

void QtRichTextBox::setVisible(bool visible)
{
    if (visible)
        edit_->showAfterAMoment();
    else
        edit_->hideForAMoment();
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
    if (colors_.apply(runs))
        edit_->showColors();
}

void QtRichTextBox::showColors(const QTextBlock& line)
{
    const QList<QTextLayout::FormatRange> formats = colors_.formats(line);
    if (line.layout()->formats() != formats)
        edit_->layout().setFormats(line, formats);
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
