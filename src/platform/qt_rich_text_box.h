#pragma once

#include <QTextEdit>

#include "platform/rich_text_box.h"

class QPrinter;

namespace platform {

// The script window's text box over a QTextEdit. Text() gives CR LF line ends and positions
// count CR and LF one each, whatever the document stores inside (one paragraph separator per
// line end).
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
    // One edit block; writes only the runs whose colour differs from what the document shows.
    void ApplyColorRuns(std::span<const ColorRun> runs) override;

private:
    class Edit;
    Edit* edit_;
};

// The printer chosen in a print dialog, as handed to SelPrint.
PrinterHandle* HandleOf(QPrinter* printer);

}  // namespace platform
