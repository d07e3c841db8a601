#include "shell/recent_files.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "shell/options.h"
#include "support/test_environment.h"

namespace shell {
namespace {

QStringList Entries(const RecentFiles& files)
{
    return {files.Entry(0), files.Entry(1), files.Entry(2)};
}

// A push puts the path in front and drops the oldest; a path already listed stands twice.
TEST(RecentFiles, PushPutsThePathInFrontAndAnEntryWithTextIsShown)
{
    RecentFiles files;
    std::vector<std::tuple<QStringList, bool, bool, bool>> states;
    for (const char* path : {"C:\\a.scr", "C:\\b.scr", "C:\\c.scr", "C:\\d.scr", "C:\\d.scr"}) {
        states.emplace_back(Entries(files), files.IsShown(0), files.IsShown(2), files.AnyShown());
        files.Push(path);
    }
    files.Push("  ");
    states.emplace_back(Entries(files), files.IsShown(0), files.IsShown(2), files.AnyShown());
    const std::vector<std::tuple<QStringList, bool, bool, bool>> expected = {
        {{"", "", ""}, false, false, false},
        {{"C:\\a.scr", "", ""}, true, false, true},
        {{"C:\\b.scr", "C:\\a.scr", ""}, true, false, true},
        {{"C:\\c.scr", "C:\\b.scr", "C:\\a.scr"}, true, true, true},
        {{"C:\\d.scr", "C:\\c.scr", "C:\\b.scr"}, true, true, true},
        {{"  ", "C:\\d.scr", "C:\\d.scr"}, true, true, true},
    };
    EXPECT_EQ(states, expected);
}

TEST(RecentFiles, LoadsMissingKeysAsEmptyAndSavesEveryEntry)
{
    const auto stored = [] {
        QStringList values;
        for (const char* key : {"MRU1", "MRU2", "MRU3", "MRU0", "MRU4"})
            values += platform::GetSetting(kApplicationName, "MRU", key, "<missing>");
        return values;
    };
    RecentFiles files;
    {
        support::TestEnvironment environment;
        platform::SaveSetting(kApplicationName, "MRU", "MRU1", "C:\\a.scr");
        platform::SaveSetting(kApplicationName, "mru", "mru3", "/home/me/c d.scr");
        files.Load();
        EXPECT_EQ(Entries(files), QStringList({"C:\\a.scr", "", "/home/me/c d.scr"}));
    }
    support::TestEnvironment fresh;
    files.Save();
    EXPECT_EQ(stored(), QStringList({"C:\\a.scr", "", "/home/me/c d.scr", "<missing>", "<missing>"}));
}

}  // namespace
}  // namespace shell
