#pragma once

#include <QPlainTextEdit>
#include <QPointer>
#include <vector>

#include "platform/qt_box_text.h"
#include "platform/qt_document_colors.h"
#include "platform/rich_text_box.h"

class QPrinter;

namespace platform {

class ScriptEdit;

// The script window's text box over a QPlainTextEdit. Text() gives CR LF line ends and positions
// count CR and LF one each, whatever the document stores inside (one paragraph separator per
// line end). The colours are kept beside the document, never in it: undo and redo change text
// alone, and a colouring lays out and repaints only the lines on screen whose colours it
// changes; lines get their colours before they are painted, never while. The key
// event is raised after the box has handled the key, so the handler of an Enter sees the new
// line.
class QtRichTextBox : public RichTextBox {
public:
    explicit QtRichTextBox(QWidget* parent = nullptr);
    ~QtRichTextBox() override;

    QPlainTextEdit* widget() const;

    QString Text() const override;
    qint32 SelStart() const override;
    void setSelStart(qint32 start) override;
    qint32 SelLength() const override;
    void setSelLength(qint32 length) override;
    void setSelColor(Color color) override;
    QString SelRTF() const override;
    void setSelRTF(const QString& rtfOrPlainText) override;
    void setSelText(const QString& text) override;
    Status SelPrint(PrinterHandle* printer) override;
    Status LoadFile(const QString& path) override;
    void setBackColor(Color color) override;
    Status setRightMargin(qint32 twips) override;
    void setVisible(bool visible) override;
    Status Move(qint32 left, qint32 top, qint32 width, qint32 height) override;
    qint32 Width() const override;
    // The runs in their order, as through the selection. Changes no document and no undo step;
    // a colouring that changes no colour repaints nothing.
    void ApplyColorRuns(std::span<const ColorRun> runs) override;

private:
    friend class ScriptEdit;

    QTextDocument& document() const;
    void replaceSelection(const QString& text, std::span<const Color> colors);
    // Removes what Backspace (forward false) or Delete removes where the line is cut into pieces;
    // false when the key needs no help.
    bool removeByKey(bool forward);
    // Gives the line the colours kept for it, when it shows others.
    void showColors(const QTextBlock& line);

    QPointer<ScriptEdit> edit_;
    BoxText text_;
    DocumentColors colors_;
    // The colours of the text the box itself is inserting; empty for text typed or pasted as
    // plain text, which takes the colour of the character before it.
    std::span<const Color> inserting_;
    // A load, which sets the text and the colours after it.
    bool loading_ = false;
};

// The printer chosen in a print dialog, as handed to SelPrint, and back.
PrinterHandle* HandleOf(QPrinter* printer);
QPrinter* PrinterOf(PrinterHandle* handle);

}  // namespace platform
