#include "shell/options.h"

#include <gtest/gtest.h>

#include "platform/settings_store.h"
#include "support/script_generator.h"
#include "support/test_environment.h"

namespace shell {
namespace {

// What each stored text loads as, over values no key defaults to, so that a variable left alone
// shows; the saved texts are those of the shut-down.
TEST(Options, StoredTextsConvertOrGiveTheDefault)
{
    for (const QStringList& c : support::GoldenCases("shell/golden/options.txt")) {
        support::TestEnvironment environment;
        platform::SaveSetting(kApplicationName, "Options", c[0], c[1]);
        options = {7, QStringLiteral("D:\\OTHER.EXE"), 2, {1, 2, 3, 4}};
        LoadOptions();
        const OptionVariables& o = options;
        EXPECT_EQ(QString::asprintf("%d|", o.LaunchFlags) + o.LaunchPath + QString::asprintf("|%d|%d|%d|%d|%d",
                  o.SystemFlags, o.TextColors[0], o.TextColors[1], o.TextColors[2], o.TextColors[3]), c[2])
            << c[0].toStdString() << " = " << c[1].toStdString();
    }
}

}  // namespace
}  // namespace shell
