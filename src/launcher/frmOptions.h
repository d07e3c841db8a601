#pragma once

#include <QDialog>
#include <array>

#include "platform/qt_common_dialog.h"
#include "shell/options.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabBar;

namespace launcher {

// The Options dialog: the game's launch switches and language, the game's executable, the text
// colours and the colouring switch. Every opening makes a new one, so it always starts from the
// option variables. The switches, the language, the path and the colouring switch reach the
// variables only with OK; a colour reaches TextColors the moment it is picked, and no Cancel
// takes it back.
class frmOptions : public QDialog {
    Q_OBJECT

public:
    explicit frmOptions(QWidget* owner);

    // The option variables into the controls.
    void GetOptions();
    // The controls into SystemFlags, LaunchFlags and LaunchPath; bits without a control are lost.
    void SetOptions();

    QTabBar* tbsOptions = nullptr;
    // Pages 0 to 2 belong to the tabs; page 3 only holds fraSample4.
    std::array<QWidget*, 4> picOptions{};
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;

    // Page 0.
    QGroupBox* fraSample1 = nullptr;
    QCheckBox* chkWindowed = nullptr;
    QCheckBox* chkdebug = nullptr;
    QCheckBox* chkcheats = nullptr;
    QCheckBox* chk3dfx = nullptr;
    QCheckBox* chkNoSlab = nullptr;
    QCheckBox* chkarcade = nullptr;
    QCheckBox* chk800x600 = nullptr;
    QCheckBox* chklod = nullptr;
    QCheckBox* chkNoLogo = nullptr;
    QCheckBox* chkLagrange = nullptr;
    QCheckBox* chkDisk = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* optEnglish = nullptr;
    QRadioButton* optFrench = nullptr;
    QRadioButton* optGerman = nullptr;

    // Page 1.
    QGroupBox* fraSample2 = nullptr;
    QLineEdit* txtIwarexe = nullptr;
    QPushButton* cmdBrowse = nullptr;
    platform::CommonDialog CommonDialog1{this};

    // Page 2.
    QGroupBox* fraSample3 = nullptr;
    QLabel* lblCommands = nullptr;
    QLabel* lblComments = nullptr;
    QLabel* lblNormal = nullptr;
    QPushButton* cmdBackcolor = nullptr;
    QCheckBox* chkColor = nullptr;

    // Page 3.
    QGroupBox* fraSample4 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    // Key preview: every key typed in a control of the dialog passes here first.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateTabsAndPages();
    void CreateLauncherPage();
    void CreateFilesPage();
    void CreateColorsPage();
    QList<QWidget*> FocusControls() const;

    void Form_Activate();
    void Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift);
    void tbsOptions_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdBrowse_Click();
    void lblCommands_Click();
    void lblComments_Click();
    void lblNormal_Click();
    void cmdBackcolor_Click();

    void PickColor(shell::TextColorIndex index);
    void ShowSample(shell::TextColorIndex index, platform::Color color);
};

// Tools > Options and View > Options: shows a new Options dialog modally over owner (the main
// window) and returns once it has closed; the dialog is gone by then.
void ShowOptionsDialog(QWidget* owner);

}  // namespace launcher
