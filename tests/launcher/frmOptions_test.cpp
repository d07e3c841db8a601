#include "launcher/frmOptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTimer>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

#include "launcher/launch_command.h"
#include "platform/qt_color.h"
#include "platform/qt_twips.h"
#include "shell/options.h"
#include "support/test_environment.h"

namespace launcher {
namespace {

using platform::CommonDialog;
using platform::TwipsToPixelsX;
using Colors = std::array<platform::Color, 4>;
// The user's answer to the next colour or file dialog: a colour or a file chosen, or a cancel
// (std::monostate) after trying one.
using Answer = std::variant<std::monostate, platform::Color, QString>;
constexpr Answer Pick(platform::Color color) { return Answer(std::in_place_index<1>, color); }

void SendKey(QWidget* control, int key, Qt::KeyboardModifiers modifiers = {})
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers);
        QApplication::sendEvent(control, &event);
    }
}

void Click(QLabel* label)
{
    const QPointF centre = QRectF(label->rect()).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, centre, label->mapToGlobal(centre), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, {});
        QApplication::sendEvent(label, &event);
    }
}

class OptionsDialogTest : public ::testing::Test {
protected:
    OptionsDialogTest()
    {
        shell::options = {};
        CommonDialog::setAnswerHook([this](const QString& kind, CommonDialog& dialog) {
            shown << QStringList{kind, dialog.DialogTitle, dialog.Filter, dialog.InitDir,
                                 dialog.FileName, QString::number(dialog.Color, 16)}.join(u'|');
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected " << kind.toStdString() << " dialog";
                return false;
            }
            const Answer answer = answers.front();
            answers.pop_front();
            if (kind == u"Color")
                dialog.Color = answer.index() == 1 ? std::get<1>(answer) : 0xABCDEF;
            else
                dialog.FileName = answer.index() == 2 ? std::get<2>(answer) : "/tried/IWAR.EXE";
            return answer.index() != 0;
        });
    }

    ~OptionsDialogTest() override
    {
        delete dialog;
        CommonDialog::setAnswerHook(nullptr);
        EXPECT_TRUE(answers.empty()) << "dialogs that were never shown";
    }

    // A new dialog over the owner, shown as an opening shows it.
    frmOptions& Open()
    {
        delete dialog;
        dialog = new frmOptions(&owner);
        dialog->show();
        return *dialog;
    }

    // The check boxes and option buttons that are set, in alphabetical order.
    QString SetControls() const
    {
        QStringList names;
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (button->isChecked())
                names.append(button->objectName());
        }
        names.sort();
        return names.join(u' ');
    }

    QWidget owner;
    QPointer<frmOptions> dialog;
    std::deque<Answer> answers;
    QStringList shown;  // each dialog as "kind|title|filter|initDir|fileName|colour"
};

TEST_F(OptionsDialogTest, OpensWithTheStoredSwitchesAndOkStoresThoseOfTheControls)
{
    struct Case {
        qint16 launchFlags, systemFlags;
        QString set;
        qint16 launchFlagsAfterOk, systemFlagsAfterOk;
    };
    std::vector<Case> cases{
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
        QStringList set{launchSwitch.control};
        if (!language)
            set.append("optEnglish");
        set.sort();
        cases.push_back({launchSwitch.bit, 0, set.join(u' '),
                         qint16(launchSwitch.bit | (language ? 0 : 0x80)), 0});
    }
    for (const Case& test : cases) {
        shell::options.LaunchFlags = test.launchFlags;
        shell::options.SystemFlags = test.systemFlags;
        Open();
        EXPECT_EQ(SetControls(), test.set) << test.launchFlags;
        dialog->cmdOK->click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(std::tuple(shell::options.LaunchFlags, shell::options.SystemFlags, shell::options.LaunchPath),
                  std::tuple(test.launchFlagsAfterOk, test.systemFlagsAfterOk, shell::kDefaultLaunchPath))
            << test.launchFlags;
    }
}

