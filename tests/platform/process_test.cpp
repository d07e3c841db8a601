#include "platform/process.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "support/stand_in_program.h"
#include "support/test_environment.h"

namespace platform {
namespace {

class StartProcessTest : public testing::Test {
protected:
    // A stand-in program at a host path; gives the path of the record it writes when run.
    QString installProgram(const QString& hostPath)
    {
        const QString record = env.root() + "/record" + QString::number(++programCount_);
        support::WriteStandInProgram(hostPath, record, QString());
        return record;
    }
    QString installOnDriveC(const QString& path) { return installProgram(env.driveC() + '/' + path); }

    // Starts the command line, which must succeed, and gives what the program recorded.
    support::StartRecord start(const QString& commandLine, const QString& record)
    {
        QFile::remove(record);
        qint64 taskId = 0;
        const Status status = StartProcess(commandLine, taskId);
        EXPECT_TRUE(status.ok()) << status.message().toStdString();
        const support::StartRecord started = support::WaitForStart(record).value_or(support::StartRecord{-1});
        EXPECT_EQ(started.pid, taskId) << "-1: the program did not run: " << commandLine.toStdString();
        return started;
    }

    // Starts the command line, which must fail, and gives the failure's message.
    QString failure(const QString& commandLine)
    {
        qint64 taskId = -1;
        const Status status = StartProcess(commandLine, taskId);
        EXPECT_FALSE(status.ok()) << commandLine.toStdString();
        EXPECT_EQ(taskId, -1) << commandLine.toStdString();
        return status.message();
    }

    support::TestEnvironment env;

private:
    int programCount_ = 0;
};

TEST_F(StartProcessTest, TheProgramIsFoundWithOrWithoutQuotesAndExeAndGetsItsArguments)
{
    const QString iwar = installOnDriveC("My Games/Iwar Folder/IWAR.EXE");
    const QString launcher = installOnDriveC("My Games/LAUNCHER.EXE");
    const QString game = installOnDriveC("Game/G.EXE");
    const struct {
        const char* line;
        const QString& record;
        QStringList arguments;
    } cases[] = {
        {"C:\\MY GAMES\\IWAR FOLDER\\iwar.exe -noslab  -english  C:\\TEMP\\temp.scr", iwar,
         {"-noslab", "-english", "C:\\TEMP\\temp.scr"}},
        {"C:\\My Games\\Launcher arg", launcher, {"arg"}},
        {"\"C:\\My Games\\launcher\" arg", launcher, {"arg"}},
        {"C:\\My Games\\Launcher.exe arg", launcher, {"arg"}},
        {"C:\\Game\\G.EXE", game, {}},
        {"  C:\\Game\\G.EXE  ", game, {}},
        {"C:\\Game\\G.EXE  a\t b  ", game, {"a", "b"}},
        {"C:\\Game\\G.EXE \"two words\" \"\" x", game, {"two words", "", "x"}},
        {"C:\\Game\\G.EXE c\"d e\"f \"open end", game, {"cd ef", "open end"}},
        {"\"C:\\Game\\G.EXE\"\"a b\"", game, {"a b"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(start(c.line, c.record).arguments, c.arguments) << c.line;
    EXPECT_EQ(start("C:\\Game\\G.EXE", game).workDir, QFileInfo(env.workDir()).canonicalFilePath());
}

TEST_F(StartProcessTest, TheFirstExistingBeginningWinsUnlessThePathIsQuoted)
{
    const QString shadow = installOnDriveC("My.exe");
    const QString game = installOnDriveC("My Games/IWAR.EXE");
    EXPECT_EQ(start("C:\\My Games\\IWAR.EXE -w", shadow).arguments, QStringList({"Games\\IWAR.EXE", "-w"}));
    EXPECT_EQ(start("\"C:\\My Games\\IWAR.EXE\" -w", game).arguments, QStringList{"-w"});
}

TEST_F(StartProcessTest, AProgramThatCannotRunIsNamedInTheFailure)
{
    QDir(env.driveC()).mkpath("Game");
    env.writeFile("wine/drive_c/Game/plain", "#!/bin/sh\n");
    env.writeFile("wine/drive_c/Game/DATA.TXT", "not a program\n");
    const struct {
        const char* line;
        const char* named;
    } cases[] = {
        {"C:\\Nowhere\\IWAR.EXE -w  C:\\TEMP\\temp.scr", "C:\\Nowhere\\IWAR.EXE"},
        {"\"C:\\Nowhere\\IWAR.EXE\" -w", "C:\\Nowhere\\IWAR.EXE"},
        {"C:\\Game -w", "C:\\Game"},                     // a folder is no program
        {"C:\\Game\\plain", "C:\\Game\\plain"},          // only plain.EXE would be
        {"C:\\Game\\DATA.TXT x", "C:\\Game\\DATA.TXT"},  // not executable
    };
    for (const auto& c : cases)
        EXPECT_TRUE(failure(c.line).contains(c.named)) << c.line;
    EXPECT_FALSE(failure("").isEmpty());
    EXPECT_FALSE(failure(" \t ").isEmpty());
}

TEST_F(StartProcessTest, AWindowsProgramRunsUnderWineFromThePath)
{
    const QString exe = env.writeFile("wine/drive_c/Game/WIN.EXE", QByteArray("MZ\x90\0", 4));
    const QString wineRecord = installProgram(env.root() + "/bin/wine");
    {
        support::ScopedEnvironmentVariable path("PATH", QFile::encodeName(env.workDir()));
        const QString message = failure("C:\\GAME\\win.exe a");
        EXPECT_TRUE(message.contains("C:\\GAME\\win.exe")) << message.toStdString();
        EXPECT_TRUE(message.contains("wine")) << message.toStdString();
    }
    support::ScopedEnvironmentVariable path("PATH", QFile::encodeName(env.root() + "/bin"));
    const support::StartRecord started = start("C:\\GAME\\win.exe a \"b c\"", wineRecord);
    ASSERT_EQ(started.arguments.size(), 3);
    EXPECT_EQ(QFileInfo(started.arguments[0]).canonicalFilePath(), QFileInfo(exe).canonicalFilePath());
    EXPECT_EQ(started.arguments.mid(1), QStringList({"a", "b c"}));
}

}  // namespace
}  // namespace platform
