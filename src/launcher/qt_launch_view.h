#pragma once

#include "launcher/launch.h"

class QWidget;

namespace launcher {

// What the launch and the Errors command show, as windows: message boxes over the main window,
// the log in the Errors window.
class QtLaunchView : public LaunchView {
public:
    explicit QtLaunchView(QWidget* mainWindow);

    void ShowErrorCode(qint64 taskId) override;
    void ShowFailure(const QString& message) override;
    void FillErrors(const QStringList& lines) override;
    void ShowErrors() override;
    void ReportNoLog(const QString& message) override;

private:
    QWidget* mainWindow_;
};

}  // namespace launcher
