#include "launcher/frmErrors.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <gtest/gtest.h>

#include "platform/qt_twips.h"

namespace launcher {
namespace {

int ErrorsWindowsAlive()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int alive = 0;
    for (QWidget* window : QApplication::topLevelWidgets())
        alive += qobject_cast<frmErrors*>(window) != nullptr;
    return alive;
}

// A fixed, ownerless window whose list takes its outer width and 200 twips less than its outer
// height.
TEST(ErrorsWindow, IsAFixedOwnerlessWindowCalledErrorListingAroundItsList)
{
    frmErrors& window = ErrorsWindow();
    EXPECT_EQ(window.windowTitle() + (window.parentWidget() ? "" : " without owner"),
              "Error Listing without owner");
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags()
                 & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    window.show();
    const int margin = platform::TwipsToPixelsY(200);
    for (const QSize size : {window.size(), QSize(640, 300), QSize(50, margin / 2)}) {
        window.setFixedSize(size);
        const QRect outer = window.frameGeometry();
        EXPECT_EQ(window.lstErrors->geometry(),
                  QRect(0, 0, outer.width(), std::max(outer.height() - margin, 0)));
    }
    UnloadErrorsWindow();
}

// Closing destroys it, even before Qt has deleted it, and the next use makes an empty one;
// unloading destroys it and makes none.
TEST(ErrorsWindow, ClosingOrUnloadingDestroysItAndTheNextUseMakesAnEmptyOne)
{
    QPointer<frmErrors> first = &ErrorsWindow();
    first->lstErrors->addItem("old line");
    first->show();
    EXPECT_EQ(&ErrorsWindow(), first.data());
    first->close();
    frmErrors& second = ErrorsWindow();
    EXPECT_NE(&second, first.data());
    EXPECT_EQ(second.lstErrors->count(), 0);
    EXPECT_EQ(ErrorsWindowsAlive(), 1);
    for (int unload = 0; unload < 2; ++unload) {
        UnloadErrorsWindow();
        EXPECT_EQ(ErrorsWindowsAlive(), 0);
    }
}

}  // namespace
}  // namespace launcher
