#include "launcher/frmOptions.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <algorithm>
#include <functional>

#include "launcher/launch_command.h"
#include "platform/qt_color.h"
#include "platform/qt_form.h"
#include "platform/win_path.h"

namespace launcher {
namespace {

using platform::AddControl;
using platform::kOffDialogLeft;
using platform::Twips;

// What a frame or the dialog keeps free beyond the controls it holds.
constexpr int kHolderMarginTwips = 60;

// The page of the selected tab stands here; the others off the dialog.
constexpr int kShownPageLeft = 210;

constexpr std::array<Twips, 4> kPagePlaces{{
    {240, 480, 5685, 1980},
    {kOffDialogLeft, 480, 5685, 1500},
    {kOffDialogLeft, 480, 5685, 2340},
    {kOffDialogLeft, 480, 5685, 3780},
}};

struct Tab {
    const char* caption;
    const char* toolTip;
};

// Tab n shows page n.
constexpr Tab kTabs[] = {
    {"Launcher", nullptr},
    {"Files", nullptr},
    {"Colors", "Change Text Colors and Fonts"},
};

const QString kBrowseTitle = QStringLiteral("Locate Iwar.exe");
const QString kBrowseFilter =
    QStringLiteral("Independence War Executable (IWAR.EXE or GAME.EXE)|Iwar.exe;game.exe");
const QString kBrowseFolder = QStringLiteral("C:\\PROGRA~1\\PARTIC~1\\INDEPE~1\\");

// Where the control of a launch switch stands in its frame; its name and caption are those of
// the switch in kLaunchSwitches.
template <typename Button>
struct SwitchPlace {
    qint16 bit;
    Button* frmOptions::*control;
    Twips place;
};

// The check boxes of "Command-line Options", in the order in which OK adds their bits.
constexpr SwitchPlace<QCheckBox> kCheckBoxes[] = {
    {0x1000, &frmOptions::chkLagrange, {120, 240, 1095, 255}},
    {0x1, &frmOptions::chkWindowed, {1320, 600, 1095, 255}},
    {0x2, &frmOptions::chkdebug, {2640, 240, 1335, 255}},
    {0x4, &frmOptions::chkcheats, {2640, 960, 1215, 255}},
    {0x8, &frmOptions::chk3dfx, {1320, 960, 1215, 255}},
    {0x10, &frmOptions::chkNoSlab, {2640, 600, 975, 255}},
    {0x20, &frmOptions::chkarcade, {120, 960, 975, 255}},
    {0x40, &frmOptions::chk800x600, {1320, 240, 1095, 255}},
    {0x400, &frmOptions::chklod, {1320, 1320, 1335, 255}},
    {0x800, &frmOptions::chkNoLogo, {120, 600, 1095, 255}},
    {0x2000, &frmOptions::chkDisk, {120, 1320, 975, 255}},
};

// The option buttons of "Language", one group, in ascending bit order.
constexpr SwitchPlace<QRadioButton> kLanguages[] = {
    {0x80, &frmOptions::optEnglish, {120, 360, 975, 255}},
    {0x100, &frmOptions::optFrench, {120, 720, 855, 375}},
    {0x200, &frmOptions::optGerman, {120, 1200, 975, 255}},
};

// A colour sample: a click on it picks its colour.
class SampleLabel : public QLabel {
public:
    SampleLabel(const QString& caption, std::function<void()> onClick, QWidget* frame)
        : QLabel(caption, frame), onClick_(std::move(onClick))
    {
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            onClick_();
    }

private:
    std::function<void()> onClick_;
};

template <typename Button, std::size_t Count>
void AddSwitches(frmOptions& dialog, QGroupBox* frame, const SwitchPlace<Button> (&places)[Count])
{
    for (const SwitchPlace<Button>& place : places) {
        const LaunchSwitch& launchSwitch =
            *std::ranges::find(kLaunchSwitches, place.bit, &LaunchSwitch::bit);
        dialog.*place.control = AddControl<Button>(frame, launchSwitch.control, place.place,
                                            QString::fromLatin1(launchSwitch.caption));
    }
}

QPushButton* AddButton(QWidget* container, const char* name, const Twips& place,
                       const QString& caption, std::function<void()> onClick)
{
    auto* button = AddControl<QPushButton>(container, name, place, caption);
    // No button of this dialog is the default one: Enter presses none.
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, std::move(onClick));
    return button;
}

QLabel* AddSample(QWidget* frame, const char* name, const Twips& place, const QString& caption,
                  std::function<void()> onClick)
{
    auto* sample = AddControl<SampleLabel>(frame, name, place, caption, std::move(onClick));
    sample->setAlignment(Qt::AlignCenter);
    sample->setAutoFillBackground(true);
    // A sample starts as the system shows text: window text on the window colour, which Qt
    // calls Text on Base.
    QPalette palette = sample->palette();
    palette.setColor(QPalette::WindowText, palette.color(QPalette::Text));
    palette.setColor(QPalette::Window, palette.color(QPalette::Base));
    sample->setPalette(palette);
    return sample;
}

// A frame grown to hold its controls may reach past its page, and a widened button past the
// dialog's edge: the page or the dialog grows to keep a margin around it. Pages off the dialog
// do not count.
QSize SizeToHold(const QWidget* holder)
{
    const QSize margin(platform::TwipsToPixelsX(kHolderMarginTwips),
                       platform::TwipsToPixelsY(kHolderMarginTwips));
    QSize size = holder->size();
    for (const QWidget* child : holder->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->x() >= 0)
            size = size.expandedTo(QSize(child->geometry().right(), child->geometry().bottom())
                                   + QSize(1, 1) + margin);
    }
    return size;
}

