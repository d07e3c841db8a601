#include "shell/options.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "shell/recent_files.h"
#include "shell/script_caption.h"
#include "support/script_generator.h"
#include "support/test_environment.h"

namespace shell {
namespace {

// The option variables loaded over values no key defaults to, so that a variable left alone
// shows, as LaunchFlags|LaunchPath|SystemFlags|TextColors 0 to 3.
QString Loaded(const OptionVariables& before = {7, QStringLiteral("D:\\OTHER.EXE"), 2, {1, 2, 3, 4}})
{
    options = before;
    LoadOptions();
    return QStringList({QString::number(options.LaunchFlags), options.LaunchPath, QString::number(options.SystemFlags)})
               .join('|') + QString::asprintf("|%d|%d|%d|%d", options.TextColors[0], options.TextColors[1],
                                              options.TextColors[2], options.TextColors[3]);
}

// The first run's defaults are saved by the shut-down; here what each stored text loads as, and
// that the extremes come back.
TEST(Options, StoredTextsConvertOrGiveTheDefaultAndSavedValuesComeBack)
{
    for (const QStringList& c : support::GoldenCases("shell/golden/options.txt")) {
        support::TestEnvironment environment;
        platform::SaveSetting(kApplicationName, "Options", c[0], c[1]);
        EXPECT_EQ(Loaded(), c[2]) << c[0].toStdString() << " = " << c[1].toStdString();
    }
    support::TestEnvironment environment;
    const OptionVariables extremes = {-32768, "E:\\Games, old;\\iwar.exe", 0, {255, -2147483647 - 1, 2147483647, 0xEE}};
    options = extremes;
    SaveOptions();
    EXPECT_EQ(Loaded(), Loaded(extremes));
}

// A push puts the path in front and drops the oldest; a path already listed stands twice; an
// entry of any text is shown.
TEST(RecentFiles, PushPutsThePathInFront)
{
    RecentFiles files;
    QStringList states;
    for (const char* path : {"C:\\a.scr", "C:\\b.scr", "C:\\c.scr", "C:\\d.scr", "C:\\d.scr", "  "}) {
        states += files.AnyShown() ? "any" : "none";
        files.Push(path);
        for (int i = 0; i < RecentFiles::kEntries; ++i)
            states.back() += '|' + files.Entry(i) + (files.IsShown(i) ? "*" : "");
    }
    EXPECT_EQ(states, QStringList({"none|C:\\a.scr*||", "any|C:\\b.scr*|C:\\a.scr*|", "any|C:\\c.scr*|C:\\b.scr*|C:\\a.scr*",
                                   "any|C:\\d.scr*|C:\\c.scr*|C:\\b.scr*", "any|C:\\d.scr*|C:\\d.scr*|C:\\c.scr*",
                                   "any|  *|C:\\d.scr*|C:\\d.scr*"}));
}

TEST(ScriptCaption, NumbersWithoutLeadingZerosAndOnlyTheFirstSixCharactersDecideUntitled)
{
    QStringList captions;
    for (const QString& caption : {ScriptCaption(1), ScriptCaption(10), ScriptCaption(2147483647), QString("Script"),
                                   QString("Scripts\\mission.scr"), QString("C:\\Script\\mission.scr"),
                                   QString("/home/me/Script 1"), QString("script 1"), QString("SCRIPT 1"),
                                   QString(" Script 1"), QString("Scrip"), QString()})
        captions += caption + (IsUntitled(caption) ? "*" : "");
    EXPECT_EQ(captions, QStringList({"Script 1*", "Script 10*", "Script 2147483647*", "Script*", "Scripts\\mission.scr*",
                                     "C:\\Script\\mission.scr", "/home/me/Script 1", "script 1", "SCRIPT 1",
                                     " Script 1", "Scrip", ""}));
}

}  // namespace
}  // namespace shell
