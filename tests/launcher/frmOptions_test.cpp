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

#include "launcher/launch_command.h"
#include "platform/qt_twips.h"
#include "shell/options.h"
#include "support/test_environment.h"

namespace launcher {
namespace {

using platform::CommonDialog;
using Colors = std::array<platform::Color, 4>;

// LaunchFlags, SystemFlags and LaunchPath.
auto Stored()
{
    const shell::OptionVariables& stored = shell::options;
    return std::tuple(stored.LaunchFlags, stored.SystemFlags, stored.LaunchPath);
}

class OptionsDialogTest : public ::testing::Test {
protected:
    OptionsDialogTest()
    {
        shell::options = {};
        // An answer is a colour in hex digits or a file chosen; an empty one cancels after trying.
        CommonDialog::setAnswerHook([this](const QString& kind, CommonDialog& dialog) {
            shown << QStringList{kind, dialog.DialogTitle, dialog.Filter, dialog.InitDir,
                                 dialog.FileName, QString::number(dialog.Color, 16)}.join(u'|');
            if (answers.isEmpty())
                ADD_FAILURE() << "unexpected " << kind.toStdString() << " dialog";
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

TEST_F(OptionsDialogTest, OpensWithTheStoredSwitchesAndOkStoresThoseOfTheControls)
{
    // LaunchFlags and SystemFlags stored, the controls set (in alphabetical order), both after OK.
    std::vector<std::tuple<qint16, qint16, QString, qint16, qint16>> cases{
        {144, 1, "chkColor chkNoSlab optEnglish", 144, 1},
        // Of several languages the highest is selected.
        {0x80 | 0x200, 0, "optGerman", 0x200, 0},
        {0x80 | 0x100, 0, "optFrench", 0x100, 0},
        {0x80 | 0x100 | 0x200, 0, "optGerman", 0x200, 0},
        // Bits without a control are lost, also from a negative value out of the settings store.
        {qint16(0xC000 | 0x2000 | 0x90), 0x7, "chkColor chkDisk chkNoSlab optEnglish", 0x2090, 1},
        {0, 0x6, "optEnglish", 0x80, 0},
    };
    // Each switch alone, with English unless it is a language.
    for (const LaunchSwitch& launchSwitch : kLaunchSwitches) {
        const bool language = launchSwitch.bit & (0x80 | 0x100 | 0x200);
        QStringList set{launchSwitch.control, language ? QString() : "optEnglish"};
        set.sort();
        cases.emplace_back(launchSwitch.bit, 0, set.join(u' ').trimmed(),
                           qint16(launchSwitch.bit | (language ? 0 : 0x80)), 0);
    }
    for (const auto& [launchFlags, systemFlags, set, launchFlagsAfterOk, systemFlagsAfterOk] :
         cases) {
        shell::options.LaunchFlags = launchFlags;
        shell::options.SystemFlags = systemFlags;
        QStringList checked;
        for (const QAbstractButton* button : Open().findChildren<QAbstractButton*>())
            checked << (button->isChecked() ? button->objectName() : QString());
        checked.removeAll(QString());
        checked.sort();
        EXPECT_EQ(checked.join(u' ').toStdString(), set.toStdString());
        dialog->cmdOK->click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(Stored(),
                  std::tuple(launchFlagsAfterOk, systemFlagsAfterOk, shell::kDefaultLaunchPath));
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
        [](frmOptions& options) { QTest::keyClick(options.chkNoSlab, Qt::Key_Escape); },
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
            EXPECT_FALSE(opened->chkdebug->isChecked());
            opened->chkdebug->click();
            opened->chkColor->click();
            QTest::mouseClick(opened->lblComments, Qt::LeftButton);
            opened->cmdBrowse->click();
            for (QWidget* control : std::initializer_list<QWidget*>{
                     opened->chkNoSlab, opened->txtIwarexe, opened->tbsOptions}) {
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

TEST_F(OptionsDialogTest, EachSampleShowsAndPicksItsOwnColourAndACancelledPickChangesNothing)
{
    shell::options.TextColors = {0x11, 0x22, 0x33, 0x00FFFF};
    answers = {"", "", "", "", "1", "2", "3", "4"};
    frmOptions& options = Open();
    const std::array samples{options.lblCommands, options.lblComments, options.lblNormal};
    // Each sample's text colour and background; the stored background waits for Backcolor.
    const auto shownColors = [&] {
        QString colors;
        for (const QLabel* sample : samples)
            colors += sample->palette().color(QPalette::WindowText).name() + u'/'
                      + sample->palette().color(QPalette::Window).name() + u' ';
        return colors.toStdString();
    };
    const QString window = QApplication::palette(options.lblNormal).color(QPalette::Base).name();
    const std::string stored =
        QString("#110000/%1 #220000/%1 #330000/%1 ").arg(window).toStdString();
    EXPECT_EQ(shownColors(), stored);
    for (QLabel* sample : samples)
        QTest::mouseClick(sample, Qt::LeftButton);
    options.cmdBackcolor->click();
    EXPECT_EQ(shell::options.TextColors, (Colors{0x11, 0x22, 0x33, 0x00FFFF}));
    EXPECT_EQ(shownColors(), stored);
    // Each starts on the current colour.
    EXPECT_EQ(shown.join(u' ').toStdString(),
              "Color|||||11 Color|||||22 Color|||||33 Color|||||ffff");

    QTest::mouseClick(options.lblNormal, Qt::LeftButton);
    QTest::mouseClick(options.lblCommands, Qt::LeftButton);
    options.cmdBackcolor->click();
    QTest::mouseClick(options.lblComments, Qt::LeftButton);
    EXPECT_EQ(shell::options.TextColors, (Colors{2, 4, 1, 3}));
    EXPECT_EQ(shownColors(), "#020000/#030000 #040000/#030000 #010000/#030000 ");
}

// After the first change only the selected tab's page is shown, at 210 twips, and enabled.
TEST_F(OptionsDialogTest, CtrlTabAndCtrlShiftTabCycleThroughThePagesFromAnyControl)
{
    frmOptions& options = Open();
    const QMap<int, QString> lefts{{platform::TwipsToPixelsX(-20000), "off"},
                                   {platform::TwipsToPixelsX(210), "210"},
                                   {platform::TwipsToPixelsX(240), "240"}};
    const auto pages = [&] {
        QString places = QString::number(options.tbsOptions->currentIndex()) + u':';
        for (const QWidget* page : options.picOptions)
            places += u' ' + lefts.value(page->x(), "?") + (page->isEnabled() ? "" : "-");
        return places;
    };
    const auto ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, alt = Qt::AltModifier;
    const std::tuple<QWidget*, Qt::Key, Qt::KeyboardModifiers> steps[] = {
        {options.tbsOptions, Qt::Key_Tab, ctrl},
        {options.txtIwarexe, Qt::Key_Tab, ctrl | alt},
        {options.chkColor, Qt::Key_Tab, ctrl},  // from "Colors" back to "Launcher"
        {options.chkNoSlab, Qt::Key_Backtab, ctrl | shift},  // from "Launcher" to "Colors"
        {options.cmdBackcolor, Qt::Key_Backtab, ctrl | shift | alt},
        {options.cmdOK, Qt::Key_Tab, ctrl | shift},
        // Tab alone, Shift+Tab and Alt+Tab leave the tab as it is.
        {options.cmdOK, Qt::Key_Tab, {}},
        {options.cmdOK, Qt::Key_Backtab, shift},
        {options.cmdOK, Qt::Key_Tab, alt},
    };
    QStringList seen{pages()};
    for (const auto& [control, key, modifiers] : steps) {
        QTest::keyClick(control, key, modifiers);
        seen << pages();
    }
    EXPECT_EQ(seen.join(u'\n').toStdString(),
              "0: 240 off off off\n1: off- 210 off- off\n2: off- off- 210 off\n"
              "0: 210 off- off- off\n2: off- off- 210 off\n1: off- 210 off- off\n"
              "0: 210 off- off- off\n0: 210 off- off- off\n0: 210 off- off- off\n"
              "0: 210 off- off- off");
}

// OK stores the path box exactly as it is; Browse fills it only when a file is chosen, in the
// file's Windows form when it lies on a Wine drive. The box shows a path from its start.
TEST_F(OptionsDialogTest, PathIsTypedOrBrowsedAndStoredExactly)
{
    for (const QString typed : {" D:\\Games\\IWAR.EXE  ", "", "no such game"}) {
        Open().txtIwarexe->setText(typed);
        dialog->cmdOK->click();
        EXPECT_EQ(shell::options.LaunchPath, typed);
    }
    support::TestEnvironment environment;
    const QString game = environment.root() + "/wine/dosdevices/c:/Games/Particle Systems/IWAR.EXE";
    environment.writeFile("wine/drive_c/Games/Particle Systems/IWAR.EXE", "MZ");
    shell::options.LaunchPath = QString(60, u'x') + "IWAR.EXE";
    answers = {"", "10203", "/games/iwar/IWAR.EXE", game};
    frmOptions& options = Open();
    QStringList paths;
    const auto browse = [&] {
        options.cmdBrowse->click();
        paths << options.txtIwarexe->text() + u'@'
                     + QString::number(options.txtIwarexe->cursorPosition());
    };
    browse();
    // A colour pick between two browses: each browse sets up its dialog again.
    QTest::mouseClick(options.lblNormal, Qt::LeftButton);
    browse();
    browse();
    EXPECT_EQ(paths.join(u'\n').toStdString(), shell::options.LaunchPath.toStdString()
                  + "@0\n/games/iwar/IWAR.EXE@0\nC:\\Games\\Particle Systems\\IWAR.EXE@0");
    const QString setUp = "Independence War Executable (IWAR.EXE or GAME.EXE)|Iwar.exe;game.exe"
                          "|C:\\PROGRA~1\\PARTIC~1\\INDEPE~1\\|";
    const QString browsed = "Open|Locate Iwar.exe|" + setUp;
    EXPECT_EQ(shown.join(u'\n').toStdString(),
              QStringList({browsed + "|0", "Color||" + setUp + "|0", browsed + "|10203",
                           browsed + "/games/iwar/IWAR.EXE|10203"}).join(u'\n').toStdString());
    options.cmdOK->click();
    EXPECT_EQ(shell::options.LaunchPath, "C:\\Games\\Particle Systems\\IWAR.EXE");
}

}  // namespace
}  // namespace launcher
