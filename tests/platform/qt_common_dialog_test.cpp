#include "platform/qt_common_dialog.h"

#include <QApplication>
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
    QTimer::singleShot(10, [answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget()))
            answer(*dialog);
        else
            AnswerNextDialog(answer);
    });
}

// The hook answers as a user would and records what each dialog opened on. A file name is
// remembered and emptied by a cancel; a colour and the printer are kept.
TEST(CommonDialog, EachDialogKeepsWhatItsUserChoseAndACancelFailsOnlyWithCancelError)
{
    CommonDialog dialog;
    QStringList shown;
    bool accept = true;
    CommonDialog::setAnswerHook([&](const QString& kind, CommonDialog& answered) {
        const QPrinter* printer = kind == u"Printer" ? PrinterOf(answered.hDC()) : nullptr;
        shown += kind + u' ' + (printer ? QString::number(printer->printRange()) : answered.FileName);
        if (kind == u"Color")
            answered.Color = 0x445566;
        else if (!printer)
            answered.FileName = kind + ".scr";
        return accept;
    });
    dialog.Color = 0x112233;
    dialog.Flags = 265;
    EXPECT_TRUE(dialog.ShowOpen() && dialog.ShowSave() && dialog.ShowPrinter());
    PrinterHandle* printer = dialog.hDC();
    accept = false;
    dialog.Flags = 264;
    EXPECT_TRUE(dialog.ShowOpen() && dialog.ShowColor() && dialog.ShowPrinter());  // CancelError false
    shown << dialog.FileName << QString::number(dialog.Color, 16);
    dialog.CancelError = true;
    for (const Status& cancelled : {dialog.ShowSave(), dialog.ShowColor(), dialog.ShowPrinter()})
        EXPECT_TRUE(CommonDialog::IsCancel(cancelled) && cancelled.message().contains("32755"));
    accept = true;
    EXPECT_TRUE(dialog.ShowColor() && dialog.hDC() == printer && dialog.Color == 0x445566);
    EXPECT_FALSE(CommonDialog::IsCancel(Status::Failed("other")));
    CommonDialog::setAnswerHook({});
    EXPECT_EQ(shown.join(','), "Open ,Save Open.scr,Printer 1,Open Save.scr,Color ,Printer 0,,112233,"
                               "Save ,Color ,Printer 0,Color ");
}

// Descriptions are paired with their patterns. A missing start folder opens at its nearest
// parent with an empty name box; the last file chosen shows in its folder; a cancel empties it.
TEST(CommonDialog, RealFileDialogShowsTitleFiltersStartFolderAndLastFile)
{
    support::TestEnvironment environment;
    const QString script = environment.writeFile("wine/drive_c/Program Files/mission.scr", "a");
    CommonDialog dialog;
    dialog.DialogTitle = "Open Script";
    dialog.Filter = "Script Files (*.scr)|*.scr|Programs|*.exe;*.com|All Files (*.*)|*.*|Only a description";
    dialog.InitDir = "C:\\PROGRA~1\\PARTIC~1\\INDEPE~1\\";
    QStringList seen;
    const auto answer = [&](bool accept) {
        AnswerNextDialog<QFileDialog>([&, accept](QFileDialog& shown) {
            seen << shown.windowTitle() << shown.nameFilters().join('|') << shown.directory().absolutePath()
                 << shown.findChild<QLineEdit*>("fileNameEdit")->text();
            // Qt leaves the name box alone while it has the focus, as it has once the dialog is active.
            if (QWidget* focused = shown.focusWidget())
                focused->clearFocus();
            shown.selectFile(script);
            accept ? static_cast<QDialog&>(shown).accept() : shown.reject();
        });
    };
    answer(true);
    EXPECT_TRUE(dialog.ShowOpen());
    seen << dialog.FileName;
    dialog.CancelError = true;
    answer(false);
    EXPECT_TRUE(CommonDialog::IsCancel(dialog.ShowSave()));
    const QString filters = "Script Files (*.scr) (*.scr)|Programs (*.exe *.com)|All Files (*.*) (*)";
    const QString folder = HostPath("C:\\Program Files");
    EXPECT_EQ(seen, (QStringList{"Open Script", filters, folder, "", script, "Open Script", filters,
                                 environment.driveC() + "/Program Files", "mission.scr"}));
    EXPECT_EQ(dialog.FileName, "");
}

// Without a hook the user answers (the window tests answer through the hook).
TEST(MsgBox, ShowsItsTextAsPlainTextWithTitleIconAndButtons)
{
    QStringList seen;
    for (int box = 0; box < 2; ++box) {
        AnswerNextDialog<QMessageBox>([&](QMessageBox& shown) {
            seen << QString("%1|%2|%3|%4|%5").arg(shown.text(), shown.windowTitle()).arg(shown.textFormat())
                        .arg(shown.icon()).arg(shown.standardButtons());
            shown.defaultButton()->click();
        });
    }
    const MsgBoxResult answer = MsgBox(nullptr, "Save /tmp/a<b>c.scr?", "Save?", MsgBoxButtons::YesNoCancel);
    EXPECT_EQ(std::pair(answer, MsgBox(nullptr, "Failed", "Error", MsgBoxButtons::Ok, MsgBoxIcon::Critical)),
              std::pair(MsgBoxResult::Yes, MsgBoxResult::Ok));
    const int yesNoCancel = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    EXPECT_EQ(seen, QStringList({QString("Save /tmp/a<b>c.scr?|Save?|0|0|%1").arg(yesNoCancel),
                                 QString("Failed|Error|0|3|%1").arg(QMessageBox::Ok)}));
}

}  // namespace
}  // namespace platform
