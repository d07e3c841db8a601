#include "shell/frmMain.h"

#include <QDir>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "platform/qt_twips.h"
#include "platform/text_file.h"
#include "shell/window_test_fixture.h"

namespace shell::testing {
namespace {

using platform::MsgBoxResult;
using platform::PixelsToTwipsX;
using platform::PixelsToTwipsY;
using platform::TwipsToPixelsX;
using platform::TwipsToPixelsY;

using MainWindow = WindowTest;

// Each item of a menu as "name|shown text|shortcut", with "|hidden" for a hidden item.
QStringList Items(const QMenu* menu)
{
    QStringList items;
    for (const QAction* item : menu->actions()) {
        QString line = item->objectName() + u'|' + item->text() + u'|' + item->shortcut().toString();
        if (!item->isVisible())
            line += QStringLiteral("|hidden");
        items.append(line);
    }
    return items;
}

QStringList ShownRecentFiles(const frmMain& window)
{
    QStringList shown;
    for (const QAction* entry : window.mnuFileMRU)
        shown.append(entry->isVisible() ? entry->text() : QStringLiteral("<hidden>"));
    return shown;
}

TEST_F(MainWindow, FirstRunWithAnEmptyStore)
{
    frmMain& window = Start();
    EXPECT_EQ(window.windowTitle(), "Orbiscribe");
    EXPECT_EQ(window.pos(), QPoint(TwipsToPixelsX(1000), TwipsToPixelsY(1000)));
    EXPECT_EQ(window.size(), QSize(TwipsToPixelsX(6500), TwipsToPixelsY(6500)));
    EXPECT_EQ(ShownRecentFiles(window), (QStringList{"<hidden>", "<hidden>", "<hidden>"}));
    EXPECT_FALSE(window.mnuFileBar5->isVisible());
    EXPECT_EQ(Captions(), QStringList{"Script 1"});
    EXPECT_EQ(window.activeScriptWindow(), ScriptWindows().value(0));
    EXPECT_EQ(window.sbStatusBarPanels[0]->text(), "Normal");
    EXPECT_FALSE(window.sbStatusBarPanels[1]->text().isEmpty());
    EXPECT_FALSE(window.sbStatusBarPanels[2]->text().isEmpty());
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindow, MenusAndToolbarAsLaidOut)
{
    frmMain& window = Start();
    QStringList menus;
    for (const QAction* menu : window.menuBar()->actions())
        menus.append(menu->menu()->objectName() + u'|' + menu->text());
    EXPECT_EQ(menus, (QStringList{"mnuFile|&File", "mnuEdit|&Edit", "mnuView|&View",
                                  "mnuTools|&Tools", "mnuWindow|&Window", "mnuHelp|&Help"}));
    EXPECT_EQ(Items(window.mnuFile),
              (QStringList{"mnuFileNew|&New|Ctrl+N", "mnuFileNMW|New Mission Wizard||hidden",
                           "mnuFileOpen|&Open...|Ctrl+O", "mnuFileClose|&Close|", "mnuFileBar0||",
                           "mnuFileSave|&Save|", "mnuFileSaveAs|Save &As...|", "mnuFileBar1||",
                           "mnuFilePageSetup|Page Set&up...|", "mnuFilePrint|&Print...|",
                           "mnuFileBar3||", "mnuFileMRU|||hidden", "mnuFileMRU|||hidden",
                           "mnuFileMRU|||hidden", "mnuFileBar5|||hidden", "mnuFileExit|E&xit|"}));
    EXPECT_EQ(Items(window.mnuEdit), (QStringList{"mnuEditCut|Cu&t|Ctrl+X", "mnuEditCopy|&Copy|Ctrl+C",
                                                  "mnuEditPaste|&Paste|Ctrl+V"}));
    EXPECT_EQ(Items(window.mnuView),
              (QStringList{"mnuViewToolbar|&Toolbar|", "mnuViewStatusBar|Status &Bar|", "mnuViewBar0||",
                           "mnuViewOptions|&Options...|"}));
    EXPECT_TRUE(window.mnuViewToolbar->isChecked());
    EXPECT_TRUE(window.mnuViewStatusBar->isChecked());
    EXPECT_EQ(Items(window.mnuTools),
              (QStringList{"mnuToolsOptions|&Options...|",
                           "mnuToolsLaunchIndependenceWar|Launch Independence War|", "mnuToolsSep||",
                           "mnuToolsVariables|Variables|", "mnuToolsStarships|Starships|"}));
    EXPECT_EQ(Items(window.mnuWindow),
              (QStringList{"mnuWindowNewWindow|&New Window|", "mnuWindowsErrors|Errors|", "mnuWindowBar0||",
                           "mnuWindowCascade|&Cascade|", "mnuWindowTileHorizontal|Tile &Horizontal|",
                           "mnuWindowTileVertical|Tile &Vertical|",
                           "mnuWindowArrangeIcons|&Arrange Icons|"}));
    EXPECT_EQ(Items(window.mnuHelp), QStringList{"mnuHelpAbout|&About |"});

    QStringList buttons;
    for (const QAction* button : window.tbToolBar->actions()) {
        if (button->isSeparator())
            buttons.append(QStringLiteral("-"));
        else
            buttons.append(button->objectName() + u'|' + button->toolTip() +
                           (button->icon().isNull() ? QStringLiteral("|no image") : QString()));
    }
    EXPECT_EQ(buttons, (QStringList{"New|New", "Open|Open", "Save|Save", "-", "Print|Print", "-", "Cut|Cut",
                                    "Copy|Copy", "Paste|Paste", "-", "Launch|Launch Independence War"}));
}

TEST_F(MainWindow, RecentFilesAcrossARestart)
{
    Store("MRU", "MRU1", "C:\\a.scr");
    Store("MRU", "MRU3", "C:\\c.scr");
    frmMain& window = Start();
    EXPECT_EQ(ShownRecentFiles(window), (QStringList{"C:\\a.scr", "<hidden>", "C:\\c.scr"}));
    EXPECT_TRUE(window.mnuFileBar5->isVisible());

    ASSERT_TRUE(Exit({MsgBoxResult::No}));
    EXPECT_EQ(Stored("MRU", "MRU1"), "C:\\a.scr");
    EXPECT_EQ(Stored("MRU", "MRU2"), "");
    EXPECT_EQ(Stored("MRU", "MRU3"), "C:\\c.scr");

    EXPECT_EQ(ShownRecentFiles(Start()), (QStringList{"C:\\a.scr", "<hidden>", "C:\\c.scr"}));
}

TEST_F(MainWindow, RecentFileWithAmpersandShowsItAsACharacter)
{
    const QString path = environment.writeFile("Tom & Jerry.scr", "NUMBER x");
    Store("MRU", "MRU1", path);
    frmMain& window = Start();
    EXPECT_EQ(window.mnuFileMRU[0]->text(), QString(path).replace("&", "&&"));
    window.mnuFileMRU[0]->trigger();
    EXPECT_EQ(Captions().value(1), path);
}

TEST_F(MainWindow, WindowNumbersAreNeverGivenTwice)
{
    environment.writeFile("wine/drive_c/a.scr", "NUMBER x\r\n");
    Store("MRU", "MRU1", "C:\\a.scr");
    frmMain& window = Start();
    window.mnuFileMRU[0]->trigger();
    window.mnuFileNew->trigger();
    EXPECT_EQ(Captions(), (QStringList{"Script 1", "C:\\a.scr", "Script 3"}));

    saveAnswers = {MsgBoxResult::No};
    window.mnuFileClose->trigger();
    window.mnuFileNew->trigger();
    EXPECT_EQ(Captions(), (QStringList{"Script 1", "C:\\a.scr", "Script 4"}));

    window.mnuWindowNewWindow->trigger();
    window.tbToolBar_ButtonClick("New");
    EXPECT_EQ(Captions().mid(3), (QStringList{"Script 5", "Script 6"}));
    EXPECT_EQ(window.activeScriptWindow()->caption(), "Script 6");
}

TEST_F(MainWindow, ReopenLoadsAndColoursOnlyAndKeepsTheList)
{
    environment.writeFile("wine/drive_c/a.scr", "NUMBER x\r\n");
    Store("MRU", "MRU1", "C:\\a.scr");
    Store("MRU", "MRU2", "C:\\b.scr");
    language::AddCommand("NUMBER");
    frmMain& window = Start();
    options.SystemFlags = 0;
    window.mnuFileMRU[0]->trigger();
    EXPECT_NE(ColorOf(*window.activeScriptWindow(), 0), QColor(Qt::blue));
    options.SystemFlags = 1;
    window.mnuFileMRU[0]->trigger();
    EXPECT_EQ(ColorOf(*window.activeScriptWindow(), 0), QColor(Qt::blue));
    EXPECT_EQ(Captions(), (QStringList{"Script 1", "C:\\a.scr", "C:\\a.scr"}));
    EXPECT_EQ(window.activeScriptWindow()->rtfText.Text(), "NUMBER x\r\n");
    EXPECT_EQ(ShownRecentFiles(window), (QStringList{"C:\\a.scr", "C:\\b.scr", "<hidden>"}));
    // Only the new, still empty windows were analysed, as they became active.
    EXPECT_EQ(status.texts,
              (QStringList{"Parsing Script 2...", "Normal", "Parsing Script 3...", "Normal"}));
    EXPECT_TRUE(language::VarTable[0][0].isEmpty());
}

TEST_F(MainWindow, WindowMenuListsTheScriptWindows)
{
    frmMain& window = Start();
    window.mnuFileNew->trigger();
    window.mnuFileNew->trigger();
    ScriptWindows()[1]->setCaption("C:\\R&D\\a.scr");
    emit window.mnuWindow->aboutToShow();
    emit window.mnuWindow->aboutToShow();  // built afresh, not added twice

    QStringList listed;
    for (const QAction* item : window.mnuWindow->actions().mid(7))
        listed.append(item->isSeparator() ? QStringLiteral("-")
                                          : item->text() + (item->isChecked() ? "|checked" : ""));
    EXPECT_EQ(listed, (QStringList{"-", "&1 Script 1", "&2 C:\\R&&D\\a.scr", "&3 Script 3|checked"}));

    window.mnuWindow->actions()[9]->trigger();
    EXPECT_EQ(window.activeScriptWindow()->caption(), "C:\\R&D\\a.scr");
}

TEST_F(MainWindow, OpenLoadsAnalysesAndPushesThePath)
{
    const QString path = environment.writeFile("scripts/mission.scr", "NUMBER speed\r\nSTRING name");
    language::AddCommand("NUMBER");
    frmMain& window = Start();
    fileAnswers = {path};
    window.mnuFileOpen->trigger();

    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].kind, "Open");
    EXPECT_EQ(dialogs[0].title, "Open");
    EXPECT_EQ(dialogs[0].filter, "Script Files (*.scr)|*.scr|Ship Files (*.shp)|*.shp");
    EXPECT_FALSE(dialogs[0].cancelError);
    EXPECT_EQ(Captions(), (QStringList{"Script 1", path}));
    EXPECT_EQ(window.activeScriptWindow()->rtfText.Text(), "NUMBER speed\r\nSTRING name");
    EXPECT_EQ(ColorOf(*window.activeScriptWindow(), 0), QColor(Qt::blue));
    EXPECT_EQ(language::VarTable[0][0], "speed");
    EXPECT_EQ(language::VarTable[1][0], "name");
    EXPECT_EQ(ShownRecentFiles(window), (QStringList{path, "<hidden>", "<hidden>"}));
    EXPECT_TRUE(window.mnuFileBar5->isVisible());

