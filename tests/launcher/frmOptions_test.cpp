#include "launcher/frmOptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt_twips.h"
#include "support/test_environment.h"

namespace launcher {
namespace {

using platform::CommonDialog;
using Colors = std::array<platform::Color, 4>;

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
        CommonDialog::setAnswerHook(nullptr);
        EXPECT_TRUE(answers.isEmpty()) << "dialogs that were never shown";
    }

    QWidget owner;
    frmOptions options{&owner};  // shown by each test, as an opening shows it
    QStringList answers;
    QStringList shown;  // each dialog as "kind|title|filter|initDir|fileName|colour"
};

// A colour dialog starts on the current colour, and a cancelled one changes nothing; each sample
// shows its text colour on the window colour until Backcolor is picked.
TEST_F(OptionsDialogTest, EachSamplePicksItsOwnColour)
{
    shell::options.TextColors = {0x11, 0x22, 0x33, 0x00FFFF};
    answers = {"", "", "", "", "1", "2", "3", "4"};
    options.show();
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
    options.show();
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
    options.show();
    const QMap<int, QString> lefts{{platform::TwipsToPixelsX(-20000), "off"},
                                   {platform::TwipsToPixelsX(210), "210"},
                                   {platform::TwipsToPixelsX(240), "240"}};
    const auto ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    const std::tuple<QWidget*, Qt::Key, Qt::KeyboardModifiers> steps[] = {
        {options.tbsOptions, Qt::Key_Tab, ctrl},
        {options.txtIwarexe, Qt::Key_Tab, ctrl},
        {options.chkColor, Qt::Key_Tab, ctrl | Qt::AltModifier},  // from "Colors" back to "Launcher"
        {options.chkNoSlab, Qt::Key_Backtab, ctrl | shift},  // from "Launcher" to "Colors"
        {options.cmdBackcolor, Qt::Key_Backtab, ctrl | shift | Qt::AltModifier},
        {options.cmdOK, Qt::Key_Tab, {}},  // Tab alone and Shift+Tab leave the tab as it is
        {options.cmdOK, Qt::Key_Backtab, shift},
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
              "2: off- off- 210 off\n1: off- 210 off- off\n1: off- 210 off- off\n1: off- 210 off- off\n");
}

}  // namespace
}  // namespace launcher
