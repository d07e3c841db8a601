#include "shell/placement.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "shell/options.h"
#include "support/test_environment.h"

namespace shell {
namespace {

// One 1024 x 768 pixel screen at 15 twips a pixel, and a second one to its right.
const QList<QRectF> kScreens{QRectF(0, 0, 15360, 11520), QRectF(15360, 0, 15360, 11520)};

void Store(const QString& key, const QString& text)
{
    platform::SaveSetting(kApplicationName, "Settings", key, text);
}

QString Stored(const QString& key)
{
    return platform::GetSetting(kApplicationName, "Settings", key, "<missing>");
}

Placement LoadedWith(const QString& left, const QString& top, const QString& width,
                     const QString& height)
{
    support::TestEnvironment environment;
    Store("MainLeft", left);
    Store("MainTop", top);
    Store("MainWidth", width);
    Store("MainHeight", height);
    return LoadPlacement(kScreens);
}

TEST(Placement, EmptyStoreGivesTheDefaults)
{
    support::TestEnvironment environment;
    EXPECT_EQ(LoadPlacement(kScreens), (Placement{1000, 1000, 6500, 6500}));
}

TEST(Placement, StoredValuesAreReadAsSinglePrecision)
{
    EXPECT_EQ(LoadedWith("2000", "1500.5", " 9000 ", "4.5e3"), (Placement{2000, 1500.5, 9000, 4500}));
    // On the second screen, and partly off the first.
    EXPECT_EQ(LoadedWith("20000", "-300", "6000", "6000"), (Placement{20000, -300, 6000, 6000}));
}

TEST(Placement, ValueThatDoesNotConvertIsItsDefault)
{
    EXPECT_EQ(LoadedWith("abc", "2000", "", "7000"), (Placement{1000, 2000, 6500, 7000}));
    EXPECT_EQ(LoadedWith("1,5", "nan", "inf", "1e40"), (Placement{1000, 1000, 6500, 6500}));
}

TEST(Placement, UnusablePlacementIsTheDefaultAsAWhole)
{
    const Placement defaults;
    EXPECT_EQ(LoadedWith("2000", "2000", "-5", "7000"), defaults);
    EXPECT_EQ(LoadedWith("2000", "2000", "7000", "0"), defaults);
    EXPECT_EQ(LoadedWith("40000", "2000", "7000", "7000"), defaults);  // right of both screens
    EXPECT_EQ(LoadedWith("-8000", "2000", "7000", "7000"), defaults);  // left of the first
    EXPECT_EQ(LoadedWith("2000", "11520", "7000", "7000"), defaults);  // just below
    EXPECT_EQ(LoadedWith("2000", "2000", "3e9", "7000"), defaults);    // no window is that wide
    EXPECT_EQ(LoadedWith("-3e9", "2000", "4e9", "7000"), defaults);
}

TEST(Placement, NoScreenMeansTheDefaults)
{
    support::TestEnvironment environment;
    Store("MainLeft", "2000");
    EXPECT_EQ(LoadPlacement({}), Placement{});
}

TEST(Placement, SavedAsTheShortestTextThatReadsBack)
{
    support::TestEnvironment environment;
    SavePlacement({1000, -15, 6500.5f, 0.1f});
    EXPECT_EQ(Stored("MainLeft"), "1000");
    EXPECT_EQ(Stored("MainTop"), "-15");
    EXPECT_EQ(Stored("MainWidth"), "6500.5");
    EXPECT_EQ(Stored("MainHeight"), "0.1");

    SavePlacement({1234.25f, 2000, 9999, 7777});
    EXPECT_EQ(LoadPlacement(kScreens), (Placement{1234.25f, 2000, 9999, 7777}));
}

}  // namespace
}  // namespace shell
