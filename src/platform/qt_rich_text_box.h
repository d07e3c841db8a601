#pragma once

#include <QPointer>
#include <QTextEdit>

#include "platform/qt_document_colors.h"
#include "platform/rich_text_box.h"

class QPrinter;

namespace platform {

// The script window's text box over a QTextEdit. Text() gives CR LF line ends and positions
// count CR and LF one each, whatever the document stores inside (one paragraph separator per
// line end). The key event is raised after the box has handled the key, so the handler of an
// Enter sees the new line.
class QtRichTextBox : public RichTextBox {
public:
    explicit QtRichTextBox(QWidget* parent = nullptr);
    ~QtRichTextBox() override;

    QTextEdit* widget() const { return edit_; }

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
    // One edit block, joined to the edit that caused it so that one undo takes back both;
    // writes only where the document shows another colour.
    void ApplyColorRuns(std::span<const ColorRun> runs) override;

private:
    void replaceSelection(const QString& text, std::span<const Color> colors);

    QPointer<QTextEdit> edit_;
    // The colours last written over the whole text, while they are known.
    std::optional<WrittenColors> written_;
    // Text(), until the text changes; writing colours leaves it.
    mutable std::optional<QString> text_;
    bool writingColors_ = false;
};

// The printer chosen in a print dialog, as handed to SelPrint, and back.
PrinterHandle* HandleOf(QPrinter* printer);
QPrinter* PrinterOf(PrinterHandle* handle);

}  // namespace platform
