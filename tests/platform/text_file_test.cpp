#include "platform/text_file.h"
#include "platform/win_path.h"

#include <QDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/limited_child.h"
#include "support/script_generator.h"
#include "support/test_environment.h"

namespace platform {
namespace {

using support::TestEnvironment;

class TextFileTest : public ::testing::Test {
protected:
    QStringList tempFiles() const { return TestEnvironment::files(env.driveC() + "/TEMP"); }

    // A writable script in a folder that only root can write, and a cache folder that everyone can.
    QString lockedScript(const QByteArray& content) const
    {
        const QString script = env.writeFile("locked/script.scr", content);
        const auto enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        EXPECT_TRUE(QDir().mkpath(env.cacheHome())
                    && QFile::setPermissions(env.cacheHome(), enter | QFile::ReadOther | QFile::WriteOther)
                    && QFile::setPermissions(env.root(), enter | QFile::ReadOwner | QFile::WriteOwner)
                    && QFile::setPermissions(env.root() + "/locked", enter | QFile::ReadOther)
                    && QFile::setPermissions(script, QFile::ReadOther | QFile::WriteOther));
        return script;
    }

    QString backupOf(const QString& script) const
    {
        return env.cacheHome() + "/backups/" + QString(script).replace(u'/', u'%');
    }

