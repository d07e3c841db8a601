#pragma once

#include <QWidget>

class QListWidget;

namespace launcher {

// The Errors window "Error Listing": the lines of the game's debug log, in the order they were
// added. It has no owner and stays open beside the other windows; its close box destroys it.
class frmErrors : public QWidget {
    Q_OBJECT

public:
    frmErrors();

    QListWidget* lstErrors = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_Resize();
};

// The one Errors window, made at its first use; after its close box the next use makes a new,
// empty one.
frmErrors& ErrorsWindow();

// At shut-down (and after a test): the Errors window goes, if there is one. None is made for it.
void UnloadErrorsWindow();

}  // namespace launcher
