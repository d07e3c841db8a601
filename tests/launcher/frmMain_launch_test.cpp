// The launcher reached from the main window: its menu items and toolbar button.
#include <QDir>
#include <QListWidget>
#include <QTimer>
#include <QToolBar>

#include "launcher/frmErrors.h"
#include "shell/window_test_fixture.h"
#include "support/stand_in_program.h"

namespace shell::testing {
namespace {

class MainWindowLaunchTest : public WindowTest {
protected:
    MainWindowLaunchTest()
    {
        QDir().mkpath(environment.driveC() + "/TEMP");
        // The default game path in other case: the stand-in must be found all the same.
        const QString gameFolder =
            environment.driveC() + "/Program Files/Particle Systems/Independence War";
        QDir().mkpath(gameFolder);
        logSource = environment.writeFile("game-log.txt", "loaded\r\nscript ok\r\n");
        support::WriteStandInProgram(gameFolder + "/IWAR.EXE", recordPath(), logSource);
    }

    ~MainWindowLaunchTest() override { launcher::UnloadErrorsWindow(); }

    QString recordPath() const { return environment.root() + "/started.txt"; }

    static QStringList ErrorLines()
    {
        QStringList lines;
        const QListWidget& list = *launcher::ErrorsWindow().lstErrors;
        for (int row = 0; row < list.count(); ++row)
            lines.append(list.item(row)->text());
        return lines;
    }

    QString logSource;
};

TEST_F(MainWindowLaunchTest, ToolsMenuLaunchesTheActiveScriptAndListsTheLogInDebugMode)
{
    options.LaunchFlags = 144 | 0x2;
    frmMain& window = Start();
    window.activeScriptWindow()->rtfText.setSelText("CALL Start");
    // The user dismisses the message once the game has started and written its log.
    std::optional<support::StartRecord> started;
    platform::setMsgBoxHook([&](const QString& text, const QString& title) {
        started = support::WaitForStart(recordPath());
        messages.push_back({text, title});
        return platform::MsgBoxResult::Ok;
    });

    window.mnuToolsLaunchIndependenceWar->trigger();

    ASSERT_TRUE(started);
    EXPECT_EQ(started->arguments,
              QStringList({"-debugscript", "-noslab", "-english", "C:\\TEMP\\temp.scr"}));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QString("Independence War returned Error Code %1").arg(started->pid));
    EXPECT_EQ(messages[0].title, "External Error");
    EXPECT_EQ(ErrorLines(), QStringList({"loaded", "script ok"}));
    EXPECT_TRUE(launcher::ErrorsWindow().isVisible());
    EXPECT_EQ(support::TestEnvironment::readFile(environment.driveC() + "/TEMP/temp.scr"),
              "CALL Start\r\n");
}

TEST_F(MainWindowLaunchTest, ToolbarLaunchButtonStartsTheGameWithoutAMessageOutOfDebugMode)
{
    frmMain& window = Start();
    QAction* launch = window.tbToolBar->findChild<QAction*>("Launch");
    ASSERT_NE(launch, nullptr);

    launch->trigger();

    const std::optional<support::StartRecord> started = support::WaitForStart(recordPath());
    ASSERT_TRUE(started);
    EXPECT_EQ(started->arguments.last(), "C:\\TEMP\\temp.scr");
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(launcher::ErrorsWindow().isVisible());
}

TEST_F(MainWindowLaunchTest, ErrorsCommandWithoutALogShowsAnEmptyListAndSaysSo)
{
    frmMain& window = Start();

    window.mnuWindowsErrors->trigger();

    EXPECT_TRUE(ErrorLines().isEmpty());
    EXPECT_TRUE(launcher::ErrorsWindow().isVisible());
    // In a box, whole: the status line belongs to the editor.
    const QString folder = "C:\\PROGRAM FILES\\PARTICLE SYSTEMS\\INDEPENDENCE WAR\\";
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ((messages[0].title + '|' + messages[0].text).toStdString(),
              ("Error Listing|No game log found in " + folder
               + ": Cannot read debug.txt: No such file or directory").toStdString());
    EXPECT_TRUE(status.texts.isEmpty());
}

TEST_F(MainWindowLaunchTest, BothOptionsItemsOpenTheOptionsDialogOverTheMainWindow)
{
    frmMain& window = Start();
    for (QAction* item : {window.mnuToolsOptions, window.mnuViewOptions}) {
        QString shown;
        QTimer::singleShot(0, [&] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                shown = dialog->windowTitle();
                EXPECT_EQ(dialog->parentWidget(), &window);
                dialog->close();
            }
        });
        item->trigger();
        EXPECT_EQ(shown, "Options") << item->objectName().toStdString();
    }
}

}  // namespace
}  // namespace shell::testing