    TestEnvironment env;
};

// Failures name the path and the reason and touch nothing. Only regular files are read: a FIFO
// nobody writes to, or /dev/zero, would never end.
TEST_F(TextFileTest, ReadsWritesAndFolderChangesFailWithThePathAndTheReason)
{
    env.writeFile("wine/drive_c/TEMP/folder/in.txt", "kept");
    ASSERT_EQ(::mkfifo(QFile::encodeName(env.driveC() + "/TEMP/pipe").constData(), 0600), 0);
    QByteArray bytes;
    const Status statuses[] = {
        WriteTextFile("c:\\temp\\x", u"a\n"), AppendTextLine("C:\\Temp\\Folder\\In.TXT", u"caf\u00E9"),
        CopyFile("C:\\TEMP\\x", "C:\\TEMP\\copy"), WriteTextFile("C:\\TEMP\\Folder", u""),
        ReadFileBytes("C:\\TEMP\\PIPE", bytes), ReadFileBytes("/dev/zero", bytes),
        ReadFileBytes("C:\\TEMP", bytes), ReplaceFile("C:\\NOWHERE\\x.scr", "bytes"),
        // A NUL in the name must not write the file named by the part before it.
        ReplaceFile(QString("C:\\TEMP\\copy") + QChar(0) + "def", "new"), DeleteFile("C:\\TEMP\\Folder"),
        ChangeDirectory("C:\\TEMP\\x"), ChangeDirectory(QString("C:\\TEMP") + QChar(0) + "x"),
    };
    QString messages;
    for (const Status& status : statuses)
        messages += status.message() + '\n';
    const QByteArray expected = TestEnvironment::testData("platform/golden/text_file_messages.txt");
    EXPECT_EQ(messages.replace(QChar(0), "<NUL>"), QString::fromUtf8(expected));
    EXPECT_EQ(tempFiles(), QStringList({"copy=a\n\r\n", u"folder/in.txt=keptcaf\u00E9\r\n"_qs, "x=a\n\r\n"}));
    EXPECT_EQ(std::vector<bool>({FileExists("C:\\temp\\X"), FileExists("C:\\TEMP\\folder"),
                                 DeleteFile("C:\\Temp\\x").ok(), FileExists("C:\\TEMP\\x"),
                                 ChangeDirectory("C:\\TEMP\\FOLDER\\").ok()}),
              std::vector<bool>({true, false, true, false, true}));
}

TEST_F(TextFileTest, WritesPastTheRoomLeftFailAndLeaveEveryOldFileWhole)
{
    for (const char* name : {"script.scr", "temp.scr", "debug.bak"})
        env.writeFile(QStringLiteral("wine/drive_c/TEMP/") + name, "old\r\n");
    const QString big(10000, u'x');
    env.writeFile("wine/drive_c/TEMP/TEMP1.SCR", big.toLatin1());
    const QStringList before = tempFiles();
    for (const long room : {0L, 4096L}) {
        const QString outcome = support::InLimitedChild(room, [&] {
            return QStringList{WriteTextFile("C:\\TEMP\\script.scr", room ? big : "12 bytes").message(),
                               CopyFile("C:\\TEMP\\TEMP1.SCR", "C:\\TEMP\\temp.scr").message(),
                               AppendTextLine("C:\\TEMP\\debug.bak", big).message()}.join(u'|');
        });
        EXPECT_EQ(outcome, "Cannot write C:\\TEMP\\script.scr: File too large|"
                           "Cannot write C:\\TEMP\\temp.scr: File too large|"
                           "Cannot write C:\\TEMP\\debug.bak: File too large");
        EXPECT_EQ(tempFiles(), before);
    }
}

// A save as an ordinary user of a writable script in a folder that is not: the script is
// rewritten in place, its old content first kept in the cache folder until the rewrite is done.
TEST_F(TextFileTest, AWritableFileInAFolderThatIsNotIsRewrittenInPlaceOverABackup)
{
    const QString script = lockedScript("old\r\n");
    const QString backup = backupOf(script);
    const QString outcome = support::InLimitedChild(100, [&] {
        return QStringList{WriteTextFile(script, u"new").message(), QFileInfo::exists(backup) ? "kept" : "gone",
                           WriteTextFile(script, QString(200, u'x')).message(), TestEnvironment::readFile(backup),
                           WriteTextFile(script + "2", u"new").message()}.join(u'|');
    }, true);
    EXPECT_EQ(outcome, "|gone|Cannot write " + script + ": File too large; its old content is kept in " + backup
                           + "|new\r\n|Cannot write " + script + "2: Permission denied");
    // Without a place for the backup the script is not touched.
    ASSERT_TRUE(QFile::setPermissions(QFileInfo(backup).path(), QFile::ExeOther | QFile::ReadOther));
    EXPECT_EQ(support::InLimitedChild(100, [&] { return WriteTextFile(script, u"newer").message(); }, true),
              "Cannot write " + script + ": its old content could not be kept in a copy first (Cannot write "
                  + backup + ": Permission denied)");
    EXPECT_EQ(TestEnvironment::files(env.root() + "/locked"), QStringList{"script.scr=new\r\n"});
}

// The writer killed (by the size limit, SIGXFSZ not ignored) while it keeps the backup, and after
// part of the rewrite: the old content is whole in the script or in the backup.
TEST_F(TextFileTest, AnInPlaceRewriteKilledMidwayLeavesTheOldContentWholeInTheFileOrTheBackup)
{
    const QByteArray old(100, 'o');
    const QString script = lockedScript(old);
    const QString backup = backupOf(script);
    const QString newText(300, u'n');
    QStringList seen;
    for (const long limit : {50L, 200L}) {
        const QString outcome = support::InLimitedChild(limit, [&] {
            std::signal(SIGXFSZ, SIG_DFL);
            return WriteTextFile(script, newText).message();
        }, true);
        seen << (outcome.startsWith("the child failed") ? "killed" : outcome) << TestEnvironment::readFile(script)
             << TestEnvironment::readFile(backup);
    }
    // The next save keeps the backup that the kill left, the only whole copy of the old content.
    seen << support::InLimitedChild(1000, [&] { return WriteTextFile(script, u"next").message(); }, true)
         << TestEnvironment::readFile(script) << TestEnvironment::readFile(backup)
         << QString::number(QFileInfo::exists(backup + ".1"));
    EXPECT_EQ(seen, QStringList({"killed", old, "", "killed", newText.left(200), old, "", "next\r\n", old, "0"}));
}

// Texts take CR LF line ends and the code page; Windows paths lead to the entries there are
// (the golden files say which), matched without regard to case, with dots applied by name.
TEST_F(TextFileTest, TextsAndWindowsPathsConvertAsTheGoldenTablesSay)
{
    for (const QStringList& c : support::GoldenCases("platform/golden/text_conversions.txt")) {
        const Unencodable first = FirstUnencodable(c[0]).value_or(Unencodable{"", 0});
        EXPECT_EQ(QStringList({ToCrLf(c[0]), EncodeText(c[0]).toPercentEncoding("?\r\n"), first.character,
                               QString::number(first.line)}), c.mid(1));
    }
    env.writeFile("wine/drive_c/Temp/Temp1.scr", "script");
    env.writeFile("work/Sub/Commands.DAT", "");
    env.writeFile("other/debug.bak", "");
    for (const char* folder : {"Saves/Sub", "Data", "DATA"})
        QDir(env.driveC()).mkpath(folder);
    const QString c = env.root() + "/wine/dosdevices/c:";
    QStringList mapped, expected;
    for (const QStringList& path : support::GoldenCases("platform/golden/host_paths.txt")) {
        mapped += path[0] + " -> " + HostPath(path[0]);
        expected += path[0] + " -> " + QString(path[1]).replace("$C", c).replace("$W", env.workDir())
                                           .replace("$R", env.root());
    }
    EXPECT_EQ(mapped, expected);
}

}  // namespace
}  // namespace platform
