#include "shell/frmMain.h"

#include <QDir>
#include <QMenuBar>
#include <QRegularExpression>
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
using support::TestEnvironment;

using MainWindow = WindowTest;

QStringList ShownRecentFiles(const frmMain& window)
{
    QStringList shown;
    for (const QAction* entry : window.mnuFileMRU)
        shown.append(entry->isVisible() ? entry->text() : QStringLiteral("<hidden>"));
    return shown;
}

TEST_F(MainWindow, EmptyOrUnusableStoreGivesTheDefaults)
{
    for (const bool unusable : {false, true}) {
        if (unusable) {
            Store("Settings", "MainLeft", "99999999");
            Store("Settings", "MainWidth", "-3000");
        }
        frmMain& window = Start();
        EXPECT_EQ(window.frameGeometry(), QRect(TwipsToPixelsX(1000), TwipsToPixelsY(1000),
                                                TwipsToPixelsX(6500), TwipsToPixelsY(6500)));
        EXPECT_EQ(ShownRecentFiles(window), (QStringList{"<hidden>", "<hidden>", "<hidden>"}));
        EXPECT_FALSE(window.mnuFileBar5->isVisible());
        EXPECT_EQ(Captions(), QStringList{"Script 1"});
        EXPECT_EQ(window.activeScriptWindow(), ScriptWindows().value(0));
        EXPECT_EQ(window.sbStatusBarPanels[0]->text(), "Normal");
        EXPECT_FALSE(window.sbStatusBarPanels[1]->text().isEmpty() ||
                     window.sbStatusBarPanels[2]->text().isEmpty());
        EXPECT_TRUE(messages.empty());
    }
}

TEST_F(MainWindow, MenusAndToolbarAsLaidOut)
{
    frmMain& window = Start();
    // Each menu as its caption and its items, with their shortcuts; "-" for a bar, a hidden item
    // in brackets.
    QStringList menus;
    for (const QAction* menu : window.menuBar()->actions()) {
        QStringList items{menu->text()};
        for (const QAction* item : menu->menu()->actions()) {
            QString shown = item->isSeparator() ? QStringLiteral("-") : item->text();
            if (!item->shortcut().isEmpty())
                shown += u' ' + item->shortcut().toString();
            items.append(item->isVisible() ? shown : u'[' + shown + u']');
        }
        menus.append(items.join(u'|'));
    }
    EXPECT_EQ(menus, (QStringList{"&File|&New Ctrl+N|[New Mission Wizard]|&Open... Ctrl+O|&Close|-|&Save|"
                                  "Save &As...|-|Page Set&up...|&Print...|-|[]|[]|[]|[-]|E&xit",
                                  "&Edit|Cu&t Ctrl+X|&Copy Ctrl+C|&Paste Ctrl+V",
                                  "&View|&Toolbar|Status &Bar|-|&Options...",
                                  "&Tools|&Options...|Launch Independence War|-|Variables|Starships",
                                  "&Window|&New Window|Errors|-|&Cascade|Tile &Horizontal|Tile &Vertical|"
                                  "&Arrange Icons",
                                  "&Help|&About "}));
    EXPECT_TRUE(window.mnuViewToolbar->isChecked());
    EXPECT_TRUE(window.mnuViewStatusBar->isChecked());

    QStringList buttons;
    for (const QAction* button : window.tbToolBar->actions())
        buttons.append(button->isSeparator() ? QStringLiteral("-")
                                             : button->objectName() + u'|' + button->toolTip() +
                                                   (button->icon().isNull() ? "|no image" : ""));
    EXPECT_EQ(buttons, (QStringList{"New|New", "Open|Open", "Save|Save", "-", "Print|Print", "-", "Cut|Cut",
                                    "Copy|Copy", "Paste|Paste", "-", "Launch|Launch Independence War"}));
}

