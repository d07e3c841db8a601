#include "shell/qt_outer_geometry.h"

#include <QEvent>
#include <QWidget>

namespace shell {
namespace {

// Waits for the window manager's frame, which arrives some time after the window is shown and
// moves the window's inside; then fits the inside to the outer size once, and goes.
class FrameWatch : public QObject {
public:
    FrameWatch(QWidget* window, QSize outer) : QObject(window), window_(window), outer_(outer) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool placed = event->type() == QEvent::Move || event->type() == QEvent::Resize;
        if (watched == window_ && placed && FitInside())
            deleteLater();
        return false;
    }

private:
    bool FitInside()
    {
        const QSize frame = window_->frameGeometry().size() - window_->size();
        if (frame.isNull())
            return false;
        window_->removeEventFilter(this);
        window_->resize(outer_ - frame);
        return true;
    }

    QWidget* window_;
    QSize outer_;
};

}  // namespace

void SetOuterGeometry(QWidget* window, const QRect& outer)
{
    // A move places the frame's corner; a resize sizes the inside.
    window->move(outer.topLeft());
    const QSize frame = window->frameGeometry().size() - window->size();
    window->resize(outer.size() - frame);
    if (frame.isNull())
        window->installEventFilter(new FrameWatch(window, outer.size()));
}

}  // namespace shell
