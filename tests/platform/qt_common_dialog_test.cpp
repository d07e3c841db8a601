#include "platform/qt_common_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "platform/qt_message_box.h"
#include "platform/qt_rich_text_box.h"
#include "platform/win_path.h"
#include "support/test_environment.h"

namespace platform {
namespace {

// Answers the next modal dialog as a user would, once it is up.
template <typename Dialog>
void AnswerNextDialog(std::function<void(Dialog&)> answer)
{
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(*dialog);
        }
    });
    poll->start(10);
}

// The dialogs are answered through the hook, which records what each one opened on; the hook
// is gone after each test.
class CommonDialogTest : public ::testing::Test {
protected:
    CommonDialogTest()
    {
        CommonDialog::setAnswerHook([this](const QString& kind, CommonDialog& answered) {
            const QPrinter* printer = kind == u"Printer" ? PrinterOf(answered.hDC()) : nullptr;
            shown += kind + u' ' + (printer ? QString::number(printer->printRange()) : answered.FileName);
            if (kind == u"Color")
                answered.Color = 0x445566;
            else if (!printer)
                answered.FileName = kind + ".scr";
            return accept;
        });
    }
    ~CommonDialogTest() override { CommonDialog::setAnswerHook({}); }

    CommonDialog dialog;
    QStringList shown;
    bool accept = true;
};

TEST(QtNameFilters, PairsDescriptionsWithTheirPatterns)
{
    EXPECT_EQ(QtNameFilters("Script Files (*.scr)|*.scr|All Files (*.*)|*.*") + QtNameFilters("Programs|*.exe;*.com|") +
                  QtNameFilters("Only a description") + QtNameFilters(""),
              (QStringList{"Script Files (*.scr) (*.scr)", "All Files (*.*) (*)", "Programs (*.exe *.com)"}));
}

// A file name is remembered and emptied by a cancel; a colour and the printer are kept.
TEST_F(CommonDialogTest, EachDialogKeepsWhatItsUserChoseAndACancelFailsOnlyWithCancelError)
{
    dialog.Color = 0x112233;
    dialog.Flags = 265;
    EXPECT_TRUE(dialog.ShowOpen() && dialog.ShowSave() && dialog.ShowPrinter());
    PrinterHandle* printer = dialog.hDC();
    accept = false;
    dialog.Flags = 264;
    EXPECT_TRUE(dialog.ShowOpen() && dialog.ShowColor() && dialog.ShowPrinter());  // CancelError false
    shown << dialog.FileName << QString::number(dialog.Color, 16);
    dialog.CancelError = true;
    const QList<Status> cancelled{dialog.ShowSave(), dialog.ShowColor(), dialog.ShowPrinter()};
    EXPECT_TRUE(!CommonDialog::IsCancel(Status::Failed("other")) && std::ranges::all_of(cancelled, [](const Status& status) {
        return CommonDialog::IsCancel(status) && status.message().contains("32755");
    }));
    accept = true;
    EXPECT_TRUE(dialog.ShowColor() && dialog.hDC() == printer && dialog.Color == 0x445566);
    EXPECT_EQ(shown, (QStringList{"Open ", "Save Open.scr", "Printer 1", "Open Save.scr", "Color ", "Printer 0", "",
                                  "112233", "Save ", "Color ", "Printer 0", "Color "}));
}

TEST(CommonDialog, RealFileDialogShowsTitleFiltersAndLastFile)
{
    support::TestEnvironment environment;
    const QString first = environment.writeFile("scripts/first.scr", "a");
    const QString second = environment.writeFile("scripts/second.scr", "b");
    CommonDialog dialog;
    dialog.DialogTitle = "Open Script";
    dialog.Filter = "Script Files (*.scr)|*.scr|All Files|*.*";
    dialog.FileName = first;
    AnswerNextDialog<QFileDialog>([&](QFileDialog& shown) {
        EXPECT_EQ(QStringList({shown.windowTitle(), shown.nameFilters().join('|'), shown.directory().absolutePath()}),
                  QStringList({"Open Script", QtNameFilters(dialog.Filter).join('|'), environment.root() + "/scripts"}));
        // Qt leaves the name box alone while it has the focus, as it has once the dialog is active.
        if (QWidget* focused = shown.focusWidget())
            focused->clearFocus();
        shown.selectFile(second);
        static_cast<QDialog&>(shown).accept();
    });
    EXPECT_TRUE(dialog.ShowOpen() && dialog.FileName == second);

    dialog.CancelError = true;
    AnswerNextDialog<QFileDialog>([](QFileDialog& shown) { shown.reject(); });
    EXPECT_TRUE(CommonDialog::IsCancel(dialog.ShowSave()) && dialog.FileName.isEmpty());
}

TEST(CommonDialog, MissingStartFolderOpensAtItsNearestParentWithAnEmptyFileName)
{
    support::TestEnvironment environment;
    ASSERT_TRUE(QDir(environment.driveC()).mkpath("Program Files"));
    CommonDialog dialog;
    dialog.InitDir = "C:\\PROGRA~1\\PARTIC~1\\INDEPE~1\\";
    AnswerNextDialog<QFileDialog>([&](QFileDialog& shown) {
        EXPECT_EQ(shown.directory().absolutePath() + '|'
                      + shown.findChild<QLineEdit*>("fileNameEdit")->text(),
                  HostPath("C:\\Program Files") + '|');
        shown.reject();
    });
    EXPECT_TRUE(dialog.ShowOpen());
}

// Without a hook the user answers (the window tests answer through the hook).
TEST(MsgBox, ShowsItsTextTitleIconAndButtons)
{
    // A question, with Yes as its default and no icon; a failure, with its icon and OK.
    AnswerNextDialog<QMessageBox>([](QMessageBox& shown) {
        EXPECT_EQ(std::tuple(shown.text(), shown.textFormat(), shown.windowTitle(), shown.icon(), shown.standardButtons()),
                  std::tuple(QString("Save /tmp/a<b>c.scr?"), Qt::PlainText, QString("Save?"), QMessageBox::NoIcon,
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
        shown.defaultButton()->click();
    });
    EXPECT_EQ(MsgBox(nullptr, "Save /tmp/a<b>c.scr?", "Save?", MsgBoxButtons::YesNoCancel), MsgBoxResult::Yes);
    AnswerNextDialog<QMessageBox>([](QMessageBox& shown) {
        EXPECT_EQ(shown.icon(), QMessageBox::Critical);
        shown.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(MsgBox(nullptr, "Failed", "Error", MsgBoxButtons::Ok, MsgBoxIcon::Critical), MsgBoxResult::Ok);
}

}  // namespace
}  // namespace platform
