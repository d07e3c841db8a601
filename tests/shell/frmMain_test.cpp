#include "shell/frmMain.h"

#include <QDir>
#include <QMenuBar>
#include <QToolBar>

#include "platform/qt_twips.h"
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
    return shown << (window.mnuFileBar5->isVisible() ? "bar" : "no bar");
}

// Each menu as its caption and items with their shortcuts ("-" a bar, a hidden item in
// brackets), then the toolbar's buttons as key|tooltip.
QStringList Layout(const frmMain& window)
{
    QStringList layout;
    for (const QAction* menu : window.menuBar()->actions()) {
        QStringList items{menu->text()};
        for (const QAction* item : menu->menu()->actions()) {
            QString shown = item->isSeparator() ? QStringLiteral("-") : item->text();
            if (!item->shortcut().isEmpty())
                shown += u' ' + item->shortcut().toString();
            items.append(item->isVisible() ? shown : u'[' + shown + u']');
        }
        layout.append(items.join(u'|'));
    }
    for (const QAction* button : window.tbToolBar->actions())
        layout.append(button->isSeparator() ? QStringLiteral("-")
                                            : button->objectName() + u'|' + button->toolTip()
                                                  + (button->icon().isNull() ? "|no image" : ""));
    return layout;
}

TEST_F(MainWindow, StartsWithItsMenusAndTheDefaultsWhenTheStoreIsEmptyOrUnusable)
{
    for (const bool unusable : {false, true}) {
        if (unusable)
            Store("Settings", "MainLeft", "99999999"), Store("Settings", "MainWidth", "-3000");
        frmMain& window = Start();
        EXPECT_EQ(window.frameGeometry(), platform::TwipsToPixels({1000, 1000, 6500, 6500}));
        EXPECT_EQ(QStringList({ShownRecentFiles(window).join(','), Captions().join(','),
                               window.sbStatusBarPanels[0]->text(), QString::number(messages.size()),
                               QString::number(window.activeScriptWindow() == ScriptWindows().value(0)
                                               && window.mnuViewToolbar->isChecked()
                                               && window.mnuViewStatusBar->isChecked()
                                               && !window.sbStatusBarPanels[1]->text().isEmpty()
                                               && !window.sbStatusBarPanels[2]->text().isEmpty())}),
                  QStringList({"<hidden>,<hidden>,<hidden>,no bar", "Script 1", "Normal", "0", "1"}));
    }
    EXPECT_EQ(Layout(*main).join(u'\n') + u'\n', Golden("main_window_layout.txt"));
}

// A reopened file is loaded and coloured only; the windows that became active are analysed.
TEST_F(MainWindow, RecentFilesReopenAndWindowsAreNumberedOnceAndListed)
{
    environment.writeFile("wine/drive_c/a & b.scr", "NUMBER x\r\n");
    Store("MRU", "MRU1", "C:\\a & b.scr");
    Store("MRU", "MRU2", "C:\\b.scr");
    language::AddCommand("NUMBER");
    frmMain& window = Start();
    for (const int flags : {0, 1}) {
        options.SystemFlags = flags;
        window.mnuFileMRU[0]->trigger();
    }
    EXPECT_EQ(status.texts, (QStringList{"Parsing Script 2...", "Normal", "Parsing Script 3...", "Normal"}));
    EXPECT_TRUE(language::VarTable[0][0].isEmpty());
    const platform::ColoredText plain = Content(*ScriptWindows()[1]);
    EXPECT_EQ(std::tuple(plain.text, plain.colors, Content(*ScriptWindows()[2]).colors[0]),
              std::tuple("NUMBER x\r\n", std::vector<platform::Color>(10, 0), options.TextColors[0]));
    saveAnswers = {MsgBoxResult::No};
    Trigger({window.mnuFileNew, window.mnuFileClose, window.mnuFileNew, window.mnuWindowNewWindow});
    window.tbToolBar_ButtonClick("New");
    emit window.mnuWindow->aboutToShow();
    emit window.mnuWindow->aboutToShow();  // built afresh, not added twice
    QStringList listed = ShownRecentFiles(window);
    for (const QAction* item : window.mnuWindow->actions().mid(7))
        listed.append(item->isSeparator() ? QStringLiteral("-") : item->text() + (item->isChecked() ? "|on" : ""));
    EXPECT_EQ(listed, (QStringList{"C:\\a && b.scr", "C:\\b.scr", "<hidden>", "bar", "-", "&1 Script 1",
                                   "&2 C:\\a && b.scr", "&3 C:\\a && b.scr", "&4 Script 5", "&5 Script 6",
                                   "&6 Script 7|on"}));
    window.mnuWindow->actions()[9]->trigger();
    EXPECT_EQ(window.activeScriptWindow(), ScriptWindows()[1]);
}