    // The same file again: two windows with one caption, the path twice in the list.
    fileAnswers = {path};
    window.tbToolBar_ButtonClick("Open");
    EXPECT_EQ(Captions(), (QStringList{"Script 1", path, path}));
    EXPECT_EQ(ShownRecentFiles(window), (QStringList{path, path, "<hidden>"}));
    window.mnuFileNew->trigger();
    EXPECT_EQ(Captions().last(), "Script 4");
}

TEST_F(MainWindow, OpenOfRtfKeepsTheTextAndSaveWritesItPlain)
{
    const QByteArray wordPad =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
        "{\\colortbl ;\\red0\\green0\\blue255;}\r\n"
        "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\cf1\\f0\\fs20 NUMBER\\cf0  "
        "caf\\'e9\\par\r\n"
        "STRING s\\tab ; note\\par\r\n"
        "}\r\n";
    const QString path = environment.writeFile("mission.scr", wordPad);
    frmMain& window = Start();
    fileAnswers = {path};
    window.mnuFileOpen->trigger();
    frmDocument* document = window.activeScriptWindow();
    ASSERT_EQ(document->caption(), path);
    const QString text = document->rtfText.Text();
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("NUMBER café\r\nSTRING s\t; note"))) << text.toStdString();
    EXPECT_EQ(language::VarTable[0][0], QString::fromUtf8("café"));

    window.mnuFileSave->trigger();
    EXPECT_EQ(support::TestEnvironment::readFile(path), platform::EncodeText(text) + "\r\n");
}

