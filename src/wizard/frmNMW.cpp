#include "wizard/frmNMW.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <algorithm>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

#include "platform/qt_form.h"
#include "shell/options.h"
#include "wizard/model_folder.h"

namespace wizard {
namespace {

using platform::AddControl;
using platform::kOffDialogLeft;
using platform::Twips;

constexpr int kPageCount = 4;
constexpr int kShownPageLeft = 120;
constexpr int kPageTop = 120;
constexpr int kPageWidth = 7575;
constexpr int kPageHeight = 4335;

const QString kWelcomeText = QStringLiteral(
    "Welcome to the Mission Creation Wizard.  To create a new mission, you will need to name it.  "
    "This name will be used throughout the creation of your mission for many naming protocols "
    "when creating the various files that will compose the mission.  As such, do not include any "
    "characters that would interfere with normal file names.");

QPointer<frmNMW> wizardWindow;

QLabel* AddLabel(QWidget* page, const char* name, const Twips& place, const QString& caption,
                 Qt::Alignment alignment = Qt::AlignLeft)
{
    auto* label = new QLabel(caption, page);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(alignment == Qt::AlignLeft);
    label->setAlignment(alignment | Qt::AlignTop);
    platform::PlaceControl(label, place);
    return label;
}

QLabel* AddTitle(QWidget* page, const char* name, const Twips& place, const QString& caption,
                 double points)
{
    auto* title = new QLabel(caption, page);
    title->setObjectName(QLatin1String(name));
    title->setTextFormat(Qt::PlainText);
    QFont font = page->font();
    font.setPointSizeF(points);
    title->setFont(font);
    platform::PlaceControl(title, place);
    return title;
}

QPushButton* AddButton(QWidget* container, const char* name, const Twips& place,
                       const QString& caption)
{
    auto* button = AddControl<QPushButton>(container, name, place, caption);
    // No button of the wizard is the default one: Enter in a text box presses none.
    button->setAutoDefault(false);
    return button;
}

constexpr int kFrameMarginTwips = 60;

// The option buttons of a frame, one group; each cell holds a caption and its place.
struct OptionPlace {
    QRadioButton* frmNMW::*control;
    const char* name;
    const char* caption;
    Twips place;
};

void AddOptions(frmNMW& dialog, QGroupBox* frame, std::initializer_list<OptionPlace> options)
{
    // An option widened for its caption pushes the rest of its row to the right.
    int rowTop = -1;
    int rowRight = 0;
    for (const OptionPlace& option : options) {
        QRadioButton* button =
            AddControl<QRadioButton>(frame, option.name, option.place, QString::fromLatin1(option.caption));
        if (option.place.top != rowTop) {
            rowTop = option.place.top;
            rowRight = 0;
        }
        button->move(std::max(button->x(), rowRight), button->y());
        rowRight = button->geometry().right() + 1;
        dialog.*option.control = button;
    }
    // The frame's caption takes more room here than in the design: the options move below it.
    platform::FitFrame(frame, kFrameMarginTwips);
}

// The selected row of a list; -1 when none is.
int SelectedRow(const QListWidget* list)
{
    const QListWidgetItem* current = list->currentItem();
    return current && current->isSelected() ? list->row(current) : -1;
}

}  // namespace

frmNMW::frmNMW()
{
    setWindowTitle(QStringLiteral("Mission Creator"));
    platform::UseDialogFont(this);
    resize(platform::TwipsToPixelsX(7800), platform::TwipsToPixelsY(5055));
    for (QWidget*& page : picStage)
        page = AddControl<QWidget>(this, "picStage", {kOffDialogLeft, kPageTop, kPageWidth, kPageHeight});
    CreateWelcomePage();
    CreateModelsPage();
    CreateStarshipPage();
    Command1 = AddButton(this, "Command1", {3720, 4560, 1200, 375}, QStringLiteral("< Back"));
    Command2 = AddButton(this, "Command2", {5040, 4560, 1200, 375}, QStringLiteral("Next >"));
    Command3 = AddButton(this, "Command3", {6480, 4560, 1200, 375}, QStringLiteral("Cancel"));
    connect(Command1, &QPushButton::clicked, this, &frmNMW::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmNMW::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmNMW::Command3_Click);
    connect(cmdModelAdd, &QPushButton::clicked, this, &frmNMW::cmdModelAdd_Click);
    connect(cmdModelRemove, &QPushButton::clicked, this, &frmNMW::cmdModelRemove_Click);
    connect(cmdModelRemoveAll, &QPushButton::clicked, this, &frmNMW::cmdModelRemoveAll_Click);
    Form_Load();
}

void frmNMW::CreateWelcomePage()
{
    QWidget* page = picStage[0];
    Label1 = AddTitle(page, "Label1", {240, 240, 7095, 495}, QStringLiteral("Mission Creation Wizard"), 18);
    Label2 = AddLabel(page, "Label2", {240, 960, 7095, 1575}, kWelcomeText);
    Label3 = AddLabel(page, "Label3", {240, 2760, 1575, 285}, QStringLiteral("Mission Name:"),
                      Qt::AlignRight);
    txtMissionName = AddControl<QLineEdit>(page, "txtMissionName", {1920, 2730, 3855, 315});
    Label4 = AddLabel(page, "Label4", {240, 3360, 7095, 285},
                      QStringLiteral("Click on Next when you have entered a name."));
}

void frmNMW::CreateModelsPage()
{
    QWidget* page = picStage[1];
    Label5 = AddTitle(page, "Label5", {240, 240, 7095, 495}, QStringLiteral("STEP 2: Models"), 18);
    Label6 = AddLabel(page, "Label6", {240, 840, 7095, 285},
                      QStringLiteral("Please select which Models you believe you will use in your mission."));
    filModels = AddControl<QListWidget>(page, "filModels", {240, 1320, 2775, 2775});
    cmdModelAdd = AddButton(page, "cmdModelAdd", {3120, 1560, 1335, 375}, QStringLiteral("Add ->"));
    cmdModelAddAll = AddButton(page, "cmdModelAddAll", {3120, 2040, 1335, 375}, QStringLiteral("Add All >>"));
    cmdModelRemove = AddButton(page, "cmdModelRemove", {3120, 2520, 1335, 375}, QStringLiteral("<- Remove "));
    cmdModelRemoveAll =
        AddButton(page, "cmdModelRemoveAll", {3120, 3000, 1335, 375}, QStringLiteral("<< Remove All"));
    lstModels = AddControl<QListWidget>(page, "lstModels", {4560, 1320, 2775, 2775});
}

void frmNMW::CreateStarshipPage()
{
    QWidget* page = picStage[2];
    Label7 = AddTitle(page, "Label7", {240, 120, 7095, 615}, QStringLiteral("Step 3: Starships"), 24);
    lstStarships = AddControl<QListWidget>(page, "lstStarships", {240, 780, 7095, 495});
    Label8 = AddLabel(page, "Label8", {240, 1380, 1215, 285}, QStringLiteral("Name:"), Qt::AlignRight);
    txtShipName = AddControl<QLineEdit>(page, "txtShipName", {1560, 1350, 2535, 315});
    Coordina = AddLabel(page, "Coordina", {240, 1800, 1215, 285}, QStringLiteral("Coordinates:"),
                        Qt::AlignRight);
    txtXC = AddControl<QLineEdit>(page, "txtXC", {1560, 1770, 795, 315});
    txtYC = AddControl<QLineEdit>(page, "txtYC", {2430, 1770, 795, 315});
    txtZC = AddControl<QLineEdit>(page, "txtZC", {3300, 1770, 795, 315});
    Label9 = AddLabel(page, "Label9", {240, 2220, 1215, 285}, QStringLiteral("Model:"), Qt::AlignRight);
    lstSSModel = AddControl<QListWidget>(page, "lstSSModel", {1560, 2190, 2535, 315});

    Frame1 = AddControl<QGroupBox>(page, "Frame1", {4320, 1320, 3015, 1890}, QStringLiteral("Allegiance"));
    AddOptions(*this, Frame1, {
        {&frmNMW::optNavy, "optNavy", "Navy", {120, 300, 2775, 255}},
        {&frmNMW::optIndie, "optIndie", "Indie", {120, 555, 2775, 255}},
        {&frmNMW::optCOSA, "optCOSA", "COSA", {120, 810, 2775, 255}},
        {&frmNMW::optAlien, "optAlien", "Alien", {120, 1065, 2775, 255}},
        {&frmNMW::optAlliance, "optAlliance", "Alliance", {120, 1320, 2775, 255}},
        {&frmNMW::optExercise, "optExercise", "Exercise", {120, 1575, 2775, 255}},
    });
    Frame2 = AddControl<QGroupBox>(page, "Frame2", {240, 3300, 7095, 975}, QStringLiteral("Class"));
    AddOptions(*this, Frame2, {
        {&frmNMW::optCFighter, "optCFighter", "CFighter", {120, 240, 1200, 255}},
        {&frmNMW::optIFighter, "optIFighter", "IFighter", {1350, 240, 990, 255}},
        {&frmNMW::optTug, "optTug", "Tug", {2370, 240, 990, 255}},
        {&frmNMW::optPatCom, "optPatCom", "PatCom", {3390, 240, 1060, 255}},
        {&frmNMW::optCorvette, "optCorvette", "Corvette", {4480, 240, 1370, 255}},
        {&frmNMW::optFreighter, "optFreighter", "Freighter", {5880, 240, 1140, 255}},
        {&frmNMW::optDestroyer, "optDestroyer", "Destroyer", {120, 600, 1200, 255}},
        {&frmNMW::optCruiser, "optCruiser", "Cruiser", {1350, 600, 990, 255}},
        {&frmNMW::optCarrier, "optCarrier", "Carrier", {2370, 600, 990, 255}},
        {&frmNMW::optDrone, "optDrone", "Drone", {3390, 600, 1060, 255}},
        {&frmNMW::optCommsRelay, "optCommsRelay", "CommsRelay", {4480, 600, 1370, 255}},
        {&frmNMW::optMine, "optMine", "Mine", {5880, 600, 1140, 255}},
    });
}

void frmNMW::Form_Load()
{
    ShowStage(0);
    filModels->addItems(ModelFiles(ModelFolder(shell::options.LaunchPath)));
}

// Pages are moved out of sight, never hidden.
void frmNMW::ShowStage(int stage)
{
    picStage[Stage]->move(platform::TwipsToPixelsX(kOffDialogLeft), picStage[Stage]->y());
    Stage = stage;
    picStage[Stage]->move(platform::TwipsToPixelsX(kShownPageLeft), picStage[Stage]->y());
}

void frmNMW::Command1_Click()
{
    ShowStage((Stage + kPageCount - 1) % kPageCount);
}

void frmNMW::Command2_Click()
{
    ShowStage((Stage + 1) % kPageCount);
}

void frmNMW::Command3_Click()
{
    hide();
}

// The same model may be chosen any number of times.
void frmNMW::cmdModelAdd_Click()
{
    const int row = SelectedRow(filModels);
    if (row >= 0)
        lstModels->addItem(filModels->item(row)->text());
}

// As a Windows list box does, no entry is selected after a removal.
void frmNMW::cmdModelRemove_Click()
{
    const int row = SelectedRow(lstModels);
    if (row < 0)
        return;
    delete lstModels->takeItem(row);
    lstModels->setCurrentRow(-1);
}

void frmNMW::cmdModelRemoveAll_Click()
{
    lstModels->clear();
}

void frmNMW::reject()
{
    Command3_Click();
}

void frmNMW::closeEvent(QCloseEvent* event)
{
    QDialog::closeEvent(event);
    // Closing destroys the wizard, once Qt is done with it; the next opening makes a new one.
    // (Deleting on close would also delete it at the end of every modal showing, Cancel too.)
    if (wizardWindow == this)
        wizardWindow = nullptr;
    deleteLater();
}

void ShowNewMissionWizard()
{
    if (!wizardWindow)
        wizardWindow = new frmNMW;
    wizardWindow->exec();
}

void UnloadNewMissionWizard()
{
    delete wizardWindow;
}

}  // namespace wizard
