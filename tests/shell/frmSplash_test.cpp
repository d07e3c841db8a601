#include "shell/frmSplash.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <gtest/gtest.h>
#include <algorithm>
#include <tuple>
#include <vector>

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

// The values the bar showed, one for each paint.
struct PaintedValues : QObject {
    std::vector<int> values;

    bool eventFilter(QObject* bar, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            values.push_back(static_cast<QProgressBar*>(bar)->value());
        return false;
    }
};

// A keyword file far longer than the bar: the bar is drawn as it moves, with no window messages
// processed, and not again once it is full; the table keeps its first keywords.
TEST(frmSplash, DrawsTheBarOnlyWhenItsLookChanges)
{
    support::TestEnvironment environment;
    QByteArray keywords;
    for (int line = 0; line < 2000; ++line)
        keywords += "k" + QByteArray::number(line) + "\n";
    environment.writeFile("work/commands.dat", keywords);
    language::ResetCommandTable();
    frmSplash splash;
    splash.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&splash));
    PaintedValues painted;
    splash.ProgressBar1->installEventFilter(&painted);
    language::CommandAdded = [&splash] { splash.AdvanceProgress(); };
    language::LoadCommands();
    EXPECT_EQ(std::tuple(painted.values.back(), std::count(painted.values.begin(), painted.values.end(), 250),
                         painted.values.size() <= 250, language::CommandTable.back()),
              std::tuple(250, 1, true, QString("K250")));
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
