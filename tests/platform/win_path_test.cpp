#include "platform/win_path.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include "support/test_environment.h"

namespace platform {
namespace {

using Cases = std::vector<std::pair<QString, QString>>;

class WinPathTest : public ::testing::Test {
protected:
    // The cases that map to anything but what they expect, one per line.
    static std::string Wrong(const Cases& cases, QString (*map)(const QString&) = HostPath)
    {
        QString wrong;
        for (const auto& [path, expected] : cases) {
            if (const QString mapped = map(path); mapped != expected)
                wrong += path + " -> " + mapped + '\n';
        }
        return wrong.toStdString();
    }

    support::TestEnvironment env;
    const QString c = env.root() + "/wine/dosdevices/c:";
};

TEST_F(WinPathTest, ComponentsMatchExistingEntriesWithoutRegardToCaseAndDotsApplyByName)
{
    env.writeFile("wine/drive_c/Temp/Temp1.scr", "script");
    env.writeFile("work/Sub/Commands.DAT", "");
    env.writeFile("other/debug.bak", "");
    for (const char* folder : {"Saves/Sub", "Data", "DATA"})
        QDir(env.driveC()).mkpath(folder);
    const QString work = env.workDir();
    const Cases cases{
        {"C:\\TEMP\\TEMP1.SCR", c + "/Temp/Temp1.scr"}, {"c:\\\\temp\\.\\TEMP1.scr", c + "/Temp/Temp1.scr"},
        {"C:/TEMP/temp1.SCR", c + "/Temp/Temp1.scr"},
        // The exact spelling wins over a twin that differs in case.
        {"C:\\DATA", c + "/DATA"}, {"C:\\Data", c + "/Data"},
        // A missing component keeps its spelling, and nothing below it is looked up.
        {"C:\\saves\\New Folder\\sub\\X.Txt", c + "/Saves/New Folder/sub/X.Txt"},
        {"C:\\saves\\sub\\new.scr", c + "/Saves/Sub/new.scr"},
        // ".." never climbs above the drive.
        {"C:\\saves\\missing\\..\\sub\\.\\x", c + "/Saves/Sub/x"}, {"C:\\..\\..\\temp", c + "/Temp"},
        {"C:\\", c}, {"C:", c}, {"\\temp\\x", c + "/Temp/x"},
        // Host paths pass unchanged; relative ones resolve against the working directory.
        {"/", "/"}, {"/tmp/A Folder\\odd", "/tmp/A Folder\\odd"}, {"/no/such/../place", "/no/such/../place"},
        {"d:\\Games\\IWAR.EXE", env.root() + "/wine/dosdevices/d:/Games/IWAR.EXE"},
        {"sub\\commands.dat", work + "/Sub/Commands.DAT"}, {".\\Script 2", work + "/Script 2"},
        {"..\\OTHER\\DEBUG.BAK", env.root() + "/other/debug.bak"},
    };
    EXPECT_EQ(Wrong(cases), "");
    EXPECT_EQ(support::TestEnvironment::readFile(HostPath("C:\\TEMP\\TEMP1.SCR")), "script");
    // The working directory of the moment, and without the link of drive C, its folder drive_c.
    ASSERT_TRUE(QDir::setCurrent(env.root() + "/other") && QFile::remove(c));
    EXPECT_EQ(HostPath("DEBUG.bak") + '|' + HostPath("C:\\TEMP\\x.scr"),
              env.root() + "/other/debug.bak|" + env.driveC() + "/Temp/x.scr");
}

// Links are followed on both sides: a file dialog may name the file through dosdevices/c:.
TEST_F(WinPathTest, HostPathsOnAWineDriveTakeTheirWindowsForm)
{
    const QString game = env.writeFile("wine/drive_c/Program Files/IWAR.EXE", "game");
    const QString outside = env.writeFile("elsewhere/IWAR.EXE", "game");
    EXPECT_EQ(HostPath(WindowsPath(game)), c + "/Program Files/IWAR.EXE");
    // With the whole file system as drive Z:, the deeper drive C: still names files under it.
    for (const bool driveZ : {false, true}) {
        ASSERT_TRUE(!driveZ || QFile::link("/", env.root() + "/wine/dosdevices/z:"));
        const auto onZ = [&](QString path) { return driveZ ? "Z:" + path.replace('/', '\\') : path; };
        const Cases cases{
            {game, "C:\\Program Files\\IWAR.EXE"},
            {c + "/Program Files/IWAR.EXE", "C:\\Program Files\\IWAR.EXE"},
            {c + "/Program Files/New/../Missing/x.exe", "C:\\Program Files\\Missing\\x.exe"},
            {outside, onZ(outside)}, {"C:\\TEMP\\temp.scr", "C:\\TEMP\\temp.scr"}, {"IWAR.EXE", "IWAR.EXE"},
        };
        EXPECT_EQ(Wrong(cases, WindowsPath), "");
    }
}

}  // namespace
}  // namespace platform
