#include "platform/win_path.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "support/test_environment.h"

namespace platform {
namespace {

class WinPathTest : public ::testing::Test {
protected:
    QString driveCLink() const { return env.root() + "/wine/dosdevices/c:"; }

    support::TestEnvironment env;
};

TEST_F(WinPathTest, ComponentsMatchExistingEntriesWithoutRegardToCase)
{
    env.writeFile("wine/drive_c/Temp/Temp1.scr", "script");
    const QString file = driveCLink() + "/Temp/Temp1.scr";
    for (const char* path : {"C:\\TEMP\\TEMP1.SCR", "c:\\temp\\temp1.scr", "C:\\Temp\\Temp1.scr",
                             "C:/TEMP/temp1.SCR", "c:\\\\temp\\.\\TEMP1.scr"}) {
        EXPECT_EQ(HostPath(path), file) << path;
    }
    EXPECT_EQ(support::TestEnvironment::readFile(HostPath("C:\\TEMP\\TEMP1.SCR")), "script");
}

TEST_F(WinPathTest, ExactSpellingWinsOverCaseTwins)
{
    QDir(env.driveC()).mkpath("Data");
    QDir(env.driveC()).mkpath("DATA");
    EXPECT_EQ(HostPath("C:\\DATA"), driveCLink() + "/DATA");
    EXPECT_EQ(HostPath("C:\\Data"), driveCLink() + "/Data");
    const QString twin = HostPath("C:\\data");
    EXPECT_TRUE(twin == driveCLink() + "/DATA" || twin == driveCLink() + "/Data")
        << twin.toStdString();
}

TEST_F(WinPathTest, MissingComponentsKeepTheirSpelling)
{
    QDir(env.driveC()).mkpath("TEMP/Sub");
    EXPECT_EQ(HostPath("C:\\temp\\New Folder\\sub\\X.Txt"),
              driveCLink() + "/TEMP/New Folder/sub/X.Txt");
    EXPECT_EQ(HostPath("C:\\temp\\sub\\new.scr"), driveCLink() + "/TEMP/Sub/new.scr");
    // Nothing is looked up below a missing folder, even a name that exists elsewhere.
    EXPECT_EQ(HostPath("C:\\Nowhere\\temp"), driveCLink() + "/Nowhere/temp");
}

TEST_F(WinPathTest, DotsAreAppliedByNameAndNeverClimbAboveTheDrive)
{
    QDir(env.driveC()).mkpath("TEMP/Sub");
    EXPECT_EQ(HostPath("C:\\temp\\missing\\..\\sub\\.\\x"), driveCLink() + "/TEMP/Sub/x");
    EXPECT_EQ(HostPath("C:\\..\\..\\temp"), driveCLink() + "/TEMP");
    EXPECT_EQ(HostPath("C:\\"), driveCLink());
    EXPECT_EQ(HostPath("C:"), driveCLink());
    EXPECT_EQ(HostPath("\\temp\\x"), driveCLink() + "/TEMP/x");
}

TEST_F(WinPathTest, RelativePathsResolveAgainstTheWorkingDirectoryOfTheMoment)
{
    env.writeFile("work/Debug.TXT", "");
    env.writeFile("work/Sub/Commands.DAT", "");
    env.writeFile("other/debug.bak", "");
    EXPECT_EQ(HostPath("debug.txt"), env.workDir() + "/Debug.TXT");
    EXPECT_EQ(HostPath("sub\\commands.dat"), env.workDir() + "/Sub/Commands.DAT");
    EXPECT_EQ(HostPath(".\\Script 2"), env.workDir() + "/Script 2");
    EXPECT_EQ(HostPath("..\\OTHER\\DEBUG.BAK"), env.root() + "/other/debug.bak");

    ASSERT_TRUE(QDir::setCurrent(env.root() + "/other"));
    EXPECT_EQ(HostPath("DEBUG.bak"), env.root() + "/other/debug.bak");
}

TEST_F(WinPathTest, HostPathsPassUnchanged)
{
    for (const char* path : {"/", "/tmp/Some Folder\\odd", "/no/such/../place"})
        EXPECT_EQ(HostPath(path), path) << path;
}

TEST_F(WinPathTest, DrivesMapToTheirDosDevicesLinks)
{
    ASSERT_TRUE(QFile::remove(driveCLink()));
    QDir(env.driveC()).mkpath("Temp");
    EXPECT_EQ(HostPath("C:\\TEMP\\x.scr"), env.driveC() + "/Temp/x.scr");
    EXPECT_EQ(HostPath("d:\\Games\\IWAR.EXE"), env.root() + "/wine/dosdevices/d:/Games/IWAR.EXE");
}

// Links are followed on both sides: a file dialog may name the file through dosdevices/c:.
TEST_F(WinPathTest, HostPathsOnAWineDriveTakeTheirWindowsForm)
{
    const QString game = env.writeFile("wine/drive_c/Program Files/IWAR.EXE", "game");
    const QString outside = env.writeFile("elsewhere/IWAR.EXE", "game");
    const QString viaLink = driveCLink() + "/Program Files/IWAR.EXE";
    EXPECT_EQ(HostPath(WindowsPath(game)), viaLink);
    // With the whole file system as drive Z:, the deeper drive C: still names files under it.
    for (const bool driveZ : {false, true}) {
        ASSERT_TRUE(!driveZ || QFile::link("/", env.root() + "/wine/dosdevices/z:"));
        const std::pair<QString, QString> cases[] = {
            {game, "C:\\Program Files\\IWAR.EXE"},
            {viaLink, "C:\\Program Files\\IWAR.EXE"},
            {driveCLink() + "/Program Files/New/../Missing/x.exe", "C:\\Program Files\\Missing\\x.exe"},
            {env.workDir() + "/a.scr",
             driveZ ? "Z:" + QString(env.workDir() + "/a.scr").replace('/', '\\') : env.workDir() + "/a.scr"},
            {outside, driveZ ? "Z:" + QString(outside).replace('/', '\\') : outside},
            {"C:\\TEMP\\temp.scr", "C:\\TEMP\\temp.scr"},
            {"IWAR.EXE", "IWAR.EXE"},
        };
        for (const auto& [host, windows] : cases)
            EXPECT_EQ(WindowsPath(host), windows) << host.toStdString();
    }
}

}  // namespace
}  // namespace platform
