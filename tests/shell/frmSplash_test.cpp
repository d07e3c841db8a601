#include "shell/frmSplash.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTimer>
#include <gtest/gtest.h>

#include "language/command_table.h"
#include "language/parser.h"
#include "shell/qt_images.h"
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

TEST(ToolbarImages, FourteenDistinctPicturesKeyedInIndexOrderAndTheSplashPicture)
{
    QStringList keys;
    QImage blank(16, 16, QImage::Format_ARGB32_Premultiplied);
    blank.fill(Qt::transparent);
    QList<QImage> pictures = {blank};
    for (const auto& [key, icon] : ToolbarImages()) {
        keys += key;
        const QImage picture = icon.pixmap(16, 16).toImage();
        EXPECT_FALSE(pictures.contains(picture)) << key.toStdString() << " is blank or a copy";
        pictures += picture;
    }
    EXPECT_EQ(keys, QStringList({"New", "Open", "Save", "Camera", "Print", "Cut", "Copy", "Paste", "Bold", "Italic",
                                 "Underline", "Align Left", "Center", "Align Right"}));
    EXPECT_EQ(std::pair(ToolbarImage("Camera").isNull(), ToolbarImage("Launch").isNull()), std::pair(false, true));
    const QImage splash = SplashPicture().toImage();
    EXPECT_EQ(std::tuple(splash.size(), splash.hasAlphaChannel(), SplashPicture().toImage() == splash),
              std::tuple(QSize(800, 600), false, true));
}

}  // namespace
}  // namespace shell