TEST_F(MainWindow, RecentAndWindowListsShowCaptionsAmpersandsIncluded)
{
    const QString path = environment.writeFile("Tom & Jerry.scr", "NUMBER x");
    Store("MRU", "MRU1", path);
    frmMain& window = Start();
    EXPECT_EQ(window.mnuFileMRU[0]->text(), QString(path).replace("&", "&&"));
    window.mnuFileMRU[0]->trigger();
    EXPECT_EQ(Captions().value(1), path);

    window.mnuFileNew->trigger();
    emit window.mnuWindow->aboutToShow();
    emit window.mnuWindow->aboutToShow();  // built afresh, not added twice
    QStringList listed;
    for (const QAction* item : window.mnuWindow->actions().mid(7))
        listed.append(item->isSeparator() ? QStringLiteral("-")
                                          : item->text() + (item->isChecked() ? "|checked" : ""));
    EXPECT_EQ(listed, (QStringList{"-", "&1 Script 1", "&2 " + QString(path).replace("&", "&&"),
                                   "&3 Script 3|checked"}));
    window.mnuWindow->actions()[9]->trigger();
    EXPECT_EQ(window.activeScriptWindow()->caption(), path);
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
    EXPECT_EQ(status.texts, (QStringList{"Parsing Script 2...", "Normal", "Parsing Script 3...", "Normal"}));
    EXPECT_TRUE(language::VarTable[0][0].isEmpty());
}

TEST_F(MainWindow, OpenLoadsAnalysesAndPushesThePath)
{
    const QString path = environment.writeFile("scripts/mission.scr", "NUMBER speed\r\nSTRING name");
    language::AddCommand("NUMBER");
    frmMain& window = Start();
    Open(path);
    EXPECT_EQ(dialogs, QStringList{"Open|Open|Script Files (*.scr)|*.scr|Ship Files (*.shp)|*.shp"});
    EXPECT_EQ(Captions(), (QStringList{"Script 1", path}));
    EXPECT_EQ(window.activeScriptWindow()->rtfText.Text(), "NUMBER speed\r\nSTRING name");
    EXPECT_EQ(ColorOf(*window.activeScriptWindow(), 0), QColor(Qt::blue));
    EXPECT_EQ(language::VarTable[0][0], "speed");
    EXPECT_EQ(language::VarTable[1][0], "name");
    EXPECT_EQ(ShownRecentFiles(window), (QStringList{path, "<hidden>", "<hidden>"}));
    EXPECT_TRUE(window.mnuFileBar5->isVisible());

    fileAnswers = {path};
    window.tbToolBar_ButtonClick("Open");
    EXPECT_EQ(Captions(), (QStringList{"Script 1", path, path}));
    EXPECT_EQ(ShownRecentFiles(window), (QStringList{path, path, "<hidden>"}));
}

TEST_F(MainWindow, OpenThenSaveWritesThePlainTextBack)
{
    QByteArray bytes = "first line\r\n";
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n')
            bytes.append(char(byte));
    }
    bytes.append("\r\nlast line");
    const QString plain = environment.writeFile("bytes.scr", bytes);
    const QString rtf = environment.writeFile(
        "mission.scr",
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
        "{\\colortbl ;\\red0\\green0\\blue255;}\r\n"
        "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\cf1\\f0\\fs20 NUMBER\\cf0  "
        "caf\\'e9\\par\r\nSTRING s\\tab ; note\\par\r\n}\r\n");
    frmMain& window = Start();
    Open(plain);
    window.mnuFileSave->trigger();
    EXPECT_EQ(TestEnvironment::readFile(plain), bytes + "\r\n");

    Open(rtf);
    const QString text = window.activeScriptWindow()->rtfText.Text();
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("NUMBER café\r\nSTRING s\t; note"))) << text.toStdString();
    EXPECT_EQ(language::VarTable[0][0], QString::fromUtf8("café"));
    window.mnuFileSave->trigger();
    EXPECT_EQ(TestEnvironment::readFile(rtf), "NUMBER caf\xE9\r\nSTRING s\t; note\r\n");
}

