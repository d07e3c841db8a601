#include "shell/options.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "support/test_environment.h"

namespace shell {
namespace {

const QStringList kKeys = {"CommandColor", "CommentColor", "NormalColor", "BackColor", "LaunchFlags", "LaunchPath", "SystemFlags"};

// Values no key defaults to, so a LoadOptions that leaves a variable alone shows.
const OptionVariables kUnusual{7, QStringLiteral("D:\\OTHER.EXE"), 2, {1, 2, 3, 4}};

auto Fields(const OptionVariables& o)
{
    return std::tuple(o.LaunchFlags, o.LaunchPath, o.SystemFlags, o.TextColors);
}

// The option variables after LoadOptions from a store that holds only key = text.
auto LoadedWith(const QString& key, const QString& text)
{
    support::TestEnvironment environment;
    platform::SaveSetting(kApplicationName, "Options", key, text);
    options = kUnusual;
    LoadOptions();
    return Fields(options);
}

TEST(Options, FirstRunGivesTheDefaultsSavedAsTextsAndEveryValueComesBack)
{
    support::TestEnvironment environment;
    options = kUnusual;
    LoadOptions();
    const auto defaults = std::tuple(qint16(144), QString("C:\\PROGRAM FILES\\PARTICLE SYSTEMS\\INDEPENDENCE WAR\\IWAR.EXE"),
                                     qint16(1), std::array<platform::Color, 4>{16711680, 65280, 0, 16777215});
    EXPECT_EQ(Fields(options), defaults);
    SaveOptions();
    QStringList stored;
    for (const QString& key : kKeys)
        stored += platform::GetSetting(kApplicationName, "Options", key, "<missing>");
    EXPECT_EQ(stored, QStringList({"16711680", "65280", "0", "16777215", "144", std::get<1>(defaults), "1"}));

    const OptionVariables saved{-32768, QStringLiteral("E:\\Games, old;\\iwar.exe"), 0, {255, -2147483647 - 1, 2147483647, 0x00FFEE}};
    options = saved;
    SaveOptions();
    options = kUnusual;
    LoadOptions();
    EXPECT_EQ(Fields(options), Fields(saved));
}

// Texts convert when they are whole decimal numbers in range (blanks around them allowed);
// anything else gives that variable's default while the other keys are read all the same.
TEST(Options, StoredTextsConvertOrGiveTheDefault)
{
    const OptionVariables defaults;
    const auto with = [&](auto change) { OptionVariables o = defaults; change(o); return Fields(o); };
    const std::vector<std::tuple<QString, QString, std::tuple<qint16, QString, qint16, std::array<platform::Color, 4>>>> cases = {
        {"LaunchFlags", "-32768", with([](auto& o) { o.LaunchFlags = -32768; })},
        {"LaunchFlags", "  +32767 ", with([](auto& o) { o.LaunchFlags = 32767; })},
        {"SystemFlags", "0", with([](auto& o) { o.SystemFlags = 0; })},
        {"NormalColor", "2147483647", with([](auto& o) { o.TextColors[NormalColor] = 2147483647; })},
        {"BackColor", "-2147483648", with([](auto& o) { o.TextColors[BackgroundColor] = -2147483647 - 1; })},
        {"LaunchPath", " C:\\My Game\\x.exe ", with([](auto& o) { o.LaunchPath = " C:\\My Game\\x.exe "; })},
        {"LaunchPath", "", with([](auto& o) { o.LaunchPath = ""; })},
    };
    for (const auto& [key, text, expected] : cases)
        EXPECT_EQ(LoadedWith(key, text), expected) << key.toStdString() << " = " << text.toStdString();
    for (const QString key : {"LaunchFlags", "SystemFlags", "CommandColor", "Backcolor"}) {
        for (const char* text : {"abc", "", " ", "99999999999", "3.7", "0x10", "1e3", "1,000", "- 5", "12abc", "2147483648", "-2147483649"})
            EXPECT_EQ(LoadedWith(key, text), Fields(defaults)) << key.toStdString() << " = " << text;
    }
    EXPECT_EQ(std::pair(LoadedWith("LaunchFlags", "40000"), LoadedWith("LaunchFlags", "-32769")), std::pair(Fields(defaults), Fields(defaults)));
}

}  // namespace
}  // namespace shell
