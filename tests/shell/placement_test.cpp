#include "shell/placement.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "shell/options.h"
#include "support/test_environment.h"

namespace shell {
namespace {

// One 1024 x 768 pixel screen at 15 twips a pixel, and a second one to its right.
const QList<QRectF> kScreens{QRectF(0, 0, 15360, 11520), QRectF(15360, 0, 15360, 11520)};
const char* const kKeys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight"};

Placement LoadedWith(const std::array<QString, 4>& texts, const QList<QRectF>& screens = kScreens)
{
    support::TestEnvironment environment;
    for (int key = 0; key < 4; ++key)
        platform::SaveSetting(kApplicationName, "Settings", kKeys[key], texts[key]);
    return LoadPlacement(screens);
}

TEST(Placement, StoredValuesAreReadAsSinglePrecisionAndUnusableOnesGiveDefaults)
{
    const Placement defaults{1000, 1000, 6500, 6500};
    support::TestEnvironment empty;
    EXPECT_EQ(LoadPlacement(kScreens), defaults);
    const struct {
        std::array<QString, 4> texts;
        Placement loaded;
    } cases[] = {
        {{"2000", "1500.5", " 9000 ", "4.5e3"}, {2000, 1500.5, 9000, 4500}},
        {{"20000", "-300", "6000", "6000"}, {20000, -300, 6000, 6000}},  // second screen
        // A value that does not convert is its default.
        {{"abc", "2000", "", "7000"}, {1000, 2000, 6500, 7000}},
        {{"1,5", "nan", "inf", "1e40"}, defaults},
        // An unusable placement is the default as a whole.
        {{"2000", "2000", "-5", "7000"}, defaults},
        {{"2000", "2000", "7000", "0"}, defaults},
        {{"40000", "2000", "7000", "7000"}, defaults},  // right of both screens
        {{"-8000", "2000", "7000", "7000"}, defaults},  // left of the first
        {{"2000", "11520", "7000", "7000"}, defaults},  // just below
        {{"2000", "2000", "3e9", "7000"}, defaults},    // no window is that wide
        {{"-3e9", "2000", "4e9", "7000"}, defaults},
    };
    for (const auto& test : cases)
        EXPECT_EQ(LoadedWith(test.texts), test.loaded) << test.texts[0].toStdString();
    EXPECT_EQ(LoadedWith({"2000", "2000", "7000", "7000"}, {}), defaults);  // no screen
}

TEST(Placement, SavedAsWholeNumbersInPlainDigits)
{
    support::TestEnvironment environment;
    QStringList stored;
    for (const Placement& placement : {Placement{1000, -15, 6500.5f, 0.4f},
                                       Placement{300000, 1e7f, -0.3f, 1234.75f}}) {
        SavePlacement(placement);
        for (const char* key : kKeys)
            stored << platform::GetSetting(kApplicationName, "Settings", key, "<missing>");
    }
    EXPECT_EQ(stored, (QStringList{"1000", "-15", "6501", "0", "300000", "10000000", "0", "1235"}));
    SavePlacement({1234, 2000, 9999, 7777});
    EXPECT_EQ(LoadPlacement(kScreens), (Placement{1234, 2000, 9999, 7777}));
}

}  // namespace
}  // namespace shell
