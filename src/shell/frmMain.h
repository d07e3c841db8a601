#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <optional>

#include "platform/qt_common_dialog.h"
#include "platform/status.h"
#include "shell/recent_files.h"
#include "shell/window_arrangement.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QStatusBar;
class QToolBar;

namespace shell {

class frmDocument;
class frmMain;

// The forms that exist once in the program. The main window enters itself here for as long as
// it lives, so that every form can reach it (SetStatus); tests create and destroy it in turn.
struct Forms {
    frmMain* MainWindow = nullptr;
};
extern Forms forms;

// Sets the status text (panel 1 of the main window's status bar) and repaints the panel before
// returning. Does nothing while there is no main window.
void SetStatus(const QString& text);

// Tells the user of a failed file operation in a message box over owner: the status's message,
// which names the path and the reason.
void ShowFailure(QWidget* owner, const platform::Status& status);

// The program's frame window: menus, toolbar, status line, the recent-file list and the script
// windows as its children. Loads its settings when created; closing it asks every script window
// to close and, once all have, stores its settings and ends the program.
class frmMain : public QMainWindow {
    Q_OBJECT

public:
    frmMain();
    ~frmMain() override;

    // A new empty script window captioned "Script <n>", made the active one. Numbers are never
    // given twice.
    frmDocument* NewScriptWindow();
    // The active script window; nullptr when none is open.
    frmDocument* activeScriptWindow() const;
    // The path to save a window without a file to, asked in the Save dialog; none on Cancel.
    std::optional<QString> AskForScriptPath();

    // The menus, each item named by its path. Items without a handler yet do nothing.
    QMenu* mnuFile = nullptr;
    QAction* mnuFileNew = nullptr;
    QAction* mnuFileNMW = nullptr;
    QAction* mnuFileOpen = nullptr;
    QAction* mnuFileClose = nullptr;
    QAction* mnuFileBar0 = nullptr;
    QAction* mnuFileSave = nullptr;
    QAction* mnuFileSaveAs = nullptr;
    QAction* mnuFileBar1 = nullptr;
    QAction* mnuFilePageSetup = nullptr;
    QAction* mnuFilePrint = nullptr;
    QAction* mnuFileBar3 = nullptr;
    std::array<QAction*, RecentFiles::kEntries> mnuFileMRU{};
    QAction* mnuFileBar5 = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuEdit = nullptr;
    QAction* mnuEditCut = nullptr;
    QAction* mnuEditCopy = nullptr;
    QAction* mnuEditPaste = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuViewToolbar = nullptr;
    QAction* mnuViewStatusBar = nullptr;
    QAction* mnuViewBar0 = nullptr;
    QAction* mnuViewOptions = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuToolsOptions = nullptr;
    QAction* mnuToolsLaunchIndependenceWar = nullptr;
    QAction* mnuToolsSep = nullptr;
    QAction* mnuToolsVariables = nullptr;
    QAction* mnuToolsStarships = nullptr;
    QMenu* mnuWindow = nullptr;
    QAction* mnuWindowNewWindow = nullptr;
    QAction* mnuWindowsErrors = nullptr;
    QAction* mnuWindowBar0 = nullptr;
    QAction* mnuWindowCascade = nullptr;
    QAction* mnuWindowTileHorizontal = nullptr;
    QAction* mnuWindowTileVertical = nullptr;
    QAction* mnuWindowArrangeIcons = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpAbout = nullptr;

    // Buttons are actions named by their key ("New", "Open", ...).
    QToolBar* tbToolBar = nullptr;
    QStatusBar* sbStatusBar = nullptr;
    // Panels 1 (status text), 2 (date) and 3 (time).
    std::array<QLabel*, 3> sbStatusBarPanels{};
    QMdiArea* mdiArea = nullptr;
    platform::CommonDialog dlgCommonDialog{this};
    qint32 ScriptCounter = 0;

    void MDIForm_Load();
    void MDIForm_Unload();
    void mnuFileNew_Click();
    void mnuFileOpen_Click();
    void mnuFileClose_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileMRU_Click(int index);
    void mnuFileExit_Click();
    void mnuWindowNewWindow_Click();
    void mnuWindowsErrors_Click();
    void mnuHelpAbout_Click();
    void mnuFileNMW_Click();
    void mnuToolsOptions_Click();
    void mnuViewOptions_Click();
    void mnuToolsLaunchIndependenceWar_Click();
    void mnuToolsVariables_Click();
    void mnuToolsStarships_Click();
    void tbToolBar_ButtonClick(const QString& key);
    void mnuEditCut_Click();
    void mnuEditCopy_Click();
    void mnuEditPaste_Click();
    void mnuFilePrint_Click();
    void mnuFilePageSetup_Click();
    void mnuViewToolbar_Click();
    void mnuViewStatusBar_Click();
    void mnuWindowCascade_Click();
    void mnuWindowTileHorizontal_Click();
    void mnuWindowTileVertical_Click();
    void mnuWindowArrangeIcons_Click();
    // Arranges the script windows; with none open nothing changes.
    void Arrange(Arrangement arrangement);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class FileDialog { Open, Save };

    std::optional<QString> AskForPath(FileDialog kind, const QString& title, const QString& filter);
    void CreateMenus();
    void ConnectCommands();
    void CreateFileMenu();
    void CreateToolBar();
    void CreateStatusBar();
    void ShowDateAndTime();
    void RestorePlacement();
    void StorePlacement();
    void ShowRecentFiles();
    void ListScriptWindows();
    void ScriptWindowActivated(QMdiSubWindow* window);
    frmDocument* OpenInNewWindow(const QString& path);
    void Discard(frmDocument* document);
    bool CloseAllScriptWindows();

    RecentFiles recentFiles_;
    QList<QAction*> windowList_;
    QPointer<QMdiSubWindow> lastActivated_;
};

}  // namespace shell