TEST_F(MainWindow, OpenThenSaveWritesEveryByteBack)
{
    QByteArray content = "first line\r\n";
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n')
            content.append(char(byte));
    }
    content.append("\r\nlast line");
    const QString path = environment.writeFile("bytes.scr", content);
    frmMain& window = Start();
    fileAnswers = {path};
    window.mnuFileOpen->trigger();
    window.mnuFileSave->trigger();
    EXPECT_EQ(support::TestEnvironment::readFile(path), content + "\r\n");
}

TEST_F(MainWindow, OpenOfAFileThatCannotBeReadLeavesNoWindow)
{
    const QString missing = environment.root() + "/missing.scr";
    const QString folder = environment.root() + "/folder.scr";
    QDir().mkpath(folder);
    frmMain& window = Start();
    for (const QString& path : {missing, folder}) {
        messages.clear();
        fileAnswers = {path};
        window.mnuFileOpen->trigger();
        ASSERT_EQ(messages.size(), 1u) << "a failure message and no save question";
        EXPECT_TRUE(messages[0].text.contains(path)) << messages[0].text.toStdString();
        EXPECT_EQ(Captions(), QStringList{"Script 1"});
    }
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(ShownRecentFiles(window), (QStringList{folder, missing, "<hidden>"}));
    window.mnuFileNew->trigger();
    EXPECT_EQ(Captions().last(), "Script 4");
}

