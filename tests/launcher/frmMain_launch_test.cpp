// The launcher reached from the main window: its menu items, its toolbar button, its message
// boxes and the Errors window.
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include "launcher/frmErrors.h"
#include "launcher/frmOptions.h"
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
    // Whether the Errors window is shown, and its lines.
    static QStringList Listed()
    {
        QStringList lines{launcher::ErrorsWindow().isVisible() ? "shown:" : "hidden:"};
        for (int row = 0; row < launcher::ErrorsWindow().lstErrors->count(); ++row)
            lines << launcher::ErrorsWindow().lstErrors->item(row)->text();
        return lines;
    }
};

// Without a log the Errors command says why, in a box: the status line belongs to the editor.
// In Debug Mode the user dismisses the message once the game has started and written its log.
// Listing again fills the list afresh, in one go under the busy cursor; the window's close box
// destroys it, and a launch out of Debug Mode, here from the toolbar, shows a new, empty one.
TEST_F(MainWindowLaunchTest, TheLaunchAndTheErrorsCommandShowTheLogOfTheActiveScriptsGameOrSayWhyNot)
{
    options.LaunchFlags = 144 | 0x2;
    frmMain& window = Start();
    window.activeScriptWindow()->rtfText.setSelText("CALL Start");
    QString shown;
    std::optional<support::StartRecord> started;
    platform::setMsgBoxHook([&](const QString& text, const QString& title) {
        if (title == "External Error")
            started = support::WaitForStart(record());
        shown += title + u'|' + text + u'\n';
        return platform::MsgBoxResult::Ok;
    });
    window.mnuWindowsErrors->trigger();
    EXPECT_EQ(Listed(), QStringList{"shown:"});
    window.mnuToolsLaunchIndependenceWar->trigger();
    ASSERT_TRUE(started);
    EXPECT_EQ(support::TestEnvironment::readFile(environment.driveC() + "/TEMP/temp.scr"), "CALL Start\r\n");
    EXPECT_EQ(Listed(), QStringList({"shown:", "loaded", "script ok"}));
    // A fixed, ownerless window whose list takes its outer width and 200 twips less than its outer height.
    launcher::frmErrors& errors = launcher::ErrorsWindow();
    const QRect outer = errors.frameGeometry();
    EXPECT_EQ(std::tuple(errors.windowTitle(), errors.parentWidget(), errors.minimumSize(), errors.lstErrors->geometry()),
              std::tuple("Error Listing", nullptr, errors.maximumSize(),
                         QRect(0, 0, outer.width(), outer.height() - platform::TwipsToPixelsY(200))));

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
    ASSERT_FALSE(shown.contains("not started")) << shown.toStdString();  // else no game to wait for
    EXPECT_TRUE(support::WaitForStart(record()));
    EXPECT_EQ(Listed(), QStringList{"shown:"});
    QFile::remove(environment.driveC() + kGameFolder + "/IWAR.EXE");
    launch->trigger();
    const QString game = "C:\\PROGRAM FILES\\PARTICLE SYSTEMS\\INDEPENDENCE WAR\\";
    EXPECT_EQ(shown.toStdString(),
              ("Error Listing|No game log found in " + game + ": Cannot read debug.txt: No such file or directory\n"
               "External Error|Independence War returned Error Code " + QString::number(started->pid)
               + "\nLaunch Independence War|Independence War was not started. No "
               "program file found in the command line " + game + "IWAR.EXE -noslab  -english  C:\\TEMP\\temp.scr\n")
                  .toStdString());
    EXPECT_TRUE(status.texts.isEmpty());
    const QPointer<launcher::frmErrors> errorsWindow = &launcher::ErrorsWindow();
    launcher::UnloadErrorsWindow();
    EXPECT_TRUE(errorsWindow.isNull());
}

// Each opening is a new dialog over the main window, gone once it closes. OK stores the controls,
// the path as typed; of several languages the highest is selected, and bits without a control
// are lost, also from a negative value out of the settings store. Cancel, Escape and the close
// box store nothing; Enter presses no button.
TEST_F(MainWindowLaunchTest, BothOptionsItemsOpenTheStoredSwitchesAndOnlyOkStoresThoseOfTheControls)
{
    frmMain& window = Start();
    const std::function<void(launcher::frmOptions&)> closings[] = {
        [](launcher::frmOptions& o) { o.cmdOK->click(); },
        [](launcher::frmOptions& o) { o.cmdCancel->click(); },
        [](launcher::frmOptions& o) { QTest::keyClick(o.txtIwarexe, Qt::Key_Escape); },
        [](launcher::frmOptions& o) { o.close(); },
    };
    const QString all = "chk3dfx chk800x600 chkColor chkDisk chkLagrange chkNoLogo chkNoSlab chkWindowed chkarcade "
                        "chkcheats chkdebug chklod optGerman";
    // LaunchFlags and SystemFlags stored, the controls set (sorted), the closing, both after it.
    const std::tuple<qint16, qint16, QString, int, qint16, qint16> cases[] = {
        {144, 1, "chkColor chkNoSlab optEnglish", 0, 144, 1},
        {0x80 | 0x100, 0, "optFrench", 0, 0x100, 0},
        {0, 0x6, "optEnglish", 0, 0x80, 0},
        {-1, 0x7, all, 0, 0x3E7F, 1}, {-1, 0x7, all, 1, -1, 0x7}, {-1, 0x7, all, 2, -1, 0x7}, {-1, 0x7, all, 3, -1, 0x7},
    };
    for (const auto& [launchFlags, systemFlags, set, closing, launchFlagsAfter, systemFlagsAfter] : cases) {
        options = {.LaunchFlags = launchFlags, .SystemFlags = systemFlags};
        QPointer<launcher::frmOptions> opened;
        QStringList checked;
        QTimer::singleShot(0, [&] {
            opened = qobject_cast<launcher::frmOptions*>(QApplication::activeModalWidget());
            ASSERT_TRUE(opened && opened->parentWidget() == &window);
            for (const QAbstractButton* button : opened->findChildren<QAbstractButton*>())
                checked << (button->isChecked() ? button->objectName() : QString());
            opened->txtIwarexe->setText(" typed ");
            QTest::keyClick(opened->chkNoSlab, Qt::Key_Return);
            QTest::keyClick(opened->txtIwarexe, Qt::Key_Enter, Qt::KeypadModifier);
            closings[closing](*opened);
        });
        (launchFlags & 1 ? window.mnuViewOptions : window.mnuToolsOptions)->trigger();
        checked.removeAll(QString());
        checked.sort();
        EXPECT_EQ(checked.join(u' ').toStdString(), set.toStdString());
        EXPECT_TRUE(opened.isNull());
        EXPECT_EQ(std::tuple(options.LaunchFlags, options.SystemFlags, options.LaunchPath),
                  std::tuple(launchFlagsAfter, systemFlagsAfter, closing == 0 ? " typed " : kDefaultLaunchPath));
    }
}

}  // namespace
}  // namespace shell::testing
