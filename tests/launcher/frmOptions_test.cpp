#include "launcher/frmOptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
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
    return [color](CommonDialog& dialog) {
        dialog.Color = color;
        return true;
    };
}

Answer Choose(const QString& file)
{
    return [file](CommonDialog& dialog) {
        dialog.FileName = file;
        return true;
    };
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

int Left(int twips)
{
    return platform::TwipsToPixelsX(twips);
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
    QMouseEvent press(QEvent::MouseButtonPress, centre, label->mapToGlobal(centre), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(label, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, label->mapToGlobal(centre),
                        Qt::LeftButton, {}, {});
    QApplication::sendEvent(label, &release);
}

QColor TextColor(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

QColor Background(const QLabel* label)
{
    return label->palette().color(QPalette::Window);
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

    std::vector<int> PageLefts() const
    {
        std::vector<int> lefts;
        for (const QWidget* page : dialog->picOptions)
            lefts.push_back(page->x());
        return lefts;
    }

    std::vector<bool> PagesEnabled() const
    {
        std::vector<bool> enabled;
        for (const QWidget* page : dialog->picOptions)
            enabled.push_back(page->isEnabled());
        return enabled;
    }

    // Runs one opening through the menu's entry point; act plays the user and must close it.
    void WhileOpen(std::function<void(frmOptions&)> act)
    {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* opened = qobject_cast<frmOptions*>(QApplication::activeModalWidget())) {
                poll.stop();
                act(*opened);
            }
        });
        poll.start(10);
        ShowOptionsDialog(&owner);
    }

    QWidget owner;
    std::unique_ptr<frmOptions> dialog;
    std::deque<Answer> answers;
    std::vector<DialogShown> shown;
};

TEST_F(OptionsDialogTest, DefaultsOpenWithNoSlabEnglishAndColorTextAndOkKeepsThem)
{
    frmOptions& options = Open();
    EXPECT_EQ(SetControls(), (QStringList{"chkColor", "chkNoSlab", "optEnglish"}));
    EXPECT_EQ(options.txtIwarexe->text(), shell::kDefaultLaunchPath);
    EXPECT_EQ(TextColor(options.lblCommands), platform::ToQColor(16711680));
    EXPECT_EQ(TextColor(options.lblComments), platform::ToQColor(65280));
    EXPECT_EQ(TextColor(options.lblNormal), platform::ToQColor(0));
    EXPECT_EQ(options.tbsOptions->currentIndex(), 0);

    options.cmdOK->click();
    EXPECT_FALSE(options.isVisible());
    EXPECT_EQ(options.result(), QDialog::Accepted);
    EXPECT_EQ(shell::options.LaunchFlags, 144);
    EXPECT_EQ(shell::options.SystemFlags, 1);
    EXPECT_EQ(shell::options.LaunchPath, shell::kDefaultLaunchPath);
}

TEST_F(OptionsDialogTest, EachSwitchShowsAndStoresItsOwnBit)
{
    constexpr qint16 kLanguageBits = 0x80 | 0x100 | 0x200;
    for (const LaunchSwitch& launchSwitch : kLaunchSwitches) {
        SCOPED_TRACE(launchSwitch.control);
        shell::options.LaunchFlags = launchSwitch.bit;
        shell::options.SystemFlags = 0;
        frmOptions& options = Open();
        const auto* control = options.findChild<QAbstractButton*>(launchSwitch.control);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->text(), launchSwitch.caption);
        const bool language = launchSwitch.bit & kLanguageBits;
        QStringList expected{launchSwitch.control};
        if (!language)
            expected.append("optEnglish");
        expected.sort();
        EXPECT_EQ(SetControls(), expected);

        options.cmdOK->click();
        const qint16 stored = language ? launchSwitch.bit : launchSwitch.bit | 0x80;
        EXPECT_EQ(shell::options.LaunchFlags, stored);
        EXPECT_EQ(shell::options.SystemFlags, 0);
    }
}