// Save of an untitled window asks for a path but keeps the caption; Save As retitles; a
// cancelled dialog is no path.
TEST_F(MainWindow, OpenAnalysesAndSaveWritesThePlainTextBack)
{
    QByteArray bytes = "first line\r\n";
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n')
            bytes.append(char(byte));
    }
    const QString folder = environment.root() + "/s/", mission = environment.writeFile("s/m.scr", "NUMBER s\r\nSTRING n"),
                  plain = environment.writeFile("s/bytes.scr", bytes + "\r\nlast"),
                  rtf = environment.writeFile("s/rtf.scr", "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\r\n"
                                                           "{\\colortbl ;\\red0\\green0\\blue255;}\r\n{\\*\\generator M;}"
                                                           "\\pard\\cf1\\f0\\fs20 NUMBER\\cf0  caf\\'e9\\par\r\n"
                                                           "STRING s\\tab ; note\\par\r\n}\r\n");
    language::AddCommand("NUMBER");
    frmMain& window = Start();
    Type("NUMBER x");
    fileAnswers = {folder + "untitled.scr", "", "", ""};
    window.mnuFileSave->trigger();
    ASSERT_TRUE(QFile::rename(folder + "untitled.scr", folder + "untitled.txt"));
    window.tbToolBar_ButtonClick("Save");  // still untitled, so Save asks again
    Trigger({window.mnuFileOpen, window.mnuFileSaveAs});
    const QStringList untouched = ShownRecentFiles(window) << Captions();

    Open(mission);
    const platform::ColoredText analysed = Content(*window.activeScriptWindow());
    const QStringList variables{language::VarTable[0][0], language::VarTable[1][0]};
    for (const QString& path : {plain, rtf}) {
        Open(path);
        Trigger({window.mnuFileSave, window.mnuFileSave});  // the second leaves the file as it is
    }
    EXPECT_EQ(language::VarTable[0][0], QString::fromUtf8("café"));
    fileAnswers = {folder + "renamed.scr", mission, folder + "named.scr"};
    window.mnuFileSaveAs->trigger();
    Type("BOOL b\r\n");
    window.mnuFileSave->trigger();
    window.tbToolBar_ButtonClick("Open");
    // An untitled window named by Save As is saved on closing under that name.
    Trigger({window.mnuFileNew, window.mnuFileSaveAs});
    Type("BOOL c");
    saveAnswers = {MsgBoxResult::Yes};
    window.mnuFileClose->trigger();

    EXPECT_EQ(untouched, (QStringList{"<hidden>", "<hidden>", "<hidden>", "no bar", "Script 1"}));
    EXPECT_EQ(std::pair(analysed.text, analysed.colors[0]), std::pair(QString("NUMBER s\r\nSTRING n"), options.TextColors[0]));
    EXPECT_EQ(variables, (QStringList{"s", "n"}));
    const QString open = "Open|Open|Script Files (*.scr)|*.scr|Ship Files (*.shp)|*.shp", save = "Save|Save|Script Files (*.scr)|*.scr",
                  saveAs = "Save|Save As|All Files (*.*)|*.*";
    EXPECT_EQ(dialogs, (QStringList{save, save, open, saveAs, open, open, open, saveAs, open, saveAs}));
    EXPECT_EQ(Captions(), (QStringList{"Script 1", mission, plain, folder + "renamed.scr", mission}));
    EXPECT_EQ(ShownRecentFiles(window), (QStringList{mission, rtf, plain, "bar"}));
    EXPECT_EQ(TestEnvironment::readFile(plain), bytes + "\r\nlast\r\n");
    EXPECT_EQ(TestEnvironment::files(folder).mid(1),
              (QStringList{"m.scr=NUMBER s\r\nSTRING n", "named.scr=BOOL c\r\n",
                           "renamed.scr=BOOL b\r\nNUMBER caf\u00e9\r\nSTRING s\t; note\r\n",
                           "rtf.scr=NUMBER caf\u00e9\r\nSTRING s\t; note\r\n", "untitled.txt=NUMBER x\r\n"}));
    EXPECT_EQ(TestEnvironment::files(environment.workDir()), QStringList());
}

