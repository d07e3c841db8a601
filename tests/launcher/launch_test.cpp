#include "launcher/launch.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
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
    }
    void TearDown() override { release(); }

    QString gameFolder() const { return env.root() + '/' + kGameFolder; }
    QString recordPath() const { return env.root() + "/started"; }
    QStringList tempFiles() const { return TestEnvironment::files(env.driveC() + "/TEMP"); }
    QStringList logs(const QString& folder) const
    {
        return TestEnvironment::files(folder).filter(QRegularExpression("^debug\\."));
    }
    static QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }

    // The game logs the content of "game log" when it starts.
    void installGame(const QString& hostPath)
    {
        support::WriteStandInProgram(hostPath, recordPath(), env.root() + "/game log");
    }
    void writeOrRemove(const QString& relativePath, const QByteArray& content) const
    {
        QFile::remove(env.root() + '/' + relativePath);
        if (!content.isNull())
            env.writeFile(relativePath, content);
    }
    // A view that has shown nothing, whose user dismisses the error code box once the game has
    // started and, unless it keeps running, ended.
    void newRun(bool keepsRunning = false)
    {
        QFile::remove(recordPath());
        writeOrRemove("started.hold", keepsRunning ? "" : kNone);
        started.reset();
        view = FakeLaunchView();
        view.whileErrorCodeIsShown = [this, keepsRunning] {
            started = support::WaitForStart(recordPath());
            if (started && !keepsRunning)
                support::WaitForEnd(started->pid);
        };
    }
    support::StartRecord waitForGame()
    {
        if (!started)
            started = support::WaitForStart(recordPath());
        EXPECT_TRUE(started) << "the game did not run";
        return started.value_or(support::StartRecord());
    }
    void release()
    {
        QFile::remove(recordPath() + ".hold");
        if (started)
            support::WaitForEnd(started->pid);
    }

    TestEnvironment env;
    FakeLaunchView view;
    std::optional<support::StartRecord> started;
};

TEST_F(LaunchTest, LaunchRunsTheScriptListsTheNewLogInDebugModeAndPutsTheHistoryBackOnceTheGameEnds)
{
    installGame(gameFolder() + "/IWAR.EXE");
    const QString three = "one\r\ntwo\r\nthree\r\n";
    const QStringList before{"from before"}, listed{"one", "two", "three"};
    const struct {
        bool debug, running;  // running: the game still runs when the launch ends
        QByteArray oldLog, gameLog;
        QStringList listed, logs;
    } cases[] = {
        {false, true, "old\r\n", kNone, before, {"debug.bak=old\r\n"}},
        {false, true, kNone, "new\r\n", before, {"debug.txt=new\r\n"}},
        {true, false, "old 1\r\nold 2\r\n", three.toLatin1(), listed,
         {"debug.bak=old 1\r\nold 2\r\n" + three, "debug.txt=old 1\r\nold 2\r\n" + three}},
        {true, false, kNone, three.toLatin1(), listed, {"debug.bak=" + three, "debug.txt=" + three}},
        // No log by the time the box is dismissed, or an empty one: one empty line.
        {true, false, "old\r\n", kNone, {""}, {"debug.bak=old\r\n\r\n", "debug.txt=old\r\n\r\n"}},
        {true, false, kNone, "", {""}, {"debug.bak=\r\n", "debug.txt=\r\n"}},
        // The game still writes to its log: that file stays as it is.
        {true, true, "old\r\n", three.toLatin1(), listed, {"debug.bak=old\r\n" + three, "debug.txt=" + three}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.logs.join(", ").toStdString());
        newRun(c.running);
        QFile::remove(gameFolder() + "/debug.bak");
        shell::options.LaunchFlags = 144 | (c.debug ? kDebugMode : 0);
        view.lstErrors = before;
        writeOrRemove(kGameFolder + "/debug.txt", c.oldLog);
        writeOrRemove("game log", c.gameLog);

        LaunchIndependenceWar(QStringLiteral("Task Main\r\nEnd"), view);

        const support::StartRecord game = waitForGame();
        EXPECT_EQ(logs(gameFolder()), c.logs);
        release();
        EXPECT_EQ(tempFiles(), QStringList({"TEMP1.SCR=Task Main\r\nEnd\r\n", "temp.scr=Task Main\r\nEnd\r\n"}));
        EXPECT_EQ(game.arguments, (c.debug ? QStringList{"-debugscript"} : QStringList()) +
                                      QStringList({"-noslab", "-english", "C:\\TEMP\\temp.scr"}));
        EXPECT_EQ(std::pair(game.workDir, canonical(QDir::currentPath())),
                  std::pair(canonical(gameFolder()), canonical(gameFolder())));
        EXPECT_EQ(view.calls, c.debug ? QStringList({"ShowErrorCode", "FillErrors", "ShowErrors"})
                                      : QStringList{"ShowErrors"});
        EXPECT_EQ(view.errorCodes, c.debug ? QList<qint64>{game.pid} : QList<qint64>());
        EXPECT_EQ(view.lstErrors, c.listed);
    }
    EXPECT_EQ(ErrorCodeText(7), "Independence War returned Error Code 7");
}