TEST_F(OptionsDialogTest, ExactlyOneLanguageIsSelectedAndStored)
{
    struct Case {
        qint16 stored;
        const char* selected;
        qint16 afterOk;
    };
    const Case cases[] = {
        {0x10, "optEnglish", 0x90},            // none stored: English
        {0x80 | 0x200, "optGerman", 0x200},    // the highest of several wins
        {0x80 | 0x100, "optFrench", 0x100},
        {0x80 | 0x100 | 0x200, "optGerman", 0x200},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.stored);
        shell::options.LaunchFlags = test.stored;
        frmOptions& options = Open();
        const QStringList set = SetControls();
        EXPECT_EQ(set.filter("opt"), QStringList{test.selected});
        options.cmdOK->click();
        EXPECT_EQ(shell::options.LaunchFlags, test.afterOk);
    }

    shell::options = {};
    frmOptions& options = Open();
    options.optFrench->click();
    EXPECT_FALSE(options.optEnglish->isChecked());
    options.cmdOK->click();
    EXPECT_EQ(shell::options.LaunchFlags, 0x110);
}

TEST_F(OptionsDialogTest, BitsWithoutAControlAreLostOnOkAndKeptOnCancel)
{
    // A negative value from the settings store: bits 0x4000 and 0x8000 have no control.
    const qint16 stored = qint16(0xC000 | 0x2000 | 0x10 | 0x80);
    shell::options.LaunchFlags = stored;
    shell::options.SystemFlags = 0x7;
    Open().cmdCancel->click();
    EXPECT_EQ(shell::options.LaunchFlags, stored);
    EXPECT_EQ(shell::options.SystemFlags, 0x7);

    Open().cmdOK->click();
    EXPECT_EQ(shell::options.LaunchFlags, 0x2090);
    EXPECT_EQ(shell::options.SystemFlags, 1);

    shell::options.SystemFlags = 0x6;
    EXPECT_FALSE(Open().chkColor->isChecked());
    dialog->cmdOK->click();
    EXPECT_EQ(shell::options.SystemFlags, 0);
}

TEST_F(OptionsDialogTest, PickedColourIsStoredAtOnceAndKeptByCancel)
{
    answers = {Choose(0x123456)};
    frmOptions& options = Open();
    options.chkdebug->click();
    options.txtIwarexe->setText("D:\\Games\\IWAR.EXE");
    Click(options.lblComments);
    EXPECT_EQ(shell::options.TextColors[shell::CommentColor], 0x123456);
    EXPECT_EQ(TextColor(options.lblComments), platform::ToQColor(0x123456));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].kind, "Color");
    EXPECT_EQ(shown[0].color, 65280);  // starts on the current colour

    options.cmdCancel->click();
    EXPECT_EQ(shell::options.TextColors,
              (std::array<platform::Color, 4>{16711680, 0x123456, 0, 16777215}));
    EXPECT_EQ(shell::options.LaunchFlags, 144);
    EXPECT_EQ(shell::options.LaunchPath, shell::kDefaultLaunchPath);
}

TEST_F(OptionsDialogTest, EachSampleStoresItsOwnColour)
{
    answers = {Choose(0x000001), Choose(0x000002), Choose(0x000003), Choose(0x000004)};
    frmOptions& options = Open();
    Click(options.lblNormal);
    Click(options.lblCommands);
    options.cmdBackcolor->click();
    Click(options.lblComments);
    EXPECT_EQ(shell::options.TextColors, (std::array<platform::Color, 4>{2, 4, 1, 3}));
    EXPECT_EQ(TextColor(options.lblCommands), platform::ToQColor(2));
    EXPECT_EQ(TextColor(options.lblComments), platform::ToQColor(4));
    EXPECT_EQ(TextColor(options.lblNormal), platform::ToQColor(1));
    for (const QLabel* sample : {options.lblCommands, options.lblComments, options.lblNormal})
        EXPECT_EQ(Background(sample), platform::ToQColor(3)) << sample->objectName().toStdString();
}

TEST_F(OptionsDialogTest, CancelledColourDialogChangesNothing)
{
    shell::options.TextColors[shell::BackgroundColor] = 0x00FFFF;
    const auto before = shell::options.TextColors;
    answers = {Cancel(), Cancel(), Cancel(), Cancel()};
    frmOptions& options = Open();
    const QColor window = Background(options.lblCommands);
    for (QLabel* sample : {options.lblCommands, options.lblComments, options.lblNormal})
        Click(sample);
    options.cmdBackcolor->click();
    EXPECT_EQ(shell::options.TextColors, before);
    EXPECT_EQ(TextColor(options.lblComments), platform::ToQColor(65280));
    EXPECT_EQ(Background(options.lblNormal), window);
}