// Commands without a script window do nothing; a failed read or write is told with its path and
// reason and leaves the windows and what was on disk.
TEST_F(MainWindow, FailuresAreToldAndChangeNothing)
{
    const QString opened = environment.writeFile("opened.scr", "NUMBER a"), missing = environment.root() + "/missing.scr",
                  folder = environment.root() + "/folder.scr", unreachable = environment.root() + "/none/new.scr";
    QDir().mkpath(folder);
    Store("MRU", "MRU1", "C:\\gone.scr");
    frmMain& window = Start();
    saveAnswers = {MsgBoxResult::No};
    window.mnuFileClose->trigger();
    const bool none = Captions().isEmpty() && !window.activeScriptWindow();
    Trigger({window.mnuFileClose, window.mnuFileSave, window.mnuFileSaveAs});
    for (const char* key : {"Save", "Print", "new"})
        window.tbToolBar_ButtonClick(key);
    EXPECT_TRUE(none && dialogs.isEmpty());
    window.mnuFileMRU[0]->trigger();
    Open(missing);
    Open(folder);
    Open(opened);
    saveAnswers = {MsgBoxResult::No};
    Trigger({window.mnuFileNew, window.mnuFileClose});
    // A folder in the file's place, which no write may replace.
    ASSERT_TRUE(QFile::remove(opened));
    environment.writeFile("opened.scr/inside", "kept");
    fileAnswers = {unreachable};
    saveAnswers = {MsgBoxResult::Yes};
    Trigger({window.mnuFileSave, window.mnuFileSaveAs, window.mnuFileClose});

    const QString question = "Do you wish to save your changes to %1?", read = "Cannot read %1: No such file or directory",
                  write = "Cannot write " + opened + ": Filename refers to a directory";
    EXPECT_EQ(MessageTexts(), (QStringList{question.arg("Script 1"), read.arg("C:\\gone.scr"), read.arg(missing),
                                           "Cannot read " + folder + ": not a regular file", question.arg("Script 6"), write,
                                           "Cannot write " + unreachable + ": No such file or directory",
                                           question.arg(opened), write}));
    EXPECT_EQ(std::pair(Captions(), window.activeScriptWindow()->rtfText.Text()), std::pair(QStringList{opened}, QString("NUMBER a")));
    EXPECT_EQ(TestEnvironment::files(environment.root()),
              (QStringList{"config/Orbiscribe/Orbiscribe.ini=[MRU]\nMRU1=C:\\\\gone.scr\n", "opened.scr/inside=kept"}));
    ASSERT_TRUE(Exit({MsgBoxResult::No}));
    EXPECT_EQ(QStringList({Stored("MRU", "MRU1"), Stored("MRU", "MRU2"), Stored("MRU", "MRU3")}),
              (QStringList{opened, folder, missing}));
}

