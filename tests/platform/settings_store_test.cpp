#include "platform/settings_store.h"
#include "platform/registry.h"

#include <QDir>
#include <QStandardPaths>
#include <csignal>
#include <gtest/gtest.h>
#include <tuple>
#include <sys/stat.h>

#include "shell/system_info.h"
#include "support/limited_child.h"
#include "support/script_generator.h"
#include "support/stand_in_program.h"
#include "support/test_environment.h"

namespace platform {
namespace {

using support::TestEnvironment;

const QString kApp = "Orbiscribe";

class SettingsStoreTest : public ::testing::Test {
protected:
    QString storedPath() const { return env.configHome() + "/Orbiscribe/Orbiscribe.ini"; }
    QByteArray storedFile() const { return support::TestEnvironment::readFile(storedPath()); }

    support::TestEnvironment env;
};

// Each text is saved under its own key and read back through the key in other case; a twin
// key in other case is replaced, not added; missing entries give the default; a hand-written
// list reads as one text. A store that is no regular file is neither read nor replaced, and nothing waits on it.
TEST_F(SettingsStoreTest, TextsRoundTripUnderNamesInAnyCaseAndAStoreThatIsNoFileIsLeftAlone)
{
    ASSERT_TRUE(QDir().mkpath(env.configHome() + "/Orbiscribe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(storedPath()).constData(), 0600), 0);
    SaveSetting(kApp, "Options", "LaunchFlags", "-1");
    EXPECT_EQ(TakeSettingsFailure().message() + '|' + GetSetting(kApp, "Options", "LaunchFlags", "144"),
              "The settings could not be stored in " + storedPath() + ". Cannot read " + storedPath()
                  + ": not a regular file|144");
    ASSERT_TRUE(QFile::remove(storedPath()));
    env.writeFile("config/Orbiscribe/Orbiscribe.ini", "[Settings]\nWindowState=a, b\n");
    const QStringList values = support::GoldenCases("platform/golden/settings_values.txt").front();
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
    {
        const SettingsBatch batch(kApp);
        SaveSetting(kApp, "Options", "BackColor", "255");
        SaveSetting(kApp, "OPTIONS", "Backcolor", "65280");
        EXPECT_FALSE(storedFile().contains("[Options]")) << "a batch writes the file when it ends";
    }
    EXPECT_TRUE(storedFile().startsWith("[Options]\nBackcolor=65280\n\n[Settings]\n"));
}

TEST_F(SettingsStoreTest, AnEntryThatCannotBeStoredLeavesTheFileWholeAndIsToldOnce)
{
    SaveSetting(kApp, "Settings", "Long", QString(20000, u'x'));  // written in more than one block
    const QByteArray before = storedFile();
    const QString outcome = support::InLimitedChild(before.size() + 10, [] {
        SaveSetting(kApp, "Options", "LaunchPath", QString(100, u'x'));
        SaveSetting(kApp, "MRU", "File1", "C:\\mission.scr");
        const QString first = TakeSettingsFailure().message();
        return first + '|' + TakeSettingsFailure().message();
    });
    EXPECT_EQ(outcome, "The settings could not be stored in " + storedPath() + ". It was cut short (is the disk full?)|");
    EXPECT_EQ(storedFile(), before);
}

// A file that QSettings reads but would write back otherwise (a list holding a NUL) is left as it
// is, and the message names it and says why. A store killed while it drafts the new file leaves
// its draft for the next store to clear: no store leaves anything behind in the cache or in the
// temporary folder, and none touches the draft of another editor that is running.
TEST_F(SettingsStoreTest, AFileThatCannotBeWrittenBackIsNamedAndNoDraftOutlivesTheNextStore)
{
    ASSERT_TRUE(QDir(env.root()).mkpath("tmp"));
    const support::ScopedEnvironmentVariable temporaryFolder("TMPDIR", QFile::encodeName(env.root() + "/tmp"));
    const QByteArray damaged("[Settings]\nWindowState=a,\0\n", 26);
    env.writeFile("config/Orbiscribe/Orbiscribe.ini", damaged);
    const QString killed = support::InLimitedChild(5, [] {
        std::signal(SIGXFSZ, SIG_DFL);
        SaveSetting(kApp, "Options", "BackColor", "255");
        return QString("lived on");
    });
    // Process 1 lives as long as the machine.
    const QString running = QStandardPaths::writableLocation(QStandardPaths::CacheLocation) + "/settings-draft/1";
    env.writeFile(QDir(env.root()).relativeFilePath(running + "/settings.ini"), "another editor's");
    SaveSetting(kApp, "Options", "BackColor", "255");
    const QString runningDraft = QDir(env.cacheHome()).relativeFilePath(running) + "/settings.ini=another editor's";
    const QStringList draftFolders = QDir(running + "/..").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_EQ(std::tuple(killed.startsWith("the child failed"), TakeSettingsFailure().message(), storedFile() == damaged,
                         TestEnvironment::files(env.cacheHome()) + TestEnvironment::files(env.root() + "/tmp"), draftFolders),
              std::tuple(true, "The settings could not be stored in " + storedPath() + ". Its content cannot be stored "
                               "as it is: part of it would be written back differently.", true, QStringList{runningDraft},
                         QStringList{"1"}));
}

// Each value as GetKeyValue reads it into a text that held "kept": the outcome and the text.
TEST_F(SettingsStoreTest, RegistryValuesAreReadAsTheEightBitCallsGiveThemAndSystemInformationStartsFromThem)
{
    env.writeFile("wine/system.reg", env.testData("platform/golden/system.reg"));
    for (const QStringList& c : support::GoldenCases("platform/golden/registry_values.txt")) {
        QString text = "kept";
        const int outcome = int(shell::GetKeyValue(HKEY_LOCAL_MACHINE, c[0], c[1], text));
        EXPECT_EQ(QString("%1 %2").arg(outcome).arg(text.size() > 20 ? "long" : text), c[2])
            << c[1].toStdString();
    }
    EXPECT_TRUE(registryKeys.open.empty()) << "a key was left open";
    // System Information starts from the path value, or else from the location folder.
    support::WriteStandInProgram(env.driveC() + "/Info Tools/INFO.EXE", env.root() + "/info", {});
    support::WriteStandInProgram(env.driveC() + "/Windows/msinfo32.exe", env.root() + "/msinfo", {});
    for (const QStringList& c : support::GoldenCases("platform/golden/system_information.txt")) {
        env.writeFile("wine/system.reg", c[0].toLatin1() + '\n');
        EXPECT_EQ(shell::StartSystemInformation(), c[1] != "none") << c[0].toStdString();
        EXPECT_TRUE(c[1] == "none" || support::WaitForStart(env.root() + '/' + c[1])) << c[1].toStdString();
    }
}

}  // namespace
}  // namespace platform
