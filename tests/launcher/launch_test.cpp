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

using support::TestEnvironment;

const QByteArray kNone;  // no such file
const QString kGameFolder = QStringLiteral("wine/drive_c/Program Files/Particle Systems/Independence War");

class LaunchTest : public testing::Test {
protected:
    void SetUp() override
    {
        shell::options = {};
        QDir(env.driveC()).mkpath("TEMP");
        QDir().mkpath(gameFolder());
        newRun();
    }

    QString gameFolder() const { return env.root() + '/' + kGameFolder; }
    QString recordPath() const { return env.root() + "/started"; }

    // The stand-in game, by default at the default game path; it logs what gameWrites gave it.
    void installGame(const QString& hostPath = {})
    {
        support::WriteStandInProgram(hostPath.isEmpty() ? gameFolder() + "/IWAR.EXE" : hostPath, recordPath(),
                                     env.root() + "/game log");
    }
    void gameWrites(const QByteArray& log) const { writeOrRemove("game log", log); }
    void oldLogIs(const QByteArray& log) const { writeOrRemove(kGameFolder + "/debug.txt", log); }
    void writeOrRemove(const QString& relativePath, const QByteArray& content) const
    {
        QFile::remove(env.root() + '/' + relativePath);
        if (!content.isNull())
            env.writeFile(relativePath, content);
    }

    // A view that has shown nothing, whose user dismisses the error code box only once the game
    // has run, and no trace of the last run but the logs.
    void newRun()
    {
        for (const QString& file : {recordPath(), gameFolder() + "/debug.bak"})
            QFile::remove(file);
        started.reset();
        view = FakeLaunchView();
        view.whileErrorCodeIsShown = [this] { started = support::WaitForStart(recordPath()); };
    }
    support::StartRecord waitForGame()
    {
        if (!started)
            started = support::WaitForStart(recordPath());
        if (!started)
            ADD_FAILURE() << "the game did not run";
        return started.value_or(support::StartRecord());
    }

    QByteArray gameFile(const QString& name) const
    {
        return TestEnvironment::readFile(gameFolder() + '/' + name);
    }
    QByteArray tempFile(const QString& name) const
    {
        return TestEnvironment::readFile(env.driveC() + "/TEMP/" + name);
    }
    static QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

    TestEnvironment env;
    FakeLaunchView view;
    std::optional<support::StartRecord> started;
};