// Cancel stops the shut-down storing nothing; Exit stores the options, the keywords in the
// start folder, the recent files and the placement of a window that is not minimised (a
// maximised one comes back normal, with the maximised placement); settings that cannot be
// stored are told once.
TEST_F(MainWindow, ShutDownStoresWhatTheRestartReads)
{
    Store("MRU", "MRU1", "C:\\a.scr");
    Store("MRU", "MRU3", "C:\\c.scr");
    Store("Settings", "MainLeft", "1500");
    Store("Settings", "MainTop", "1200.5");
    const QStringList before = TestEnvironment::files(environment.root());
    frmMain& minimised = Start();
    minimised.mnuFileNew->trigger();
    EXPECT_FALSE(Exit({MsgBoxResult::No, MsgBoxResult::Cancel}));
    EXPECT_EQ(std::pair(minimised.isVisible(), Captions()), std::pair(true, QStringList{"Script 2"}));
    EXPECT_EQ(TestEnvironment::files(environment.root()), before);
    const QStringList recentFiles{"C:\\a.scr", "<hidden>", "C:\\c.scr", "bar"};
    EXPECT_EQ(std::pair(minimised.pos(), ShownRecentFiles(minimised)),
              std::pair(QPoint(TwipsToPixelsX(1500), TwipsToPixelsY(1200.5)), recentFiles));
    minimised.showMinimized();
    ASSERT_TRUE(minimised.isMinimized());
    ASSERT_TRUE(Exit({MsgBoxResult::No}));
    EXPECT_EQ(TestEnvironment::readFile(environment.configHome() + "/Orbiscribe/Orbiscribe.ini"), Golden("shut_down.ini"));
    EXPECT_TRUE(QFile::exists(environment.workDir() + "/commands.dat"));

    Store("Settings", "MainWidth", "7000");
    Store("Settings", "MainHeight", "5000");
    frmMain& moved = Start();
    EXPECT_EQ(ShownRecentFiles(moved), recentFiles);
    moved.move(TwipsToPixelsX(2000), TwipsToPixelsY(3000));
    ASSERT_TRUE(Exit({MsgBoxResult::No}));
    QStringList stored;
    for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
        stored << Stored("Settings", key);
    const auto twips = [](int x, int y) {
        return QString::number(qRound(PixelsToTwipsX(TwipsToPixelsX(x)))) + u' '
               + QString::number(qRound(PixelsToTwipsY(TwipsToPixelsY(y))));
    };
    EXPECT_EQ(stored, (twips(2000, 3000) + u' ' + twips(7000, 5000)).split(u' '));

    Start().showMaximized();
    QCoreApplication::processEvents();
    const QRect geometry = main->geometry();
    const QString settings = environment.configHome() + "/Orbiscribe/Orbiscribe.ini";
    ASSERT_TRUE(Exit({MsgBoxResult::No}));
    EXPECT_FALSE(Start().isMaximized());
    EXPECT_EQ(main->geometry(), geometry);
    ASSERT_TRUE(QFile::remove(settings) && QDir().mkpath(settings));  // a folder where the file should be
    messages.clear();
    EXPECT_TRUE(Exit({MsgBoxResult::No}));
    EXPECT_EQ(MessageTexts().mid(1), QStringList("The settings could not be stored in " + settings + ". Cannot read "
                                                 + settings + ": not a regular file"));
}

using ScriptWindow = WindowTest;

// Closing asks every time; a window without a file asks where to save and Cancel there keeps it.
TEST_F(ScriptWindow, ClosingAsksAndSavesOnlyWhereTheUserSays)
{
    const QString opened = environment.writeFile("mission.scr", "NUMBER x\r\n"), chosen = environment.root() + "/new.scr";
    frmMain& window = Start();
    Open(opened);
    Trigger({window.mnuFileNew, window.mnuFileNew});
    const QList<frmDocument*> documents = ScriptWindows();
    for (frmDocument* document : {documents[0], documents[2], documents[3]})
        document->rtfText.setSelText("NUMBER y");
    saveAnswers = {MsgBoxResult::Cancel, MsgBoxResult::No, MsgBoxResult::Yes, MsgBoxResult::Yes, MsgBoxResult::Yes};
    fileAnswers = {"", chosen};
    window.mnuFileClose->trigger();
    for (const int closed : {2, 1, 0, 0})
        documents[closed]->parentWidget()->close();

    const QString question = "Do you wish to save your changes to %1?";
    EXPECT_EQ(MessageTexts(), (QStringList{question.arg("Script 4"), question.arg("Script 3"), question.arg(opened),
                                           question.arg("Script 1"), question.arg("Script 1")}));
    EXPECT_EQ(dialogs.mid(1), QStringList(2, "Save|Save|Script Files (*.scr)|*.scr"));
    EXPECT_EQ(std::pair(Captions(), ScriptWindows()[0]->rtfText.Text()), std::pair(QStringList{"Script 4"}, QString("NUMBER y")));
    EXPECT_EQ(TestEnvironment::files(environment.root()),
              QStringList({"mission.scr=NUMBER x\r\n", "new.scr=NUMBER y\r\n"})) << "nothing in the working folder";
    fileAnswers = {""};
    EXPECT_FALSE(Exit({MsgBoxResult::Yes})) << "Cancel in the Save dialog stops the shut-down";
}

