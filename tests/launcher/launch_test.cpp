#include "launcher/launch.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

#include "launcher/fake_launch_view.h"
#include "shell/options.h"
#include "support/limited_child.h"
#include "support/stand_in_program.h"
#include "support/test_environment.h"

namespace launcher {
namespace {

using support::TestEnvironment;

const QByteArray kNone;  // no such file
const QString kGameFolder = QStringLiteral("wine/drive_c/Program Files/Particle Systems/Independence War");
const QString kGamePath = QStringLiteral("C:\\PROGRAM FILES\\PARTICLE SYSTEMS\\INDEPENDENCE WAR\\IWAR.EXE");
const QString kNotStarted = QStringLiteral("ShowFailure Independence War was not started. ");

class LaunchTest : public testing::Test {
protected:
    LaunchTest()
    {
        shell::options = {};
        QDir().mkpath(env.driveC() + "/TEMP");
        QDir().mkpath(gameFolder());
    }

    QString gameFolder() const { return env.root() + '/' + kGameFolder; }
    QStringList tempFiles() const { return TestEnvironment::files(env.driveC() + "/TEMP"); }
    static QStringList logs(const QString& folder)
    {
        return TestEnvironment::files(folder).filter(QRegularExpression("^debug\\."));
    }
    static QString canonical(const QString& path) { return QFileInfo(path).canonicalFilePath(); }
    void put(const QString& relativePath, const QByteArray& content) const  // kNone: no file
    {
        QFile::remove(env.root() + '/' + relativePath);
        if (!content.isNull())
            env.writeFile(relativePath, content);
    }
    // The game's start record; none when it has not started within a few seconds.
    std::optional<support::StartRecord> waitForGame() const
    {
        const QDeadlineTimer deadline(5000);
        while (!QFileInfo::exists(record) && !deadline.hasExpired())
            QThread::msleep(5);
        return QFileInfo::exists(record) ? support::WaitForStart(record) : std::nullopt;
    }
    // Launches; the user dismisses the error code box once the game has started and, unless it
    // keeps running, ended. A game kept running ends at the next launch.
    std::optional<support::StartRecord> launch(const std::optional<QString>& script, bool keepsRunning = false)
    {
        QFile::remove(record);
        put("started.hold", keepsRunning ? "" : kNone);
        view = FakeLaunchView();
        view.whileErrorCodeIsShown = [&] {
            if (const auto game = waitForGame(); game && !keepsRunning)
                support::WaitForEnd(game->pid);
        };
        LaunchIndependenceWar(script, view);
        return waitForGame();
    }