// The path shows from its start, where the drive and the folders are.
void ShowPath(QLineEdit* box, const QString& path)
{
    box->setText(path);
    box->setCursorPosition(0);
}

void SetColor(QLabel* label, QPalette::ColorRole role, platform::Color color)
{
    QPalette palette = label->palette();
    palette.setColor(role, platform::ToQColor(color));
    label->setPalette(palette);
}

}  // namespace

frmOptions::frmOptions(QWidget* owner)
    : QDialog(owner, platform::kFixedDialogFlags)
{
    setWindowTitle(QStringLiteral("Options"));
    platform::UseDialogFont(this);
    setFixedSize(platform::TwipsToPixelsX(6150), platform::TwipsToPixelsY(3525));
    CreateTabsAndPages();
    CreateLauncherPage();
    CreateFilesPage();
    CreateColorsPage();
    cmdOK = AddButton(this, "cmdOK", {3720, 3000, 1095, 375}, QStringLiteral("OK"),
                      [this] { cmdOK_Click(); });
    cmdCancel = AddButton(this, "cmdCancel", {4920, 3000, 1095, 375}, QStringLiteral("Cancel"),
                          [this] { cmdCancel_Click(); });
    for (QGroupBox* frame : findChildren<QGroupBox*>())
        platform::FitFrame(frame, kHolderMarginTwips);
    for (QWidget* page : picOptions)
        page->resize(SizeToHold(page));
    setFixedSize(SizeToHold(this));
    // A colour pick has to tell a cancelled colour dialog from a chosen colour.
    CommonDialog1.CancelError = true;

    const QList<QWidget*> focusControls = FocusControls();
    for (qsizetype i = 1; i < focusControls.size(); ++i)
        setTabOrder(focusControls[i - 1], focusControls[i]);
    // Keys reach the dialog through the control that has the focus.
    for (QWidget* control : focusControls)
        control->installEventFilter(this);
    // Connected last: adding the first tab selected it, which is no tab change.
    connect(tbsOptions, &QTabBar::currentChanged, this, &frmOptions::tbsOptions_Click);
}

void frmOptions::CreateTabsAndPages()
{
    tbsOptions = AddControl<QTabBar>(this, "tbsOptions", {120, 120, 5895, 2805});
    for (const Tab& tab : kTabs) {
        const int index = tbsOptions->addTab(QString::fromLatin1(tab.caption));
        if (tab.toolTip)
            tbsOptions->setTabToolTip(index, QString::fromLatin1(tab.toolTip));
    }
    for (std::size_t page = 0; page < picOptions.size(); ++page)
        picOptions[page] = AddControl<QWidget>(this, "picOptions", kPagePlaces[page]);
    fraSample4 = AddControl<QGroupBox>(picOptions[3], "fraSample4", {505, 502, 2033, 2022},
                                QStringLiteral("Sample 4"));
}