TEST_F(MainWindow, FileThatCannotBeReadIsReportedAndLeavesNoWindow)
{
    const QString missing = environment.root() + "/missing.scr";
    const QString folder = environment.root() + "/folder.scr";
    QDir().mkpath(folder);
    Store("MRU", "MRU1", "C:\\gone.scr");
    frmMain& window = Start();
    for (const QString& path : {QStringLiteral("C:\\gone.scr"), missing, folder}) {
        messages.clear();
        if (path.startsWith("C:"))
            window.mnuFileMRU[0]->trigger();
        else
            Open(path);
        ASSERT_EQ(messages.size(), 1u) << "a failure message and no save question";
        const QRegularExpression pathAndReason(QRegularExpression::escape(path) + ": \\S");
        EXPECT_TRUE(pathAndReason.match(messages[0].text).hasMatch()) << messages[0].text.toStdString();
        EXPECT_EQ(Captions(), QStringList{"Script 1"});
    }
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(QFile::exists(environment.driveC() + "/gone.scr"));
    EXPECT_EQ(ShownRecentFiles(window), (QStringList{folder, missing, "C:\\gone.scr"}));
}

TEST_F(MainWindow, SaveOfAnUntitledWindowKeepsItsCaptionAndACancelChangesNothing)
{
    const QString chosen = environment.root() + "/chosen.scr";
    frmMain& window = Start();
    window.activeScriptWindow()->rtfText.setSelText("NUMBER x");
    fileAnswers = {chosen, "", "", ""};
    window.mnuFileSave->trigger();
    EXPECT_EQ(TestEnvironment::readFile(chosen), "NUMBER x\r\n");
    EXPECT_EQ(Captions(), QStringList{"Script 1"});
    EXPECT_EQ(dialogs, QStringList{"Save|Save|Script Files (*.scr)|*.scr"});

    // Each dialog now opens on the chosen file; cancelling it must not take that file.
    ASSERT_TRUE(QFile::remove(chosen));
    window.tbToolBar_ButtonClick("Save");
    window.mnuFileOpen->trigger();
    window.mnuFileSaveAs->trigger();
    EXPECT_EQ(dialogs.size(), 4) << "still untitled, so Save asked again";
    EXPECT_EQ(Captions(), QStringList{"Script 1"});
    EXPECT_FALSE(QFile::exists(chosen));
    EXPECT_FALSE(window.mnuFileBar5->isVisible());
}

TEST_F(MainWindow, SaveAsRetitlesTheWindow)
{
    const QString opened = environment.writeFile("opened.scr", "NUMBER a");
    const QString renamed = environment.root() + "/renamed.scr";
    frmMain& window = Start();
    fileAnswers = {opened, renamed};
    window.mnuFileOpen->trigger();
    window.mnuFileSaveAs->trigger();
    EXPECT_EQ(dialogs.back(), "Save|Save As|All Files (*.*)|*.*");
    EXPECT_EQ(window.activeScriptWindow()->caption(), renamed);
    EXPECT_EQ(TestEnvironment::readFile(renamed), "NUMBER a\r\n");

    window.activeScriptWindow()->rtfText.setSelText("STRING b\r\n");
    window.mnuFileSave->trigger();
    EXPECT_EQ(dialogs.size(), 2);
    EXPECT_EQ(TestEnvironment::readFile(renamed), "STRING b\r\nNUMBER a\r\n");
    EXPECT_EQ(TestEnvironment::readFile(opened), "NUMBER a");

    // An untitled window named by Save As is saved on closing under that name.
    const QString named = environment.root() + "/named.scr";
    fileAnswers = {named};
    window.mnuFileNew->trigger();
    window.mnuFileSaveAs->trigger();
    window.activeScriptWindow()->rtfText.setSelText("BOOL c");
    saveAnswers = {MsgBoxResult::Yes};
    window.mnuFileClose->trigger();
    EXPECT_EQ(TestEnvironment::readFile(named), "BOOL c\r\n");
    EXPECT_FALSE(QFile::exists(environment.workDir() + "/Script 3"));
}

