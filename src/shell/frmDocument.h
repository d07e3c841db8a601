#pragma once

#include <QWidget>

#include "platform/freed_memory.h"
#include "platform/qt_rich_text_box.h"

namespace shell {

// A script window: one script in its text box, re-analysed whenever the window becomes active
// and recoloured and re-analysed at every Enter. Its caption (the window title, which the
// surrounding child window shows) is the path of its file, or "Script <n>" until it has one;
// nothing else records the file.
class frmDocument : public QWidget {
    Q_OBJECT

    // Declared before the box, so that it goes after it: the memory of the script, freed by
    // then, goes back to the system with the window.
    struct FreedMemoryReturn {
        ~FreedMemoryReturn() { platform::ReturnFreedMemory(); }
    } freedMemoryReturn_;

public:
    explicit frmDocument(QWidget* parent = nullptr);
    ~frmDocument() override;

    QString caption() const { return windowTitle(); }
    void setCaption(const QString& caption) { setWindowTitle(caption); }

    // Writes the text to the file at path; when that fails, tells the user and returns false.
    // A text with characters the file cannot hold is written only once the user agrees.
    bool SaveTo(const QString& path);

    platform::QtRichTextBox rtfText;

    QSize sizeHint() const override;

    void Form_Load();
    void Form_Resize();
    void Form_Activate();
    void Form_Unload(bool& cancel);
    void rtfText_GotFocus();
    void rtfText_KeyDown(int keyCode, int shift);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool MayWriteAsQuestionMarks(const QString& path, const QString& text);
    void AnalyseScript();
};

}  // namespace shell
