#include "shell/recent_files.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "shell/options.h"
#include "support/test_environment.h"

namespace shell {
namespace {

const QString kMissing = QStringLiteral("<missing>");

QString Stored(const QString& key)
{
    return platform::GetSetting(kApplicationName, "MRU", key, kMissing);
}

std::array<QString, 3> EntriesOf(const RecentFiles& files)
{
    return {files.Entry(0), files.Entry(1), files.Entry(2)};
}

TEST(RecentFiles, PushPutsThePathInFrontAndDropsTheOldest)
{
    RecentFiles files;
    files.Push("C:\\a.scr");
    EXPECT_EQ(EntriesOf(files), (std::array<QString, 3>{"C:\\a.scr", "", ""}));
    files.Push("C:\\b.scr");
    files.Push("C:\\c.scr");
    EXPECT_EQ(EntriesOf(files), (std::array<QString, 3>{"C:\\c.scr", "C:\\b.scr", "C:\\a.scr"}));
    files.Push("C:\\d.scr");
    EXPECT_EQ(EntriesOf(files), (std::array<QString, 3>{"C:\\d.scr", "C:\\c.scr", "C:\\b.scr"}));
    // No test for a path already listed: the same file stands twice.
    files.Push("C:\\d.scr");
    EXPECT_EQ(EntriesOf(files), (std::array<QString, 3>{"C:\\d.scr", "C:\\d.scr", "C:\\c.scr"}));
}

TEST(RecentFiles, AnEntryIsShownWhenItHoldsAnyText)
{
    RecentFiles files;
    EXPECT_FALSE(files.AnyShown());
    for (int index = 0; index < RecentFiles::kEntries; ++index)
        EXPECT_FALSE(files.IsShown(index));

    files.Push("  ");
    EXPECT_TRUE(files.IsShown(0));
    EXPECT_FALSE(files.IsShown(1));
    EXPECT_TRUE(files.AnyShown());
}

TEST(RecentFiles, LoadsMissingKeysAsEmptyAndSavesEveryEntry)
{
    support::TestEnvironment environment;
    platform::SaveSetting(kApplicationName, "MRU", "MRU1", "C:\\a.scr");
    platform::SaveSetting(kApplicationName, "mru", "mru3", "/home/me/c d.scr");

    RecentFiles files;
    files.Load();
    EXPECT_EQ(EntriesOf(files), (std::array<QString, 3>{"C:\\a.scr", "", "/home/me/c d.scr"}));
    EXPECT_FALSE(files.IsShown(1));

    files.Save();
    EXPECT_EQ(Stored("MRU1"), "C:\\a.scr");
    EXPECT_EQ(Stored("MRU2"), "");
    EXPECT_EQ(Stored("MRU3"), "/home/me/c d.scr");

    RecentFiles reloaded;
    reloaded.Load();
    EXPECT_EQ(EntriesOf(reloaded), EntriesOf(files));
}

}  // namespace
}  // namespace shell