TEST_F(LaunchTest, LaunchRunsTheScriptAndInDebugModeListsTheNewLogAndKeepsTheHistory)
{
    installGame();
    const QByteArray three = "one\r\ntwo\r\nthree\r\n";
    const QStringList unchanged{"from before"};
    const struct {
        bool debug;
        QByteArray oldLog;
        QByteArray gameLog;
        QStringList listed;
        QByteArray history;  // debug.bak and debug.txt afterwards
    } cases[] = {
        {false, "old\r\n", kNone, unchanged, "old\r\n"},
        {false, kNone, kNone, unchanged, kNone},
        {true, "old 1\r\nold 2\r\n", three, {"one", "two", "three"}, "old 1\r\nold 2\r\n" + three},
        {true, kNone, three, {"one", "two", "three"}, three},
        // No log by the time the box is dismissed, or an empty one: one empty line.
        {true, "old\r\n", kNone, {""}, "old\r\n\r\n"},
        {true, kNone, kNone, {""}, "\r\n"},
        {true, "old\r\n", "", {""}, "old\r\n\r\n"},
        {true, kNone, "", {""}, "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "debug " << c.debug << ", old log " << c.oldLog.toStdString());
        newRun();
        shell::options.LaunchFlags = 144 | (c.debug ? kDebugMode : 0);
        view.lstErrors = unchanged;
        oldLogIs(c.oldLog);
        gameWrites(c.gameLog);

        LaunchIndependenceWar(QStringLiteral("Task Main\r\nEnd"), view);

        const support::StartRecord game = waitForGame();
        EXPECT_EQ(tempFile("TEMP1.SCR"), "Task Main\r\nEnd\r\n");
        EXPECT_EQ(tempFile("temp.scr"), "Task Main\r\nEnd\r\n");
        EXPECT_EQ(game.arguments, (c.debug ? QStringList{"-debugscript"} : QStringList()) +
                                      QStringList({"-noslab", "-english", "C:\\TEMP\\temp.scr"}));
        EXPECT_EQ(game.workDir, canonical(gameFolder()));
        EXPECT_EQ(canonical(QDir::currentPath()), canonical(gameFolder()));
        EXPECT_EQ(view.calls, c.debug ? QStringList({"ShowErrorCode", "FillErrors", "ShowErrors"})
                                      : QStringList{"ShowErrors"});
        EXPECT_EQ(view.errorCodes, c.debug ? QList<qint64>{game.pid} : QList<qint64>());
        EXPECT_EQ(ErrorCodeText(game.pid),
                  "Independence War returned Error Code " + QString::number(game.pid));
        EXPECT_EQ(view.lstErrors, c.listed);
        EXPECT_EQ(gameFile("debug.bak"), c.history);
        EXPECT_EQ(gameFile("debug.txt"), c.history);
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
    newRun();
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
    const struct {
        const char* what;
        std::function<void()> arrange;
        QStringList named;
    } cases[] = {
        {"no C:\\TEMP", [&] { QDir(env.driveC() + "/TEMP").removeRecursively(); }, {"C:\\TEMP\\TEMP1.SCR"}},
        {"no game", [] {}, {shell::kDefaultLaunchPath}},
        {"no wine", [&] { env.writeFile(kGameFolder + "/IWAR.EXE", "MZ"); },
         {shell::kDefaultLaunchPath, "wine"}},
    };
    for (const auto& c : cases) {
        QDir(env.driveC()).mkpath("TEMP");
        QFile::remove(gameFolder() + "/IWAR.EXE");
        oldLogIs("old\r\n");
        c.arrange();
        view = FakeLaunchView();
        support::ScopedEnvironmentVariable path("PATH", QFile::encodeName(env.workDir()));

        LaunchIndependenceWar(QStringLiteral("Task Main"), view);

        ASSERT_EQ(view.calls.size(), 2) << c.what;
        EXPECT_TRUE(view.calls[0].startsWith("ShowFailure: ")) << c.what;
        for (const QString& named : c.named)
            EXPECT_TRUE(view.calls[0].contains(named)) << c.what << ": " << view.calls[0].toStdString();
        EXPECT_EQ(view.calls[1], "ShowErrors") << c.what;
        EXPECT_EQ(gameFile("debug.txt"), "old\r\n") << c.what;
    }
}

TEST_F(LaunchTest, TheOldLogIsKeptWhenItCannotBeSavedAsDebugBak)
{
    installGame();
    QDir(gameFolder()).mkpath("debug.bak");  // a folder: the copy cannot replace it
    oldLogIs("precious\r\n");
    LaunchIndependenceWar(QStringLiteral("Task Main"), view);
    waitForGame();
    EXPECT_EQ(gameFile("debug.txt"), "precious\r\n");
}

TEST_F(LaunchTest, ALaunchPathWithoutBackslashKeepsTheWorkingDirectory)
{
    installGame(env.workDir() + "/iwar.exe");
    shell::options.LaunchPath = QStringLiteral("IWAR.EXE");
    shell::options.LaunchFlags = kDebugMode;
    env.writeFile("work/debug.txt", "old\r\n");
    gameWrites("new\r\n");

    LaunchIndependenceWar(QStringLiteral("Task Main"), view);

    EXPECT_EQ(waitForGame().workDir, canonical(env.workDir()));
    EXPECT_EQ(view.lstErrors, QStringList{"new"});
    EXPECT_EQ(TestEnvironment::readFile(env.workDir() + "/debug.bak"), "old\r\nnew\r\n");
    EXPECT_EQ(TestEnvironment::readFile(env.workDir() + "/debug.txt"), "old\r\nnew\r\n");
}

TEST_F(LaunchTest, ErrorsListsEachLineOfTheLogOnceWhateverItsLineBreaks)
{
    const struct {
        QByteArray log;
        QStringList lines;
    } cases[] = {
        {"first\r\nsecond\r\nlast without end", {"first", "second", "last without end"}},
        {"", {}},
        {"\r\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
        {"a\nb\rc\r\nd", {"a", "b", "c", "d"}},
        {"\r\r\n\n", {"", "", ""}},
        {"caf\xE9 \x80\r\n", {QString::fromUtf8("café €")}},
        {QByteArray("x\0y", 3), {QString::fromUtf16(u"x\0y", 3)}},
    };
    view.lstErrors = QStringList{"from before"};
    for (const auto& c : cases) {
        env.writeFile(kGameFolder + "/DEBUG.TXT", c.log);
        ListErrors(view);
        EXPECT_EQ(view.lstErrors, c.lines) << c.log.toStdString();
        ListErrors(view);
        EXPECT_EQ(view.lstErrors, c.lines) << "listed again";
    }
    EXPECT_EQ(view.calls.filter("ReportNoLog"), QStringList());
    EXPECT_EQ(view.calls.count("ShowErrors"), 2 * qsizetype(std::size(cases)));
    EXPECT_EQ(canonical(QDir::currentPath()), canonical(gameFolder()));
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
    const auto folder = [this](const QString& onDriveC) {
        return canonical(onDriveC.isEmpty() ? env.workDir() : env.driveC() + '/' + onDriveC);
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(QDir::setCurrent(env.workDir()));
        shell::options.LaunchPath = c.launchPath;
        LaunchIndependenceWar(QStringLiteral("Task Main"), view);  // no game there: not started
        EXPECT_EQ(canonical(QDir::currentPath()), folder(c.launchFolder)) << c.launchPath;
        ListErrors(view);
        EXPECT_EQ(canonical(QDir::currentPath()), folder(c.errorsFolder)) << c.launchPath;
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
        EXPECT_EQ(view.calls[0], "FillErrors");
        EXPECT_TRUE(view.calls[1].startsWith("ReportNoLog: ")) << view.calls[1].toStdString();
        EXPECT_TRUE(view.calls[1].contains(c.named)) << view.calls[1].toStdString();
        EXPECT_EQ(view.calls[2], "ShowErrors");
    }
}

}  // namespace
}  // namespace launcher
