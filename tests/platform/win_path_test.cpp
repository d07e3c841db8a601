#include "platform/win_path.h"

#include <QFile>
#include <gtest/gtest.h>

#include "support/test_environment.h"

namespace platform {
namespace {

// Drives nest: Z: is the whole host, B: the test's root, C: the prefix's drive_c and Y: a folder
// on C:. A path takes the drive whose folder holds it most deeply, whichever letter sorts first,
// reached directly or through the drive's own link; a path on no drive stays as it is.
TEST(WindowsPathTest, ComesFromTheDriveThatHoldsThePathMostDeeply)
{
    support::TestEnvironment environment;
    const QString root = environment.root();
    const QString devices = root + "/wine/dosdevices/";
    environment.writeFile("wine/drive_c/Games/IWAR.EXE", "MZ");
    ASSERT_TRUE(QFile::link("/", devices + "z:") && QFile::link(root, devices + "b:")
                && QFile::link("../drive_c/Games", devices + "y:"));
    QStringList mapped;
    for (const QString& path : {root + "/wine/drive_c/mission.scr", root + "/wine/dosdevices/c:/TEMP/TEMP1.SCR",
                                root + "/wine/drive_c/Games/IWAR.EXE", root + "/work/a.scr", QStringLiteral("/tmp"),
                                QStringLiteral("/")})
        mapped << WindowsPath(path);
    ASSERT_TRUE(QFile::remove(devices + "z:"));
    mapped << WindowsPath("/tmp") << WindowsPath("relative\\x.scr");
    EXPECT_EQ(mapped, QStringList({"C:\\mission.scr", "C:\\TEMP\\TEMP1.SCR", "Y:\\IWAR.EXE", "B:\\work\\a.scr",
                                   "Z:\\tmp", "Z:\\", "/tmp", "relative\\x.scr"}));
}

}  // namespace
}  // namespace platform
