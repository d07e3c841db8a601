#include "platform/process.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "platform/win_path.h"
#include "support/script_generator.h"
#include "support/stand_in_program.h"
#include "support/test_environment.h"

namespace platform {
namespace {

class StartProcessTest : public testing::Test {
protected:
    // A stand-in program at a host path; gives the path of the record it writes when run.
    QString install(const QString& hostPath)
    {
        const QString record = env.root() + "/record" + QString::number(++programs_);
        support::WriteStandInProgram(hostPath, record, QString());
        return record;
    }

    // Starts the command line, which must succeed; gives the program's working folder and arguments.
    QStringList started(const QString& commandLine, const QString& record)
    {
        QFile::remove(record);
        qint64 taskId = 0;
        const Status status = StartProcess(commandLine, taskId);
        EXPECT_TRUE(status.ok()) << status.message().toStdString();
        const auto start = support::WaitForStart(record).value_or(support::StartRecord{-1, {}, {}});
        EXPECT_EQ(start.pid, taskId) << "-1: the program did not run: " << commandLine.toStdString();
        return QStringList(start.workDir) + start.arguments;
    }

    // Starts the command line, which must fail, and gives the failure's message.
    QString failure(const QString& commandLine)
    {
        qint64 taskId = -1;
        const Status status = StartProcess(commandLine, taskId);
        EXPECT_TRUE(!status.ok() && taskId == -1) << commandLine.toStdString();
        return status.message();
    }

    support::TestEnvironment env;
    const QString workDir = QFileInfo(env.workDir()).canonicalFilePath();

private:
    int programs_ = 0;
};

TEST_F(StartProcessTest, TheProgramIsFoundWithOrWithoutQuotesAndExeAndGetsItsArguments)
{
    const QString iwar = install(env.driveC() + "/My Games/Iwar Folder/IWAR.EXE");
    const QString launcher = install(env.driveC() + "/My Games/LAUNCHER.EXE");
    const QString game = install(env.driveC() + "/Game/G.EXE");
    const std::vector<std::tuple<const char*, QString, QStringList>> cases = {
        {"C:\\MY GAMES\\IWAR FOLDER\\iwar.exe -noslab  -english  C:\\TEMP\\temp.scr", iwar,
         {"-noslab", "-english", "C:\\TEMP\\temp.scr"}},
        {"C:\\My Games\\Launcher arg", launcher, {"arg"}},
        {"\"C:\\My Games\\launcher\" arg", launcher, {"arg"}},
        {"C:\\My Games\\Launcher.exe\targ", launcher, {"arg"}},
        {"  C:\\Game\\G.EXE  ", game, {}},
        {"C:\\Game\\G.EXE  a\t b  ", game, {"a", "b"}},
        {"C:\\Game\\G.EXE \"two words\" \"\" x", game, {"two words", "", "x"}},
        {"C:\\Game\\G.EXE c\"d e\"f \"open end", game, {"cd ef", "open end"}},
        {"\"C:\\Game\\G.EXE\"\"a b\"", game, {"a b"}},
    };
    for (const auto& [line, record, arguments] : cases)
        EXPECT_EQ(started(line, record), QStringList(workDir) + arguments) << line;
    // The first existing beginning wins, unless the path is quoted.
    const QString shadow = install(env.driveC() + "/My.exe");
    EXPECT_EQ(started("C:\\My Games\\LAUNCHER.EXE -w", shadow), QStringList({workDir, "Games\\LAUNCHER.EXE", "-w"}));
    EXPECT_EQ(started("\"C:\\My Games\\LAUNCHER.EXE\" -w", launcher), QStringList({workDir, "-w"}));
}

TEST_F(StartProcessTest, AProgramThatCannotRunIsNamedInTheFailure)
{
    env.writeFile("wine/drive_c/Game/plain", "#!/bin/sh\n");
    env.writeFile("wine/drive_c/Game/DATA.TXT", "not a program\n");
    const std::vector<std::pair<const char*, QString>> cases = {
        {"C:\\Nowhere\\IWAR.EXE -w  C:\\TEMP\\temp.scr", "C:\\Nowhere\\IWAR.EXE"},
        {"\"C:\\Nowhere\\IWAR.EXE\" -w", "C:\\Nowhere\\IWAR.EXE"},
        {"C:\\Game -w", "C:\\Game"},                     // a folder is no program
        {"C:\\Game\\plain", "C:\\Game\\plain"},          // only plain.EXE would be
        {"C:\\Game\\DATA.TXT x", "C:\\Game\\DATA.TXT"},  // not executable
        {"", ""}, {" \t ", ""},
    };
    for (const auto& [line, named] : cases) {
        const QString message = failure(line);
        EXPECT_TRUE(!message.isEmpty() && message.contains(named)) << line << ": " << message.toStdString();
    }
}

TEST_F(StartProcessTest, AWindowsProgramRunsUnderWineFromThePath)
{
    const QString exe = env.writeFile("wine/drive_c/Game/WIN.EXE", QByteArray("MZ\x90\0", 4));
    const QString wineRecord = install(env.root() + "/bin/wine");
    {
        support::ScopedEnvironmentVariable path("PATH", QFile::encodeName(env.workDir()));
        const QString message = failure("C:\\GAME\\win.exe a");
        EXPECT_TRUE(message.contains("C:\\GAME\\win.exe") && message.contains("wine")) << message.toStdString();
    }
    support::ScopedEnvironmentVariable path("PATH", QFile::encodeName(env.root() + "/bin"));
    QStringList arguments = started("C:\\GAME\\win.exe a \"b c\"", wineRecord);
    arguments[1] = QFileInfo(arguments.value(1)).canonicalFilePath();
    EXPECT_EQ(arguments, QStringList({workDir, QFileInfo(exe).canonicalFilePath(), "a", "b c"}));
}

TEST(ShortNameTest, ResolvesToTheLongNameOrKeepsTheSpelling)
{
    support::TestEnvironment env;
    // Created out of order, and in a mixed case that a case-sensitive order would turn around.
    for (const char* folder : {"PROGRAMDATA", "Program Files (x86)", "program files/Particle Systems/Independence War",
                               "Ind. War", "A.B C", "PROGRA~4", "Data"})
        ASSERT_TRUE(QDir(env.driveC()).mkpath(folder)) << folder;
    const std::vector<QStringList> cases = support::GoldenCases("platform/golden/short_names.txt");
    ASSERT_EQ(cases.size(), 21u);
    for (const QStringList& c : cases)
        EXPECT_EQ(HostPath(c[0]), env.root() + "/wine/dosdevices/c:/" + c[1]) << c[0].toStdString();
}

}  // namespace
}  // namespace platform
