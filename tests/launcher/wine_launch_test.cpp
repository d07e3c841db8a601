#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "launcher/fake_launch_view.h"
#include "shell/options.h"
#include "shell/system_info.h"
#include "support/stand_in_program.h"
#include "support/test_environment.h"

namespace launcher {
namespace {

// A console stand-in for the game: logs its command line and the first line of the script it
// was given to debug.txt in its working directory, then says where it ran, in one step.
const char kGameSource[] = R"(#include <windows.h>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    char script[256] = "";
    if (FILE* in = std::fopen(argv[argc - 1], "r")) {
        std::fgets(script, sizeof script, in);
        std::fclose(in);
    }
    script[std::strcspn(script, "\r\n")] = '\0';
    FILE* log = std::fopen("debug.txt", "w");
    std::fprintf(log, "%s\nscript: %s\nend of run\n", GetCommandLineA(), script);
    std::fclose(log);
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, folder);
    FILE* ran = std::fopen("ran.part", "w");
    std::fprintf(ran, "%s\n", folder);
    std::fclose(ran);
    return MoveFileA("ran.part", "ran.txt") ? 0 : 1;
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

TEST_F(WineLaunchTest, TheGameRunsUnderWineAndItsLogIsListed)
{
    ASSERT_FALSE(QStandardPaths::findExecutable("wine").isEmpty())
        << "wine is missing: apt-get install wine (or set ORBISCRIBE_NO_WINE=1)";
    ASSERT_FALSE(QStandardPaths::findExecutable("x86_64-w64-mingw32-g++").isEmpty())
        << "the cross compiler is missing: apt-get install g++-mingw-w64-x86-64";
    const QString gameFolder = env.driveC() + "/Program Files/Particle Systems/Independence War";
    ASSERT_NO_FATAL_FAILURE(buildGame(gameFolder + "/IWAR.EXE"));
    QDir(env.driveC()).mkpath("TEMP");
    env.writeFile("wine/drive_c/Program Files/Particle Systems/Independence War/debug.txt",
                  "old run\r\n");
    shell::options.LaunchFlags = 144 | kDebugMode;

    FakeLaunchView view;
    std::optional<QByteArray> ran;
    view.whileErrorCodeIsShown = [&] {
        ran = support::WaitForFile(gameFolder + "/ran.txt");
        support::WaitForEnd(view.errorCodes.last());  // so that its log is put back afterwards
    };
    wineStarted = true;
    LaunchIndependenceWar(QStringLiteral("Task Main\r\nEnd"), view);

    ASSERT_EQ(view.calls.first(), "ShowErrorCode") << view.calls.join('\n').toStdString();
    ASSERT_TRUE(ran.has_value()) << "the game did not run";
    EXPECT_EQ(ran->trimmed().toLower(), "c:\\program files\\particle systems\\independence war");
    ASSERT_EQ(view.errorCodes.size(), 1);
    EXPECT_GT(view.errorCodes[0], 0);
    ASSERT_EQ(view.lstErrors.size(), 3) << view.lstErrors.join('\n').toStdString();
    // Wine hands the game its own rendering of the command line: the program quoted, the
    // arguments as given.
    EXPECT_TRUE(
        view.lstErrors[0].endsWith("IWAR.EXE\" -debugscript -noslab -english C:\\TEMP\\temp.scr"))
        << view.lstErrors[0].toStdString();
    EXPECT_EQ(view.lstErrors.mid(1), QStringList({"script: Task Main", "end of run"}));
    const QByteArray history = "old run\r\n" + view.lstErrors.join("\r\n").toLatin1() + "\r\n";
    EXPECT_EQ(support::TestEnvironment::readFile(gameFolder + "/debug.bak"), history);
    EXPECT_EQ(support::TestEnvironment::readFile(gameFolder + "/debug.txt"), history);
    EXPECT_EQ(view.calls, QStringList({"ShowErrorCode", "FillErrors", "ShowErrors"}));

    // Wine's own registry tool makes the game the System Information program, which the About
    // box's command then finds in the prefix and starts.
    QFile::remove(gameFolder + "/ran.txt");
    ASSERT_EQ(QProcess::execute("wine", {"reg", "add", R"(HKLM\Software\Microsoft\Shared Tools\MSInfo)", "/v",
                                         "PATH", "/d", R"(C:\Program Files\Particle Systems\Independence War\IWAR.EXE)"}), 0);
    QProcess::execute("wineserver", {"-w"});
    EXPECT_TRUE(shell::StartSystemInformation() && support::WaitForFile(gameFolder + "/ran.txt").has_value());
}

}  // namespace
}  // namespace launcher
