#include "platform/win_path.h"

#include <QDir>
#include <gtest/gtest.h>

#include "support/test_environment.h"

namespace platform {
namespace {

// A short name PREFIX~N stands for the N-th entry, in name order without regard to case, whose
// name without blanks and dots begins with PREFIX; anything else keeps its spelling.
TEST(ShortNameTest, ResolvesToTheLongNameOrKeepsTheSpelling)
{
    support::TestEnvironment env;
    // Created out of order, and in a mixed case that a case-sensitive order would turn around.
    for (const char* folder : {"PROGRAMDATA", "Program Files (x86)", "program files/Particle Systems/Independence War",
                               "Ind. War", "A.B C", "PROGRA~4", "Data"})
        ASSERT_TRUE(QDir(env.driveC()).mkpath(folder)) << folder;
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"C:\\PROGRA~1\\PARTIC~1\\INDEPE~1\\", "program files/Particle Systems/Independence War"},
        {"c:\\progra~1\\partic~1\\indepe~1\\IWAR.EXE", "program files/Particle Systems/Independence War/IWAR.EXE"},
        {"C:\\PROGRA~2", "Program Files (x86)"}, {"C:\\PROGRA~3", "PROGRAMDATA"}, {"C:\\PROGRAM~2", "Program Files (x86)"},
        {"C:\\ProgramF~2", "Program Files (x86)"}, {"C:\\PROGRA~01", "program files"}, {"C:\\INDWAR~1", "Ind. War"},
        {"C:\\abc~1\\x.scr", "A.B C/x.scr"}, {"C:\\DATA~1", "Data"},
        // An entry really named like a short name wins, in any case.
        {"C:\\progra~4", "PROGRA~4"},
        // Past the last entry, or with no usable number or prefix, the spelling stays.
        {"C:\\PROGRA~5\\x", "PROGRA~5/x"}, {"C:\\PROGRA~0\\x", "PROGRA~0/x"}, {"C:\\DATA~2\\x", "DATA~2/x"}, {"C:\\~1\\x", "~1/x"},
        {"C:\\PROGRA~\\x", "PROGRA~/x"}, {"C:\\PROGRA~X\\x", "PROGRA~X/x"}, {"C:\\PROGRA~1A\\x", "PROGRA~1A/x"},
        {"C:\\PROGRA~-1\\x", "PROGRA~-1/x"}, {"C:\\PROGRA~99999999999999999999\\x", "PROGRA~99999999999999999999/x"},
        {"C:\\XYZ~1\\x", "XYZ~1/x"},
    };
    for (const auto& [windowsPath, onDriveC] : cases)
        EXPECT_EQ(HostPath(windowsPath), env.root() + "/wine/dosdevices/c:/" + onDriveC) << windowsPath;
}

}  // namespace
}  // namespace platform
