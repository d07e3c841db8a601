#pragma once

#include <QDialog>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace wizard {

// The New Mission Wizard "Mission Creator": four pages (the mission's name, its models, a
// starship, an empty last page) that "< Back" and "Next >" cycle through. It gathers entries and
// produces nothing. Cancel hides it with everything kept; its close box destroys it.
class frmNMW : public QDialog {
    Q_OBJECT

public:
    frmNMW();

    // The page shown, 0 to 3.
    int Stage = 0;
    // The pages: the shown one stands in the dialog, the others outside it.
    std::array<QWidget*, 4> picStage{};
    QPushButton* Command1 = nullptr;  // "< Back"
    QPushButton* Command2 = nullptr;  // "Next >"
    QPushButton* Command3 = nullptr;  // "Cancel"

    // Page 0.
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtMissionName = nullptr;
    QLabel* Label4 = nullptr;

    // Page 1.
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QListWidget* filModels = nullptr;
    QPushButton* cmdModelAdd = nullptr;
    QPushButton* cmdModelAddAll = nullptr;
    QPushButton* cmdModelRemove = nullptr;
    QPushButton* cmdModelRemoveAll = nullptr;
    QListWidget* lstModels = nullptr;

    // Page 2.
    QLabel* Label7 = nullptr;
    QListWidget* lstStarships = nullptr;
    QLabel* Label8 = nullptr;
    QLineEdit* txtShipName = nullptr;
    QLabel* Coordina = nullptr;
    QLineEdit* txtXC = nullptr;
    QLineEdit* txtYC = nullptr;
    QLineEdit* txtZC = nullptr;
    QLabel* Label9 = nullptr;
    QListWidget* lstSSModel = nullptr;
    QGroupBox* Frame1 = nullptr;
    QRadioButton* optNavy = nullptr;
    QRadioButton* optIndie = nullptr;
    QRadioButton* optCOSA = nullptr;
    QRadioButton* optAlien = nullptr;
    QRadioButton* optAlliance = nullptr;
    QRadioButton* optExercise = nullptr;
    QGroupBox* Frame2 = nullptr;
    QRadioButton* optCFighter = nullptr;
    QRadioButton* optIFighter = nullptr;
    QRadioButton* optTug = nullptr;
    QRadioButton* optPatCom = nullptr;
    QRadioButton* optCorvette = nullptr;
    QRadioButton* optFreighter = nullptr;
    QRadioButton* optDestroyer = nullptr;
    QRadioButton* optCruiser = nullptr;
    QRadioButton* optCarrier = nullptr;
    QRadioButton* optDrone = nullptr;
    QRadioButton* optCommsRelay = nullptr;
    QRadioButton* optMine = nullptr;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void cmdModelAdd_Click();
    void cmdModelRemove_Click();
    void cmdModelRemoveAll_Click();

protected:
    // Esc: as Cancel.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateWelcomePage();
    void CreateModelsPage();
    void CreateStarshipPage();
    void Form_Load();
    void ShowStage(int stage);
};

// File > New Mission Wizard: shows the wizard modally, made anew at the first opening and after
// its close box, and returns once it is hidden or closed.
void ShowNewMissionWizard();

// At shut-down (and after a test): the wizard goes, if there is one.
void UnloadNewMissionWizard();

}  // namespace wizard
