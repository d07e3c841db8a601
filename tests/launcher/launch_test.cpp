#include "launcher/launch.h"

#include <QDir>
#include <QFileInfo>
#include <functional>
#include <gtest/gtest.h>

#include "launcher/fake_launch_view.h"
#include "shell/options.h"
#include "support/stand_in_program.h"
#include "support/test_environment.h"

namespace launcher {
namespace {

class LaunchTest : public testing::Test {
protected:
    void SetUp() override
    {
        shell::options = {};
        QDir(env.driveC()).mkpath("TEMP");
        QDir(env.driveC()).mkpath(kGameFolder);
    }

    static inline const QString kGameFolder =
        QStringLiteral("Program Files/Particle Systems/Independence War");

    QString gameFolder() const { return env.driveC() + '/' + kGameFolder; }
    QString recordPath() const { return env.root() + "/started"; }
    QString gameLogSource() const { return env.root() + "/game log"; }

    // The stand-in game at the default game path; it writes what gameWrites gave it as its log.
    void installGame(const QString& hostPath)
    {
        support::WriteStandInProgram(hostPath, recordPath(), gameLogSource());
    }
    void installGame() { installGame(gameFolder() + "/IWAR.EXE"); }
    void gameWrites(const QByteArray& log) const { env.writeFile("game log", log); }

    // The user dismisses the error code box only once the game has run.
    void dismissErrorCodeWhenTheGameHasRun()
    {
        view.whileErrorCodeIsShown = [this] { started = support::WaitForStart(recordPath()); };
    }
    // Back to a game folder without logs and a view that has shown nothing.
    void forgetLastRun()
    {
        for (const QString& file : {recordPath(), gameLogSource(), gameFolder() + "/debug.txt",
                                    gameFolder() + "/debug.bak"})
            QFile::remove(file);
        started.reset();
        view = FakeLaunchView();
    }
    support::StartRecord waitForGame()
    {
        if (!started)
            started = support::WaitForStart(recordPath());
        if (!started) {
            ADD_FAILURE() << "the game did not run";
            return {};
        }
        return *started;
    }

    static QByteArray contentOf(const QString& hostPath)
    {
        return support::TestEnvironment::readFile(hostPath);
    }
    QByteArray gameFile(const QString& name) const { return contentOf(gameFolder() + '/' + name); }
    QByteArray tempFile(const QString& name) const
    {
        return contentOf(env.driveC() + "/TEMP/" + name);
    }
    static QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

