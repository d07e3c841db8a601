#pragma once

#include <QList>
#include <QRectF>

namespace shell {

// The main window's placement in twips, as section "Settings" keeps it: the position and the
// outer size of its frame.
struct Placement {
    float Left = 1000;
    float Top = 1000;
    float Width = 6500;
    float Height = 6500;

    friend bool operator==(const Placement&, const Placement&) = default;
};

// Reads "MainLeft", "MainTop", "MainWidth" and "MainHeight". A value that does not convert to
// a finite number is its default; a placement that gives the window no size, a size beyond
// reason, or puts it off every one of the screens (their rectangles in twips) is the default
// placement as a whole.
Placement LoadPlacement(const QList<QRectF>& screens);

// Writes the four keys in that order, each as its value rounded to a whole number in plain
// decimal digits ("1000", "300000", "-15").
void SavePlacement(const Placement& placement);

}  // namespace shell