    TestEnvironment env;
    const QString record = env.root() + "/started";
    FakeLaunchView view;
};

TEST_F(LaunchTest, LaunchRunsTheScriptListsTheNewLogInDebugModeAndPutsTheHistoryBackOnceTheGameEnds)
{
    support::WriteStandInProgram(gameFolder() + "/IWAR.EXE", record, env.root() + "/game log");  // logs "game log"
    const QString three = "one\r\ntwo\r\nthree\r\n";
    const struct {
        bool debug, running;  // running: the game still runs when the launch ends
        QByteArray oldLog, gameLog;
        QStringList logs;
    } cases[] = {
        {false, true, "old\r\n", kNone, {"debug.bak=old\r\n"}},
        {false, true, kNone, "new\r\n", {"debug.txt=new\r\n"}},
        {true, false, "old 1\r\nold 2\r\n", three.toLatin1(),
         {"debug.bak=old 1\r\nold 2\r\n" + three, "debug.txt=old 1\r\nold 2\r\n" + three}},
        // No log by the time the box is dismissed, or an empty one: one empty line.
        {true, false, "old\r\n", kNone, {"debug.bak=old\r\n\r\n", "debug.txt=old\r\n\r\n"}},
        {true, false, kNone, "", {"debug.bak=\r\n", "debug.txt=\r\n"}},
        // The game still writes to its log: that file stays as it is.
        {true, true, "old\r\n", three.toLatin1(), {"debug.bak=old\r\n" + three, "debug.txt=" + three}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Lines(c.logs));
        QFile::remove(gameFolder() + "/debug.bak");
        put(kGameFolder + "/debug.txt", c.oldLog);
        put("game log", c.gameLog);
        shell::options.LaunchFlags = 144 | (c.debug ? kDebugMode : 0);

        const std::optional<support::StartRecord> game = launch(QStringLiteral("Task Main\r\nEnd"), c.running);

        ASSERT_TRUE(game) << "the game did not start: " << Lines(view.calls);
        EXPECT_EQ(Lines(logs(gameFolder())), Lines(c.logs));
        EXPECT_EQ(Lines(tempFiles()), Lines({"TEMP1.SCR=Task Main\r\nEnd\r\n", "temp.scr=Task Main\r\nEnd\r\n"}));
        EXPECT_EQ(game->arguments, (c.debug ? QStringList{"-debugscript"} : QStringList()) +
                                       QStringList({"-noslab", "-english", "C:\\TEMP\\temp.scr"}));
        EXPECT_EQ(std::pair(game->workDir, canonical(QDir::currentPath())),
                  std::pair(canonical(gameFolder()), canonical(gameFolder())));
        const QString listed = QString(c.gameLog).split("\r\n", Qt::SkipEmptyParts).join(u'|');
        EXPECT_EQ(Lines(view.calls), Lines(c.debug ? QStringList({"ShowErrorCode " + QString::number(game->pid),
                                                                   "FillErrors|" + listed, "ShowErrors"})
                                                    : QStringList{"ShowErrors"}));
    }
    // Without a script window the script of the launch before runs again.
    put("wine/drive_c/TEMP/TEMP1.SCR", "earlier\r\n");
    ASSERT_TRUE(launch(std::nullopt));
    EXPECT_EQ(Lines(tempFiles()), Lines({"TEMP1.SCR=earlier\r\n", "temp.scr=earlier\r\n"}));
}

// Without a game at its path the failure shows the command line: the path, the switches of the
// set bits in table order, and the fresh copy of the script.
TEST_F(LaunchTest, AGameNotStartedIsReportedWithItsCommandLineOrTheFileAtFaultAndTheLogSurvives)
{
    support::ScopedEnvironmentVariable path("PATH", QFile::encodeName(env.workDir()));  // no wine
    const QString all13 = " -w  -debugscript  -powers  -b -16  -noslab  -arcade  -800x600  -english "
                          " -french  -german  -nolodfix  -nologos  -lagrange ";
    const std::pair<qint16, QString> cases[] = {
        {144, " -noslab  -english "}, {0, ""}, {-1, all13}, {0x2008, " -b -16 "}, {0x1002, " -debugscript  -lagrange "},
    };
    for (const auto& [flags, switches] : cases) {
        shell::options.LaunchFlags = flags;
        put(kGameFolder + "/debug.txt", "old\r\n");
        view = FakeLaunchView();
        LaunchIndependenceWar("Task " + QString::number(flags), view);
        EXPECT_EQ(Lines(view.calls), Lines({kNotStarted + "No program file found in the command line " + kGamePath
                                                + switches + " C:\\TEMP\\temp.scr", "ShowErrors"}));
        const QString script = "Task " + QString::number(flags) + "\r\n";
        EXPECT_EQ(Lines(tempFiles() + logs(gameFolder())),
                  Lines({"TEMP1.SCR=" + script, "temp.scr=" + script, "debug.bak=old\r\n", "debug.txt=old\r\n"}));
    }
    // No wine for a Windows program, and debug.bak a folder: the old log cannot be saved and is kept.
    env.writeFile(kGameFolder + "/IWAR.EXE", "MZ");
    QFile::remove(gameFolder() + "/debug.bak");
    QDir(gameFolder()).mkpath("debug.bak");
    view = FakeLaunchView();
    LaunchIndependenceWar(QStringLiteral("Task Main"), view);
    // No C:\TEMP, as in a fresh prefix: without a script window no earlier script can be copied;
    // with one the folder is made and takes both copies.
    QDir(env.driveC() + "/TEMP").removeRecursively();
    LaunchIndependenceWar(std::nullopt, view);
    const bool madeWithoutScript = QFileInfo::exists(env.driveC() + "/TEMP");
    LaunchIndependenceWar(QStringLiteral("Task Main"), view);
    const QString wineMissing = kNotStarted + "Cannot start " + kGamePath + ": it is a Windows program, and \"wine\", "
                                              "which runs those, is not on the PATH";
    EXPECT_EQ(Lines(view.calls), Lines({wineMissing, "ShowErrors",
                                        kNotStarted + "Cannot read C:\\TEMP\\TEMP1.scr: No such file or directory",
                                        "ShowErrors", wineMissing, "ShowErrors"}));
    EXPECT_FALSE(madeWithoutScript);
    EXPECT_EQ(Lines(tempFiles()), Lines({"TEMP1.SCR=Task Main\r\n", "temp.scr=Task Main\r\n"}));
    EXPECT_EQ(TestEnvironment::readFile(gameFolder() + "/debug.txt"), "old\r\n");
}

// A C:\TEMP that cannot be made stops the launch before it writes or starts anything. The launch
// runs as an ordinary user, for whom a read-only drive C holds even when the tests run as root.
TEST_F(LaunchTest, AScriptFolderThatCannotBeMadeIsReportedAndStartsNoGame)
{
    support::WriteStandInProgram(gameFolder() + "/IWAR.EXE", record, env.root() + "/game log");
    QDir(env.driveC() + "/TEMP").removeRecursively();
    const auto enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    const auto writable = QFile::permissions(env.driveC());
    ASSERT_TRUE(QFile::setPermissions(env.root(), enter | QFile::ReadOwner | QFile::WriteOwner)
                && QFile::setPermissions(env.driveC(), enter | QFile::ReadOwner | QFile::ReadOther));
    const QString calls = support::InLimitedChild(1 << 20, [&] {
        LaunchIndependenceWar(QStringLiteral("Task Main"), view);
        return view.calls.join(u'\n');
    }, true);
    QFile::setPermissions(env.driveC(), writable);
    EXPECT_EQ(calls.toStdString(), Lines({kNotStarted + "Cannot create folder C:\\TEMP: Permission denied", "ShowErrors"}));
    EXPECT_EQ(std::pair(QFileInfo::exists(env.driveC() + "/TEMP"), QFileInfo::exists(record)), std::pair(false, false));
}

// The launch takes the game's folder as the path up to its last backslash, the Errors command as
// the path less its last 8 characters: the same folder only for a file name of 8 characters.
TEST_F(LaunchTest, ErrorsListsEachLineOfTheLogOrSaysWhyThereIsNoneAndEachCommandFindsItsFolder)
{
    env.writeFile("wine/drive_c/Games/debug.txt", "games\r\n");
    env.writeFile("wine/drive_c/Games/LONG/debug.txt", "long\r\n");
    env.writeFile("work/debug.txt", "work\r\n");
    QDir(env.driveC()).mkpath("Empty");
    const QString none = "ReportNoLog No game log found";
    const struct {
        QString launchPath;
        QByteArray log;
        QString launchFolder;
        QStringList calls;  // before ShowErrors
    } cases[] = {
        {kGamePath, "first\r\nsecond\r\nlast without end", kGameFolder, {"FillErrors|first|second|last without end"}},
        {kGamePath, "", kGameFolder, {"FillErrors"}},
        {kGamePath, "a\r\n\r\nb", kGameFolder, {"FillErrors|a||b"}},
        {kGamePath, "a\nb\rc\r\nd\r\r\n\n", kGameFolder, {"FillErrors|a|b|c|d||"}},
        {"C:\\GAMES\\WAR.EXE", kNone, "wine/drive_c/Games", {"FillErrors|games"}},  // ends before the backslash
        {"C:\\GAMES\\LONGGAME.EXE", kNone, "wine/drive_c/Games", {"FillErrors|long"}},
        {"IWAR.EXE", kNone, "work", {"FillErrors|work"}},
        {"WAR.EXE", kNone, "work", {"FillErrors", none + ": the game path \"WAR.EXE\" is too short to name a folder"}},
        {"C:\\NOWHERE\\IWAR.EXE", kNone, "work", {"FillErrors", none + ": Cannot change to folder C:\\NOWHERE\\: No such folder"}},
        {"C:\\EMPTY\\IWAR.EXE", kNone, "wine/drive_c/Empty",
         {"FillErrors", none + " in C:\\EMPTY\\: Cannot read debug.txt: No such file or directory"}},
    };
    for (const auto& c : cases) {
        shell::options.LaunchPath = c.launchPath;
        put(kGameFolder + "/debug.txt", c.log);
        ASSERT_TRUE(QDir::setCurrent(env.workDir()));
        view = FakeLaunchView();
        ListErrors(view);
        EXPECT_EQ(Lines(view.calls), Lines(c.calls + QStringList{"ShowErrors"}));
        ASSERT_TRUE(QDir::setCurrent(env.workDir()));
        LaunchIndependenceWar(QStringLiteral("Task Main"), view);  // no game there: not started
        EXPECT_EQ(canonical(QDir::currentPath()), canonical(env.root() + '/' + c.launchFolder)) << c.launchPath.toStdString();
    }
}

}  // namespace
}  // namespace launcher
