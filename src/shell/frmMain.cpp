#include "shell/frmMain.h"

#include <QCloseEvent>
#include <QDate>
#include <QGuiApplication>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "language/colorize.h"
#include "language/command_table.h"
#include "language/frmStarships.h"
#include "language/frmVars.h"
#include "language/parser.h"
#include "language/starships.h"
#include "launcher/frmErrors.h"
#include "launcher/frmOptions.h"
#include "launcher/launch.h"
#include "launcher/qt_launch_view.h"
#include "platform/qt_busy_cursor.h"
#include "platform/qt_message_box.h"
#include "platform/qt_twips.h"
#include "platform/settings_store.h"
#include "shell/frmAbout.h"
#include "shell/frmDocument.h"
#include "shell/options.h"
#include "shell/placement.h"
#include "shell/qt_apply_string_table.h"
#include "shell/qt_images.h"
#include "shell/qt_outer_geometry.h"
#include "shell/script_caption.h"
#include "wizard/frmNMW.h"

namespace shell {

Forms forms;

namespace {

constexpr int kClockIntervalMs = 1000;
constexpr double kToolBarHeightTwips = 630;
constexpr double kPanelMinimumTwips = 1440;

QMenu* AddMenu(QMenuBar* bar, const char* name, const QString& caption)
{
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

// The menu shows the first shortcut; every one runs the item.
QAction* AddItem(QMenu* menu, const char* name, const QString& caption,
                 const QList<QKeySequence>& shortcuts = {})
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(name);
    item->setShortcuts(shortcuts);
    return item;
}

QAction* AddBar(QMenu* menu, const char* name)
{
    QAction* bar = menu->addSeparator();
    bar->setObjectName(name);
    return bar;
}

// A caption as a menu item shows it: its "&" are characters, not access keys.
QString MenuText(QString caption)
{
    return caption.replace(u'&', QStringLiteral("&&"));
}

QLabel* AddPanel(QStatusBar* bar, const QString& text, int stretch)
{
    auto* panel = new QLabel(text, bar);
    panel->setTextFormat(Qt::PlainText);
    panel->setMinimumWidth(platform::TwipsToPixelsX(kPanelMinimumTwips));
    if (stretch > 0)
        bar->addWidget(panel, stretch);
    else
        bar->addPermanentWidget(panel);
    return panel;
}

frmDocument* DocumentOf(QMdiSubWindow* window)
{
    return window ? qobject_cast<frmDocument*>(window->widget()) : nullptr;
}

QList<QRectF> ScreensInTwips()
{
    QList<QRectF> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        screens.append(QRectF(platform::PixelsToTwipsX(area.x()), platform::PixelsToTwipsY(area.y()),
                              platform::PixelsToTwipsX(area.width()),
                              platform::PixelsToTwipsY(area.height())));
    }
    return screens;
}

}  // namespace

void SetStatus(const QString& text)
{
    if (!forms.MainWindow)
        return;
    forms.MainWindow->sbStatusBarPanels[0]->setText(text);
    forms.MainWindow->sbStatusBarPanels[0]->repaint();
}

void ShowFailure(QWidget* owner, const platform::Status& status)
{
    platform::MsgBox(owner, status.message(), kApplicationName, platform::MsgBoxButtons::Ok,
                     platform::MsgBoxIcon::Critical);
}

frmMain::frmMain()
{
    forms.MainWindow = this;
    setWindowTitle(kApplicationName);
    setWindowIcon(ProgramIcon());
    mdiArea = new QMdiArea(this);
    setCentralWidget(mdiArea);
    connect(mdiArea, &QMdiArea::subWindowActivated, this, &frmMain::ScriptWindowActivated);
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    ConnectCommands();
    MDIForm_Load();
}

frmMain::~frmMain()
{
    // The script windows go with the MDI area, after this part of the window is gone.
    disconnect(mdiArea, nullptr, this, nullptr);
    forms.MainWindow = nullptr;
}