TEST_F(MainWindow, ReopenOfAFileThatCannotBeReadLeavesNoWindow)
{
    Store("MRU", "MRU1", "C:\\gone.scr");
    frmMain& window = Start();
    window.mnuFileMRU[0]->trigger();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains("C:\\gone.scr")) << messages[0].text.toStdString();
    EXPECT_EQ(Captions(), QStringList{"Script 1"});
    EXPECT_EQ(ShownRecentFiles(window), (QStringList{"C:\\gone.scr", "<hidden>", "<hidden>"}));
    EXPECT_FALSE(QFile::exists(environment.driveC() + "/gone.scr"));
}

TEST_F(MainWindow, CancelledDialogsChangeNothing)
{
    const QString chosen = environment.root() + "/chosen.scr";
    frmMain& window = Start();
    fileAnswers = {chosen};
    window.mnuFileSave->trigger();
    ASSERT_TRUE(QFile::remove(chosen));

    fileAnswers = {"", "", ""};
    window.mnuFileOpen->trigger();
    window.mnuFileSave->trigger();
    window.mnuFileSaveAs->trigger();
    EXPECT_EQ(dialogs.size(), 4u);
    EXPECT_EQ(Captions(), QStringList{"Script 1"});
    EXPECT_FALSE(QFile::exists(chosen));
    EXPECT_FALSE(window.mnuFileBar5->isVisible());
}

TEST_F(MainWindow, SaveOfAnUntitledWindowKeepsItsCaption)
{
    const QString chosen = environment.root() + "/chosen.scr";
    frmMain& window = Start();
    window.activeScriptWindow()->rtfText.setSelText("NUMBER x");
    fileAnswers = {chosen, ""};
    window.mnuFileSave->trigger();
    EXPECT_EQ(support::TestEnvironment::readFile(chosen), "NUMBER x\r\n");
    EXPECT_EQ(Captions(), QStringList{"Script 1"});
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_EQ(dialogs[0].kind, "Save");
    EXPECT_EQ(dialogs[0].title, "Save");
    EXPECT_EQ(dialogs[0].filter, "Script Files (*.scr)|*.scr");
    EXPECT_FALSE(dialogs[0].cancelError);

    window.tbToolBar_ButtonClick("Save");
    EXPECT_EQ(dialogs.size(), 2u) << "still untitled, so asked again";
}

