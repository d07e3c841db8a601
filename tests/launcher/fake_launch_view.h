#pragma once

#include <QList>
#include <QStringList>
#include <functional>

#include "launcher/launch.h"

namespace launcher {

// The windows' side of the launch and the Errors command: records what the commands show, and
// keeps lstErrors as the list box would.
class FakeLaunchView : public LaunchView {
public:
    void ShowErrorCode(qint64 taskId) override
    {
        calls << "ShowErrorCode";
        errorCodes << taskId;
        if (whileErrorCodeIsShown)
            whileErrorCodeIsShown();
    }
    void ShowFailure(const QString& message) override { calls << "ShowFailure: " + message; }
    void FillErrors(const QStringList& lines) override
    {
        calls << "FillErrors";
        lstErrors = lines;
    }
    void ShowErrors() override { calls << "ShowErrors"; }
    void ReportNoLog(const QString& message) override { calls << "ReportNoLog: " + message; }

    QStringList calls;
    QList<qint64> errorCodes;
    QStringList lstErrors;
    // Runs while the error code box is up: the user dismisses it when this returns.
    std::function<void()> whileErrorCodeIsShown;
};

}  // namespace launcher