    support::TestEnvironment env;
    FakeLaunchView view;
    std::optional<support::StartRecord> started;
};

TEST_F(LaunchTest, TheDefaultLaunchStartsTheGameWithTheScriptAndListsNothing)
{
    installGame();
    view.lstErrors = QStringList{"from before"};
    env.writeFile("wine/drive_c/" + kGameFolder + "/debug.txt", "old run\r\n");

    LaunchIndependenceWar(QStringLiteral("Task Main\r\nEnd"), view);

    const support::StartRecord game = waitForGame();
    EXPECT_EQ(tempFile("TEMP1.SCR"), "Task Main\r\nEnd\r\n");
    EXPECT_EQ(tempFile("temp.scr"), "Task Main\r\nEnd\r\n");
    EXPECT_EQ(game.arguments, QStringList({"-noslab", "-english", "C:\\TEMP\\temp.scr"}));
    EXPECT_EQ(game.workDir, canonical(gameFolder()));
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(gameFolder()));
    EXPECT_EQ(view.calls, QStringList{"ShowErrors"});
    EXPECT_EQ(view.lstErrors, QStringList{"from before"});
    EXPECT_EQ(gameFile("debug.bak"), "old run\r\n");
    EXPECT_EQ(gameFile("debug.txt"), "old run\r\n");
}

TEST_F(LaunchTest, DebugModeListsTheNewLogAfterTheErrorCodeAndKeepsTheHistory)
{
    installGame();
    shell::options.LaunchFlags = 144 | kDebugMode;
    for (const QByteArray& oldLog : {QByteArray("old 1\r\nold 2\r\n"), QByteArray()}) {
        forgetLastRun();
        gameWrites("one\r\ntwo\r\nthree\r\n");
        if (!oldLog.isNull())
            env.writeFile("wine/drive_c/" + kGameFolder + "/debug.txt", oldLog);
        dismissErrorCodeWhenTheGameHasRun();

        LaunchIndependenceWar(QStringLiteral("Task Main"), view);

        const support::StartRecord game = waitForGame();
        EXPECT_EQ(game.arguments,
                  QStringList({"-debugscript", "-noslab", "-english", "C:\\TEMP\\temp.scr"}));
        EXPECT_EQ(view.calls, QStringList({"ShowErrorCode", "ClearErrors", "ShowErrors"}));
        EXPECT_EQ(view.errorCodes, QList<qint64>{game.pid});
        EXPECT_EQ(ErrorCodeText(game.pid),
                  "Independence War returned Error Code " + QString::number(game.pid));
        EXPECT_EQ(view.lstErrors, QStringList({"one", "two", "three"}));
        EXPECT_EQ(gameFile("debug.bak"), oldLog + "one\r\ntwo\r\nthree\r\n");
        EXPECT_EQ(gameFile("debug.txt"), gameFile("debug.bak"));
    }
}

TEST_F(LaunchTest, DebugModeWithoutANewLogListsOneEmptyLine)
{
    installGame();
    shell::options.LaunchFlags = kDebugMode;
    const struct {
        QByteArray oldLog;   // null: none
        QByteArray gameLog;  // null: the game writes none
    } cases[] = {
        {"old\r\n", QByteArray()},
        {QByteArray(), QByteArray()},
        {"old\r\n", ""},
        {QByteArray(), ""},
    };
    for (const auto& c : cases) {
        forgetLastRun();
        if (!c.oldLog.isNull())
            env.writeFile("wine/drive_c/" + kGameFolder + "/debug.txt", c.oldLog);
        if (!c.gameLog.isNull())
            gameWrites(c.gameLog);
        dismissErrorCodeWhenTheGameHasRun();

        LaunchIndependenceWar(QStringLiteral("Task Main"), view);

        EXPECT_EQ(view.lstErrors, QStringList{""});
        EXPECT_EQ(gameFile("debug.bak"), c.oldLog + "\r\n");
        EXPECT_EQ(gameFile("debug.txt"), c.oldLog + "\r\n");
    }
}

TEST_F(LaunchTest, WithoutAScriptWindowTheEarlierScriptRunsOrNothingDoes)
{
    installGame();
    env.writeFile("wine/drive_c/TEMP/Temp1.scr", "earlier\r\n");
    LaunchIndependenceWar(std::nullopt, view);
    waitForGame();
    EXPECT_EQ(tempFile("Temp1.scr"), "earlier\r\n");
    EXPECT_EQ(tempFile("temp.scr"), "earlier\r\n");
    EXPECT_EQ(view.calls, QStringList{"ShowErrors"});

    QFile::remove(env.driveC() + "/TEMP/Temp1.scr");
    QFile::remove(env.driveC() + "/TEMP/temp.scr");
    view = FakeLaunchView();
    shell::options.LaunchFlags = kDebugMode;
    LaunchIndependenceWar(std::nullopt, view);
    ASSERT_EQ(view.calls.size(), 2);
    EXPECT_TRUE(view.calls[0].startsWith("ShowFailure: ")) << view.calls[0].toStdString();
    EXPECT_TRUE(view.calls[0].contains("C:\\TEMP\\TEMP1.scr")) << view.calls[0].toStdString();
    EXPECT_EQ(view.calls[1], "ShowErrors");
    EXPECT_FALSE(QFileInfo::exists(env.driveC() + "/TEMP/temp.scr"));
}

TEST_F(LaunchTest, AGameThatWasNotStartedIsReportedWithThePathAndTheLogSurvives)
{
    shell::options.LaunchFlags = 144 | kDebugMode;
    const QString exe = gameFolder() + "/IWAR.EXE";
    const struct {
        const char* what;
        std::function<void()> arrange;
        QStringList named;
    } cases[] = {
        {"no C:\\TEMP",
         [&] { QDir(env.driveC() + "/TEMP").removeRecursively(); },
         {"C:\\TEMP\\TEMP1.SCR"}},
        {"no game", [] {}, {shell::kDefaultLaunchPath}},
        {"no wine",
         [&] { env.writeFile("wine/drive_c/" + kGameFolder + "/IWAR.EXE", "MZ"); },
         {shell::kDefaultLaunchPath, "wine"}},
    };
    for (const auto& c : cases) {
        QDir(env.driveC()).mkpath("TEMP");
        QFile::remove(exe);
        env.writeFile("wine/drive_c/" + kGameFolder + "/debug.txt", "old\r\n");
        c.arrange();
        view = FakeLaunchView();
        support::ScopedEnvironmentVariable path("PATH", QFile::encodeName(env.workDir()));

        LaunchIndependenceWar(QStringLiteral("Task Main"), view);

        ASSERT_EQ(view.calls.size(), 2) << c.what;
        EXPECT_TRUE(view.calls[0].startsWith("ShowFailure: ")) << c.what;
        for (const QString& named : c.named)
            EXPECT_TRUE(view.calls[0].contains(named))
                << c.what << ": " << view.calls[0].toStdString();
        EXPECT_EQ(view.calls[1], "ShowErrors") << c.what;
        EXPECT_EQ(gameFile("debug.txt"), "old\r\n") << c.what;
    }
}

TEST_F(LaunchTest, TheOldLogIsKeptWhenItCannotBeSavedAsDebugBak)
{
    installGame();
    QDir(gameFolder()).mkpath("debug.bak");  // a folder: the copy cannot replace it
    env.writeFile("wine/drive_c/" + kGameFolder + "/debug.txt", "precious\r\n");

    LaunchIndependenceWar(QStringLiteral("Task Main"), view);

    waitForGame();
    EXPECT_EQ(gameFile("debug.txt"), "precious\r\n");
}

TEST_F(LaunchTest, ALaunchPathWithoutBackslashKeepsTheWorkingDirectory)
{
    installGame(env.workDir() + "/iwar.exe");
    shell::options.LaunchPath = QStringLiteral("IWAR.EXE");
    shell::options.LaunchFlags = kDebugMode;
    dismissErrorCodeWhenTheGameHasRun();
    env.writeFile("work/debug.txt", "old\r\n");
    gameWrites("new\r\n");

    LaunchIndependenceWar(QStringLiteral("Task Main"), view);

    EXPECT_EQ(waitForGame().workDir, canonical(env.workDir()));
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(env.workDir()));
    EXPECT_EQ(view.lstErrors, QStringList{"new"});
    EXPECT_EQ(contentOf(env.workDir() + "/debug.bak"), "old\r\nnew\r\n");
    EXPECT_EQ(contentOf(env.workDir() + "/debug.txt"), "old\r\nnew\r\n");
}

