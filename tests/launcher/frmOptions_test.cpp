#include "launcher/frmOptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/qt_twips.h"
#include "support/test_environment.h"

namespace launcher {
namespace {

using platform::CommonDialog;
using Colors = std::array<platform::Color, 4>;

// LaunchFlags, SystemFlags and LaunchPath.
auto Stored()
{
    return std::tuple(shell::options.LaunchFlags, shell::options.SystemFlags, shell::options.LaunchPath);
}

class OptionsDialogTest : public ::testing::Test {
protected:
    OptionsDialogTest()
    {
        shell::options = {};
        // An answer is a colour in hex digits or a file chosen; an empty one cancels after trying.
        CommonDialog::setAnswerHook([this](const QString& kind, CommonDialog& dialog) {
            shown << QStringList{kind, dialog.DialogTitle, dialog.Filter, dialog.InitDir, dialog.FileName,
                                 QString::number(dialog.Color, 16)}.join(u'|');
            EXPECT_FALSE(answers.isEmpty()) << "unexpected " << kind.toStdString() << " dialog";
            const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
            if (kind == u"Color")
                dialog.Color = answer.isEmpty() ? 0xABCDEF : answer.toInt(nullptr, 16);
            else
                dialog.FileName = answer.isEmpty() ? QStringLiteral("/tried/IWAR.EXE") : answer;
            return !answer.isEmpty();
        });
    }
    ~OptionsDialogTest() override
    {
        delete dialog;
        CommonDialog::setAnswerHook(nullptr);
        EXPECT_TRUE(answers.isEmpty()) << "dialogs that were never shown";
    }

    // A new dialog over the owner, shown as an opening shows it.
    frmOptions& Open()
    {
        delete dialog;
        dialog = new frmOptions(&owner);
        dialog->show();
        return *dialog;
    }

