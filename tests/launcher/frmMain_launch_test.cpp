// The launcher reached from the main window: its menu items, its toolbar button, its message
// boxes and the Errors window.
#include <QListWidget>
#include <QTimer>
#include <QToolBar>

#include "launcher/frmErrors.h"
#include "platform/qt_twips.h"
#include "shell/window_test_fixture.h"
#include "support/stand_in_program.h"

namespace shell::testing {
namespace {

const QString kGameFolder = QStringLiteral("/Program Files/Particle Systems/Independence War");

class MainWindowLaunchTest : public WindowTest {
protected:
    MainWindowLaunchTest()
    {
        QDir().mkpath(environment.driveC() + "/TEMP");
        const QString log = environment.writeFile("game-log.txt", "loaded\r\nscript ok\r\n");
        support::WriteStandInProgram(environment.driveC() + kGameFolder + "/IWAR.EXE", record(), log);
    }
    ~MainWindowLaunchTest() override { launcher::UnloadErrorsWindow(); }

    QString record() const { return environment.root() + "/started.txt"; }
    // The lines of the Errors window, which must be shown.
    static QStringList Listed()
    {
        QStringList lines{launcher::ErrorsWindow().isVisible() ? "shown:" : "hidden:"};
        for (int row = 0; row < launcher::ErrorsWindow().lstErrors->count(); ++row)
            lines << launcher::ErrorsWindow().lstErrors->item(row)->text();
        return lines;
    }
    QString Shown() const
    {
        QString shown;
        for (const MessageShown& message : messages)
            shown += message.title + u'|' + message.text + u'\n';
        return shown;
    }
};

// The user dismisses the message once the game has started and written its log. Listing again
// fills the list afresh, in one go under the busy cursor; the window's close box destroys it,
// and a launch out of Debug Mode, here from the toolbar, shows a new, empty one.
TEST_F(MainWindowLaunchTest, DebugModeListsTheLogOfTheActiveScriptsGameAndTheWindowComesBackAfterItsClose)
{
    options.LaunchFlags = 144 | 0x2;
    frmMain& window = Start();
    window.activeScriptWindow()->rtfText.setSelText("CALL Start");
    std::optional<support::StartRecord> started;
    platform::setMsgBoxHook([&](const QString& text, const QString& title) {
        if (title == "External Error")
            started = support::WaitForStart(record());
        messages.push_back({text + (started ? " " + QString::number(started->pid) : ""), title});
        return platform::MsgBoxResult::Ok;
    });
    window.mnuToolsLaunchIndependenceWar->trigger();
    ASSERT_TRUE(started);
    EXPECT_EQ(started->arguments, QStringList({"-debugscript", "-noslab", "-english", "C:\\TEMP\\temp.scr"}));
    EXPECT_EQ(support::TestEnvironment::readFile(environment.driveC() + "/TEMP/temp.scr"), "CALL Start\r\n");
    const QString pid = QString::number(started->pid);
    EXPECT_EQ(Shown(), "External Error|Independence War returned Error Code " + pid + " " + pid + "\n");
    EXPECT_EQ(Listed(), QStringList({"shown:", "loaded", "script ok"}));

    QStringList inserts;
    QObject::connect(launcher::ErrorsWindow().lstErrors->model(), &QAbstractItemModel::rowsInserted, [&] {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        inserts << (cursor && cursor->shape() == Qt::WaitCursor ? "busy" : "idle");
    });
    window.mnuWindowsErrors->trigger();
    EXPECT_EQ(std::pair(inserts, QGuiApplication::overrideCursor()), std::pair(QStringList{"busy"}, (QCursor*)nullptr));
    EXPECT_EQ(Listed(), QStringList({"shown:", "loaded", "script ok"}));

    launcher::ErrorsWindow().close();
    options.LaunchFlags = 144;
    QFile::remove(record());
    QAction* launch = window.tbToolBar->findChild<QAction*>("Launch");
    ASSERT_NE(launch, nullptr);
    launch->trigger();
    EXPECT_TRUE(support::WaitForStart(record()));
    EXPECT_EQ(Listed(), QStringList{"shown:"});
    EXPECT_EQ(messages.size(), 1u);
}

// In boxes, whole: the status line belongs to the editor.
TEST_F(MainWindowLaunchTest, ErrorsWithoutALogAndALaunchWithoutAGameSayWhyInABox)
{
    QFile::remove(environment.driveC() + kGameFolder + "/IWAR.EXE");
    frmMain& window = Start();
    window.mnuWindowsErrors->trigger();
    EXPECT_EQ(Listed(), QStringList{"shown:"});
    window.mnuToolsLaunchIndependenceWar->trigger();
    const QString game = "C:\\PROGRAM FILES\\PARTICLE SYSTEMS\\INDEPENDENCE WAR\\";
    EXPECT_EQ(Shown().toStdString(), ("Error Listing|No game log found in " + game
                                      + ": Cannot read debug.txt: No such file or directory\n"
                                      "Launch Independence War|Independence War was not started. No program file "
                                      "found in the command line " + game + "IWAR.EXE -noslab  -english  C:\\TEMP\\temp.scr\n").toStdString());
    EXPECT_TRUE(status.texts.isEmpty());
}

TEST_F(MainWindowLaunchTest, BothOptionsItemsOpenTheOptionsDialogOverTheMainWindow)
{
    frmMain& window = Start();
    for (QAction* item : {window.mnuToolsOptions, window.mnuViewOptions}) {
        QString shown;
        QTimer::singleShot(0, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                shown = dialog->windowTitle() + (dialog->parentWidget() == &window ? " over the main window" : "");
                dialog->close();
            }
        });
        item->trigger();
        EXPECT_EQ(shown, "Options over the main window") << item->objectName().toStdString();
    }
}

// A fixed, ownerless window whose list takes its outer width and 200 twips less than its outer
// height; unloading destroys it.
TEST(ErrorsWindow, IsAFixedOwnerlessWindowCalledErrorListingAroundItsList)
{
    QPointer<launcher::frmErrors> window = &launcher::ErrorsWindow();
    EXPECT_EQ(window->windowTitle() + (window->parentWidget() ? "" : " without owner"), "Error Listing without owner");
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_FALSE(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    window->show();
    const int margin = platform::TwipsToPixelsY(200);
    for (const QSize size : {window->size(), QSize(640, 300), QSize(50, margin / 2)}) {
        window->setFixedSize(size);
        const QRect outer = window->frameGeometry();
        EXPECT_EQ(window->lstErrors->geometry(), QRect(0, 0, outer.width(), std::max(outer.height() - margin, 0)));
    }
    launcher::UnloadErrorsWindow();
    EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace shell::testing
