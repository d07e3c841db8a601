#include "shell/options.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "support/test_environment.h"

namespace shell {
namespace {

const QString kGamePath = "C:\\PROGRAM FILES\\PARTICLE SYSTEMS\\INDEPENDENCE WAR\\IWAR.EXE";

// Values no key defaults to, so a LoadOptions that leaves a variable alone shows.
const OptionVariables kUnusual{7, QStringLiteral("D:\\OTHER.EXE"), 2, {1, 2, 3, 4}};

QString Stored(const QString& key)
{
    return platform::GetSetting(kApplicationName, "Options", key, "<missing>");
}

// The option variables after LoadOptions from a store that holds only key = text.
OptionVariables LoadedWith(const QString& key, const QString& text)
{
    support::TestEnvironment environment;
    platform::SaveSetting(kApplicationName, "Options", key, text);
    options = kUnusual;
    LoadOptions();
    return options;
}

TEST(Options, FirstRunGivesTheDefaultsAndSavesTheirTexts)
{
    support::TestEnvironment environment;
    options = kUnusual;
    LoadOptions();
    EXPECT_EQ(options.LaunchFlags, 144);
    EXPECT_EQ(options.LaunchPath, kGamePath);
    EXPECT_EQ(options.SystemFlags, 1);
    EXPECT_EQ(options.TextColors, (std::array<platform::Color, 4>{16711680, 65280, 0, 16777215}));

    SaveOptions();
    EXPECT_EQ(Stored("CommandColor"), "16711680");
    EXPECT_EQ(Stored("CommentColor"), "65280");
    EXPECT_EQ(Stored("NormalColor"), "0");
    EXPECT_EQ(Stored("BackColor"), "16777215");
    EXPECT_EQ(Stored("LaunchFlags"), "144");
    EXPECT_EQ(Stored("LaunchPath"), kGamePath);
    EXPECT_EQ(Stored("SystemFlags"), "1");
}

TEST(Options, EveryVariableSurvivesSaveAndLoad)
{
    support::TestEnvironment environment;
    const OptionVariables saved{-32768, QStringLiteral("E:\\Games, old;\\iwar.exe"), 0,
                                {255, -2147483647 - 1, 2147483647, 0x00FFEE}};
    options = saved;
    SaveOptions();
    options = kUnusual;
    LoadOptions();
    EXPECT_EQ(options.LaunchFlags, saved.LaunchFlags);
    EXPECT_EQ(options.LaunchPath, saved.LaunchPath);
    EXPECT_EQ(options.SystemFlags, saved.SystemFlags);
    EXPECT_EQ(options.TextColors, saved.TextColors);
}

TEST(Options, StoredTextsConvert)
{
    EXPECT_EQ(LoadedWith("LaunchFlags", "-1").LaunchFlags, -1);
    EXPECT_EQ(LoadedWith("LaunchFlags", "32767").LaunchFlags, 32767);
    EXPECT_EQ(LoadedWith("LaunchFlags", "-32768").LaunchFlags, -32768);
    EXPECT_EQ(LoadedWith("LaunchFlags", "  8 ").LaunchFlags, 8);
    EXPECT_EQ(LoadedWith("LaunchFlags", "+9").LaunchFlags, 9);
    EXPECT_EQ(LoadedWith("SystemFlags", "0").SystemFlags, 0);
    EXPECT_EQ(LoadedWith("NormalColor", "2147483647").TextColors[NormalColor], 2147483647);
    EXPECT_EQ(LoadedWith("BackColor", "-2147483648").TextColors[BackgroundColor],
              -2147483647 - 1);
    EXPECT_EQ(LoadedWith("LaunchPath", " C:\\My Game\\x.exe ").LaunchPath, " C:\\My Game\\x.exe ");
    EXPECT_EQ(LoadedWith("LaunchPath", "").LaunchPath, "");
}

TEST(Options, UnconvertibleOrOutOfRangeGivesTheDefault)
{
    for (const char* text : {"abc", "", " ", "40000", "-32769", "3.7", "0x10", "1e3", "1,000",
                             "- 5", "12abc", "99999999999"}) {
        const OptionVariables loaded = LoadedWith("LaunchFlags", text);
        EXPECT_EQ(loaded.LaunchFlags, 144) << text;
        EXPECT_EQ(loaded.SystemFlags, 1) << "the other keys are read all the same: " << text;
    }
    for (const char* text : {"abc", "", "2147483648", "-2147483649", "99999999999", "3.7"}) {
        EXPECT_EQ(LoadedWith("CommandColor", text).TextColors[CommandColor], 16711680) << text;
        EXPECT_EQ(LoadedWith("Backcolor", text).TextColors[BackgroundColor], 16777215) << text;
    }
    EXPECT_EQ(LoadedWith("SystemFlags", "yes").SystemFlags, 1);
}

}  // namespace
}  // namespace shell