TEST_F(MainWindow, SaveAsRetitlesTheWindow)
{
    const QString opened = environment.writeFile("opened.scr", "NUMBER a");
    const QString renamed = environment.root() + "/renamed.scr";
    frmMain& window = Start();
    fileAnswers = {opened, renamed};
    window.mnuFileOpen->trigger();
    window.mnuFileSaveAs->trigger();
    EXPECT_EQ(dialogs.back().title, "Save As");
    EXPECT_EQ(dialogs.back().filter, "All Files (*.*)|*.*");
    EXPECT_EQ(window.activeScriptWindow()->caption(), renamed);
    EXPECT_EQ(support::TestEnvironment::readFile(renamed), "NUMBER a\r\n");

    window.activeScriptWindow()->rtfText.setSelText("STRING b\r\n");
    window.mnuFileSave->trigger();
    EXPECT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(support::TestEnvironment::readFile(renamed), "STRING b\r\nNUMBER a\r\n");
    EXPECT_EQ(support::TestEnvironment::readFile(opened), "NUMBER a");

    // An untitled window named by Save As is saved on closing under that name.
    const QString named = environment.root() + "/named.scr";
    fileAnswers = {named};
    window.mnuFileNew->trigger();
    window.mnuFileSaveAs->trigger();
    window.activeScriptWindow()->rtfText.setSelText("BOOL c");
    saveAnswers = {MsgBoxResult::Yes};
    window.mnuFileClose->trigger();
    EXPECT_EQ(support::TestEnvironment::readFile(named), "BOOL c\r\n");
    EXPECT_FALSE(QFile::exists(environment.workDir() + "/Script 3"));
}

TEST_F(MainWindow, FailedSaveKeepsTheWindowItsTextAndItsCaption)
{
    const QString opened = environment.writeFile("folder/opened.scr", "NUMBER a");
    const QString unreachable = environment.root() + "/no such folder/new.scr";
    frmMain& window = Start();
    fileAnswers = {opened, unreachable};
    window.mnuFileOpen->trigger();
    ASSERT_TRUE(QDir(environment.root() + "/folder").removeRecursively());

    window.mnuFileSave->trigger();
    window.mnuFileSaveAs->trigger();
    saveAnswers = {MsgBoxResult::Yes};
    window.mnuFileClose->trigger();

    const QStringList texts = MessageTexts();
    ASSERT_EQ(texts.size(), 4);
    EXPECT_TRUE(texts[0].contains(opened)) << texts[0].toStdString();
    EXPECT_TRUE(texts[1].contains(unreachable)) << texts[1].toStdString();
    EXPECT_EQ(texts[2], "Do you wish to save your changes to " + opened + "?");
    EXPECT_TRUE(texts[3].contains(opened)) << texts[3].toStdString();
    EXPECT_EQ(Captions(), (QStringList{"Script 1", opened}));
    EXPECT_EQ(window.activeScriptWindow()->rtfText.Text(), "NUMBER a");
}

TEST_F(MainWindow, FileCommandsWithNoScriptWindow)
{
    frmMain& window = Start();
    saveAnswers = {MsgBoxResult::No};
    window.mnuFileClose->trigger();
    ASSERT_TRUE(Captions().isEmpty());
    EXPECT_EQ(window.activeScriptWindow(), nullptr);

    window.mnuFileClose->trigger();
    window.mnuFileSave->trigger();
    window.mnuFileSaveAs->trigger();
    window.tbToolBar_ButtonClick("Save");
    window.tbToolBar_ButtonClick("Print");
    window.tbToolBar_ButtonClick("new");
    EXPECT_TRUE(dialogs.empty());
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_TRUE(Captions().isEmpty());

    const QString path = environment.writeFile("a.scr", "NUMBER a");
    fileAnswers = {path};
    window.mnuFileOpen->trigger();
    window.mnuFileNew->trigger();
    EXPECT_EQ(Captions(), (QStringList{path, "Script 3"}));
}