void frmOptions::CreateLauncherPage()
{
    fraSample1 = AddControl<QGroupBox>(picOptions[0], "fraSample1", {120, 120, 4080, 1665},
                                QStringLiteral("Command-line Options"));
    Frame1 = AddControl<QGroupBox>(picOptions[0], "Frame1", {4320, 120, 1215, 1695},
                            QStringLiteral("Language"));
    AddSwitches(*this, fraSample1, kCheckBoxes);
    AddSwitches(*this, Frame1, kLanguages);
    optEnglish->setChecked(true);
}

void frmOptions::CreateFilesPage()
{
    fraSample2 = AddControl<QGroupBox>(picOptions[1], "fraSample2", {120, 0, 5520, 1185},
                                QStringLiteral("IWAR.EXE"));
    txtIwarexe = AddControl<QLineEdit>(fraSample2, "txtIwarexe", {240, 240, 5055, 285});
    cmdBrowse = AddButton(fraSample2, "cmdBrowse", {3720, 600, 1575, 375}, QStringLiteral("Browse"),
                          [this] { cmdBrowse_Click(); });
}

void frmOptions::CreateColorsPage()
{
    fraSample3 = AddControl<QGroupBox>(picOptions[2], "fraSample3", {240, 0, 5400, 2145},
                                QStringLiteral("Text Colors"));
    lblCommands = AddSample(fraSample3, "lblCommands", {120, 360, 5175, 255},
                            QStringLiteral("Commands"), [this] { lblCommands_Click(); });
    lblComments = AddSample(fraSample3, "lblComments", {120, 840, 5175, 255},
                            QStringLiteral("Comments"), [this] { lblComments_Click(); });
    lblNormal = AddSample(fraSample3, "lblNormal", {120, 1320, 5175, 255},
                          QStringLiteral("Normal"), [this] { lblNormal_Click(); });
    cmdBackcolor = AddButton(fraSample3, "cmdBackcolor", {2160, 1680, 1095, 375},
                             QStringLiteral("Backcolor"), [this] { cmdBackcolor_Click(); });
    chkColor = AddControl<QCheckBox>(fraSample3, "chkColor", {3360, 1680, 1815, 375},
                              QStringLiteral("Color Text"));
}

// The controls that take the focus, in the order Tab visits them; pages, frames and labels
// take none.
QList<QWidget*> frmOptions::FocusControls() const
{
    return {tbsOptions, cmdOK,      cmdCancel,  chkLagrange, chkNoSlab,    optEnglish, optFrench,
            optGerman,  chkNoLogo,  chk800x600, txtIwarexe,  cmdBrowse,    chkWindowed, chk3dfx,
            chklod,     chkdebug,   chkcheats,  chkarcade,   cmdBackcolor, chkColor,   chkDisk};
}

void frmOptions::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The opening shows it once; the window system's own show events change nothing.
    if (!event->spontaneous())
        Form_Activate();
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        Form_KeyDown(key->key(), key->modifiers());
    }
    // The key goes on to the control.
    return QDialog::eventFilter(watched, event);
}

void frmOptions::Form_Activate()
{
    GetOptions();
}

// Only switches controls on: a new dialog starts with every box clear and "English" selected.
void frmOptions::GetOptions()
{
    const shell::OptionVariables& options = shell::options;
    if (options.SystemFlags & shell::kColoringOn)
        chkColor->setChecked(true);
    for (const auto& box : kCheckBoxes) {
        if (options.LaunchFlags & box.bit)
            (this->*box.control)->setChecked(true);
    }
    // In ascending order, so that of several language bits the highest stays selected.
    for (const auto& language : kLanguages) {
        if (options.LaunchFlags & language.bit)
            (this->*language.control)->setChecked(true);
    }
    ShowPath(txtIwarexe, options.LaunchPath);
    for (const shell::TextColorIndex index :
         {shell::CommandColor, shell::CommentColor, shell::NormalColor})
        ShowSample(index, options.TextColors[index]);
}

