#include "launcher/launch_command.h"

#include <QDir>
#include <gtest/gtest.h>

#include "shell/options.h"
#include "support/test_environment.h"

namespace launcher {
namespace {

class BuildLaunchCommandTest : public testing::Test {
protected:
    void SetUp() override
    {
        shell::options = {};
        environment.writeFile("wine/drive_c/TEMP/TEMP1.scr", "Task Main\r\n");
    }

    QByteArray tempFile(const QString& name) const
    {
        return support::TestEnvironment::readFile(environment.driveC() + "/TEMP/" + name);
    }

    // The command line built with LaunchFlags = flags, after a successful copy.
    QString commandLineWith(qint16 flags, const QString& gamePath)
    {
        shell::options.LaunchFlags = flags;
        QString commandLine;
        const platform::Status status = BuildLaunchCommand(gamePath, "C:\\TEMP\\TEMP1.scr", commandLine);
        EXPECT_TRUE(status.ok()) << status.message().toStdString();
        return commandLine;
    }

    support::TestEnvironment environment;
};

TEST_F(BuildLaunchCommandTest, DefaultOptionsGiveTheDocumentedLineAfterReplacingTheCopy)
{
    environment.writeFile("wine/drive_c/TEMP/temp.scr", "an older, longer script\r\n");
    EXPECT_EQ(commandLineWith(144, shell::options.LaunchPath),
              "C:\\PROGRAM FILES\\PARTICLE SYSTEMS\\INDEPENDENCE WAR\\IWAR.EXE -noslab  -english  "
              "C:\\TEMP\\temp.scr");
    EXPECT_EQ(tempFile("temp.scr"), "Task Main\r\n");
    EXPECT_EQ(tempFile("TEMP1.scr"), "Task Main\r\n");
}

TEST_F(BuildLaunchCommandTest, AppendsTheSwitchesOfTheSetBitsInTableOrder)
{
    const QString game = QStringLiteral("C:\\My Games\\IWAR.EXE");
    const QString all13 =
        " -w  -debugscript  -powers  -b -16  -noslab  -arcade  -800x600  -english  -french "
        " -german  -nolodfix  -nologos  -lagrange ";
    const struct {
        qint16 flags;
        QString switches;
    } cases[] = {
        {0, ""},
        {0x2000, ""},
        {0x1FFF, all13},
        {-1, all13},
        {qint16(0xC011), " -w  -noslab "},
        {-32768, ""},
        {0x2008, " -b -16 "},
        {0x1002, " -debugscript  -lagrange "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(commandLineWith(c.flags, game), game + c.switches + " C:\\TEMP\\temp.scr")
            << c.flags;
}

TEST_F(BuildLaunchCommandTest, MissingScriptOrTempFolderFailsTouchingNothing)
{
    environment.writeFile("wine/drive_c/TEMP/temp.scr", "previous\r\n");
    environment.writeFile("wine/drive_c/SCRIPTS/mission.scr", "Task Main\r\n");
    QString commandLine = "<untouched>";
    EXPECT_FALSE(BuildLaunchCommand("IWAR.EXE", "C:\\TEMP\\NONE.scr", commandLine).ok());
    EXPECT_EQ(tempFile("temp.scr"), "previous\r\n");

    QDir(environment.driveC() + "/TEMP").removeRecursively();
    EXPECT_FALSE(BuildLaunchCommand("IWAR.EXE", "C:\\SCRIPTS\\mission.scr", commandLine).ok());
    EXPECT_EQ(commandLine, "<untouched>");
    EXPECT_EQ(QDir(environment.driveC()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"SCRIPTS"});
}

}  // namespace
}  // namespace launcher