TEST_F(LaunchTest, ErrorsListsTheGameFolderLogOnceEachTime)
{
    env.writeFile("wine/drive_c/" + kGameFolder + "/DEBUG.TXT",
                  "first\r\nsecond\r\nlast without end");
    view.lstErrors = QStringList{"from before"};
    ListErrors(view);
    ListErrors(view);
    EXPECT_EQ(view.lstErrors, QStringList({"first", "second", "last without end"}));
    EXPECT_EQ(view.calls, QStringList({"ClearErrors", "ShowErrors", "ClearErrors", "ShowErrors"}));
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(gameFolder()));
}

TEST_F(LaunchTest, LogLinesEndAtEveryKindOfLineBreakAndKeepEveryCharacter)
{
    const struct {
        QByteArray log;
        QStringList lines;
    } cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"\r\r\n\n", {"", "", ""}},
        {"caf\xE9 \x80\r\n", {QString::fromUtf8("café €")}},
        {QByteArray("x\0y", 3), {QString::fromUtf16(u"x\0y", 3)}},
    };
    for (const auto& c : cases) {
        env.writeFile("wine/drive_c/" + kGameFolder + "/debug.txt", c.log);
        ListErrors(view);
        EXPECT_EQ(view.lstErrors, c.lines) << c.log.toStdString();
    }
    EXPECT_FALSE(view.calls.join('\n').contains("ReportNoLog"));
}

