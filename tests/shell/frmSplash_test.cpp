#include "shell/frmSplash.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <gtest/gtest.h>

#include "language/command_table.h"
#include "language/parser.h"
#include "shell/qt_startup.h"
#include "shell/script_caption.h"
#include "support/test_environment.h"

namespace shell {
namespace {

// Its texts, the parser set up, progress for every keyword up to the bar's end, hidden by a click.
TEST(frmSplash, ShowsTheStartUp)
{
    support::TestEnvironment environment;  // a working folder without a keyword file
    language::TypeKeywords.fill(QString());
    language::ResetCommandTable();
    frmSplash splash;
    QStringList shown = {splash.Label1->text(), splash.Label2->text(), splash.Label3->text(), splash.Label4->text(),
                         language::TypeKeywords[0], QString::number(splash.ProgressBar1->value())};
    language::CommandAdded = [&splash] { splash.AdvanceProgress(); };
    language::LoadCommands();
    shown += QString::number(splash.ProgressBar1->value());
    for (int keyword = 0; keyword < 40; ++keyword)
        language::AddCommand("EXTRA");
    shown += QString::number(splash.ProgressBar1->value());
    splash.show();
    QTest::mouseClick(&splash, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(shown + QStringList(splash.isVisible() ? "shown" : "hidden"),
              QStringList({"Orbiscribe", "Mission script editor for Independence War", "Windows 95", "Version 1.1.3",
                           "3DP", "0", "219", "250", "hidden"}));
    language::ResetCommandTable();
}

// The pause waits its time; only a caption that begins with "Script" exactly has no file.
TEST(Pause, WaitsItsSecondsAndCaptionsTellUntitledWindows)
{
    QElapsedTimer timer;
    timer.start();
    Pause(0.3);
    EXPECT_TRUE(timer.elapsed() >= 300 && IsUntitled(u"Script 7") && !IsUntitled(u"script 7"));
}

}  // namespace
}  // namespace shell