TEST_F(LaunchTest, WithoutAScriptWindowTheEarlierScriptRuns)
{
    installGame(gameFolder() + "/IWAR.EXE");
    newRun();
    env.writeFile("wine/drive_c/TEMP/Temp1.scr", "earlier\r\n");
    LaunchIndependenceWar(std::nullopt, view);
    waitForGame();
    EXPECT_EQ(tempFiles(), QStringList({"Temp1.scr=earlier\r\n", "temp.scr=earlier\r\n"}));
    EXPECT_EQ(view.calls, QStringList{"ShowErrors"});
}

TEST_F(LaunchTest, AGameThatWasNotStartedIsReportedWithThePathAndTheLogSurvives)
{
    shell::options.LaunchFlags = 144 | kDebugMode;
    const struct {
        std::function<void()> arrange;
        QStringList named;
    } cases[] = {
        {[&] { QDir(env.driveC() + "/TEMP").removeRecursively(); }, {"C:\\TEMP\\TEMP1.SCR"}},
        {[] {}, {shell::kDefaultLaunchPath}},
        {[&] { env.writeFile(kGameFolder + "/IWAR.EXE", "MZ"); }, {shell::kDefaultLaunchPath, "wine"}},
        // debug.bak a folder: the old log cannot be saved there and is kept
        {[&] { QDir(gameFolder()).mkpath("debug.bak"); }, {shell::kDefaultLaunchPath}},
    };
    for (const auto& c : cases) {
        QDir(env.driveC()).mkpath("TEMP");
        QFile::remove(gameFolder() + "/IWAR.EXE");
        writeOrRemove(kGameFolder + "/debug.txt", "old\r\n");
        c.arrange();
        view = FakeLaunchView();
        support::ScopedEnvironmentVariable path("PATH", QFile::encodeName(env.workDir()));

        LaunchIndependenceWar(QStringLiteral("Task Main"), view);

        ASSERT_EQ(view.calls.size(), 2) << c.named[0].toStdString();
        EXPECT_EQ(view.calls[1], "ShowErrors");
        for (const QString& named : c.named)
            EXPECT_TRUE(view.calls[0].startsWith("ShowFailure: ") && view.calls[0].contains(named))
                << view.calls[0].toStdString();
        EXPECT_EQ(TestEnvironment::readFile(gameFolder() + "/debug.txt"), "old\r\n");
    }
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
        QString launchFolder, errorsFolder, listed;
    } cases[] = {
        {"C:\\GAMES\\WAR.EXE", "Games", "Games", "games"},  // 7 characters: ends before the backslash
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
        EXPECT_EQ(std::pair(canonical(QDir::currentPath()), view.lstErrors),
                  std::pair(folder(c.errorsFolder), QStringList{c.listed})) << c.launchPath;
    }
    installGame(env.workDir() + "/iwar.exe");
    newRun();
    shell::options.LaunchFlags = kDebugMode;
    writeOrRemove("game log", "new\r\n");
    LaunchIndependenceWar(QStringLiteral("Task Main"), view);
    EXPECT_EQ(waitForGame().workDir, canonical(env.workDir()));
    EXPECT_EQ(logs(env.workDir()), QStringList({"debug.bak=work\r\nnew\r\n", "debug.txt=work\r\nnew\r\n"}));
}

TEST_F(LaunchTest, ErrorsListsEachLineOfTheLogOnceOrSaysWhyThereIsNone)
{
    env.writeFile("work/debug.txt", "not the game's\r\n");
    QDir(env.driveC()).mkpath("Empty");
    const struct {
        QString launchPath;
        QByteArray log;
        QStringList lines;  // or the reason's beginning
    } cases[] = {
        {shell::kDefaultLaunchPath, "first\r\nsecond\r\nlast without end", {"first", "second", "last without end"}},
        {shell::kDefaultLaunchPath, "", {}},
        {shell::kDefaultLaunchPath, "a\r\n\r\n", {"a", ""}},
        {shell::kDefaultLaunchPath, "a\nb\rc\r\nd\r\r\n\n", {"a", "b", "c", "d", "", ""}},
        {shell::kDefaultLaunchPath, QByteArray("caf\xE9 \x80\0y\r\n", 10), {QString::fromUtf16(u"caf\u00E9 \u20AC\0y", 8)}},
        {"WAR.EXE", {}, {"ReportNoLog: No game log found: the game path \"WAR.EXE\" is too short"}},
        {"C:\\NOWHERE\\IWAR.EXE", {}, {"ReportNoLog: No game log found: Cannot change to folder C:\\NOWHERE\\"}},
        {"C:\\EMPTY\\IWAR.EXE", {}, {"ReportNoLog: No game log found in C:\\EMPTY\\: Cannot read debug.txt"}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(QDir::setCurrent(env.workDir()));
        shell::options.LaunchPath = c.launchPath;
        writeOrRemove(kGameFolder + "/debug.txt", c.log);
        for (int time = 0; time < 2; ++time) {
            view = FakeLaunchView();
            view.lstErrors = QStringList{"from before"};
            ListErrors(view);
            QStringList seen = view.lstErrors;  // and the reason's beginning
            for (const QString& reported : view.calls.filter("ReportNoLog"))
                seen += reported.left(c.lines.last().size());
            EXPECT_EQ(seen, c.lines) << c.log.toStdString();
            EXPECT_EQ(view.calls.filter("Errors"), QStringList({"FillErrors", "ShowErrors"}));
        }
    }
}

}  // namespace
}  // namespace launcher