TEST_F(OptionsDialogTest, SamplesShowTheWindowColourBehindUntilBackcolorIsPicked)
{
    shell::options.TextColors[shell::BackgroundColor] = 0x00FFFF;
    answers = {Choose(0x112233)};
    frmOptions& options = Open();
    const QColor window = QApplication::palette(options.lblNormal).color(QPalette::Base);
    for (const QLabel* sample : {options.lblCommands, options.lblComments, options.lblNormal})
        EXPECT_EQ(Background(sample), window) << sample->objectName().toStdString();
    EXPECT_TRUE(options.lblNormal->autoFillBackground());

    options.cmdBackcolor->click();
    for (const QLabel* sample : {options.lblCommands, options.lblComments, options.lblNormal})
        EXPECT_EQ(Background(sample), platform::ToQColor(0x112233))
            << sample->objectName().toStdString();
}

TEST_F(OptionsDialogTest, CtrlTabAndCtrlShiftTabCycleThroughTheTabsFromAnyControl)
{
    frmOptions& options = Open();
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
    struct Step {
        QWidget* control;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int selected;
    };
    const Step steps[] = {
        {options.tbsOptions, Qt::Key_Tab, ctrl, 1},
        {options.txtIwarexe, Qt::Key_Tab, ctrl | Qt::AltModifier, 2},
        {options.chkColor, Qt::Key_Tab, ctrl, 0},  // from "Colors" back to "Launcher"
        {options.chkNoSlab, Qt::Key_Backtab, ctrlShift, 2},  // from "Launcher" to "Colors"
        {options.cmdBackcolor, Qt::Key_Backtab, ctrlShift | Qt::AltModifier, 1},
        {options.cmdOK, Qt::Key_Tab, ctrlShift, 0},
        // Tab alone, Shift+Tab and other keys leave the tab as it is.
        {options.cmdOK, Qt::Key_Tab, {}, 0},
        {options.cmdOK, Qt::Key_Backtab, Qt::ShiftModifier, 0},
        {options.cmdOK, Qt::Key_Tab, Qt::AltModifier, 0},
        {options.cmdOK, Qt::Key_PageDown, ctrl, 0},
        {options.cmdOK, Qt::Key_I, ctrl, 0},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.control->objectName().toStdString() + " " + std::to_string(step.key));
        SendKey(step.control, step.key, step.modifiers);
        EXPECT_EQ(options.tbsOptions->currentIndex(), step.selected);
    }
    EXPECT_EQ(options.picOptions[0]->x(), Left(210));  // each change moved the pages
}

TEST_F(OptionsDialogTest, OnlyThePageOfTheSelectedTabIsShownAndEnabled)
{
    frmOptions& options = Open();
    const int off = Left(-20000);
    EXPECT_EQ(PageLefts(), (std::vector<int>{Left(240), off, off, off}));
    EXPECT_EQ(PagesEnabled(), (std::vector<bool>{true, true, true, true}));

    options.tbsOptions->setCurrentIndex(1);
    EXPECT_EQ(PageLefts(), (std::vector<int>{off, Left(210), off, off}));
    EXPECT_EQ(PagesEnabled(), (std::vector<bool>{false, true, false, true}));
    EXPECT_FALSE(options.chkNoSlab->isEnabled());

    options.tbsOptions->setCurrentIndex(0);
    EXPECT_EQ(PageLefts(), (std::vector<int>{Left(210), off, off, off}));
    EXPECT_EQ(PagesEnabled(), (std::vector<bool>{true, false, false, true}));
    EXPECT_FALSE(options.txtIwarexe->isEnabled());

    options.tbsOptions->setCurrentIndex(2);
    EXPECT_EQ(PageLefts(), (std::vector<int>{off, off, Left(210), off}));
    EXPECT_EQ(PagesEnabled(), (std::vector<bool>{false, false, true, true}));
}

