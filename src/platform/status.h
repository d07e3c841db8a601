#pragma once

#include <QString>

namespace platform {

// Outcome of an operation that can fail: success, or a failure with a message for the user
// (which names the path and the reason where there is one).
class [[nodiscard]] Status {
public:
    static Status Ok() { return Status(); }
    static Status Failed(QString message) { return Status(std::move(message)); }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const QString& message() const { return message_; }

private:
    Status() = default;
    explicit Status(QString message) : failed_(true), message_(std::move(message)) {}

    bool failed_ = false;
    QString message_;
};

}  // namespace platform
