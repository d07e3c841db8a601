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

// Descriptions are paired with their patterns. A missing start folder opens at its nearest
// parent with an empty name box; a cancel leaves no file name.
TEST(CommonDialog, FileDialogOpensAtTheNearestFolderAndPrinterAndColourFollowTheirProperties)
{
    support::TestEnvironment environment;
    environment.writeFile("wine/drive_c/Program Files/mission.scr", "a");
    CommonDialog dialog;
    dialog.DialogTitle = "Open Script";
    dialog.Filter = "Script Files (*.scr)|*.scr|Programs|*.exe;*.com|All Files (*.*)|*.*|Only a description";
    dialog.InitDir = "C:\\PROGRA~1\\PARTIC~1\\INDEPE~1\\";
    QStringList seen;
    AnswerNextDialog<QFileDialog>([&](QFileDialog& shown) {
        seen << shown.windowTitle() << shown.nameFilters().join('|') << shown.directory().absolutePath()
             << shown.findChild<QLineEdit*>("fileNameEdit")->text();
        shown.reject();
    });
    EXPECT_TRUE(dialog.ShowOpen());
    EXPECT_EQ(seen << dialog.FileName, QStringList({"Open Script", "Script Files (*.scr) (*.scr)|Programs "
                                                    "(*.exe *.com)|All Files (*.*) (*)",
                                                    HostPath("C:\\Program Files"), "", ""}));
    // Flags 265 asks the printer for the selection. A cancelled colour changes nothing.
    QList<int> chosen;
    CommonDialog::setAnswerHook([&](const QString& kind, CommonDialog& shown) {
        chosen << (kind == u"Color" ? int(shown.Color = 0x445566) : PrinterOf(shown.hDC())->printRange());
        return kind != u"Color";
    });
    dialog.Color = 0x112233;
    dialog.Flags = 265;
    EXPECT_TRUE(dialog.ShowPrinter() && dialog.ShowColor());
    CommonDialog::setAnswerHook({});
    EXPECT_EQ(chosen << int(dialog.Color), QList<int>({QPrinter::Selection, 0x445566, 0x112233}));
}

// Without a hook the user answers (the window tests answer through the hook).
TEST(MsgBox, ShowsItsTextAsPlainTextWithTitleIconAndButtons)
{
    QString seen;
    AnswerNextDialog<QMessageBox>([&](QMessageBox& shown) {
        seen = QString("%1|%2|%3|%4|%5").arg(shown.text(), shown.windowTitle()).arg(shown.textFormat())
                   .arg(shown.icon()).arg(shown.standardButtons());
        shown.defaultButton()->click();
    });
    EXPECT_EQ(MsgBox(nullptr, "Save /tmp/a<b>c.scr?", "Save?", MsgBoxButtons::YesNoCancel),
              MsgBoxResult::Yes);
    EXPECT_EQ(seen, QString("Save /tmp/a<b>c.scr?|Save?|0|0|%1")
                        .arg(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
}

}  // namespace
}  // namespace platform