// A grey check box counts as set: Qt reports it as checked.
void frmOptions::SetOptions()
{
    shell::OptionVariables& options = shell::options;
    options.SystemFlags = chkColor->isChecked() ? shell::kColoringOn : 0;
    qint16 launchFlags = 0;
    for (const auto& box : kCheckBoxes) {
        if ((this->*box.control)->isChecked())
            launchFlags |= box.bit;
    }
    for (const auto& language : kLanguages) {
        if ((this->*language.control)->isChecked())
            launchFlags |= language.bit;
    }
    options.LaunchFlags = launchFlags;
    options.LaunchPath = txtIwarexe->text();
}

// Ctrl+Tab selects the next tab and Ctrl+Shift+Tab the previous one, both wrapping around;
// Alt makes no difference.
void frmOptions::Form_KeyDown(int keyCode, Qt::KeyboardModifiers shift)
{
    // Qt reports Shift+Tab as Backtab.
    if (keyCode != Qt::Key_Tab && keyCode != Qt::Key_Backtab)
        return;
    const Qt::KeyboardModifiers held = shift & (Qt::ShiftModifier | Qt::ControlModifier);
    const int selected = tbsOptions->currentIndex();
    const int tabs = tbsOptions->count();
    if (held == Qt::ControlModifier)
        tbsOptions->setCurrentIndex((selected + 1) % tabs);
    else if (held == (Qt::ShiftModifier | Qt::ControlModifier))
        tbsOptions->setCurrentIndex((selected + tabs - 1) % tabs);
}

// Shows the page of the selected tab and disables the pages of the others, so the focus cannot
// move into them. Page 3 belongs to no tab and stays as it is.
void frmOptions::tbsOptions_Click()
{
    const int selected = tbsOptions->currentIndex();
    for (int page = 0; page < tbsOptions->count(); ++page) {
        const bool shown = page == selected;
        const int left = shown ? kShownPageLeft : kOffDialogLeft;
        picOptions[page]->move(platform::TwipsToPixelsX(left), picOptions[page]->y());
        picOptions[page]->setEnabled(shown);
    }
}

void frmOptions::cmdOK_Click()
{
    SetOptions();
    accept();
}

// Escape and the close box end here as well.
void frmOptions::cmdCancel_Click()
{
    reject();
}

void frmOptions::cmdBrowse_Click()
{
    CommonDialog1.DialogTitle = kBrowseTitle;
    CommonDialog1.Filter = kBrowseFilter;
    CommonDialog1.InitDir = kBrowseFolder;
    if (CommonDialog1.ShowOpen() && !CommonDialog1.FileName.isEmpty())
        ShowPath(txtIwarexe, platform::WindowsPath(CommonDialog1.FileName));
}

void frmOptions::lblCommands_Click()
{
    PickColor(shell::CommandColor);
}

void frmOptions::lblComments_Click()
{
    PickColor(shell::CommentColor);
}

void frmOptions::lblNormal_Click()
{
    PickColor(shell::NormalColor);
}

void frmOptions::cmdBackcolor_Click()
{
    PickColor(shell::BackgroundColor);
}

// The picked colour is stored at once; Cancel does not take it back. The colour dialog starts
// on the current colour, and a cancelled one changes nothing.
void frmOptions::PickColor(shell::TextColorIndex index)
{
    // The title of an earlier Browse is not the colour dialog's.
    CommonDialog1.DialogTitle.clear();
    CommonDialog1.Color = shell::options.TextColors[index];
    if (!CommonDialog1.ShowColor())
        return;
    shell::options.TextColors[index] = CommonDialog1.Color;
    ShowSample(index, CommonDialog1.Color);
}

// A text colour shows as the text of its sample, the background colour behind all three.
void frmOptions::ShowSample(shell::TextColorIndex index, platform::Color color)
{
    const std::array<QLabel*, 3> samples{lblCommands, lblComments, lblNormal};
    if (index == shell::BackgroundColor) {
        for (QLabel* sample : samples)
            SetColor(sample, QPalette::Window, color);
    } else {
        SetColor(samples[index], QPalette::WindowText, color);
    }
}

void ShowOptionsDialog(QWidget* owner)
{
    auto* dialog = new frmOptions(owner);
    // Gone once exec returns: the next opening starts afresh.
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->exec();
}

}  // namespace launcher