TEST_F(ScriptWindow, CharactersTheFileCannotHoldAreWrittenOnlyOnceTheUserAgrees)
{
    const QString path = environment.writeFile("mission.scr", "old\r\n");
    frmMain& window = Start();
    Open(path);
    Type(u"caf\u00E9\r\n\u4E2D \u2603\r\n"_qs);
    saveAnswers = {MsgBoxResult::No, MsgBoxResult::Yes, MsgBoxResult::Yes, MsgBoxResult::No};
    QList<QByteArray> written;
    for (int save = 0; save < 2; ++save) {
        window.mnuFileSave->trigger();
        written += TestEnvironment::readFile(path);
    }
    window.activeScriptWindow()->parentWidget()->close();

    EXPECT_EQ(written, QList<QByteArray>({"old\r\n", "caf\xE9\r\n? ?\r\nold\r\n"}));
    const QString lossy = "The file " + path + u" cannot hold every character of this script: line 2 holds \"\u4E2D\", "
                          u"which would be written as \"?\", like any other such character.\n\nSave anyway?"_qs;
    EXPECT_EQ(MessageTexts(), (QStringList{lossy, lossy, "Do you wish to save your changes to " + path + "?", lossy}));
    EXPECT_EQ(Captions(), QStringList({"Script 1", path})) << "No keeps the window open";
}

// Enter (with or without Shift or Ctrl) colours when the flag says so and analyses; no other key
// does; becoming active analyses too.
TEST_F(ScriptWindow, EnterAndActivationAnalyseWithTheirStatusTexts)
{
    frmMain& window = Start();
    frmDocument& document = *window.activeScriptWindow();
    QTest::keyClick(document.rtfText.widget(), Qt::Key_A);
    QTest::keyClick(document.rtfText.widget(), Qt::Key_M, Qt::ControlModifier);
    QStringList seen = status.texts << document.rtfText.Text();
    document.rtfText.setSelStart(0);
    document.rtfText.setSelLength(1);
    document.rtfText.setSelText("NUMBER first");
    for (const auto modifiers : {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier}) {
        for (const int flags : {1, 0}) {
            options.SystemFlags = flags;
            language::ClearVariables();
            status.texts.clear();
            QTest::keyClick(document.rtfText.widget(), Qt::Key_Return, modifiers);
            seen << status.texts.join(',') << language::VarTable[0][0];
        }
    }
    window.mnuFileNew->trigger();
    Type("NUMBER second");
    status.texts.clear();
    window.mdiArea->activatePreviousSubWindow();
    seen << status.texts.join(',') << language::VarTable[0][0];
    window.mdiArea->activateNextSubWindow();
    const QString colouring = "Coloring Script 1...,Normal,Parsing Script 1...,Normal", parsing = "Parsing Script 1...,Normal";
    EXPECT_EQ(seen << language::VarTable[0][0], (QStringList{"a", colouring, "first", parsing, "first", colouring, "first",
                                                             parsing, "first", colouring, "first", parsing, "first",
                                                             parsing, "first", "second"}));
}

// The box keeps a 100-twip border (a window below 200 twips leaves it as it was) and takes the
// background colour when it gets the focus.
TEST_F(ScriptWindow, BoxKeepsItsBorderAndTakesTheBackgroundColourOnFocus)
{
    frmDocument& document = *Start().activeScriptWindow();
    QList<QRect> places;
    for (const QSize size : {QSize(300, 200), QSize(300, TwipsToPixelsY(150)), QSize(400, 250)}) {
        document.resize(size);
        places << document.rtfText.widget()->geometry();
    }
    const auto boxFor = [](int width, int height) {
        return QRect(TwipsToPixelsX(100), TwipsToPixelsY(100), TwipsToPixelsX(int(PixelsToTwipsX(width)) - 200),
                     TwipsToPixelsY(int(PixelsToTwipsY(height)) - 200));
    };
    EXPECT_EQ(places, (QList<QRect>{boxFor(300, 200), boxFor(300, 200), boxFor(400, 250)}));
    options.TextColors[BackgroundColor] = 0x336699;
    QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(document.rtfText.widget(), &focus);
    EXPECT_EQ(document.rtfText.widget()->palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
}

}  // namespace
}  // namespace shell::testing
