#include "shell/frmMain.h"

#include <QDir>
#include <QMenuBar>
#include <QToolBar>

#include "platform/qt_twips.h"
#include "shell/window_test_fixture.h"

namespace shell::testing {
namespace {

using namespace platform;
using support::TestEnvironment;

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

using MainWindow = WindowTest;

TEST_F(MainWindow, StartsWithItsMenusAndTheDefaultsWhenTheStoreIsEmptyOrUnusable)
{
    Store("Settings", "MainLeft", "99999999");
    frmMain& window = Start();
    EXPECT_EQ(window.frameGeometry(), platform::TwipsToPixels({1000, 1000, 6500, 6500}));
    const auto panels = window.sbStatusBarPanels;
    const bool shown = window.activeScriptWindow() == ScriptWindows().value(0) && messages.empty()
                       && window.mnuViewToolbar->isChecked() && window.mnuViewStatusBar->isChecked()
                       && !panels[1]->text().isEmpty() && !panels[2]->text().isEmpty();
    EXPECT_EQ(ShownRecentFiles(window) << Captions() << panels[0]->text() << QString::number(shown),
              QStringList({"<hidden>", "<hidden>", "<hidden>", "no bar", "Script 1", "Normal", "1"}));
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
    const platform::ColoredText plain = Content(*ScriptWindows()[1]);
    const platform::Color coloured = Content(*ScriptWindows()[2]).colors[0];
    EXPECT_EQ(std::tuple(plain.text, plain.colors, coloured, language::VarTable[0][0]),
              std::tuple("NUMBER x\r\n", std::vector<platform::Color>(10), options.TextColors[0], QString()));
    saveAnswers = {MsgBoxResult::No};
    Trigger({window.mnuFileNew, window.mnuFileClose, window.mnuFileNew, window.mnuWindowNewWindow});
    window.tbToolBar_ButtonClick("New");
    emit window.mnuWindow->aboutToShow();
    emit window.mnuWindow->aboutToShow();  // built afresh, not added twice
    QStringList seen = status.texts + ShownRecentFiles(window);
    for (const QAction* item : window.mnuWindow->actions().mid(7))
        seen.append(item->isSeparator() ? "-" : item->text() + (item->isChecked() ? "|on" : ""));
    window.mnuWindow->actions()[9]->trigger();
    EXPECT_EQ(window.activeScriptWindow(), ScriptWindows()[1]);
    ExpectGolden(seen, "recent_files.txt");
}

// Cancel stops the shut-down storing nothing; Exit stores the options, the keywords in the
// start folder, the recent files and the placement of a window that is not minimised; settings
// that cannot be stored are told once.
TEST_F(MainWindow, ShutDownStoresWhatTheRestartReads)
{
    Store("MRU", "MRU1", "C:\\a.scr");
    Store("MRU", "MRU3", "C:\\c.scr");
    Store("Settings", "MainLeft", "1500");
    Store("Settings", "MainTop", "1200.5");
    const QStringList before = TestEnvironment::files(environment.root());
    frmMain& window = Start();
    window.mnuFileNew->trigger();
    EXPECT_FALSE(Exit({MsgBoxResult::No, MsgBoxResult::Cancel}));
    EXPECT_EQ(TestEnvironment::files(environment.root()) << Captions(), before + QStringList("Script 2"));
    EXPECT_EQ(std::pair(window.pos(), ShownRecentFiles(window)),
              std::pair(QPoint(TwipsToPixelsX(1500), TwipsToPixelsY(1200.5)),
                        QStringList{"C:\\a.scr", "<hidden>", "C:\\c.scr", "bar"}));
    window.showMinimized();
    ASSERT_TRUE(Exit({MsgBoxResult::No}));
    const QString settings = environment.configHome() + "/Orbiscribe/Orbiscribe.ini";
    EXPECT_EQ(TestEnvironment::readFile(settings), Golden("shut_down.ini"));
    EXPECT_TRUE(QFile::exists(environment.workDir() + "/commands.dat"));
    Start().move(TwipsToPixelsX(2000), TwipsToPixelsY(3000));
    ASSERT_TRUE(QFile::remove(settings) && QDir().mkpath(settings));  // a folder where the file should be
    messages.clear();
    EXPECT_TRUE(Exit({MsgBoxResult::No}));
    EXPECT_EQ(MessageTexts().mid(1), QStringList("The settings could not be stored in " + settings
                                                 + ". Cannot read " + settings + ": not a regular file"));
}

// File > Open colours the script and puts its path first in the recent files, the others one
// down; Save As captions the window with its new path; the shut-down stores all three entries.
TEST_F(MainWindow, OpenLeadsTheRecentFilesSaveAsRenamesAndTheShutDownStoresTheList)
{
    const QString opened = environment.writeFile("mission.scr", "NUMBER x\r\n");
    const QString renamed = environment.root() + "/renamed.scr";
    for (const char* entry : {"1", "2", "3"})
        Store("MRU", QStringLiteral("MRU") + entry, QStringLiteral("C:\\%1.scr").arg(entry));
    language::AddCommand("NUMBER");
    frmMain& window = Start();
    Open(opened);
    std::vector<platform::Color> colours(10, options.TextColors[NormalColor]);
    std::fill_n(colours.begin(), 6, options.TextColors[CommandColor]);
    EXPECT_EQ(Content(*window.activeScriptWindow()).colors, colours);
    fileAnswers = {renamed};
    window.mnuFileSaveAs->trigger();
    EXPECT_EQ(ShownRecentFiles(window) << Captions(),
              QStringList({opened, "C:\\1.scr", "C:\\2.scr", "bar", "Script 1", renamed}));
    ASSERT_TRUE(Exit({MsgBoxResult::No, MsgBoxResult::No}));
    const QByteArray settings = TestEnvironment::readFile(environment.configHome() + "/Orbiscribe/Orbiscribe.ini");
    EXPECT_EQ(settings.split('\n').mid(0, 4),
              QList<QByteArray>({"[MRU]", "MRU1=" + opened.toUtf8(), "MRU2=C:\\\\1.scr", "MRU3=C:\\\\2.scr"}));
}

using ScriptWindow = WindowTest;

// Closing asks every time; a window without a file asks where to save and Cancel there keeps it.
// Characters the file cannot hold are written only once the user agrees.
TEST_F(ScriptWindow, ClosingAsksAndSavesOnlyWhereAndWhatTheUserSays)
{
    const QString opened = environment.writeFile("mission.scr", "NUMBER x\r\n");
    frmMain& window = Start();
    Open(opened);
    window.mnuFileSave->trigger();  // unchanged: the file keeps its bytes
    Trigger({window.mnuFileNew, window.mnuFileNew});
    const QList<frmDocument*> documents = ScriptWindows();
    for (frmDocument* document : {documents[0], documents[2], documents[3]})
        document->rtfText.setSelText("NUMBER y");
    saveAnswers = {MsgBoxResult::Cancel, MsgBoxResult::No, MsgBoxResult::Yes, MsgBoxResult::Yes,
                   MsgBoxResult::Yes};
    fileAnswers = {"", environment.root() + "/new.scr"};
    window.mnuFileClose->trigger();
    for (const int closed : {2, 1, 0, 0})
        documents[closed]->parentWidget()->close();
    QStringList seen = dialogs + Captions() + TestEnvironment::files(environment.root());
    Open(opened);
    main->activeScriptWindow()->rtfText.setSelText(u"caf\u00E9\r\n\u4E2D \u2603\r\n"_qs);
    saveAnswers = {MsgBoxResult::No, MsgBoxResult::Yes, MsgBoxResult::Yes, MsgBoxResult::No};
    for (int save = 0; save < 2; ++save) {
        window.mnuFileSave->trigger();
        seen += QString::fromLatin1(TestEnvironment::readFile(opened));
    }
    window.activeScriptWindow()->parentWidget()->close();
    ExpectGolden(seen + MessageTexts() + Captions(), "closing.txt");
    fileAnswers = {""};
    EXPECT_FALSE(Exit({MsgBoxResult::Yes})) << "Cancel in the Save dialog stops the shut-down";
}

// Enter (with or without Shift or Ctrl) colours when the flag says so and analyses; no other key
// does; becoming active analyses too. The box keeps a 100-twip border (a window below 200 twips
// leaves it as it was) and takes the background colour when it gets the focus.
TEST_F(ScriptWindow, EnterAndActivationAnalyseAndTheBoxKeepsItsBorder)
{
    frmMain& window = Start();
    frmDocument& document = *window.activeScriptWindow();
    QWidget* box = document.rtfText.widget();
    QTest::keyClick(box, Qt::Key_A);
    QTest::keyClick(box, Qt::Key_M, Qt::ControlModifier);
    QStringList seen = status.texts << document.rtfText.Text();
    document.rtfText.setSelStart(0);
    document.rtfText.setSelLength(1);
    document.rtfText.setSelText("NUMBER first");
    for (const auto modifiers : {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier}) {
        for (const int flags : {1, 0}) {
            options.SystemFlags = flags;
            language::ClearVariables();
            status.texts.clear();
            QTest::keyClick(box, Qt::Key_Return, modifiers);
            seen << status.texts.join(',') << language::VarTable[0][0];
        }
    }
    window.mnuFileNew->trigger();
    main->activeScriptWindow()->rtfText.setSelText("NUMBER second");
    status.texts.clear();
    window.mdiArea->activatePreviousSubWindow();
    seen << status.texts.join(',') << language::VarTable[0][0];
    window.mdiArea->activateNextSubWindow();
    ExpectGolden(seen << language::VarTable[0][0], "enter_and_activation.txt");

    document.resize(300, 200);
    QList<QRect> places{box->geometry()};
    document.resize(300, TwipsToPixelsY(150));
    places << box->geometry();
    const QRect fit(TwipsToPixelsX(100), TwipsToPixelsY(100), TwipsToPixelsX(int(PixelsToTwipsX(300)) - 200),
                    TwipsToPixelsY(int(PixelsToTwipsY(200)) - 200));
    EXPECT_EQ(places, QList<QRect>(2, fit));
    options.TextColors[BackgroundColor] = 0x336699;
    QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(box, &focus);
    EXPECT_EQ(box->palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
}

// Whether the box's first line shows anything but the background.
bool FirstLineShown(const QPlainTextEdit& edit)
{
    const QImage shown = edit.viewport()->grab().toImage();
    const QRect caret = edit.cursorRect(QTextCursor(edit.document()));
    const QRect line = QRect(0, caret.top(), shown.width(), caret.height()) & shown.rect();
    for (int y = line.top(); y <= line.bottom(); ++y) {
        for (int x = line.left(); x <= line.right(); ++x) {
            if (shown.pixelColor(x, y) != edit.palette().color(QPalette::Base))
                return true;
        }
    }
    return false;
}

// Whatever state the window takes, and from whichever, the box's text area spans the box but
// its margin and the text shows in it.
TEST_F(ScriptWindow, TheTextShowsAfterEveryChangeOfTheWindowsStateAndSize)
{
    frmMain& window = Start();
    window.resize(1200, 900);
    frmDocument& document = *window.activeScriptWindow();
    document.rtfText.setSelText("NUMBER first\r\nNUMBER second");
    QMdiSubWindow* sub = window.mdiArea->currentSubWindow();
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"maximise", [&] { sub->showMaximized(); }},
        {"restore", [&] { sub->showNormal(); }},
        {"minimise", [&] { sub->showMinimized(); }},
        {"tile", [&] { window.mnuWindowTileVertical->trigger(); }},
        {"cascade", [&] { window.mnuWindowCascade->trigger(); }},
        {"resize", [&] { sub->resize(sub->width() / 2 + 60, sub->height() / 2 + 60); }},
    };
    const QPlainTextEdit& edit = *document.rtfText.widget();
    QStringList faults;
    for (const auto& [first, toFirst] : steps) {
        for (const auto& [then, toThen] : steps) {
            toFirst();
            toThen();
            QCoreApplication::processEvents();
            const int textWidth = TwipsToPixelsX(document.rtfText.Width() - 400);  // 400: the margin
            const bool shown = FirstLineShown(edit);
            if (!sub->isMinimized() && (edit.viewport()->width() < textWidth || !shown))
                faults << QStringLiteral("%1, %2: text area %3 of %4, %5")
                              .arg(first, then, QString::number(edit.viewport()->width()),
                                   QString::number(textWidth), shown ? "text shown" : "no text");
        }
    }
    EXPECT_EQ(faults, QStringList());
}

}  // namespace
}  // namespace shell::testing
