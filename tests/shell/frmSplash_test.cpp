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

TEST(frmSplash, LoadingShowsItsTextsInitialisesTheParserAndAClickHidesIt)
{
    language::TypeKeywords.fill(QString());
    frmSplash splash;
    EXPECT_EQ(QStringList({splash.Label1->text(), splash.Label2->text(), splash.Label3->text(), splash.Label4->text(),
                           language::TypeKeywords[0]}),
              QStringList({"Orbiscribe", "Mission script editor for Independence War", "Windows 95", "Version 1.1.3",
                           "3DP"}));
    splash.show();
    const QPointF inside(10, 10);
    const QPointF global = splash.mapToGlobal(inside);
    QMouseEvent press(QEvent::MouseButtonPress, inside, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&splash, &press);
    QCoreApplication::sendEvent(&splash, &release);
    EXPECT_FALSE(splash.isVisible());
}

TEST(frmSplash, ProgressCountsEveryKeywordAndStopsAtItsEnd)
{
    support::TestEnvironment environment;  // a working folder without a keyword file
    language::ResetCommandTable();
    frmSplash splash;
    const int before = splash.ProgressBar1->value();
    language::CommandAdded = [&splash] { splash.AdvanceProgress(); };
    language::LoadCommands();
    const int loaded = splash.ProgressBar1->value();
    for (int keyword = 0; keyword < 40; ++keyword)
        language::AddCommand("EXTRA");
    EXPECT_EQ(std::tuple(before, loaded, splash.ProgressBar1->value()), std::tuple(0, 219, 250));
    language::ResetCommandTable();
}

TEST(Pause, ProcessesPendingMessagesOnceEvenWithoutWaitingAndOtherwiseWaitsItsSeconds)
{
    for (const double seconds : {0.0, -1.0, 0.3}) {
        bool ran = false;
        QTimer::singleShot(seconds > 0 ? 50 : 0, [&ran] { ran = true; });
        QElapsedTimer clock;
        clock.start();
        Pause(seconds);
        EXPECT_TRUE(ran && clock.elapsed() >= 1000 * seconds && clock.elapsed() < 3000) << seconds;
    }
}

}  // namespace
}  // namespace shell
