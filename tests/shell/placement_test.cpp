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

TEST(Placement, StoredValuesAreReadAsSinglePrecisionAndUnusableOnesGiveDefaults)
{
    const Placement defaults{1000, 1000, 6500, 6500};
    const std::pair<QStringList, Placement> cases[] = {
        {{}, defaults},
        {{"2000", "1500.5", " 9000 ", "4.5e3"}, {2000, 1500.5, 9000, 4500}},
        {{"abc", "2000", "", "7000"}, {1000, 2000, 6500, 7000}},  // a value that does not convert
        // An unusable placement is the default as a whole: empty, beside or below the screens, too wide.
        {{"2000", "2000", "-5", "7000"}, defaults},  {{"2000", "2000", "7000", "0"}, defaults},
        {{"40000", "2000", "7000", "7000"}, defaults}, {{"20000", "-3", "6000", "60"}, {20000, -3, 6000, 60}},
        {{"2000", "11520", "7000", "7000"}, defaults}, {{"20000", "-300", "3e9", "6000"}, defaults},
    };
    for (const auto& [texts, loaded] : cases) {
        support::TestEnvironment environment;
        for (int key = 0; key < texts.size(); ++key)
            platform::SaveSetting(kApplicationName, "Settings", kKeys[key], texts[key]);
        EXPECT_EQ(LoadPlacement(kScreens), loaded) << texts.join(',').toStdString();
    }
}

TEST(Placement, SavedAsWholeNumbersInPlainDigits)
{
    support::TestEnvironment environment;
    QStringList stored;
    for (const Placement place : {Placement{1000, -15, 6500.5f, 0.4f}, Placement{3e5f, 1e7f, -0.3f, 12e2f}}) {
        SavePlacement(place);
        for (const char* key : kKeys)
            stored << platform::GetSetting(kApplicationName, "Settings", key, "<missing>");
    }
    EXPECT_EQ(stored, (QStringList{"1000", "-15", "6501", "0", "300000", "10000000", "0", "1200"}));
}

}  // namespace
}  // namespace shell
