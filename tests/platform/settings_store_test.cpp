#include "platform/settings_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/limited_child.h"
#include "support/test_environment.h"

namespace platform {
namespace {

const QString kApp = "Orbiscribe";

class SettingsStoreTest : public ::testing::Test {
protected:
    QString storedPath() const { return env.configHome() + "/Orbiscribe/Orbiscribe.ini"; }
    QByteArray storedFile() const { return support::TestEnvironment::readFile(storedPath()); }

    support::TestEnvironment env;
};

TEST_F(SettingsStoreTest, AStoreThatIsNoRegularFileIsNeitherReadNorReplacedAndNothingWaits)
{
    ASSERT_TRUE(QDir().mkpath(env.configHome() + "/Orbiscribe"));
    const QString fifo = env.configHome() + "/Orbiscribe/Orbiscribe.ini";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    SaveSetting(kApp, "Options", "LaunchFlags", "-1");
    EXPECT_TRUE(TakeSettingsFailure().message().contains("not a regular file"));
    EXPECT_EQ(GetSetting(kApp, "Options", "LaunchFlags", "144"), "144");
    EXPECT_FALSE(QFileInfo(fifo).isFile());  // still the FIFO, not replaced
}

TEST_F(SettingsStoreTest, TextsRoundTripExactlyAndMissingEntriesGiveTheDefault)
{
    const QString values[] = {
        "C:\\PROGRAM FILES\\PARTICLE SYSTEMS\\INDEPENDENCE WAR\\IWAR.EXE", "", "a, b", "a,b,", "\"quoted\"",
        "  blanks  ", "x;y=z", "#hash", "@Variant(1)", "tab\there\r\nline", "caf\u00E9 \u20AC", "-1",
    };
    for (const QString& value : values) {
        SaveSetting(kApp, "Settings", "Value", value);
        EXPECT_EQ(GetSetting(kApp, "Settings", "Value", "default"), value) << value.toStdString();
    }
    EXPECT_EQ(QStringList({GetSetting(kApp, "Settings", "Other", "1"), GetSetting(kApp, "MRU", "Value", "2"),
                           GetSetting("Other", "Settings", "Value", "3")}),
              QStringList({"1", "2", "3"}));
    EXPECT_TRUE(TakeSettingsFailure());
}

TEST_F(SettingsStoreTest, SectionAndKeyNamesCompareWithoutCase)
{
    SaveSetting(kApp, "Options", "BackColor", "255");
    EXPECT_EQ(GetSetting(kApp, "Options", "Backcolor", "16777215"), "255");
    SaveSetting(kApp, "OPTIONS", "Backcolor", "65280");
    EXPECT_EQ(GetSetting(kApp, "options", "BACKCOLOR", "0"), "65280");
    EXPECT_EQ(storedFile(), "[Options]\nBackcolor=65280\n");
}

TEST_F(SettingsStoreTest, AHandWrittenListReadsAsOneText)
{
    env.writeFile("config/Orbiscribe/Orbiscribe.ini", "[Settings]\nWindowState=a, b\n");
    EXPECT_EQ(GetSetting(kApp, "settings", "windowstate", ""), "a,b");
}

TEST_F(SettingsStoreTest, AnEntryThatCannotBeStoredLeavesTheFileWholeAndIsToldOnce)
{
    SaveSetting(kApp, "Options", "LaunchFlags", "144");
    const QByteArray before = storedFile();
    const QString outcome = support::InLimitedChild(before.size() + 10, [] {
        SaveSetting(kApp, "Options", "LaunchPath", QString(100, u'x'));
        SaveSetting(kApp, "MRU", "File1", "C:\\mission.scr");
        const QString first = TakeSettingsFailure().message();
        return first + '|' + TakeSettingsFailure().message();
    });
    EXPECT_TRUE(outcome.startsWith("The settings could not be stored in " + storedPath() + ". Cannot write "))
        << outcome.toStdString();
    EXPECT_TRUE(outcome.endsWith("(is the disk full?)|")) << outcome.toStdString();
    EXPECT_EQ(storedFile(), before);
}

}  // namespace
}  // namespace platform
