#include "platform/win_path.h"

#include <QDir>
#include <gtest/gtest.h>

#include "support/test_environment.h"

namespace platform {
namespace {

class ShortNameTest : public ::testing::Test {
protected:
    void makeFolders(const QStringList& paths) const
    {
        for (const QString& path : paths)
            ASSERT_TRUE(QDir(env.driveC()).mkpath(path)) << path.toStdString();
    }
    QString onDriveC(const QString& path) const
    {
        return env.root() + "/wine/dosdevices/c:/" + path;
    }

    support::TestEnvironment env;
};

TEST_F(ShortNameTest, TheInitialFolderOfBrowseResolvesToTheLongNames)
{
    makeFolders(
        {"Program Files/Particle Systems/Independence War", "Program Files (x86)", "ProgramData"});
    const QString folder = onDriveC("Program Files/Particle Systems/Independence War");
    EXPECT_EQ(HostPath("C:\\PROGRA~1\\PARTIC~1\\INDEPE~1\\"), folder);
    EXPECT_EQ(HostPath("c:\\progra~1\\partic~1\\indepe~1\\IWAR.EXE"), folder + "/IWAR.EXE");
}

TEST_F(ShortNameTest, TheNumberCountsMatchingEntriesInNameOrderWithoutRegardToCase)
{
    // Created out of order, and in a mixed case that a case-sensitive order would turn around.
    makeFolders({"PROGRAMDATA", "Program Files (x86)", "program files", "Ind. War", "A.B C"});
    EXPECT_EQ(HostPath("C:\\PROGRA~1"), onDriveC("program files"));
    EXPECT_EQ(HostPath("C:\\PROGRA~2"), onDriveC("Program Files (x86)"));
    EXPECT_EQ(HostPath("C:\\PROGRA~3"), onDriveC("PROGRAMDATA"));
    EXPECT_EQ(HostPath("C:\\PROGRAM~2"), onDriveC("Program Files (x86)"));
    EXPECT_EQ(HostPath("C:\\ProgramF~2"), onDriveC("Program Files (x86)"));
    EXPECT_EQ(HostPath("C:\\PROGRA~01"), onDriveC("program files"));
    // Blanks and dots are left out of the name before the prefix is compared.
    EXPECT_EQ(HostPath("C:\\INDWAR~1"), onDriveC("Ind. War"));
    EXPECT_EQ(HostPath("C:\\abc~1\\x.scr"), onDriveC("A.B C/x.scr"));
}

TEST_F(ShortNameTest, ARealNameOrAMissingEntryIsNeverTakenForAShortName)
{
    makeFolders({"Program Files", "PROGRA~2", "Data"});
    // An entry that is really named like a short name wins, in any case.
    EXPECT_EQ(HostPath("C:\\progra~2"), onDriveC("PROGRA~2"));
    // Counting includes only names that begin with the prefix; past the last one, or with no
    // usable number or prefix, the component keeps its spelling.
    for (const char* name : {"PROGRA~3", "PROGRA~0", "DATA~2", "~1", "PROGRA~", "PROGRA~X",
                             "PROGRA~1A", "PROGRA~-1", "PROGRA~99999999999999999999", "XYZ~1"}) {
        EXPECT_EQ(HostPath(QStringLiteral("C:\\%1\\x").arg(name)), onDriveC(QString(name) + "/x"))
            << name;
    }
    EXPECT_EQ(HostPath("C:\\DATA~1"), onDriveC("Data"));
}

}  // namespace
}  // namespace platform