TEST_F(MainWindow, CancelStopsTheShutDownAndStoresNothing)
{
    frmMain& window = Start();
    window.mnuFileNew->trigger();
    window.mnuFileNew->trigger();
    EXPECT_FALSE(Exit({MsgBoxResult::No, MsgBoxResult::Cancel}));

    EXPECT_EQ(MessageTexts(), (QStringList{"Do you wish to save your changes to Script 1?",
                                           "Do you wish to save your changes to Script 2?"}));
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(Captions(), (QStringList{"Script 2", "Script 3"}));
    EXPECT_FALSE(QFile::exists(environment.configHome() + "/Orbiscribe/Orbiscribe.ini"));
    EXPECT_FALSE(QFile::exists(environment.workDir() + "/commands.dat"));

    EXPECT_TRUE(Exit({MsgBoxResult::No, MsgBoxResult::No}));
    EXPECT_NE(Stored("MRU", "MRU1"), "<missing>");
}

TEST_F(MainWindow, ExitStoresPlacementOptionsKeywordsAndRecentFiles)
{
    Store("Settings", "MainLeft", "1500");
    Store("Settings", "MainTop", "1200");
    Store("Settings", "MainWidth", "7000");
    Store("Settings", "MainHeight", "5000");
    frmMain& window = Start();
    EXPECT_EQ(window.pos(), QPoint(TwipsToPixelsX(1500), TwipsToPixelsY(1200)));
    window.move(TwipsToPixelsX(2000), TwipsToPixelsY(3000));
    ASSERT_TRUE(Exit({MsgBoxResult::No}));

    EXPECT_EQ(Stored("Settings", "MainLeft").toFloat(), float(PixelsToTwipsX(TwipsToPixelsX(2000))));
    EXPECT_EQ(Stored("Settings", "MainTop").toFloat(), float(PixelsToTwipsY(TwipsToPixelsY(3000))));
    EXPECT_EQ(Stored("Settings", "MainWidth").toFloat(), float(PixelsToTwipsX(TwipsToPixelsX(7000))));
    EXPECT_EQ(Stored("Settings", "MainHeight").toFloat(), float(PixelsToTwipsY(TwipsToPixelsY(5000))));
    EXPECT_EQ(Stored("Options", "LaunchFlags"), "144");
    EXPECT_EQ(Stored("MRU", "MRU1"), "");
    EXPECT_TRUE(QFile::exists(environment.workDir() + "/commands.dat"));
}

TEST_F(MainWindow, ExitWhileMinimisedKeepsTheStoredPlacement)
{
    Store("Settings", "MainLeft", "1500");
    Store("Settings", "MainTop", "1200.5");
    frmMain& window = Start();
    window.showMinimized();
    ASSERT_TRUE(window.isMinimized());
    ASSERT_TRUE(Exit({MsgBoxResult::No}));
    EXPECT_EQ(Stored("Settings", "MainLeft"), "1500");
    EXPECT_EQ(Stored("Settings", "MainTop"), "1200.5");
    EXPECT_EQ(Stored("Settings", "MainWidth"), "<missing>");
    EXPECT_EQ(Stored("Options", "SystemFlags"), "1");
    EXPECT_EQ(Stored("MRU", "MRU3"), "");
    EXPECT_TRUE(QFile::exists(environment.workDir() + "/commands.dat"));
}

TEST_F(MainWindow, ExitWhileMaximisedStartsNormalWithThatPlacement)
{
    frmMain& window = Start();
    window.showMaximized();
    QCoreApplication::processEvents();
    const QRect maximised = window.geometry();
    ASSERT_TRUE(Exit({MsgBoxResult::No}));

    frmMain& restarted = Start();
    EXPECT_FALSE(restarted.isMaximized());
    EXPECT_EQ(restarted.geometry(), maximised);
}

TEST_F(MainWindow, PlacementThatCannotBeUsedGivesTheDefaults)
{
    Store("Settings", "MainLeft", "99999999");
    Store("Settings", "MainWidth", "-3000");
    frmMain& window = Start();
    EXPECT_EQ(window.pos(), QPoint(TwipsToPixelsX(1000), TwipsToPixelsY(1000)));
    EXPECT_EQ(window.size(), QSize(TwipsToPixelsX(6500), TwipsToPixelsY(6500)));
}

}  // namespace
}  // namespace shell::testing
