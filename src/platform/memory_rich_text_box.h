#pragma once

#include <vector>

#include "platform/rich_text_box.h"

namespace platform {

// A text box without a window: text with CR LF line ends and one colour per character.
// Used by the tests and benchmarks of everything that works on a script window's box.
class MemoryRichTextBox : public RichTextBox {
public:
    explicit MemoryRichTextBox(QString text = {}, Color color = 0);

    QString Text() const override { return text_; }
    qint32 SelStart() const override { return selStart_; }
    void setSelStart(qint32 start) override;
    qint32 SelLength() const override { return selLength_; }
    void setSelLength(qint32 length) override;
    void setSelColor(Color color) override;
    QString SelRTF() const override;
    void setSelRTF(const QString& rtfOrPlainText) override;
    void setSelText(const QString& text) override;
    Status SelPrint(PrinterHandle* printer) override;
    Status LoadFile(const QString& path) override;
    void setBackColor(Color color) override { backColor_ = color; }
    Status setRightMargin(qint32 twips) override;
    void setVisible(bool visible) override;
    Status Move(qint32 left, qint32 top, qint32 width, qint32 height) override;
    qint32 Width() const override { return width_; }
    void ApplyColorRuns(std::span<const ColorRun> runs) override;

    // Inspection for tests.
    const std::vector<Color>& colors() const { return colors_; }
    Color backColor() const { return backColor_; }
    qint32 rightMargin() const { return rightMargin_; }
    bool visible() const { return visible_; }
    // How many colour writes reached the box while it was shown; colouring must hide it first.
    int colorWritesWhileVisible() const { return colorWritesWhileVisible_; }

private:
    void replaceSelection(const QString& text, const std::vector<Color>& colors);
    void countColorWrites(int writes);

    QString text_;
    std::vector<Color> colors_;
    qint32 selStart_ = 0;
    qint32 selLength_ = 0;
    Color backColor_ = 0xFFFFFF;
    qint32 rightMargin_ = 0;
    bool visible_ = true;
    qint32 width_ = 0;
    int colorWritesWhileVisible_ = 0;
};

}  // namespace platform
