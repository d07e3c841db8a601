#include "shell/frmSplash.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTimer>
#include <gtest/gtest.h>

#include "language/command_table.h"
#include "language/parser.h"
#include "shell/qt_startup.h"
#include "support/test_environment.h"

namespace shell {
namespace {

void Click(QWidget& widget)
{
    const QPointF inside(10, 10);
    const QPointF global = widget.mapToGlobal(inside);
    QMouseEvent press(QEvent::MouseButtonPress, inside, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &press);
    QCoreApplication::sendEvent(&widget, &release);
}

TEST(frmSplash, LoadingShowsTheVersionAndInitialisesTheParser)
{
    language::TypeKeywords.fill(QString());
    frmSplash splash;
    EXPECT_EQ(splash.Label4->text(), "Version 1.1.3");
    EXPECT_FALSE(language::TypeKeywords[0].isEmpty());
}

TEST(frmSplash, ProgressCountsEveryKeywordAndStopsAtItsEnd)
{
    support::TestEnvironment environment;  // a working folder without a keyword file
    language::ResetCommandTable();
    frmSplash splash;
    EXPECT_EQ(splash.ProgressBar1->value(), 0);
    language::CommandAdded = [&splash] { splash.AdvanceProgress(); };

    language::LoadCommands();
    EXPECT_EQ(splash.ProgressBar1->value(), 219);
    for (int keyword = 0; keyword < 40; ++keyword)
        language::AddCommand("EXTRA");
    EXPECT_EQ(splash.ProgressBar1->value(), 250);

    language::ResetCommandTable();
}

TEST(frmSplash, ClickHidesIt)
{
    frmSplash splash;
    splash.show();
    Click(splash);
    EXPECT_FALSE(splash.isVisible());
}

TEST(Pause, ProcessesPendingMessagesOnceEvenWithoutWaiting)
{
    for (double seconds : {0.0, -1.0}) {
        bool ran = false;
        QTimer::singleShot(0, [&ran] { ran = true; });
        Pause(seconds);
        EXPECT_TRUE(ran) << seconds;
    }
}

TEST(Pause, WaitsItsSecondsWhileMessagesAreProcessed)
{
    bool ran = false;
    QTimer::singleShot(50, [&ran] { ran = true; });
    QElapsedTimer clock;
    clock.start();
    Pause(0.3);
    EXPECT_TRUE(ran);
    EXPECT_GE(clock.elapsed(), 300);
    EXPECT_LT(clock.elapsed(), 3000);
}

}  // namespace
}  // namespace shell
