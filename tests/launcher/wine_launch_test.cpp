#include "launcher/fake_launch_view.h"
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

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
#include <cstring>

int main(int argc, char** argv)
{
    char script[256] = "", folder[MAX_PATH] = "";
    if (FILE* in = std::fopen(argv[argc - 1], "r")) {
        std::fgets(script, sizeof script, in);
        std::fclose(in);
    }
    script[std::strcspn(script, "\r\n")] = '\0';
    GetCurrentDirectoryA(MAX_PATH, folder);
    FILE* log = std::fopen("debug.txt", "w");
    for (int i = 1; i < argc; ++i)
        std::fprintf(log, "[%s]", argv[i]);
    std::fprintf(log, "\nscript: %s\nin %s\n", script, folder);
    return std::fclose(log);
}
)";

class WineLaunchTest : public testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariable("ORBISCRIBE_NO_WINE") == "1")
            GTEST_SKIP() << "ORBISCRIBE_NO_WINE=1";
        shell::options = {};
    }

    void TearDown() override
    {
        // The prefix's wine server would outlive the test and its folder.
        if (wineStarted)
            QProcess::execute("wineserver", {"-k"});
    }

    // Builds the stand-in game at hostPath with the cross compiler.
    void buildGame(const QString& hostPath)
    {
        const QString source = env.writeFile("game.cpp", kGameSource);
        QDir().mkpath(QFileInfo(hostPath).path());
        QProcess compiler;
        compiler.setProcessChannelMode(QProcess::MergedChannels);
        compiler.start("x86_64-w64-mingw32-g++", {"-O1", "-static", "-o", hostPath, source});
        ASSERT_TRUE(compiler.waitForFinished(120 * 1000)) << compiler.errorString().toStdString();
        ASSERT_EQ(compiler.exitCode(), 0) << compiler.readAll().toStdString();
    }

    support::TestEnvironment env;
    bool wineStarted = false;
    support::ScopedEnvironmentVariable quietWine{"WINEDEBUG", "-all"};
    // A fresh prefix would otherwise add menu entries to the user's desktop.
    support::ScopedEnvironmentVariable noMenus{"WINEDLLOVERRIDES", "winemenubuilder.exe=d"};
};

TEST_F(WineLaunchTest, TheGameRunsUnderWineItsLogIsListedAndItCanBeTheSystemInformationProgram)
{
    ASSERT_FALSE(QStandardPaths::findExecutable("wine").isEmpty())
        << "wine is missing: apt-get install wine (or set ORBISCRIBE_NO_WINE=1)";
    ASSERT_FALSE(QStandardPaths::findExecutable("x86_64-w64-mingw32-g++").isEmpty())
        << "the cross compiler is missing: apt-get install g++-mingw-w64-x86-64";
    const QString windowsFolder = "C:\\Program Files\\Particle Systems\\Independence War";
    const QString gameFolder = env.driveC() + "/Program Files/Particle Systems/Independence War";
    ASSERT_NO_FATAL_FAILURE(buildGame(gameFolder + "/IWAR.EXE"));
    QDir(env.driveC()).mkpath("TEMP");
    env.writeFile("wine/drive_c/Program Files/Particle Systems/Independence War/debug.txt", "old run\r\n");
    shell::options.LaunchFlags = 144 | kDebugMode;

    FakeLaunchView view;
    qint64 pid = 0;
    // The user dismisses the box once the game has ended, so that its log is put back.
    view.whileErrorCodeIsShown = [&] { support::WaitForEnd(pid = view.calls.last().section(u' ', 1).toLongLong()); };
    wineStarted = true;
    LaunchIndependenceWar(QStringLiteral("Task Main\r\nEnd"), view);

    const QStringList lines{"[-debugscript][-noslab][-english][C:\\TEMP\\temp.scr]", "script: Task Main",
                            "in " + windowsFolder};
    EXPECT_EQ(Lines(view.calls),
              Lines({"ShowErrorCode " + QString::number(pid), "FillErrors|" + lines.join(u'|'), "ShowErrors"}));
    const QString history = "old run\r\n" + lines.join("\r\n") + "\r\n";
    EXPECT_EQ(support::TestEnvironment::files(gameFolder).filter(QRegularExpression("^debug\\.")),
              QStringList({"debug.bak=" + history, "debug.txt=" + history}));

    // Wine's own registry tool makes the game the System Information program, which the About
    // box's command then finds in the prefix and starts.
    QFile::remove(gameFolder + "/debug.txt");
    ASSERT_EQ(QProcess::execute("wine", {"reg", "add", R"(HKLM\Software\Microsoft\Shared Tools\MSInfo)", "/v",
                                         "PATH", "/d", windowsFolder + "\\IWAR.EXE"}), 0);
    QProcess::execute("wineserver", {"-w"});
    EXPECT_TRUE(shell::StartSystemInformation() && support::WaitForFile(gameFolder + "/debug.txt"));
}

}  // namespace
}  // namespace launcher