TEST_F(OptionsDialogTest, TypedPathIsStoredExactlyAndOnlyByOk)
{
    Open().txtIwarexe->setText("D:\\Games\\IWAR.EXE");
    dialog->cmdCancel->click();
    EXPECT_EQ(shell::options.LaunchPath, shell::kDefaultLaunchPath);

    for (const QString typed : {" D:\\Games\\IWAR.EXE  ", "", "no such game"}) {
        Open().txtIwarexe->setText(typed);
        dialog->cmdOK->click();
        EXPECT_EQ(shell::options.LaunchPath, typed);
    }
}

TEST_F(OptionsDialogTest, BrowseFillsThePathBoxOnlyWhenAFileIsChosen)
{
    answers = {Cancel(), Choose(QStringLiteral("/games/iwar/IWAR.EXE")), Choose(0x010203)};
    frmOptions& options = Open();
    options.txtIwarexe->setText("typed");
    options.cmdBrowse->click();
    EXPECT_EQ(options.txtIwarexe->text(), "typed");
    options.cmdBrowse->click();
    EXPECT_EQ(options.txtIwarexe->text(), "/games/iwar/IWAR.EXE");
    EXPECT_EQ(shell::options.LaunchPath, shell::kDefaultLaunchPath);
    Click(options.lblNormal);

    ASSERT_EQ(shown.size(), 3u);
    for (int browse = 0; browse < 2; ++browse) {
        EXPECT_EQ(shown[browse].kind, "Open");
        EXPECT_EQ(shown[browse].title, "Locate Iwar.exe");
        EXPECT_EQ(shown[browse].filter,
                  "Independence War Executable (IWAR.EXE or GAME.EXE)|Iwar.exe;game.exe");
        EXPECT_EQ(shown[browse].initDir, "C:\\PROGRA~1\\PARTIC~1\\INDEPE~1\\");
    }
    EXPECT_EQ(shown[2].title, "");  // the colour dialog is not titled "Locate Iwar.exe"

    options.cmdOK->click();
    EXPECT_EQ(shell::options.LaunchPath, "/games/iwar/IWAR.EXE");
}

TEST_F(OptionsDialogTest, EscapeAndTheCloseBoxCancelAndEnterPressesNothing)
{
    const std::function<void(frmOptions&)> closings[] = {
        [](frmOptions& options) { SendKey(options.chkNoSlab, Qt::Key_Escape); },
        [](frmOptions& options) { SendKey(options.txtIwarexe, Qt::Key_Escape); },
        [](frmOptions& options) { options.close(); },
    };
    for (const auto& close : closings) {
        frmOptions& options = Open();
        options.chkdebug->click();
        options.txtIwarexe->setText("changed");
        close(options);
        EXPECT_FALSE(options.isVisible());
        EXPECT_EQ(options.result(), QDialog::Rejected);
        EXPECT_EQ(shell::options.LaunchFlags, 144);
        EXPECT_EQ(shell::options.LaunchPath, shell::kDefaultLaunchPath);
    }

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

TEST_F(OptionsDialogTest, EveryOpeningStartsAfresh)
{
    answers = {Choose(QStringLiteral("/games/IWAR.EXE")), Choose(0x445566), Cancel()};
    QPointer<frmOptions> first;
    WhileOpen([&](frmOptions& options) {
        first = &options;
        EXPECT_TRUE(options.isModal());
        EXPECT_EQ(options.parentWidget(), &owner);
        options.chkdebug->click();
        options.cmdBrowse->click();
        options.tbsOptions->setCurrentIndex(2);
        Click(options.lblComments);
        options.cmdCancel->click();
    });
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(shell::options.TextColors[shell::CommentColor], 0x445566);

    WhileOpen([&](frmOptions& options) {
        EXPECT_NE(&options, first.data());
        EXPECT_FALSE(options.chkdebug->isChecked());
        EXPECT_EQ(options.tbsOptions->currentIndex(), 0);
        EXPECT_EQ(options.picOptions[0]->x(), Left(240));
        EXPECT_EQ(options.txtIwarexe->text(), shell::kDefaultLaunchPath);
        EXPECT_EQ(TextColor(options.lblComments), platform::ToQColor(0x445566));
        options.cmdBrowse->click();
        options.cmdOK->click();
    });
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[2].fileName, "");  // the last opening's file is forgotten
    EXPECT_EQ(shell::options.LaunchFlags, 144);
}

}  // namespace
}  // namespace launcher
