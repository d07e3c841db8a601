#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "launcher/fake_launch_view.h"
#include "shell/options.h"
#include "shell/system_info.h"
#include "support/stand_in_program.h"
#include "support/test_environment.h"

namespace launcher {
namespace {

// A console stand-in for the game: logs its arguments, the first line of the script it was
// given and its working directory to debug.txt there.
const char kGameSource[] = R"(#include <windows.h>
#include <cstdio>
int main(int argc, char** argv)
{
    char script[256] = "", folder[MAX_PATH] = "";
    if (FILE* in = std::fopen(argv[argc - 1], "r"))
        std::fscanf(in, "%255[^\r\n]", script);
    GetCurrentDirectoryA(MAX_PATH, folder);
    FILE* log = std::fopen("debug.txt", "w");
    for (int i = 1; i < argc; ++i)
        std::fprintf(log, "[%s]", argv[i]);
    return std::fprintf(log, "\nscript: %s\nin %s\n", script, folder) < 0;
}
)";

TEST(WineLaunch, TheGameRunsUnderWineItsLogIsListedAndItCanBeTheSystemInformationProgram)
{
    if (qEnvironmentVariable("ORBISCRIBE_NO_WINE") == "1")
        GTEST_SKIP() << "ORBISCRIBE_NO_WINE=1";
    ASSERT_FALSE(QStandardPaths::findExecutable("wine").isEmpty())
        << "wine is missing: apt-get install wine (or set ORBISCRIBE_NO_WINE=1)";
    support::TestEnvironment env;
    const QString folder = "C:\\Program Files\\Particle Systems\\Independence War";
    const QString gameFolder = env.driveC() + "/Program Files/Particle Systems/Independence War";
    const QString source = env.writeFile("game.cpp", kGameSource);
    QDir().mkpath(gameFolder);
    ASSERT_EQ(QProcess::execute("x86_64-w64-mingw32-g++", {"-O1", "-static", "-o", gameFolder + "/IWAR.EXE", source}), 0)
        << "the cross compiler failed or is missing: apt-get install g++-mingw-w64-x86-64";
    QDir(env.driveC()).mkpath("TEMP");
    env.writeFile("wine/drive_c/Program Files/Particle Systems/Independence War/debug.txt", "old run\r\n");
    support::ScopedEnvironmentVariable quietWine{"WINEDEBUG", "-all"};
    // A fresh prefix would otherwise add menu entries to the user's desktop.
    support::ScopedEnvironmentVariable noMenus{"WINEDLLOVERRIDES", "winemenubuilder.exe=d"};
    // The prefix's wine server would outlive the test and its folder.
    const auto stopWine = qScopeGuard([] { QProcess::execute("wineserver", {"-k"}); });
    shell::options = {.LaunchFlags = 144 | kDebugMode};

    FakeLaunchView view;
    qint64 pid = 0;
    // The user dismisses the box once the game has ended, so that its log is put back.
    view.whileErrorCodeIsShown = [&] { support::WaitForEnd(pid = view.calls.last().section(u' ', 1).toLongLong()); };
    LaunchIndependenceWar(QStringLiteral("Task Main\r\nEnd"), view);

    const QStringList lines{"[-debugscript][-noslab][-english][C:\\TEMP\\temp.scr]", "script: Task Main", "in " + folder};
    EXPECT_EQ(Lines(view.calls),
              Lines({"ShowErrorCode " + QString::number(pid), "FillErrors|" + lines.join(u'|'), "ShowErrors"}));
    const QString history = "old run\r\n" + lines.join("\r\n") + "\r\n";
    EXPECT_EQ(Lines(support::TestEnvironment::files(gameFolder).filter(QRegularExpression("^debug\\."))),
              Lines({"debug.bak=" + history, "debug.txt=" + history}));

    // Wine's own registry tool makes the game the System Information program, which the About
    // box's command then finds in the prefix and starts.
    QFile::remove(gameFolder + "/debug.txt");
    ASSERT_EQ(QProcess::execute("wine", {"reg", "add", R"(HKLM\Software\Microsoft\Shared Tools\MSInfo)", "/v",
                                         "PATH", "/d", folder + "\\IWAR.EXE"}), 0);
    QProcess::execute("wineserver", {"-w"});
    EXPECT_TRUE(shell::StartSystemInformation() && support::WaitForFile(gameFolder + "/debug.txt"));
}

}  // namespace
}  // namespace launcher
