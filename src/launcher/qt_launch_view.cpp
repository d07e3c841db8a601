#include "launcher/qt_launch_view.h"

#include <QListWidget>

#include "launcher/frmErrors.h"
#include "platform/qt_message_box.h"
#include "shell/frmMain.h"

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

void QtLaunchView::ClearErrors()
{
    ErrorsWindow().lstErrors->clear();
}

void QtLaunchView::AddError(const QString& line)
{
    ErrorsWindow().lstErrors->addItem(line);
}

// Shown in front but not activated: after a launch the focus belongs to the game.
void QtLaunchView::ShowErrors()
{
    frmErrors& window = ErrorsWindow();
    window.show();
    window.raise();
}

void QtLaunchView::ReportNoLog(const QString& message)
{
    shell::SetStatus(message);
}

}  // namespace launcher