void frmMain::CreateMenus()
{
    CreateFileMenu();

    mnuEdit = AddMenu(menuBar(), "mnuEdit", "1013");
    // Shift+Delete, Ctrl+Insert and Shift+Insert cut, copy and paste in every text box.
    mnuEditCut = AddItem(mnuEdit, "mnuEditCut", "1015", {Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete});
    mnuEditCopy = AddItem(mnuEdit, "mnuEditCopy", "1016", {Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert});
    mnuEditPaste = AddItem(mnuEdit, "mnuEditPaste", "1017", {Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert});

    mnuView = AddMenu(menuBar(), "mnuView", "1019");
    mnuViewToolbar = AddItem(mnuView, "mnuViewToolbar", "1020");
    mnuViewStatusBar = AddItem(mnuView, "mnuViewStatusBar", "1021");
    for (QAction* item : {mnuViewToolbar, mnuViewStatusBar}) {
        item->setCheckable(true);
        item->setChecked(true);
    }
    mnuViewBar0 = AddBar(mnuView, "mnuViewBar0");
    mnuViewOptions = AddItem(mnuView, "mnuViewOptions", "1023");

    mnuTools = AddMenu(menuBar(), "mnuTools", "1025");
    mnuToolsOptions = AddItem(mnuTools, "mnuToolsOptions", "1026");
    mnuToolsLaunchIndependenceWar =
        AddItem(mnuTools, "mnuToolsLaunchIndependenceWar", "Launch Independence War");
    mnuToolsSep = AddBar(mnuTools, "mnuToolsSep");
    mnuToolsVariables = AddItem(mnuTools, "mnuToolsVariables", "Variables");
    mnuToolsStarships = AddItem(mnuTools, "mnuToolsStarships", "Starships");
    connect(mnuToolsVariables, &QAction::triggered, this, &frmMain::mnuToolsVariables_Click);
    connect(mnuToolsStarships, &QAction::triggered, this, &frmMain::mnuToolsStarships_Click);

    mnuWindow = AddMenu(menuBar(), "mnuWindow", "1027");
    mnuWindowNewWindow = AddItem(mnuWindow, "mnuWindowNewWindow", "1028");
    mnuWindowsErrors = AddItem(mnuWindow, "mnuWindowsErrors", "Errors");
    mnuWindowBar0 = AddBar(mnuWindow, "mnuWindowBar0");
    mnuWindowCascade = AddItem(mnuWindow, "mnuWindowCascade", "1029");
    mnuWindowTileHorizontal = AddItem(mnuWindow, "mnuWindowTileHorizontal", "1030");
    mnuWindowTileVertical = AddItem(mnuWindow, "mnuWindowTileVertical", "1031");
    mnuWindowArrangeIcons = AddItem(mnuWindow, "mnuWindowArrangeIcons", "1032");
    connect(mnuWindowNewWindow, &QAction::triggered, this, &frmMain::mnuWindowNewWindow_Click);
    connect(mnuWindowsErrors, &QAction::triggered, this, &frmMain::mnuWindowsErrors_Click);
    connect(mnuToolsOptions, &QAction::triggered, this, &frmMain::mnuToolsOptions_Click);
    connect(mnuViewOptions, &QAction::triggered, this, &frmMain::mnuViewOptions_Click);
    connect(mnuToolsLaunchIndependenceWar, &QAction::triggered, this,
            &frmMain::mnuToolsLaunchIndependenceWar_Click);
    connect(mnuWindow, &QMenu::aboutToShow, this, &frmMain::ListScriptWindows);

    mnuHelp = AddMenu(menuBar(), "mnuHelp", "1033");
    mnuHelpAbout = AddItem(mnuHelp, "mnuHelpAbout", "1036");
    connect(mnuHelpAbout, &QAction::triggered, this, &frmMain::mnuHelpAbout_Click);
    connect(mnuFileNMW, &QAction::triggered, this, &frmMain::mnuFileNMW_Click);
}

void frmMain::CreateFileMenu()
{
    mnuFile = AddMenu(menuBar(), "mnuFile", "1000");
    mnuFileNew = AddItem(mnuFile, "mnuFileNew", "1001", {Qt::CTRL | Qt::Key_N});
    mnuFileNMW = AddItem(mnuFile, "mnuFileNMW", "New Mission Wizard");
    mnuFileNMW->setVisible(false);
    mnuFileOpen = AddItem(mnuFile, "mnuFileOpen", "1002", {Qt::CTRL | Qt::Key_O});
    mnuFileClose = AddItem(mnuFile, "mnuFileClose", "1003");
    mnuFileBar0 = AddBar(mnuFile, "mnuFileBar0");
    mnuFileSave = AddItem(mnuFile, "mnuFileSave", "1004");
    mnuFileSaveAs = AddItem(mnuFile, "mnuFileSaveAs", "1005");
    mnuFileBar1 = AddBar(mnuFile, "mnuFileBar1");
    mnuFilePageSetup = AddItem(mnuFile, "mnuFilePageSetup", "1008");
    mnuFilePrint = AddItem(mnuFile, "mnuFilePrint", "1010");
    mnuFileBar3 = AddBar(mnuFile, "mnuFileBar3");
    for (int index = 0; index < RecentFiles::kEntries; ++index) {
        mnuFileMRU[index] = AddItem(mnuFile, "mnuFileMRU", QString());
        mnuFileMRU[index]->setVisible(false);
        connect(mnuFileMRU[index], &QAction::triggered, this, [this, index] { mnuFileMRU_Click(index); });
    }
    mnuFileBar5 = AddBar(mnuFile, "mnuFileBar5");
    mnuFileBar5->setVisible(false);
    mnuFileExit = AddItem(mnuFile, "mnuFileExit", "1012");

    connect(mnuFileNew, &QAction::triggered, this, &frmMain::mnuFileNew_Click);
    connect(mnuFileOpen, &QAction::triggered, this, &frmMain::mnuFileOpen_Click);
    connect(mnuFileClose, &QAction::triggered, this, &frmMain::mnuFileClose_Click);
    connect(mnuFileSave, &QAction::triggered, this, &frmMain::mnuFileSave_Click);
    connect(mnuFileSaveAs, &QAction::triggered, this, &frmMain::mnuFileSaveAs_Click);
    connect(mnuFileExit, &QAction::triggered, this, &frmMain::mnuFileExit_Click);
}