TEST_F(OptionsDialogTest, CancelEscapeAndTheCloseBoxKeepAllButThePickedColourAndEnterPressesNothing)
{
    const qint16 launchFlags = qint16(0xC000 | 0x2000 | 0x90);  // with bits no control carries
    shell::options.LaunchFlags = launchFlags;
    shell::options.SystemFlags = 0x7;
    const std::function<void(frmOptions&)> closings[] = {
        [](frmOptions& options) { options.cmdCancel->click(); },
        [](frmOptions& options) { SendKey(options.chkNoSlab, Qt::Key_Escape); },
        [](frmOptions& options) { SendKey(options.txtIwarexe, Qt::Key_Escape); },
        [](frmOptions& options) { options.close(); },
    };
    platform::Color picked = 0x123456;
    for (const auto& close : closings) {
        answers = {Pick(++picked)};
        frmOptions& options = Open();
        options.chkdebug->click();
        options.chkColor->click();
        options.txtIwarexe->setText("D:\\Games\\IWAR.EXE");
        Click(options.lblComments);
        for (QWidget* control : {(QWidget*)options.chkNoSlab, (QWidget*)options.txtIwarexe, (QWidget*)options.tbsOptions}) {
            SendKey(control, Qt::Key_Return);
            SendKey(control, Qt::Key_Enter, Qt::KeypadModifier);
        }
        EXPECT_TRUE(options.isVisible());
        close(options);
        EXPECT_FALSE(options.isVisible());
        EXPECT_EQ(shell::options.TextColors, (Colors{16711680, picked, 0, 16777215}));
        EXPECT_EQ(std::tuple(shell::options.LaunchFlags, shell::options.SystemFlags, shell::options.LaunchPath),
                  std::tuple(launchFlags, qint16(0x7), shell::kDefaultLaunchPath));
    }
}

TEST_F(OptionsDialogTest, EachSampleShowsAndPicksItsOwnColourAndACancelledPickChangesNothing)
{
    shell::options.TextColors = {0x11, 0x22, 0x33, 0x00FFFF};
    answers = {{}, {}, {}, {}, Pick(1), Pick(2), Pick(3), Pick(4)};
    frmOptions& options = Open();
    // Each sample's text colour and background; the stored background waits for Backcolor.
    const auto samples = [&] {
        QStringList shownColors;
        for (const QLabel* sample : {options.lblCommands, options.lblComments, options.lblNormal})
            shownColors << sample->palette().color(QPalette::WindowText).name() + u'/'
                               + sample->palette().color(QPalette::Window).name();
        return shownColors.join(u' ');
    };
    const QString window = QApplication::palette(options.lblNormal).color(QPalette::Base).name();
    const QString stored = QString("#110000/%1 #220000/%1 #330000/%1").arg(window);
    EXPECT_EQ(samples(), stored);
    for (QLabel* sample : {options.lblCommands, options.lblComments, options.lblNormal})
        Click(sample);
    options.cmdBackcolor->click();
    EXPECT_EQ(shell::options.TextColors, (Colors{0x11, 0x22, 0x33, 0x00FFFF}));
    EXPECT_EQ(samples(), stored);
    // Each starts on the current colour.
    EXPECT_EQ(shown.join(u' ').toStdString(), "Color|||||11 Color|||||22 Color|||||33 Color|||||ffff");

    Click(options.lblNormal);
    Click(options.lblCommands);
    options.cmdBackcolor->click();
    Click(options.lblComments);
    EXPECT_EQ(shell::options.TextColors, (Colors{2, 4, 1, 3}));
    EXPECT_EQ(samples(), "#020000/#030000 #040000/#030000 #010000/#030000");
}

