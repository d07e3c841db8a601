#pragma once

#include <QDialog>
#include <array>

class QFrame;
class QLabel;
class QPushButton;

namespace shell {

// The About box: the program's name, version, description and notice, OK, and a button that
// starts the System Information program. Every opening makes a new one, so its labels are set
// anew each time.
class frmAbout : public QDialog {
    Q_OBJECT

public:
    explicit frmAbout(QWidget* owner);

    // Starts the System Information program; when there is none to start, says so in a message
    // box and stays open.
    void StartSysInfo();

    QLabel* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    // The etched rule: index 1 the grey line, index 0 the white one just below it.
    std::array<QFrame*, 2> Line1{};
    QLabel* lblDisclaimer = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSysInfo = nullptr;

private:
    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
};

// Help > About: shows a new About box modally over owner and returns once it has closed; the
// box is gone by then.
void ShowAboutBox(QWidget* owner);

}  // namespace shell