    QWidget owner;
    QPointer<frmOptions> dialog;
    QStringList answers;
    QStringList shown;  // each dialog as "kind|title|filter|initDir|fileName|colour"
};

// Of several languages the highest is selected; bits without a control are lost, also from a
// negative value out of the settings store.
TEST_F(OptionsDialogTest, OpensWithTheStoredSwitchesAndOkStoresThoseOfTheControls)
{
    // LaunchFlags and SystemFlags stored, the controls set (sorted), both after OK.
    const std::tuple<qint16, qint16, QString, qint16, qint16> cases[] = {
        {144, 1, "chkColor chkNoSlab optEnglish", 144, 1},
        {0x80 | 0x100, 0, "optFrench", 0x100, 0},
        {0, 0x6, "optEnglish", 0x80, 0},
        {0x1455, 0, "chk800x600 chkLagrange chkNoSlab chkWindowed chkcheats chklod optEnglish", 0x14D5, 0},
        {0x282A, 0, "chk3dfx chkDisk chkNoLogo chkarcade chkdebug optEnglish", 0x28AA, 0},
        {-1, 0x7, "chk3dfx chk800x600 chkColor chkDisk chkLagrange chkNoLogo chkNoSlab chkWindowed chkarcade "
                  "chkcheats chkdebug chklod optGerman", 0x3E7F, 1},
    };
    for (const auto& [launchFlags, systemFlags, set, launchFlagsAfterOk, systemFlagsAfterOk] : cases) {
        shell::options.LaunchFlags = launchFlags;
        shell::options.SystemFlags = systemFlags;
        QStringList checked;
        for (const QAbstractButton* button : Open().findChildren<QAbstractButton*>()) {
            if (button->isChecked())
                checked << button->objectName();
        }
        checked.sort();
        EXPECT_EQ(checked.join(u' ').toStdString(), set.toStdString());
        dialog->cmdOK->click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(Stored(), std::tuple(launchFlagsAfterOk, systemFlagsAfterOk, shell::kDefaultLaunchPath));
    }
}

// Each opening is a new dialog, gone once it closes, with a common dialog that has forgotten
// the last opening's file; Enter presses no button.
TEST_F(OptionsDialogTest, EveryOpeningIsNewAndCancelEscapeOrCloseBoxKeepAllButThePickedColour)
{
    const qint16 launchFlags = qint16(0xC000 | 0x2000 | 0x90);  // with bits no control carries
    shell::options.LaunchFlags = launchFlags;
    shell::options.SystemFlags = 0x7;
    const std::function<void(frmOptions&)> closings[] = {
        [](frmOptions& options) { options.cmdCancel->click(); },
        [](frmOptions& options) { QTest::keyClick(options.txtIwarexe, Qt::Key_Escape); },
        [](frmOptions& options) { options.close(); },
    };
    platform::Color picked = 0x123456;
    for (const auto& close : closings) {
        answers = {QString::number(++picked, 16), "/games/IWAR.EXE"};
        QPointer<frmOptions> opened;
        QTimer::singleShot(0, [&] {
            opened = qobject_cast<frmOptions*>(QApplication::activeModalWidget());
            ASSERT_TRUE(opened);
            opened->chkdebug->click();
            opened->chkColor->click();
            QTest::mouseClick(opened->lblComments, Qt::LeftButton);
            opened->cmdBrowse->click();
            for (QWidget* control : std::initializer_list<QWidget*>{opened->chkNoSlab, opened->txtIwarexe}) {
                QTest::keyClick(control, Qt::Key_Return);
                QTest::keyClick(control, Qt::Key_Enter, Qt::KeypadModifier);
            }
            EXPECT_TRUE(opened->isVisible());
            close(*opened);
        });
        ShowOptionsDialog(&owner);
        EXPECT_TRUE(opened.isNull());
        EXPECT_EQ(shown.takeLast().section(u'|', 5, 5), "") << "the file of the opening before";
        EXPECT_EQ(shell::options.TextColors, (Colors{16711680, picked, 0, 16777215}));
        EXPECT_EQ(Stored(), std::tuple(launchFlags, qint16(0x7), shell::kDefaultLaunchPath));
    }
}

// A colour dialog starts on the current colour, and a cancelled one changes nothing; each sample
// shows its text colour on the window colour until Backcolor is picked.
TEST_F(OptionsDialogTest, EachSamplePicksItsOwnColour)
{
    shell::options.TextColors = {0x11, 0x22, 0x33, 0x00FFFF};
    answers = {"", "", "", "", "1", "2", "3", "4"};
    frmOptions& options = Open();
    const std::array samples{options.lblCommands, options.lblComments, options.lblNormal};
    QString seen;
    const auto pickAll = [&](std::array<QWidget*, 4> order) {
        for (QWidget* control : order)
            QTest::mouseClick(control, Qt::LeftButton);
        for (const QLabel* sample : samples)
            seen += sample->palette().color(QPalette::WindowText).name() + u'/'
                    + sample->palette().color(QPalette::Window).name() + u' ';
    };
    pickAll({samples[0], samples[1], samples[2], options.cmdBackcolor});
    pickAll({samples[2], samples[0], options.cmdBackcolor, samples[1]});
    const QString window = QApplication::palette(options.lblNormal).color(QPalette::Base).name();
    EXPECT_EQ(seen.toStdString(), QString("#110000/%1 #220000/%1 #330000/%1 #020000/#030000 #040000/#030000 "
                                          "#010000/#030000 ").arg(window).toStdString());
    EXPECT_EQ(shell::options.TextColors, (Colors{2, 4, 1, 3}));
    EXPECT_EQ(shown.join(u' ').toStdString(), "Color|||||11 Color|||||22 Color|||||33 Color|||||ffff "
                                              "Color|||||33 Color|||||11 Color|||||ffff Color|||||22");
}

// OK stores the path box exactly as it is; Browse sets up its dialog every time and fills the
// box only when a file is chosen, in the file's Windows form when it lies on a Wine drive. The
// box shows a path from its start.
TEST_F(OptionsDialogTest, PathIsBrowsedAndStoredExactly)
{
    support::TestEnvironment environment;
    environment.writeFile("wine/drive_c/Games/Particle Systems/IWAR.EXE", "MZ");
    shell::options.LaunchPath = QString(60, u'x') + "IWAR.EXE";
    answers = {"", "10203", "/games/iwar/IWAR.EXE",
               environment.root() + "/wine/dosdevices/c:/Games/Particle Systems/IWAR.EXE"};
    frmOptions& options = Open();
    QString paths;
    for (int browse = 0; browse < 3; ++browse) {
        options.cmdBrowse->click();
        paths += options.txtIwarexe->text() + u'@' + QString::number(options.txtIwarexe->cursorPosition()) + u' ';
        if (browse == 0)
            QTest::mouseClick(options.lblNormal, Qt::LeftButton);  // between two browses
    }
    EXPECT_EQ(paths.toStdString(), shell::options.LaunchPath.toStdString()
                                       + "@0 /games/iwar/IWAR.EXE@0 C:\\Games\\Particle Systems\\IWAR.EXE@0 ");
    const QString setUp = "Independence War Executable (IWAR.EXE or GAME.EXE)|Iwar.exe;game.exe"
                          "|C:\\PROGRA~1\\PARTIC~1\\INDEPE~1\\|";
    const QString browsed = "Open|Locate Iwar.exe|" + setUp;
    EXPECT_EQ(shown.join(u'\n').toStdString(),
              QStringList({browsed + "|0", "Color||" + setUp + "|0", browsed + "|10203",
                           browsed + "/games/iwar/IWAR.EXE|10203"}).join(u'\n').toStdString());
    options.txtIwarexe->insert(" ");
    options.cmdOK->click();
    EXPECT_EQ(shell::options.LaunchPath, " C:\\Games\\Particle Systems\\IWAR.EXE");
}

// After the first change only the selected tab's page is shown, at 210 twips, and enabled.
TEST_F(OptionsDialogTest, CtrlTabAndCtrlShiftTabCycleThroughThePagesFromAnyControl)
{
    frmOptions& options = Open();
    const QMap<int, QString> lefts{{platform::TwipsToPixelsX(-20000), "off"},
                                   {platform::TwipsToPixelsX(210), "210"},
                                   {platform::TwipsToPixelsX(240), "240"}};
    const auto ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, alt = Qt::AltModifier;
    const std::tuple<QWidget*, Qt::Key, Qt::KeyboardModifiers> steps[] = {
        {options.tbsOptions, Qt::Key_Tab, ctrl},
        {options.txtIwarexe, Qt::Key_Tab, ctrl | alt},
        {options.chkColor, Qt::Key_Tab, ctrl},  // from "Colors" back to "Launcher"
        {options.chkNoSlab, Qt::Key_Backtab, ctrl | shift},  // from "Launcher" to "Colors"
        {options.cmdBackcolor, Qt::Key_Backtab, ctrl | shift | alt},
        // Tab alone, Shift+Tab and Alt+Tab leave the tab as it is.
        {options.cmdOK, Qt::Key_Tab, {}},
        {options.cmdOK, Qt::Key_Backtab, shift},
        {options.cmdOK, Qt::Key_Tab, alt},
    };
    QString seen;
    for (int step = 0; step <= int(std::size(steps)); ++step) {
        seen += QString::number(options.tbsOptions->currentIndex()) + u':';
        for (const QWidget* page : options.picOptions)
            seen += u' ' + lefts.value(page->x(), "?") + (page->isEnabled() ? "" : "-");
        seen += u'\n';
        if (step < int(std::size(steps)))
            std::apply([](auto... key) { QTest::keyClick(key...); }, steps[step]);
    }
    EXPECT_EQ(seen.toStdString(),
              "0: 240 off off off\n1: off- 210 off- off\n2: off- off- 210 off\n0: 210 off- off- off\n"
              "2: off- off- 210 off\n1: off- 210 off- off\n1: off- 210 off- off\n1: off- 210 off- off\n"
              "1: off- 210 off- off\n");
}

}  // namespace
}  // namespace launcher