TEST_F(OptionsDialogTest, CtrlTabAndCtrlShiftTabCycleThroughTheTabsFromAnyControl)
{
    frmOptions& options = Open();
    const auto ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier, alt = Qt::AltModifier;
    const std::tuple<QWidget*, int, Qt::KeyboardModifiers> steps[] = {
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
    QString selected;
    for (const auto& [control, key, modifiers] : steps) {
        SendKey(control, key, modifiers);
        selected += QString::number(options.tbsOptions->currentIndex());
    }
    EXPECT_EQ(selected, "120210000");
}

TEST_F(OptionsDialogTest, OnlyThePageOfTheSelectedTabIsShownAndEnabled)
{
    frmOptions& options = Open();
    const auto pages = [&] {
        QStringList places;
        for (const QWidget* page : options.picOptions)
            places << QString::number(page->x()) + (page->isEnabled() ? "" : "-");
        return places.join(u' ');
    };
    const QString off = QString::number(TwipsToPixelsX(-20000)), on = QString::number(TwipsToPixelsX(210));
    QStringList seen{pages()};
    for (const int tab : {1, 0, 2}) {
        options.tbsOptions->setCurrentIndex(tab);
        seen << pages();
    }
    EXPECT_EQ(seen, (QStringList{QString("%1 %2 %2 %2").arg(TwipsToPixelsX(240)).arg(off),
                                 QString("%2- %1 %2- %2").arg(on, off),
                                 QString("%1 %2- %2- %2").arg(on, off),
                                 QString("%2- %2- %1 %2").arg(on, off)}));
}

// The path box shows a path from its start, and OK stores what it holds exactly; Browse fills
// it only when a file is chosen, in the file's Windows form when it lies on a Wine drive.
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
    answers = {{}, Pick(0x010203), QString("/games/iwar/IWAR.EXE"), game};
    frmOptions& options = Open();
    EXPECT_EQ(options.txtIwarexe->cursorPosition(), 0);
    options.cmdBrowse->click();
    EXPECT_EQ(options.txtIwarexe->text(), shell::options.LaunchPath);
    // A colour pick between two browses: each browse sets up its dialog again.
    Click(options.lblNormal);
    QStringList paths;
    for (int browse = 0; browse < 2; ++browse) {
        options.cmdBrowse->click();
        paths << options.txtIwarexe->text() + u'@' + QString::number(options.txtIwarexe->cursorPosition());
    }
    EXPECT_EQ(paths, (QStringList{"/games/iwar/IWAR.EXE@0", "C:\\Games\\Particle Systems\\IWAR.EXE@0"}));
    const QString setUp = "Independence War Executable (IWAR.EXE or GAME.EXE)|Iwar.exe;game.exe"
                          "|C:\\PROGRA~1\\PARTIC~1\\INDEPE~1\\|";
    const QString browse = "Open|Locate Iwar.exe|" + setUp;
    EXPECT_EQ(shown.join(u'\n').toStdString(),
              QStringList({browse + "|0", "Color||" + setUp + "|0", browse + "|10203",
                           browse + "/games/iwar/IWAR.EXE|10203"}).join(u'\n').toStdString());
    options.cmdOK->click();
    EXPECT_EQ(shell::options.LaunchPath, "C:\\Games\\Particle Systems\\IWAR.EXE");
}

TEST_F(OptionsDialogTest, EveryOpeningIsANewDialogGoneOnceItCloses)
{
    answers = {QString("/games/IWAR.EXE"), {}};
    QList<QPointer<frmOptions>> openings;
    for (int opening = 0; opening < 2; ++opening) {
        QTimer::singleShot(0, [&] {
            auto* options = qobject_cast<frmOptions*>(QApplication::activeModalWidget());
            ASSERT_NE(options, nullptr);
            openings << options;
            EXPECT_FALSE(options->chkdebug->isChecked());
            options->chkdebug->click();
            options->cmdBrowse->click();
            options->cmdCancel->click();
        });
        ShowOptionsDialog(&owner);
    }
    EXPECT_EQ(openings.size(), 2);
    EXPECT_TRUE(openings[0].isNull() && openings[1].isNull());
    EXPECT_TRUE(shown[1].endsWith("||0")) << "the last opening's file is forgotten";
}

}  // namespace
}  // namespace launcher