TEST_F(LaunchTest, TheTwoCommandsTakeTheGameFolderByTheirOwnRules)
{
    // The launch takes the path up to its last backslash; the Errors command drops the last 8
    // characters, which is the same folder only for a file name of 8 characters.
    env.writeFile("wine/drive_c/Games/debug.txt", "games\r\n");
    env.writeFile("wine/drive_c/Games/LONG/debug.txt", "long\r\n");
    env.writeFile("work/debug.txt", "work\r\n");
    const struct {
        const char* launchPath;
        QString launchFolder;
        QString errorsFolder;
        QString listed;
    } cases[] = {
        {"C:\\GAMES\\IWAR.EXE", "Games", "Games", "games"},
        {"C:\\GAMES\\GAME.EXE", "Games", "Games", "games"},
        // 7 characters: the Errors command's folder ends before the backslash.
        {"C:\\GAMES\\WAR.EXE", "Games", "Games", "games"},
        {"C:\\GAMES\\LONGGAME.EXE", "Games", "Games/LONG", "long"},
        {"IWAR.EXE", "", "", "work"},
    };
    for (const auto& c : cases) {
        const QString launchFolder = canonical(env.driveC() + '/' + c.launchFolder);
        const QString errorsFolder = canonical(env.driveC() + '/' + c.errorsFolder);
        ASSERT_TRUE(QDir::setCurrent(env.workDir()));
        shell::options.LaunchPath = c.launchPath;
        view = FakeLaunchView();

        LaunchIndependenceWar(QStringLiteral("Task Main"), view);  // no game there: not started
        EXPECT_EQ(canonical(QDir::currentPath()),
                  c.launchFolder.isEmpty() ? canonical(env.workDir()) : launchFolder)
            << c.launchPath;
        ListErrors(view);
        EXPECT_EQ(canonical(QDir::currentPath()),
                  c.errorsFolder.isEmpty() ? canonical(env.workDir()) : errorsFolder)
            << c.launchPath;
        EXPECT_EQ(view.lstErrors, QStringList{c.listed}) << c.launchPath;
    }
}

TEST_F(LaunchTest, ErrorsWithoutALogShowsAnEmptyListAndSaysWhy)
{
    env.writeFile("work/debug.txt", "not the game's\r\n");
    QDir(env.driveC()).mkpath("Empty");
    const struct {
        const char* launchPath;
        const char* named;
    } cases[] = {
        {"WAR.EXE", "WAR.EXE"},
        {"", "\"\""},
        {"C:\\NOWHERE\\IWAR.EXE", "C:\\NOWHERE\\"},
        {"C:\\EMPTY\\IWAR.EXE", "C:\\EMPTY\\"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(QDir::setCurrent(env.workDir()));
        shell::options.LaunchPath = c.launchPath;
        view = FakeLaunchView();
        view.lstErrors = QStringList{"from before"};

        ListErrors(view);

        EXPECT_TRUE(view.lstErrors.isEmpty()) << c.launchPath;
        ASSERT_EQ(view.calls.size(), 3) << c.launchPath;
        EXPECT_EQ(view.calls[0], "ClearErrors");
        EXPECT_TRUE(view.calls[1].startsWith("ReportNoLog: ")) << view.calls[1].toStdString();
        EXPECT_TRUE(view.calls[1].contains(c.named)) << view.calls[1].toStdString();
        EXPECT_EQ(view.calls[2], "ShowErrors");
    }
}

}  // namespace
}  // namespace launcher
