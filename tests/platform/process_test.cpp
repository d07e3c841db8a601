#include "platform/process.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <gtest/gtest.h>

#include "platform/win_path.h"
#include "support/script_generator.h"
#include "support/stand_in_program.h"
#include "support/test_environment.h"

namespace platform {
namespace {

// A stand-in program at each host path; gives the path of the record it writes when run.
QString Install(const QString& hostPath)
{
    support::WriteStandInProgram(hostPath, hostPath + ".record", QString());
    return hostPath + ".record";
}

// Starts the command line; gives the program's working folder and arguments, or the failure.
QStringList Started(const QString& commandLine, const QString& record)
{
    QFile::remove(record);
    qint64 taskId = -1;
    if (const Status status = StartProcess(commandLine, taskId); !status)
        return {"fails", status.message(), QString::number(taskId)};
    const support::StartRecord start = support::WaitForStart(record).value_or(support::StartRecord{-1, {}, {}});
    EXPECT_EQ(start.pid, taskId) << "-1: the program did not run: " << commandLine.toStdString();
    return QStringList(start.workDir) + start.arguments;
}

// The golden file gives each line, the program that runs, and its arguments, or "fails" and
// the path that the failure names. The first existing beginning wins, unless the path is quoted.
TEST(StartProcessTest, TheProgramIsFoundAndGetsItsArgumentsOrTheFailureNamesIt)
{
    support::TestEnvironment env;
    const QString workDir = QFileInfo(env.workDir()).canonicalFilePath();
    const QHash<QString, QString> records = {{"IWAR.EXE", Install(env.driveC() + "/My Games/Iwar Folder/IWAR.EXE")},
                                             {"LAUNCHER.EXE", Install(env.driveC() + "/My Games/LAUNCHER.EXE")},
                                             {"G.EXE", Install(env.driveC() + "/Game/G.EXE")}};
    env.writeFile("wine/drive_c/Game/plain", "#!/bin/sh\n");  // only plain.EXE would run
    env.writeFile("wine/drive_c/Game/DATA.TXT", "not a program\n");
    for (const QStringList& c : support::GoldenCases("platform/golden/command_lines.txt")) {
        const QStringList result = Started(c[0], records.value(c[1], env.root() + "/none"));
        if (c[1] == "fails")
            EXPECT_TRUE(result[0] == "fails" && result[1].contains(c[2]) && !result[1].isEmpty() && result[2] == "-1")
                << c[0].toStdString() << ": " << result.join('|').toStdString();
        else
            EXPECT_EQ(result, QStringList(workDir) + c.mid(2)) << c[0].toStdString();
    }
    const QString shadow = Install(env.driveC() + "/My.exe");
    EXPECT_EQ(Started("C:\\My Games\\LAUNCHER.EXE -w", shadow), QStringList({workDir, "Games\\LAUNCHER.EXE", "-w"}));
    EXPECT_EQ(Started("\"C:\\My Games\\LAUNCHER.EXE\" -w", records["LAUNCHER.EXE"]), QStringList({workDir, "-w"}));
}

TEST(ShortNameTest, ResolvesToTheLongNameOrKeepsTheSpelling)
{
    support::TestEnvironment env;
    // Created out of order, and in a mixed case that a case-sensitive order would turn around.
    for (const char* folder : {"PROGRAMDATA", "Program Files (x86)", "program files/Particle Systems/Independence War",
                               "Ind. War", "A.B C", "PROGRA~4", "Data"})
        ASSERT_TRUE(QDir(env.driveC()).mkpath(folder)) << folder;
    for (const QStringList& c : support::GoldenCases("platform/golden/short_names.txt"))
        EXPECT_EQ(HostPath(c[0]), env.root() + "/wine/dosdevices/c:/" + c[1]) << c[0].toStdString();
}

}  // namespace
}  // namespace platform
