#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace shell {

// The window shown while the program starts: its picture, name and version, and the progress of
// the keyword loading. A click hides it.
class frmSplash : public QWidget {
public:
    frmSplash();

    // One keyword handed to the keyword table: the bar moves on (up to its end). What the bar
    // shows is redrawn at once, since nothing else processes window messages while the keywords
    // load; a step that changes nothing on the screen draws nothing.
    void AdvanceProgress();

    QLabel* Label1;  // the program's name
    QLabel* Label2;  // the subtitle
    QLabel* Label3;  // the platform
    QLabel* Label4;  // the version
    QLabel* Label5;  // the credit line
    QProgressBar* ProgressBar1;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Form_Load();
    void Form_Click();

    QPixmap picture_;
};

}  // namespace shell