void frmMain::CreateToolBar()
{
    struct Button {
        const char* key;
        const char* toolTip;
        const char* image;
    };
    static constexpr Button kButtons[] = {
        {"New", "1037", "New"},       {"Open", "1038", "Open"},
        {"Save", "1039", "Save"},     {nullptr, nullptr, nullptr},
        {"Print", "1041", "Print"},   {nullptr, nullptr, nullptr},
        {"Cut", "1042", "Cut"},       {"Copy", "1043", "Copy"},
        {"Paste", "1044", "Paste"},   {nullptr, nullptr, nullptr},
        {"Launch", "Launch Independence War", "Camera"},
    };

    tbToolBar = addToolBar(QString());
    tbToolBar->setObjectName("tbToolBar");
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);
    tbToolBar->setMinimumHeight(platform::TwipsToPixelsY(kToolBarHeightTwips));
    for (const Button& button : kButtons) {
        if (!button.key) {
            tbToolBar->addSeparator();
            continue;
        }
        QAction* action = tbToolBar->addAction(ToolbarImage(button.image), button.key);
        action->setObjectName(button.key);
        action->setToolTip(button.toolTip);
    }
    connect(tbToolBar, &QToolBar::actionTriggered, this,
            [this](QAction* button) { tbToolBar_ButtonClick(button->objectName()); });
}

void frmMain::CreateStatusBar()
{
    sbStatusBar = statusBar();
    sbStatusBar->setObjectName("sbStatusBar");
    sbStatusBar->setSizeGripEnabled(false);
    sbStatusBarPanels = {AddPanel(sbStatusBar, QStringLiteral("Status"), 1),
                         AddPanel(sbStatusBar, QString(), 0), AddPanel(sbStatusBar, QString(), 0)};
    ShowDateAndTime();
    auto* clock = new QTimer(this);
    connect(clock, &QTimer::timeout, this, &frmMain::ShowDateAndTime);
    clock->start(kClockIntervalMs);
}

void frmMain::ShowDateAndTime()
{
    const QLocale locale;
    sbStatusBarPanels[1]->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    sbStatusBarPanels[2]->setText(locale.toString(QTime::currentTime(), QLocale::ShortFormat));
}

void frmMain::MDIForm_Load()
{
    SetStatus(QStringLiteral("Loading..."));
    ApplyStringTable(*this);
    RestorePlacement();
    recentFiles_.Load();
    ShowRecentFiles();
    SetStatus(QStringLiteral("Normal"));
    NewScriptWindow();
}

void frmMain::MDIForm_Unload()
{
    (void)platform::TakeSettingsFailure();  // only what this shut-down stores counts
    {
        const platform::SettingsBatch batch(kApplicationName);
        StorePlacement();
        SaveOptions();
        recentFiles_.Save();
    }
    // The keyword table does not change while the program runs: a failed rewrite loses nothing.
    (void)language::SaveCommands();
    if (const platform::Status stored = platform::TakeSettingsFailure(); !stored)
        ShowFailure(this, stored);
    launcher::UnloadErrorsWindow();
    language::UnloadVariablesDialog();
    language::UnloadStarshipsDialog();
    wizard::UnloadNewMissionWizard();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    if (!CloseAllScriptWindows()) {
        event->ignore();
        return;
    }
    MDIForm_Unload();
    event->accept();
}

