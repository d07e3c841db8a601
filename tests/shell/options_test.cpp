#include "shell/options.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"
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
    const QString defaults = "144|C:\\PROGRAM FILES\\PARTICLE SYSTEMS\\INDEPENDENCE WAR\\IWAR.EXE|1|16711680|65280|0|16777215";
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
    const std::vector<QStringList> cases = support::GoldenCases("shell/golden/options.txt");
    ASSERT_EQ(cases.size(), 59u);
    for (const QStringList& c : cases) {
        support::TestEnvironment environment;
        platform::SaveSetting(kApplicationName, "Options", c[0], c[1]);
        EXPECT_EQ(Loaded(), c[2]) << c[0].toStdString() << " = " << c[1].toStdString();
    }
}

}  // namespace
}  // namespace shell
