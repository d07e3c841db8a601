#include "launcher/frmErrors.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <gtest/gtest.h>

#include "platform/qt_twips.h"

namespace launcher {
namespace {

class ErrorsWindowTest : public ::testing::Test {
protected:
    ~ErrorsWindowTest() override { UnloadErrorsWindow(); }

    static int ErrorsWindowsAlive()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        int alive = 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            alive += qobject_cast<frmErrors*>(window) != nullptr;
        return alive;
    }
};

TEST_F(ErrorsWindowTest, IsAFixedOwnerlessWindowCalledErrorListing)
{
    const frmErrors& window = ErrorsWindow();
    EXPECT_EQ(window.windowTitle(), "Error Listing");
    EXPECT_EQ(window.parentWidget(), nullptr);
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() &
                 (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
}

TEST_F(ErrorsWindowTest, ListTakesTheOuterWidthAnd200TwipsLessThanTheOuterHeight)
{
    frmErrors& window = ErrorsWindow();
    window.show();
    const int margin = platform::TwipsToPixelsY(200);
    for (const QSize size : {window.size(), QSize(640, 300), QSize(50, margin / 2)}) {
        window.setFixedSize(size);
        const QRect outer = window.frameGeometry();
        EXPECT_EQ(window.lstErrors->geometry(),
                  QRect(0, 0, outer.width(), std::max(outer.height() - margin, 0)));
    }
}

TEST_F(ErrorsWindowTest, ClosingDestroysItAndTheNextUseMakesAnEmptyOne)
{
    QPointer<frmErrors> first = &ErrorsWindow();
    first->lstErrors->addItem("old line");
    first->show();
    EXPECT_EQ(&ErrorsWindow(), first.data());

    first->close();
    // Even before Qt has deleted the closed one.
    frmErrors& second = ErrorsWindow();
    EXPECT_NE(&second, first.data());
    EXPECT_EQ(second.lstErrors->count(), 0);
    EXPECT_EQ(ErrorsWindowsAlive(), 1);
}

TEST_F(ErrorsWindowTest, UnloadDestroysTheWindowAndMakesNone)
{
    UnloadErrorsWindow();
    EXPECT_EQ(ErrorsWindowsAlive(), 0);
    ErrorsWindow().show();
    UnloadErrorsWindow();
    EXPECT_EQ(ErrorsWindowsAlive(), 0);
}

}  // namespace
}  // namespace launcher
