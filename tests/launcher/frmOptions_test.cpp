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
#include <memory>

#include "launcher/launch_command.h"
#include "platform/qt_color.h"
#include "platform/qt_twips.h"
#include "shell/options.h"

namespace launcher {
namespace {

using platform::CommonDialog;
using Colors = std::array<platform::Color, 4>;

// A colour or file dialog as the user saw it.
struct DialogShown {
    QString kind;
    QString title;
    QString filter;
    QString initDir;
    QString fileName;
    platform::Color color;
};

// The user's answer to the next colour or file dialog; false: cancelled.
using Answer = std::function<bool(CommonDialog&)>;

Answer Choose(platform::Color color)
{
    return [color](CommonDialog& dialog) { dialog.Color = color; return true; };
}

Answer Choose(const QString& file)
{
    return [file](CommonDialog& dialog) { dialog.FileName = file; return true; };
}

// The user tries a colour and a file, then cancels.
Answer Cancel()
{
    return [](CommonDialog& dialog) {
        dialog.Color = 0xABCDEF;
        dialog.FileName = QStringLiteral("/tried/IWAR.EXE");
        return false;
    };
}

void SendKey(QWidget* control, Qt::Key key, Qt::KeyboardModifiers modifiers = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(control, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(control, &release);
}

void Click(QLabel* label)
{
    const QPointF centre = QRectF(label->rect()).center();
    const QPointF global = label->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(label, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, {}, {});
    QApplication::sendEvent(label, &release);
}

class OptionsDialogTest : public ::testing::Test {
protected:
    OptionsDialogTest()
    {
        shell::options = {};
        CommonDialog::setAnswerHook([this](const QString& kind, CommonDialog& dialog) {
            shown.push_back({kind, dialog.DialogTitle, dialog.Filter, dialog.InitDir,
                             dialog.FileName, dialog.Color});
            if (answers.empty()) {
                ADD_FAILURE() << "unexpected " << kind.toStdString() << " dialog";
                return false;
            }
            const Answer answer = answers.front();
            answers.pop_front();
            return answer(dialog);
        });
    }

    ~OptionsDialogTest() override
    {
        dialog.reset();
        CommonDialog::setAnswerHook(nullptr);
        EXPECT_TRUE(answers.empty()) << "dialogs that were never shown";
    }

    // A new dialog over the owner, shown as an opening shows it.
    frmOptions& Open()
    {
        dialog = std::make_unique<frmOptions>(&owner);
        dialog->show();
        return *dialog;
    }

    // The names of the check boxes and option buttons that are set, in alphabetical order.
    QStringList SetControls() const
    {
        QStringList names;
        for (const QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
            if (button->isCheckable() && button->isChecked())
                names.append(button->objectName());
        }
        names.sort();
        return names;
    }

    // One property of each page, in page order.
    template <typename Value>
    std::vector<Value> OfPages(Value (QWidget::*property)() const) const
    {
        std::vector<Value> values;
        for (const QWidget* page : dialog->picOptions)
            values.push_back((page->*property)());
        return values;
    }

    // Runs one opening through the menu's entry point; act plays the user and must close it.
    void WhileOpen(const std::function<void(frmOptions&)>& act)
    {
        QTimer::singleShot(0, [&] {
            auto* opened = qobject_cast<frmOptions*>(QApplication::activeModalWidget());
            ASSERT_NE(opened, nullptr);
            act(*opened);
        });
        ShowOptionsDialog(&owner);
    }

    QWidget owner;
    std::unique_ptr<frmOptions> dialog;
    std::deque<Answer> answers;
    std::vector<DialogShown> shown;
};

TEST_F(OptionsDialogTest, OpensWithTheStoredSwitchesAndOkStoresThoseOfTheControls)
{
    struct Case {
        qint16 launchFlags;
        qint16 systemFlags;
        QStringList set;
        qint16 launchFlagsAfterOk;
        qint16 systemFlagsAfterOk;
    };
    std::vector<Case> cases{
        {144, 1, {"chkColor", "chkNoSlab", "optEnglish"}, 144, 1},
        // Of several languages the highest is selected.
        {0x80 | 0x200, 0, {"optGerman"}, 0x200, 0},
        {0x80 | 0x100, 0, {"optFrench"}, 0x100, 0},
        {0x80 | 0x100 | 0x200, 0, {"optGerman"}, 0x200, 0},
        // Bits without a control are lost, also from a negative value out of the settings store.
        {qint16(0xC000 | 0x2000 | 0x90), 0x7, {"chkColor", "chkDisk", "chkNoSlab", "optEnglish"},
         0x2090, 1},
        {0, 0x6, {"optEnglish"}, 0x80, 0},
    };
    // Each switch alone, with English unless it is a language.
    for (const LaunchSwitch& launchSwitch : kLaunchSwitches) {
        const bool language = launchSwitch.bit & (0x80 | 0x100 | 0x200);
        QStringList set{launchSwitch.control};
        if (!language)
            set.append("optEnglish");
        set.sort();
        const qint16 afterOk = launchSwitch.bit | (language ? 0 : 0x80);
        cases.push_back({launchSwitch.bit, 0, set, afterOk, 0});
    }
    for (const Case& test : cases) {
        SCOPED_TRACE(test.launchFlags);
        shell::options.LaunchFlags = test.launchFlags;
        shell::options.SystemFlags = test.systemFlags;
        Open();
        EXPECT_EQ(SetControls(), test.set);
        dialog->cmdOK->click();
        EXPECT_FALSE(dialog->isVisible());
        EXPECT_EQ(shell::options.LaunchFlags, test.launchFlagsAfterOk);
        EXPECT_EQ(shell::options.SystemFlags, test.systemFlagsAfterOk);
        EXPECT_EQ(shell::options.LaunchPath, shell::kDefaultLaunchPath);
    }
}

TEST_F(OptionsDialogTest, CancelEscapeAndTheCloseBoxKeepAllButThePickedColour)
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
        answers = {Choose(++picked)};
        frmOptions& options = Open();
        options.chkdebug->click();
        options.chkColor->click();
        options.txtIwarexe->setText("D:\\Games\\IWAR.EXE");
        Click(options.lblComments);
        close(options);
        EXPECT_FALSE(options.isVisible());
        EXPECT_EQ(shell::options.TextColors, (Colors{16711680, picked, 0, 16777215}));
        EXPECT_EQ(shell::options.LaunchFlags, launchFlags);
        EXPECT_EQ(shell::options.SystemFlags, 0x7);
        EXPECT_EQ(shell::options.LaunchPath, shell::kDefaultLaunchPath);
    }
}

TEST_F(OptionsDialogTest, EnterPressesNoButton)
{
    frmOptions& options = Open();
    options.chkdebug->click();
    QWidget* const controls[] = {options.chkNoSlab, options.txtIwarexe, options.tbsOptions};
    for (QWidget* control : controls) {
        SendKey(control, Qt::Key_Return);
        SendKey(control, Qt::Key_Enter, Qt::KeypadModifier);
    }
    EXPECT_TRUE(options.isVisible());
    EXPECT_EQ(shell::options.LaunchFlags, 144);
}

TEST_F(OptionsDialogTest, EachSampleShowsAndPicksItsOwnColourAndACancelledPickChangesNothing)
{
    const Colors stored{0x11, 0x22, 0x33, 0x00FFFF};
    shell::options.TextColors = stored;
    answers = {Cancel(), Cancel(), Cancel(), Cancel(), Choose(1), Choose(2), Choose(3), Choose(4)};
    frmOptions& options = Open();
    QLabel* const samples[] = {options.lblCommands, options.lblComments, options.lblNormal};
    const auto expectSamples = [&](Colors texts, const QColor& background) {
        for (int index = 0; index < 3; ++index) {
            const QPalette palette = samples[index]->palette();
            EXPECT_EQ(palette.color(QPalette::WindowText), platform::ToQColor(texts[index]))
                << index;
            EXPECT_EQ(palette.color(QPalette::Window), background) << index;
        }
    };
    // The stored background waits for Backcolor: until then the window colour is behind.
    const QColor window = QApplication::palette(options.lblNormal).color(QPalette::Base);
    expectSamples(stored, window);
    EXPECT_TRUE(options.lblNormal->autoFillBackground());

    for (QLabel* sample : samples)
        Click(sample);
    options.cmdBackcolor->click();
    EXPECT_EQ(shell::options.TextColors, stored);
    expectSamples(stored, window);
    ASSERT_EQ(shown.size(), 4u);
    for (int index = 0; index < 4; ++index) {
        EXPECT_EQ(shown[index].kind, "Color");
        EXPECT_EQ(shown[index].color, stored[index]);  // starts on the current colour
    }

    Click(options.lblNormal);
    Click(options.lblCommands);
    options.cmdBackcolor->click();
    Click(options.lblComments);
    EXPECT_EQ(shell::options.TextColors, (Colors{2, 4, 1, 3}));
    expectSamples({2, 4, 1}, platform::ToQColor(3));
}

TEST_F(OptionsDialogTest, CtrlTabAndCtrlShiftTabCycleThroughTheTabsFromAnyControl)
{
    frmOptions& options = Open();
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    const struct {
        QWidget* control;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int selected;
    } steps[] = {
        {options.tbsOptions, Qt::Key_Tab, ctrl, 1},
        {options.txtIwarexe, Qt::Key_Tab, ctrl | Qt::AltModifier, 2},
        {options.chkColor, Qt::Key_Tab, ctrl, 0},            // from "Colors" back to "Launcher"
        {options.chkNoSlab, Qt::Key_Backtab, ctrlShift, 2},  // from "Launcher" to "Colors"
        {options.cmdBackcolor, Qt::Key_Backtab, ctrlShift | Qt::AltModifier, 1},
        {options.cmdOK, Qt::Key_Tab, ctrlShift, 0},
        // Tab alone, Shift+Tab and Alt+Tab leave the tab as it is.
        {options.cmdOK, Qt::Key_Tab, {}, 0},
        {options.cmdOK, Qt::Key_Backtab, Qt::ShiftModifier, 0},
        {options.cmdOK, Qt::Key_Tab, Qt::AltModifier, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.control->objectName().toStdString() + " " + std::to_string(step.key));
        SendKey(step.control, step.key, step.modifiers);
        EXPECT_EQ(options.tbsOptions->currentIndex(), step.selected);
    }
}

TEST_F(OptionsDialogTest, OnlyThePageOfTheSelectedTabIsShownAndEnabled)
{
    using Lefts = std::vector<int>;
    using Enabled = std::vector<bool>;
    const int off = platform::TwipsToPixelsX(-20000);
    const int on = platform::TwipsToPixelsX(210);
    frmOptions& options = Open();
    EXPECT_EQ(OfPages(&QWidget::x), (Lefts{platform::TwipsToPixelsX(240), off, off, off}));
    EXPECT_EQ(OfPages(&QWidget::isEnabled), (Enabled{true, true, true, true}));

    options.tbsOptions->setCurrentIndex(1);
    EXPECT_EQ(OfPages(&QWidget::x), (Lefts{off, on, off, off}));
    EXPECT_EQ(OfPages(&QWidget::isEnabled), (Enabled{false, true, false, true}));

    options.tbsOptions->setCurrentIndex(0);
    EXPECT_EQ(OfPages(&QWidget::x), (Lefts{on, off, off, off}));
    EXPECT_EQ(OfPages(&QWidget::isEnabled), (Enabled{true, false, false, true}));

    options.tbsOptions->setCurrentIndex(2);
    EXPECT_EQ(OfPages(&QWidget::x), (Lefts{off, off, on, off}));
    EXPECT_EQ(OfPages(&QWidget::isEnabled), (Enabled{false, false, true, true}));
}

TEST_F(OptionsDialogTest, OkStoresTheTypedPathExactly)
{
    for (const QString typed : {" D:\\Games\\IWAR.EXE  ", "", "no such game"}) {
        Open().txtIwarexe->setText(typed);
        dialog->cmdOK->click();
        EXPECT_EQ(shell::options.LaunchPath, typed);
    }
}

TEST_F(OptionsDialogTest, BrowseFillsThePathBoxOnlyWhenAFileIsChosen)
{
    answers = {Cancel(), Choose(0x010203), Choose(QStringLiteral("/games/iwar/IWAR.EXE"))};
    frmOptions& options = Open();
    options.txtIwarexe->setText("typed");
    options.cmdBrowse->click();
    EXPECT_EQ(options.txtIwarexe->text(), "typed");
    // A colour pick between two browses: each browse sets up its dialog again.
    Click(options.lblNormal);
    options.cmdBrowse->click();
    EXPECT_EQ(options.txtIwarexe->text(), "/games/iwar/IWAR.EXE");
    EXPECT_EQ(shell::options.LaunchPath, shell::kDefaultLaunchPath);

    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1].title, "");
    for (const DialogShown& browse : {shown[0], shown[2]}) {
        EXPECT_EQ(browse.kind, "Open");
        EXPECT_EQ(browse.title, "Locate Iwar.exe");
        EXPECT_EQ(browse.filter,
                  "Independence War Executable (IWAR.EXE or GAME.EXE)|Iwar.exe;game.exe");
        EXPECT_EQ(browse.initDir, "C:\\PROGRA~1\\PARTIC~1\\INDEPE~1\\");
    }

    options.cmdOK->click();
    EXPECT_EQ(shell::options.LaunchPath, "/games/iwar/IWAR.EXE");
}

TEST_F(OptionsDialogTest, EveryOpeningIsANewDialogGoneOnceItCloses)
{
    answers = {Choose(QStringLiteral("/games/IWAR.EXE")), Cancel()};
    QPointer<frmOptions> first;
    WhileOpen([&](frmOptions& options) {
        first = &options;
        options.chkdebug->click();
        options.cmdBrowse->click();
        options.cmdCancel->click();
    });
    EXPECT_TRUE(first.isNull());

    WhileOpen([&](frmOptions& options) {
        EXPECT_FALSE(options.chkdebug->isChecked());
        options.cmdBrowse->click();
        options.cmdCancel->click();
    });
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[1].fileName, "");  // the last opening's file is forgotten
}

}  // namespace
}  // namespace launcher
