#include "platform/win_path.h"

#include <QDir>
#include <gtest/gtest.h>

#include "support/script_generator.h"
#include "support/test_environment.h"

namespace platform {
namespace {

TEST(ShortNameTest, ResolvesToTheLongNameOrKeepsTheSpelling)
{
    support::TestEnvironment env;
    // Created out of order, and in a mixed case that a case-sensitive order would turn around.
    for (const char* folder : {"PROGRAMDATA", "Program Files (x86)", "program files/Particle Systems/Independence War",
                               "Ind. War", "A.B C", "PROGRA~4", "Data"})
        ASSERT_TRUE(QDir(env.driveC()).mkpath(folder)) << folder;
    const std::vector<QStringList> cases = support::GoldenCases("platform/golden/short_names.txt");
    ASSERT_EQ(cases.size(), 21u);
    for (const QStringList& c : cases)
        EXPECT_EQ(HostPath(c[0]), env.root() + "/wine/dosdevices/c:/" + c[1]) << c[0].toStdString();
}

}  // namespace
}  // namespace platform