// In the order they were created; a Cancel stops the closing, and the windows closed before it
// stay closed.
bool frmMain::CloseAllScriptWindows()
{
    for (QMdiSubWindow* window : mdiArea->subWindowList()) {
        if (!window->close())
            return false;
    }
    return true;
}

void frmMain::RestorePlacement()
{
    const Placement placement = LoadPlacement(ScreensInTwips());
    SetOuterGeometry(this, QRect(platform::TwipsToPixelsX(placement.Left),
                                 platform::TwipsToPixelsY(placement.Top),
                                 platform::TwipsToPixelsX(placement.Width),
                                 platform::TwipsToPixelsY(placement.Height)));
}

// A minimised window keeps the placement stored before; a maximised one stores the placement
// it has while maximised.
void frmMain::StorePlacement()
{
    if (isMinimized())
        return;
    const QRect outer = frameGeometry();
    SavePlacement({float(platform::PixelsToTwipsX(outer.x())),
                   float(platform::PixelsToTwipsY(outer.y())),
                   float(platform::PixelsToTwipsX(outer.width())),
                   float(platform::PixelsToTwipsY(outer.height()))});
}

void frmMain::ShowRecentFiles()
{
    for (int index = 0; index < RecentFiles::kEntries; ++index) {
        mnuFileMRU[index]->setText(MenuText(recentFiles_.Entry(index)));
        mnuFileMRU[index]->setVisible(recentFiles_.IsShown(index));
    }
    mnuFileBar5->setVisible(recentFiles_.AnyShown());
}

// Below the Window menu's own items: every script window by its caption, the active one checked.
void frmMain::ListScriptWindows()
{
    qDeleteAll(windowList_);
    windowList_.clear();
    const QList<QMdiSubWindow*> windows = mdiArea->subWindowList();
    if (windows.isEmpty())
        return;
    windowList_.append(mnuWindow->addSeparator());
    for (int index = 0; index < windows.size(); ++index) {
        QMdiSubWindow* window = windows[index];
        const QString number = QString::number(index + 1);
        const QString prefix = index < 9 ? u'&' + number : number;
        QAction* entry = mnuWindow->addAction(prefix + u' ' + MenuText(window->windowTitle()));
        entry->setCheckable(true);
        entry->setChecked(window == mdiArea->currentSubWindow());
        connect(entry, &QAction::triggered, window, [this, window] { mdiArea->setActiveSubWindow(window); });
        windowList_.append(entry);
    }
}

// The platform reports a window again when the whole program becomes active again; a script
// window is analysed only when it becomes the active one among the script windows.
void frmMain::ScriptWindowActivated(QMdiSubWindow* window)
{
    if (!window || window == lastActivated_)
        return;
    lastActivated_ = window;
    if (frmDocument* document = DocumentOf(window))
        document->Form_Activate();
}

frmDocument* frmMain::NewScriptWindow()
{
    ++ScriptCounter;
    auto* document = new frmDocument;
    document->setCaption(ScriptCaption(ScriptCounter));
    QMdiSubWindow* window = mdiArea->addSubWindow(document);
    window->show();
    mdiArea->setActiveSubWindow(window);
    return document;
}

frmDocument* frmMain::activeScriptWindow() const
{
    return DocumentOf(mdiArea->currentSubWindow());
}

// A new script window holding the file, captioned with its path. When the file cannot be read,
// the user is told and the empty window goes at once, without asking to save it, so that no
// answer can write its empty text over the file.
frmDocument* frmMain::OpenInNewWindow(const QString& path)
{
    frmDocument* document = NewScriptWindow();
    const platform::Status loaded =
        platform::WhileBusy([&] { return document->rtfText.setFilename(path); });
    if (!loaded) {
        ShowFailure(this, loaded);
        Discard(document);
        return nullptr;
    }
    document->setCaption(path);
    return document;
}

void frmMain::Discard(frmDocument* document)
{
    QWidget* window = document->parentWidget();
    mdiArea->removeSubWindow(window);
    window->deleteLater();
}

void frmMain::mnuFileNew_Click()
{
    NewScriptWindow();
}

void frmMain::mnuWindowNewWindow_Click()
{
    NewScriptWindow();
}

// The path chosen in the file dialog; none when the user cancelled or chose no name.
std::optional<QString> frmMain::AskForPath(FileDialog kind, const QString& title,
                                           const QString& filter)
{
    dlgCommonDialog.DialogTitle = title;
    dlgCommonDialog.CancelError = false;
    dlgCommonDialog.Filter = filter;
    const platform::Status shown =
        kind == FileDialog::Open ? dlgCommonDialog.ShowOpen() : dlgCommonDialog.ShowSave();
    if (!shown || dlgCommonDialog.FileName.isEmpty())
        return std::nullopt;
    return dlgCommonDialog.FileName;
}

