#include "platform/settings_store.h"

#include <QDir>
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
    ASSERT_EQ(::mkfifo(QFile::encodeName(storedPath()).constData(), 0600), 0);
    SaveSetting(kApp, "Options", "LaunchFlags", "-1");
    EXPECT_TRUE(TakeSettingsFailure().message().contains("not a regular file"));
    EXPECT_EQ(GetSetting(kApp, "Options", "LaunchFlags", "144"), "144");
    EXPECT_FALSE(QFileInfo(storedPath()).isFile());  // still the FIFO, not replaced
}

// Each text is saved under its own key and read back through the key in other case; a twin
// key in other case is replaced, not added; missing entries give the default; a hand-written
// list reads as one text.
TEST_F(SettingsStoreTest, TextsRoundTripExactlyUnderNamesInAnyCaseAndMissingEntriesGiveTheDefault)
{
    env.writeFile("config/Orbiscribe/Orbiscribe.ini", "[Settings]\nWindowState=a, b\n");
    const QStringList values = {
        "C:\\PROGRAM FILES\\PARTICLE SYSTEMS\\INDEPENDENCE WAR\\IWAR.EXE", "", "a, b", "a,b,", "\"quoted\"",
        "  blanks  ", "x;y=z", "#hash", "@Variant(1)", "tab\there\r\nline", "caf\u00E9 \u20AC", "-1",
    };
    QStringList read{GetSetting(kApp, "settings", "windowstate", "")};
    for (const QString& value : values) {
        const QString key = "Value" + QString::number(read.size());
        SaveSetting(kApp, "Settings", key, "replaced");
        SaveSetting(kApp, "SETTINGS", key.toUpper(), value);
        read += GetSetting(kApp, "settings", key.toLower(), "default");
    }
    read << GetSetting(kApp, "Settings", "Other", "1") << GetSetting(kApp, "MRU", "Value1", "2")
         << GetSetting("Other", "Settings", "Value1", "3");
    EXPECT_EQ(read, QStringList{"a,b"} + values + QStringList({"1", "2", "3"}));
    EXPECT_TRUE(TakeSettingsFailure());
    SaveSetting(kApp, "Options", "BackColor", "255");
    SaveSetting(kApp, "OPTIONS", "Backcolor", "65280");
    EXPECT_TRUE(storedFile().startsWith("[Options]\nBackcolor=65280\n\n[Settings]\n"));
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
    EXPECT_TRUE(outcome.startsWith("The settings could not be stored in " + storedPath() + ". Cannot write ")
                && outcome.endsWith("(is the disk full?)|")) << outcome.toStdString();
    EXPECT_EQ(storedFile(), before);
}

}  // namespace
}  // namespace platform