TEST_F(MainWindow, FailedSaveIsReportedAndKeepsTheWindowAndWhatWasOnDisk)
{
    const QString opened = environment.writeFile("opened.scr", "NUMBER a");
    const QString unreachable = environment.root() + "/no such folder/new.scr";
    frmMain& window = Start();
    Open(opened);
    // A folder in the file's place, which no write may replace.
    ASSERT_TRUE(QFile::remove(opened));
    environment.writeFile("opened.scr/inside", "kept");

    fileAnswers = {unreachable};
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
    EXPECT_EQ(TestEnvironment::readFile(opened + "/inside"), "kept");
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
    Open(path);
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

// Exit stores the options, the keywords and the recent files, and the placement of a window
// that is not minimised; a maximised one comes back normal, with the maximised placement.
TEST_F(MainWindow, RestartKeepsTheRecentFilesAndThePlacement)
{
    Store("MRU", "MRU1", "C:\\a.scr");
    Store("MRU", "MRU3", "C:\\c.scr");
    Store("Settings", "MainLeft", "1500");
    Store("Settings", "MainTop", "1200.5");
    const QStringList recentFiles{"C:\\a.scr", "<hidden>", "C:\\c.scr"};
    frmMain& minimised = Start();
    EXPECT_EQ(minimised.pos(), QPoint(TwipsToPixelsX(1500), TwipsToPixelsY(1200.5)));
    EXPECT_EQ(ShownRecentFiles(minimised), recentFiles);
    EXPECT_TRUE(minimised.mnuFileBar5->isVisible());
    minimised.showMinimized();
    ASSERT_TRUE(minimised.isMinimized());
    ASSERT_TRUE(Exit({MsgBoxResult::No}));
    EXPECT_EQ(Stored("Settings", "MainLeft"), "1500");
    EXPECT_EQ(Stored("Settings", "MainTop"), "1200.5");
    EXPECT_EQ(Stored("Settings", "MainWidth"), "<missing>");
    EXPECT_EQ(Stored("MRU", "MRU1"), "C:\\a.scr");
    EXPECT_EQ(Stored("MRU", "MRU2"), "");
    EXPECT_EQ(Stored("MRU", "MRU3"), "C:\\c.scr");
    EXPECT_EQ(Stored("Options", "LaunchFlags"), "144");
    EXPECT_TRUE(QFile::exists(environment.workDir() + "/commands.dat"));

    Store("Settings", "MainWidth", "7000");
    Store("Settings", "MainHeight", "5000");
    frmMain& moved = Start();
    EXPECT_EQ(ShownRecentFiles(moved), recentFiles);
    moved.move(TwipsToPixelsX(2000), TwipsToPixelsY(3000));
    ASSERT_TRUE(Exit({MsgBoxResult::No}));
    EXPECT_EQ(Stored("Settings", "MainLeft").toFloat(), float(PixelsToTwipsX(TwipsToPixelsX(2000))));
    EXPECT_EQ(Stored("Settings", "MainTop").toFloat(), float(PixelsToTwipsY(TwipsToPixelsY(3000))));
    EXPECT_EQ(Stored("Settings", "MainWidth").toFloat(), float(PixelsToTwipsX(TwipsToPixelsX(7000))));
    EXPECT_EQ(Stored("Settings", "MainHeight").toFloat(), float(PixelsToTwipsY(TwipsToPixelsY(5000))));

    frmMain& maximised = Start();
    maximised.showMaximized();
    QCoreApplication::processEvents();
    const QRect geometry = maximised.geometry();
    ASSERT_TRUE(Exit({MsgBoxResult::No}));
    EXPECT_FALSE(Start().isMaximized());
    EXPECT_EQ(main->geometry(), geometry);
}

}  // namespace
}  // namespace shell::testing