void frmMain::mnuFileOpen_Click()
{
    const std::optional<QString> chosen =
        AskForPath(FileDialog::Open, QStringLiteral("Open"),
                   QStringLiteral("Script Files (*.scr)|*.scr|Ship Files (*.shp)|*.shp"));
    if (!chosen)
        return;
    const QString path = *chosen;
    if (frmDocument* document = OpenInNewWindow(path)) {
        const platform::BusyCursor busy;
        language::ParseVariables(document->rtfText);
        language::ParseStarships(document->rtfText);
        language::ColorizeScript(document->rtfText);
    }
    recentFiles_.Push(path);
    ShowRecentFiles();
}

// Leaves the list as it is and runs no analysis: that follows at the next activation or Enter.
void frmMain::mnuFileMRU_Click(int index)
{
    if (frmDocument* document = OpenInNewWindow(recentFiles_.Entry(index))) {
        const platform::BusyCursor busy;
        language::ColorizeScript(document->rtfText);
    }
}

void frmMain::mnuFileClose_Click()
{
    if (QMdiSubWindow* window = mdiArea->currentSubWindow())
        window->close();
}

// An untitled window saves to the file chosen but stays untitled: the next Save asks again.
void frmMain::mnuFileSave_Click()
{
    frmDocument* document = activeScriptWindow();
    if (!document)
        return;
    if (!IsUntitled(document->caption())) {
        document->SaveTo(document->caption());
        return;
    }
    if (const std::optional<QString> path = AskForScriptPath())
        document->SaveTo(*path);
}

std::optional<QString> frmMain::AskForScriptPath()
{
    return AskForPath(FileDialog::Save, QStringLiteral("Save"),
                      QStringLiteral("Script Files (*.scr)|*.scr"));
}

// The window takes the new path only once its text is there.
void frmMain::mnuFileSaveAs_Click()
{
    frmDocument* document = activeScriptWindow();
    if (!document)
        return;
    const std::optional<QString> path = AskForPath(
        FileDialog::Save, QStringLiteral("Save As"), QStringLiteral("All Files (*.*)|*.*"));
    if (path && document->SaveTo(*path))
        document->setCaption(*path);
}

void frmMain::mnuFileExit_Click()
{
    close();
}

// Keys are compared exactly, in this order; a key without a command does nothing.
void frmMain::tbToolBar_ButtonClick(const QString& key)
{
    struct Command {
        QStringView key;
        void (frmMain::*run)();
    };
    static constexpr Command kCommands[] = {
        {u"New", &frmMain::mnuFileNew_Click},     {u"Open", &frmMain::mnuFileOpen_Click},
        {u"Save", &frmMain::mnuFileSave_Click},   {u"Print", &frmMain::mnuFilePrint_Click},
        {u"Cut", &frmMain::mnuEditCut_Click},     {u"Copy", &frmMain::mnuEditCopy_Click},
        {u"Paste", &frmMain::mnuEditPaste_Click},
        {u"Launch", &frmMain::mnuToolsLaunchIndependenceWar_Click},
    };
    const auto command = std::ranges::find(kCommands, QStringView(key), &Command::key);
    if (command != std::end(kCommands))
        (this->*command->run)();
}

void frmMain::mnuToolsOptions_Click()
{
    launcher::ShowOptionsDialog(this);
}

void frmMain::mnuViewOptions_Click()
{
    launcher::ShowOptionsDialog(this);
}

void frmMain::mnuToolsLaunchIndependenceWar_Click()
{
    const frmDocument* script = activeScriptWindow();
    launcher::QtLaunchView view(this);
    launcher::LaunchIndependenceWar(
        script ? std::optional(script->rtfText.Text()) : std::nullopt, view);
}

void frmMain::mnuToolsVariables_Click()
{
    language::VariablesDialog().ShowModal();
}

void frmMain::mnuToolsStarships_Click()
{
    language::StarshipsDialog().ShowModal();
}

void frmMain::mnuWindowsErrors_Click()
{
    launcher::QtLaunchView view(this);
    launcher::ListErrors(view);
}

void frmMain::mnuHelpAbout_Click()
{
    ShowAboutBox(this);
}

// The wizard has no owner.
void frmMain::mnuFileNMW_Click()
{
    wizard::ShowNewMissionWizard();
}

}  // namespace shell
