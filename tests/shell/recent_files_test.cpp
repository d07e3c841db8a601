#include "shell/recent_files.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "shell/options.h"
#include "support/test_environment.h"

namespace shell {
namespace {

// The entries, and a * for each that is shown (holds any text), then whether any is shown.
QString Entries(const RecentFiles& files)
{
    QString entries;
    for (int i = 0; i < RecentFiles::kEntries; ++i)
        entries += files.Entry(i) + (files.IsShown(i) ? "*|" : "|");
    return entries + (files.AnyShown() ? "any" : "none");
}

// A push puts the path in front and drops the oldest; a path already listed stands twice.
TEST(RecentFiles, PushPutsThePathInFront)
{
    RecentFiles files;
    QStringList states = {Entries(files)};
    for (const char* path : {"C:\\a.scr", "C:\\b.scr", "C:\\c.scr", "C:\\d.scr", "C:\\d.scr", "  "}) {
        files.Push(path);
        states += Entries(files);
    }
    EXPECT_EQ(states, QStringList({"|||none", "C:\\a.scr*|||any", "C:\\b.scr*|C:\\a.scr*||any",
                                   "C:\\c.scr*|C:\\b.scr*|C:\\a.scr*|any", "C:\\d.scr*|C:\\c.scr*|C:\\b.scr*|any",
                                   "C:\\d.scr*|C:\\d.scr*|C:\\c.scr*|any", "  *|C:\\d.scr*|C:\\d.scr*|any"}));
}

TEST(RecentFiles, LoadsMissingKeysAsEmptyAndSavesEveryEntry)
{
    RecentFiles files;
    {
        support::TestEnvironment environment;
        platform::SaveSetting(kApplicationName, "MRU", "MRU1", "C:\\a.scr");
        platform::SaveSetting(kApplicationName, "mru", "mru3", "/home/me/c d.scr");
        files.Load();
    }
    support::TestEnvironment fresh;
    files.Save();
    QStringList stored;
    for (const char* key : {"MRU1", "MRU2", "MRU3", "MRU0", "MRU4"})
        stored += platform::GetSetting(kApplicationName, "MRU", key, "<missing>");
    EXPECT_EQ(std::pair(Entries(files), stored), std::pair(QString("C:\\a.scr*||/home/me/c d.scr*|any"),
              QStringList({"C:\\a.scr", "", "/home/me/c d.scr", "<missing>", "<missing>"})));
}

}  // namespace
}  // namespace shell
