#include "shell/qt_startup.h"

#include <QApplication>
#include <QDir>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include "platform/qt_message_box.h"
#include "platform/rich_text_box.h"
#include "shell/frmDocument.h"
#include "shell/frmMain.h"
#include "support/test_environment.h"

namespace shell {
namespace {

// Starts as the program starts, with the signal's default action, so that only the start-up can
// keep a write past the file-size limit from ending the process; then saves past the limit and
// tells on stderr what the user saw.
[[noreturn]] void SaveBeyondTheLimitAfterStartUp(const support::TestEnvironment& environment)
{
    const QString script = environment.root() + "/big.scr";
    std::signal(SIGXFSZ, SIG_DFL);
    Main();
    const rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    platform::setMsgBoxHook([](const QString& text, const QString&) {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return platform::MsgBoxResult::Ok;
    });
    frmMain* main = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        main = main ? main : qobject_cast<frmMain*>(window);
    frmDocument* document = main->NewScriptWindow();
    document->rtfText.setSelText(QString(5000, u'x'));
    std::fprintf(stderr, "saved: %d, lives on\n", document->SaveTo(script));
    std::fflush(stderr);
    QDir(environment.root()).removeRecursively();  // no destructor runs past _exit
    _exit(0);
}

// In a fresh process of its own, which the signal would end.
TEST(MainDeathTest, ASaveBeyondTheFileSizeLimitIsReportedAndTheProgramLivesOn)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const support::TestEnvironment environment;
    EXPECT_EXIT(SaveBeyondTheLimitAfterStartUp(environment), ::testing::ExitedWithCode(0),
                "message: Cannot write .*/big.scr: File too large\nsaved: 0, lives on");
}

}  // namespace
}  // namespace shell
