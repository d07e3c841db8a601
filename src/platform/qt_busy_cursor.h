#pragma once

#include <QGuiApplication>

namespace platform {

// Shows the busy cursor for as long as it lives, so a long load, colouring or listing shows
// that the program is at work. Nested ones keep it until the outermost one ends.
class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// What work returns, done under the busy cursor.
template <typename Work>
auto WhileBusy(Work&& work)
{
    const BusyCursor busy;
    return work();
}

}  // namespace platform
