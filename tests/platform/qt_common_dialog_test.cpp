#include "platform/qt_common_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPrinter>
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

// The dialogs are answered through the hook; it is gone after each test.
class CommonDialogTest : public ::testing::Test {
protected:
    ~CommonDialogTest() override { CommonDialog::setAnswerHook({}); }

    CommonDialog dialog;
};

TEST(QtNameFilters, PairsDescriptionsWithTheirPatterns)
{
    EXPECT_EQ(QtNameFilters("Script Files (*.scr)|*.scr|All Files (*.*)|*.*"),
              (QStringList{"Script Files (*.scr) (*.scr)", "All Files (*.*) (*)"}));
    EXPECT_EQ(QtNameFilters("Programs|*.exe;*.com|"), (QStringList{"Programs (*.exe *.com)"}));
    EXPECT_EQ(QtNameFilters("Only a description"), QStringList());
    EXPECT_EQ(QtNameFilters(""), QStringList());
}

TEST_F(CommonDialogTest, FileNameIsRememberedAndEmptiedByACancel)
{
    QStringList shown;  // each dialog's kind and the file it opened on
    bool accept = true;
    CommonDialog::setAnswerHook([&](const QString& kind, CommonDialog& answered) {
        shown += kind + u' ' + answered.FileName;
        answered.FileName = kind + ".scr";
        return accept;
    });
    EXPECT_TRUE(dialog.ShowOpen());
    EXPECT_TRUE(dialog.ShowSave());
    EXPECT_EQ(dialog.FileName, "Save.scr");
    accept = false;
    EXPECT_TRUE(dialog.ShowOpen());  // CancelError false: a cancel returns normally
    EXPECT_EQ(dialog.FileName, "");
    dialog.CancelError = true;
    const Status cancelled = dialog.ShowSave();
    EXPECT_TRUE(CommonDialog::IsCancel(cancelled));
    EXPECT_TRUE(cancelled.message().contains("32755")) << cancelled.message().toStdString();
    EXPECT_EQ(dialog.FileName, "");
    EXPECT_EQ(shown, (QStringList{"Open ", "Save Open.scr", "Open Save.scr", "Save "}));
    EXPECT_FALSE(CommonDialog::IsCancel(Status::Failed("other")));
}

TEST_F(CommonDialogTest, ColorIsKeptOnCancel)
{
    dialog.Color = 0x112233;
    bool accept = false;
    CommonDialog::setAnswerHook([&](const QString&, CommonDialog& answered) {
        answered.Color = 0x445566;
        return accept;
    });
    EXPECT_TRUE(dialog.ShowColor());
    EXPECT_EQ(dialog.Color, 0x112233);
    accept = true;
    EXPECT_TRUE(dialog.ShowColor());
    EXPECT_EQ(dialog.Color, 0x445566);
}

TEST_F(CommonDialogTest, PrintDialogKeepsItsPrinterAndOpensOnTheRangeOfFlags)
{
    QList<QPrinter::PrintRange> rangesShown;
    bool accept = true;
    CommonDialog::setAnswerHook([&](const QString&, CommonDialog& answered) {
        rangesShown += PrinterOf(answered.hDC())->printRange();
        return accept;
    });
    dialog.Flags = 265;
    ASSERT_TRUE(dialog.ShowPrinter());
    PrinterHandle* printer = dialog.hDC();
    dialog.Flags = 264;
    ASSERT_TRUE(dialog.ShowPrinter());
    EXPECT_EQ(dialog.hDC(), printer);
    EXPECT_EQ(rangesShown, (QList{QPrinter::Selection, QPrinter::AllPages}));
    accept = false;
    dialog.CancelError = true;
    EXPECT_TRUE(CommonDialog::IsCancel(dialog.ShowPrinter()));
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
        EXPECT_EQ(shown.windowTitle(), "Open Script");
        EXPECT_EQ(shown.nameFilters(), QtNameFilters(dialog.Filter));
        EXPECT_EQ(shown.directory().absolutePath(), environment.root() + "/scripts");
        // Qt leaves the name box alone while it has the focus, as it has once the dialog is active.
        if (QWidget* focused = shown.focusWidget())
            focused->clearFocus();
        shown.selectFile(second);
        static_cast<QDialog&>(shown).accept();
    });
    ASSERT_TRUE(dialog.ShowOpen());
    EXPECT_EQ(dialog.FileName, second);

    dialog.CancelError = true;
    AnswerNextDialog<QFileDialog>([](QFileDialog& shown) { shown.reject(); });
    EXPECT_TRUE(CommonDialog::IsCancel(dialog.ShowSave()));
    EXPECT_EQ(dialog.FileName, "");
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

TEST(MsgBox, HookAnswersInsteadOfTheUserAndWithoutItTheUserDoes)
{
    QStringList asked;
    setMsgBoxHook([&](const QString& text, const QString& title) {
        asked << text << title;
        return MsgBoxResult::No;
    });
    EXPECT_EQ(MsgBox(nullptr, "Save now?", "Save?", MsgBoxButtons::YesNoCancel), MsgBoxResult::No);
    setMsgBoxHook({});
    EXPECT_EQ(asked, (QStringList{"Save now?", "Save?"}));

    // A question, with Yes as its default and no icon; its text is never markup.
    AnswerNextDialog<QMessageBox>([](QMessageBox& shown) {
        EXPECT_EQ(shown.text(), "Save /tmp/a<b>c.scr?");
        EXPECT_EQ(shown.textFormat(), Qt::PlainText);
        EXPECT_EQ(shown.windowTitle(), "Save?");
        EXPECT_EQ(shown.icon(), QMessageBox::NoIcon);
        EXPECT_EQ(shown.standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        shown.defaultButton()->click();
    });
    EXPECT_EQ(MsgBox(nullptr, "Save /tmp/a<b>c.scr?", "Save?", MsgBoxButtons::YesNoCancel),
              MsgBoxResult::Yes);

    AnswerNextDialog<QMessageBox>([](QMessageBox& shown) {
        EXPECT_EQ(shown.icon(), QMessageBox::Critical);
        shown.button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(MsgBox(nullptr, "Failed", "Error", MsgBoxButtons::Ok, MsgBoxIcon::Critical),
              MsgBoxResult::Ok);
}

}  // namespace
}  // namespace platform
