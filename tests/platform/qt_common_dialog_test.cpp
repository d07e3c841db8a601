#include "platform/qt_common_dialog.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

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

// The named entries of a file dialog opened over folder, each as "name=type", once the dialog
// has listed them all or a second has passed. A dialog that freezes lists nothing.
QStringList ListedTypes(const QString& folder, const QStringList& names)
{
    QStringList listed;
    AnswerNextDialog<QFileDialog>([&](QFileDialog& shown) {
        const auto* model = shown.findChild<QFileSystemModel*>();
        const QDeadlineTimer deadline(1000);
        do {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            listed.clear();
            for (const QString& name : names) {
                if (const QModelIndex entry = model->index(folder + '/' + name); !model->type(entry).isEmpty())
                    listed << name + '=' + model->type(entry);
            }
        } while (listed.size() < names.size() && !deadline.hasExpired());
        shown.reject();
    });
    CommonDialog dialog;
    dialog.InitDir = folder;
    EXPECT_TRUE(dialog.ShowOpen());
    return listed;
}

// A listed file is judged by its name and kind, never by its content: reading it could wait for
// ever. A name that tells nothing gives the type of unknown data, whatever the file holds.
TEST(CommonDialog, FileDialogJudgesListedFilesByTheirNamesAlone)
{
    support::TestEnvironment environment;
    const QString folder = environment.workDir() + "/list";
    environment.writeFile("work/list/report", "%PDF-1.4\n");
    environment.writeFile("work/list/mission.scr", "Task Main\r\n");
    QDir(folder).mkpath("ships");
    const QMimeDatabase mimeTypes;
    const QString pdf = mimeTypes.mimeTypeForName("application/pdf").comment();
    ASSERT_EQ(mimeTypes.mimeTypeForFile(folder + "/report").comment(), pdf);  // what reading it tells
    EXPECT_EQ(ListedTypes(folder, {"mission.scr", "report", "ships"}),
              QStringList({"mission.scr=" + mimeTypes.mimeTypeForFile("mission.scr", QMimeDatabase::MatchExtension).comment(),
                           "report=" + mimeTypes.mimeTypeForName("application/octet-stream").comment(),
                           "ships=Folder"}));
}

// /proc/kmsg is a regular file whose read waits until the kernel logs something.
TEST(CommonDialog, FileDialogOverAFileWhoseReadWaitsListsItsFolder)
{
    const int kmsg = ::open("/proc/kmsg", O_RDONLY | O_NONBLOCK);
    if (kmsg < 0)
        GTEST_SKIP() << "/proc/kmsg cannot be opened here, so no file's read is known to wait";
    pollfd unread{kmsg, POLLIN, 0};
    const bool waits = ::poll(&unread, 1, 0) == 0;
    ::close(kmsg);
    if (!waits)
        GTEST_SKIP() << "/proc/kmsg holds unread messages, so its read would not wait";
    EXPECT_EQ(ListedTypes("/proc", {"kmsg"}), QStringList({"kmsg=" + QMimeDatabase().mimeTypeForName("application/octet-stream").comment()}));
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
