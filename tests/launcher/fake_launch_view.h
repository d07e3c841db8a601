#pragma once

#include <QStringList>
#include <functional>
#include <string>

#include "launcher/launch.h"

namespace launcher {

// Lines compared as one text, which a failure shows readably.
inline std::string Lines(const QStringList& lines)
{
    return lines.join(u'\n').toStdString();
}

// Records what the launch and the Errors command show, in order; a filled list as
// "FillErrors|line|line...".
struct FakeLaunchView : LaunchView {
    void ShowErrorCode(qint64 taskId) override
    {
        calls << "ShowErrorCode " + QString::number(taskId);
        if (whileErrorCodeIsShown)
            whileErrorCodeIsShown();
    }
    void ShowFailure(const QString& message) override { calls << "ShowFailure " + message; }
    void FillErrors(const QStringList& lines) override { calls << (QStringList{"FillErrors"} + lines).join(u'|'); }
    void ShowErrors() override { calls << "ShowErrors"; }
    void ReportNoLog(const QString& message) override { calls << "ReportNoLog " + message; }

    QStringList calls;
    std::function<void()> whileErrorCodeIsShown;  // the user dismisses the box when it returns
};

}  // namespace launcher
