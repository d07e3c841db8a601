#include "shell/options.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "shell/recent_files.h"
#include "shell/script_caption.h"
#include "support/script_generator.h"
#include "support/test_environment.h"

namespace shell {
namespace {

// The option variables as LaunchFlags|LaunchPath|SystemFlags|TextColors 0 to 3.
QString Fields(const OptionVariables& o)
{
    return QStringList({QString::number(o.LaunchFlags), o.LaunchPath, QString::number(o.SystemFlags)}).join('|')
           + QString::asprintf("|%d|%d|%d|%d", o.TextColors[0], o.TextColors[1], o.TextColors[2], o.TextColors[3]);
}

// Starting from values no key defaults to, so a LoadOptions that leaves a variable alone shows.
QString Loaded()
{
    options = {7, QStringLiteral("D:\\OTHER.EXE"), 2, {1, 2, 3, 4}};
    LoadOptions();
    return Fields(options);
}

TEST(Options, FirstRunGivesTheDefaultsSavedAsTextsAndEveryValueComesBack)
{
    support::TestEnvironment environment;
    const QString defaults =
        "144|C:\\PROGRAM FILES\\PARTICLE SYSTEMS\\INDEPENDENCE WAR\\IWAR.EXE|1|16711680|65280|0|16777215";
    EXPECT_EQ(Loaded(), defaults);
    SaveOptions();
    QStringList stored;
    for (const char* key : {"LaunchFlags", "LaunchPath", "SystemFlags", "CommandColor", "CommentColor", "NormalColor",
                            "BackColor"})
        stored += platform::GetSetting(kApplicationName, "Options", key, "<missing>");
    EXPECT_EQ(stored.join('|'), defaults);

    options = {-32768, QStringLiteral("E:\\Games, old;\\iwar.exe"), 0, {255, -2147483647 - 1, 2147483647, 0x00FFEE}};
    const QString saved = Fields(options);
    SaveOptions();
    EXPECT_EQ(Loaded(), saved);
}

TEST(Options, StoredTextsConvertOrGiveTheDefault)
{
    for (const QStringList& c : support::GoldenCases("shell/golden/options.txt")) {
        support::TestEnvironment environment;
        platform::SaveSetting(kApplicationName, "Options", c[0], c[1]);
        EXPECT_EQ(Loaded(), c[2]) << c[0].toStdString() << " = " << c[1].toStdString();
    }
}

// The entries, and a * for each that is shown (holds any text), then whether any is shown.
QString Entries(const RecentFiles& files)
{
    QString entries;
    for (int i = 0; i < RecentFiles::kEntries; ++i)
        entries += files.Entry(i) + (files.IsShown(i) ? "*|" : "|");
    return entries + (files.AnyShown() ? "any" : "none");
}

// A push puts the path in front and drops the oldest; a path already listed stands twice. The
// entries load from the store, missing keys as empty, and are all saved.
TEST(RecentFiles, PushLoadAndSave)
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
    {
        support::TestEnvironment environment;
        platform::SaveSetting(kApplicationName, "MRU", "MRU1", "C:\\a.scr");
        platform::SaveSetting(kApplicationName, "mru", "mru3", "/home/me/c d.scr");
        files.Load();
    }
    support::TestEnvironment fresh;
    files.Save();
    QStringList stored = {Entries(files)};
    for (const char* key : {"MRU1", "MRU2", "MRU3", "MRU0", "MRU4"})
        stored += platform::GetSetting(kApplicationName, "MRU", key, "<missing>");
    EXPECT_EQ(stored, QStringList({"C:\\a.scr*||/home/me/c d.scr*|any", "C:\\a.scr", "", "/home/me/c d.scr",
                                   "<missing>", "<missing>"}));
}

TEST(ScriptCaption, NumbersWithoutLeadingZerosAndOnlyTheFirstSixCharactersDecideUntitled)
{
    EXPECT_EQ(QStringList({ScriptCaption(1), ScriptCaption(10), ScriptCaption(2147483647)}),
              QStringList({"Script 1", "Script 10", "Script 2147483647"}));
    std::vector<bool> untitled;
    for (const char16_t* caption : {u"Script 1", u"Script", u"Scripts\\mission.scr", u"C:\\Script\\mission.scr",
                                    u"/home/me/Script 1", u"script 1", u"SCRIPT 1", u" Script 1", u"Scrip", u""})
        untitled.push_back(IsUntitled(caption));
    EXPECT_EQ(untitled, std::vector<bool>({true, true, true, false, false, false, false, false, false, false}));
}

}  // namespace
}  // namespace shell
