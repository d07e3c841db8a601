#include "platform/text_file.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/limited_child.h"
#include "support/test_environment.h"

namespace platform {
namespace {

using support::TestEnvironment;

class TextFileTest : public ::testing::Test {
protected:
    QStringList tempFiles() const { return TestEnvironment::files(env.driveC() + "/TEMP"); }

    TestEnvironment env;
};

// Each text with its line ends made CR LF, its 8-bit form, and the first character the code
// page lacks with that character's line.
TEST_F(TextFileTest, TextConvertsToCrLfAndTheCodePageAndFindsTheFirstCharacterItLacks)
{
    const QString smiley = QString::fromUtf8("\xF0\x9F\x98\x80"), lone(QChar(0xD800)), c1(QChar(0x80));
    const std::tuple<QString, QString, QByteArray, QString, qsizetype> cases[] = {
        {"", "", "", {}, 0}, {"a\r\nb\n", "a\r\nb\r\n", "a\r\nb\n", {}, 0},
        {"\n\r", "\r\n\r\n", "\n\r", {}, 0},
        {DecodeText("\x80\xFF?"), u"\u20AC\u00FF?"_qs, "\x80\xFF?", {}, 0},  // the real code page
        {u"a\u4E2Db\rc\u4E2E"_qs, u"a\u4E2Db\r\nc\u4E2E"_qs, "a?b\rc?", u"\u4E2D"_qs, 1},
        {"x\r\n\ny" + smiley, "x\r\n\r\ny" + smiley, "x\r\n\ny?", smiley, 3},  // one '?' for the pair
        {"a\rb\r\n" + lone + 'z', "a\r\nb\r\n" + lone + 'z', "a\rb\r\n?z", lone, 3},
        {"\r\r\n\n" + c1, "\r\n\r\n\r\n" + c1, "\r\r\n\n?", c1, 4},  // 0x80 holds the euro sign
    };
    for (const auto& [text, crLf, encoded, lacking, line] : cases) {
        const std::optional<Unencodable> first = FirstUnencodable(text);
        EXPECT_EQ(std::tuple(ToCrLf(text), EncodeText(text), first.value_or(Unencodable{"", 0}).character,
                             first.value_or(Unencodable{"", 0}).line),
                  std::tuple(crLf, encoded, lacking, line));
    }
}

// Successes give an empty message; failures name the path and the reason and touch nothing.
// Only regular files are read: a FIFO nobody writes to, or /dev/zero, would never end.
TEST_F(TextFileTest, WritesCopiesAppendsAndReadsEndInCrLfOrFailWithThePathAndTheReason)
{
    env.writeFile("wine/drive_c/TEMP/TEMP1.SCR", "an older and longer content");
    env.writeFile("wine/drive_c/TEMP/folder/in.txt", "kept");
    ASSERT_EQ(::mkfifo(QFile::encodeName(env.driveC() + "/TEMP/pipe").constData(), 0600), 0);
    QByteArray bytes;
    const Status statuses[] = {
        WriteTextFile("c:\\temp\\temp1.scr", u"line"), WriteTextFile("C:\\TEMP\\x", u"a\r\n"),
        WriteTextFile("C:\\TEMP\\empty", u""), WriteTextFile("C:\\TEMP\\lf", u"a\n"),
        CopyFile("C:\\TEMP\\Temp1.scr", "C:\\TEMP\\copy"), AppendTextLine("C:\\Temp\\Folder\\In.TXT", u""),
        AppendTextLine("C:\\TEMP\\new", u"caf\u00E9"), WriteTextFile("C:\\TEMP\\Folder", u""),
        ReplaceFile("C:\\NOWHERE\\x.scr", "bytes"), CopyFile("C:\\TEMP\\gone", "C:\\TEMP\\copy"),
        AppendTextLine("C:\\NOWHERE\\debug.bak", u"x"), ReadFileBytes("C:\\TEMP\\PIPE", bytes),
        ReadFileBytes("/dev/zero", bytes), ReadFileBytes("C:\\TEMP", bytes),
        // A NUL in the name must not write the file named by the part before it.
        ReplaceFile(QString("C:\\TEMP\\copy") + QChar(0) + "def", "new"),
    };
    QString messages;
    for (const Status& status : statuses)
        messages += status.message() + '\n';
    EXPECT_EQ(messages, QString(7, u'\n') + "Cannot write C:\\TEMP\\Folder: Filename refers to a directory\n"
              "Cannot write C:\\NOWHERE\\x.scr: No such file or directory\n"
              "Cannot read C:\\TEMP\\gone: No such file or directory\n"
              "Cannot write C:\\NOWHERE\\debug.bak: No such file or directory\n"
              "Cannot read C:\\TEMP\\PIPE: not a regular file\nCannot read /dev/zero: not a regular file\n"
              "Cannot read C:\\TEMP: not a regular file\nCannot write C:\\TEMP\\copy" + QChar(0)
                  + "def: Invalid file name\n");
    const QStringList written{"TEMP1.SCR=line\r\n", "copy=line\r\n", "empty=\r\n", "folder/in.txt=kept\r\n",
                              "lf=a\n\r\n", u"new=caf\u00E9\r\n"_qs, "x=a\r\n"};
    EXPECT_EQ(tempFiles(), written);
    EXPECT_FALSE(QDir(env.driveC() + "/NOWHERE").exists());
    // Every byte value survives a file read and written back, twice.
    QByteArray script;
    for (int value = 0; value < 256; ++value)
        script.append(char(value));
    const QString path = env.writeFile("work/all.scr", script + "\r\n");
    QString text;
    for (int round = 0; round < 2; ++round)
        ASSERT_TRUE(ReadTextFile("ALL.SCR", text) && WriteTextFile("all.scr", text));
    EXPECT_EQ(TestEnvironment::readFile(path), script + "\r\n");
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

TEST_F(TextFileTest, AWritableFileInAFolderThatIsNotIsRewrittenInPlace)
{
    const QString script = env.writeFile("locked/script.scr", "old\r\n");
    const auto enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(env.root(), enter | QFile::ReadOwner | QFile::WriteOwner)
                && QFile::setPermissions(env.root() + "/locked", enter | QFile::ReadOther)
                && QFile::setPermissions(script, QFile::ReadOther | QFile::WriteOther));
    const QString outcome = support::InLimitedChild(100, [&] {
        return QStringList{WriteTextFile(script, u"new").message(),
                           WriteTextFile(script, QString(200, u'x')).message(),
                           WriteTextFile(script + "2", u"new").message()}.join(u'|');
    }, true);
    EXPECT_EQ(outcome, "|Cannot write " + script + ": File too large|Cannot write " + script
                           + "2: Permission denied");
    EXPECT_EQ(TestEnvironment::files(env.root() + "/locked"), QStringList{"script.scr=new\r\n"});
}

TEST_F(TextFileTest, ExistsDeleteAndChangeDirectorySeeWhatIsThereOnly)
{
    env.writeFile("work/debug.txt", "log");
    env.writeFile("wine/drive_c/Games/IWar/debug.txt", "log");
    QDir(env.workDir()).mkpath("folder");
    const std::vector<bool> seen{FileExists("DEBUG.TXT"), FileExists("folder"), DeleteFile("Debug.txt").ok(),
                                 FileExists("debug.txt"), DeleteFile("folder").ok(),
                                 ChangeDirectory("C:\\GAMES\\NONE").ok(),
                                 ChangeDirectory(QString("C:\\Games\\IWar") + QChar(0) + "x").ok()};
    EXPECT_EQ(seen, std::vector<bool>({true, false, true, false, false, false, false}));
    EXPECT_EQ(DeleteFile("debug.txt").message() + '|'
                  + ChangeDirectory("C:\\Games\\IWar\\debug.txt").message(),
              "Cannot delete debug.txt: No such file or directory|"
              "Cannot change to folder C:\\Games\\IWar\\debug.txt: No such folder");
    EXPECT_EQ(QDir::currentPath(), env.workDir());
    EXPECT_TRUE(ChangeDirectory("C:\\GAMES\\IWAR\\") && FileExists("DEBUG.TXT"));
}

}  // namespace
}  // namespace platform
