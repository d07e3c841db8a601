#include "launcher/qt_launch_view.h"

#include <QListWidget>

#include "launcher/frmErrors.h"
#include "platform/qt_busy_cursor.h"
#include "platform/qt_message_box.h"

namespace launcher {
namespace {

const QString kFailureTitle = QStringLiteral("Launch Independence War");

}  // namespace

QtLaunchView::QtLaunchView(QWidget* mainWindow) : mainWindow_(mainWindow) {}

void QtLaunchView::ShowErrorCode(qint64 taskId)
{
    platform::MsgBox(mainWindow_, ErrorCodeText(taskId), kErrorCodeTitle);
}

void QtLaunchView::ShowFailure(const QString& message)
{
    platform::MsgBox(mainWindow_, message, kFailureTitle, platform::MsgBoxButtons::Ok,
                     platform::MsgBoxIcon::Warning);
}

void QtLaunchView::FillErrors(const QStringList& lines)
{
    const platform::BusyCursor busy;
    QListWidget* list = ErrorsWindow().lstErrors;
    list->clear();
    list->addItems(lines);
}

// Shown in front but not activated: after a launch the focus belongs to the game.
void QtLaunchView::ShowErrors()
{
    frmErrors& window = ErrorsWindow();
    window.show();
    window.raise();
}

// The status line belongs to the editor, and its date panel would cut the path short.
void QtLaunchView::ReportNoLog(const QString& message)
{
    platform::MsgBox(mainWindow_, message, kErrorListingTitle, platform::MsgBoxButtons::Ok,
                     platform::MsgBoxIcon::Warning);
}

}  // namespace launcher
