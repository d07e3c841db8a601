#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>
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

TEST_F(TextFileTest, EncodingKeepsEveryByteAndFindsTheFirstCharacterTheCodePageLacks)
{
    QByteArray allBytes;
    for (int value = 0; value < 256; ++value)
        allBytes.append(char(value));
    EXPECT_EQ(EncodeText(DecodeText(allBytes)), allBytes);
    EXPECT_EQ(DecodeText(allBytes)[0x80], QChar(0x20AC));  // the real code page, not Latin-1

    const QString smiley = QString::fromUtf8("\xF0\x9F\x98\x80"), lone(QChar(0xD800)), c1(QChar(0x80));
    const std::tuple<QString, QByteArray, QString, qsizetype> cases[] = {  // text, bytes, first lacking, its line
        {u"\u20AC\u00FF?\r\n"_qs, "\x80\xFF?\r\n", {}, 0},
        {u"a\u4E2Db\u4E2E"_qs, "a?b?", u"\u4E2D"_qs, 1},
        {"x\r\n\ny" + smiley + "y", "x\r\n\ny?y", smiley, 3},  // one '?' for the pair
        {"a\rb\r\n" + lone + 'z', "a\rb\r\n?z", lone, 3},
        {c1, "?", c1, 1},  // 0x80 holds the euro sign
    };
    for (const auto& [text, encoded, lacking, line] : cases) {
        const std::optional<Unencodable> first = FirstUnencodable(text);
        EXPECT_EQ(std::tuple(EncodeText(text), first ? first->character : QString(), first ? first->line : 0),
                  std::tuple(encoded, lacking, line));
    }
}

// A FIFO that nobody writes to would hold the program for good, and /dev/zero never ends.
TEST_F(TextFileTest, OnlyRegularFilesAreReadAndNothingWaits)
{
    const QString tempFolder = env.driveC() + "/TEMP";
    ASSERT_TRUE(QDir().mkpath(tempFolder));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tempFolder + "/pipe.scr").constData(), 0600), 0);
    QStringList failures;
    QByteArray bytes;
    for (const char* path : {"C:\\TEMP\\PIPE.SCR", "/dev/zero", "C:\\TEMP", "C:\\TEMP\\none"})
        failures << ReadFileBytes(path, bytes).message();
    EXPECT_EQ(failures, (QStringList{"Cannot read C:\\TEMP\\PIPE.SCR: not a regular file",
                                     "Cannot read /dev/zero: not a regular file",
                                     "Cannot read C:\\TEMP: not a regular file",
                                     "Cannot read C:\\TEMP\\none: No such file or directory"}));
}

TEST_F(TextFileTest, EveryLineEndBecomesCrLf)
{
    const std::pair<QString, QString> cases[] = {
        {"", ""}, {"no line end", "no line end"}, {"a\r\nb\r\n", "a\r\nb\r\n"}, {"a\nb\n", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n"}, {"\n\r", "\r\n\r\n"}, {"\r\r\n\n", "\r\n\r\n\r\n"}, {"x\r\n\ry", "x\r\n\r\ny"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ToCrLf(text), expected) << text.toStdString();
}

TEST_F(TextFileTest, WriteTextFileEndsInOneCrLfSoAFileReadIsWrittenBackUnchanged)
{
    env.writeFile("wine/drive_c/TEMP/TEMP1.SCR", "an older and longer content");
    QStringList written;
    for (const QString text : {"", "line", "line\r\n", "a\r\n\r\n", "a\n", "a\r"}) {
        ASSERT_TRUE(WriteTextFile("c:\\temp\\temp1.scr", text));
        written += tempFiles();
    }
    EXPECT_EQ(written, QStringList({"TEMP1.SCR=\r\n", "TEMP1.SCR=line\r\n", "TEMP1.SCR=line\r\n",
                                    "TEMP1.SCR=a\r\n\r\n", "TEMP1.SCR=a\n\r\n", "TEMP1.SCR=a\r\r\n"}));
    QByteArray script = "first\r\n";
    for (int value = 1; value < 256; ++value)
        script.append(char(value));
    const QString path = env.writeFile("work/all.scr", script + "\r\n");
    for (int round = 0; round < 2; ++round) {
        QString text;
        ASSERT_TRUE(ReadTextFile("ALL.SCR", text));
        ASSERT_TRUE(WriteTextFile("all.scr", text));
    }
    EXPECT_EQ(TestEnvironment::readFile(path), script + "\r\n");
}

TEST_F(TextFileTest, FailedWritesNameThePathAndTheReasonAndTouchNothing)
{
    env.writeFile("wine/drive_c/TEMP/folder/inside.txt", "kept");
    env.writeFile("wine/drive_c/TEMP/temp.scr", "old copy");
    const QStringList messages{
        WriteTextFile("C:\\TEMP\\Folder", u"text").message(),
        ReplaceFile("C:\\NOWHERE\\x.scr", "bytes").message(),
        CopyFile("C:\\TEMP\\gone.scr", "C:\\TEMP\\temp.scr").message(),
        AppendTextLine("C:\\NOWHERE\\debug.bak", u"x").message(),
        // A NUL in the name must not write the file named by the part before it.
        ReplaceFile(QString("C:\\TEMP\\temp.scr") + QChar(0) + "def", "new").message(),
    };
    EXPECT_EQ(messages, QStringList({"Cannot write C:\\TEMP\\Folder: Filename refers to a directory",
                                     "Cannot write C:\\NOWHERE\\x.scr: No such file or directory",
                                     "Cannot read C:\\TEMP\\gone.scr: No such file or directory",
                                     "Cannot write C:\\NOWHERE\\debug.bak: No such file or directory",
                                     "Cannot write C:\\TEMP\\temp.scr" + QString(QChar(0)) + "def: Invalid file name"}));
    EXPECT_EQ(tempFiles(), QStringList({"folder/inside.txt=kept", "temp.scr=old copy"}));
    EXPECT_FALSE(QFileInfo::exists(env.driveC() + "/NOWHERE"));
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
                               AppendTextLine("C:\\TEMP\\debug.bak", big).message()}.join(u'\n');
        });
        EXPECT_EQ(outcome, "Cannot write C:\\TEMP\\script.scr: File too large\n"
                           "Cannot write C:\\TEMP\\temp.scr: File too large\n"
                           "Cannot write C:\\TEMP\\debug.bak: File too large");
        EXPECT_EQ(tempFiles(), before);
    }
}

TEST_F(TextFileTest, AWritableFileInAFolderThatIsNotIsRewrittenInPlace)
{
    const QString script = env.writeFile("locked/script.scr", "old\r\n");
    const auto enter = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(env.root(), enter | QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(env.root() + "/locked", enter | QFile::ReadOther));
    ASSERT_TRUE(QFile::setPermissions(script, QFile::ReadOther | QFile::WriteOther));
    const auto writes = [&] {
        return QStringList{WriteTextFile(script, u"new").message(), WriteTextFile(script, QString(200, u'x')).message(),
                           WriteTextFile(script + "2", u"new").message()}.join(u'\n');
    };
    const QString outcome = support::InLimitedChild(100, writes, true);
    EXPECT_EQ(outcome, "\nCannot write " + script + ": File too large\nCannot write " + script
                           + "2: Permission denied");
    EXPECT_EQ(TestEnvironment::files(env.root() + "/locked"), QStringList{"script.scr=new\r\n"});
}

TEST_F(TextFileTest, CopyAndAppend)
{
    env.writeFile("wine/drive_c/TEMP/TEMP1.SCR", "new script");
    env.writeFile("wine/drive_c/TEMP/temp.scr", "old copy");
    ASSERT_TRUE(CopyFile("C:\\TEMP\\TEMP1.scr", "C:\\TEMP\\temp.scr"));
    for (const QString& line : QStringList{"first", "", u"caf\u00E9"_qs})
        ASSERT_TRUE(AppendTextLine("C:\\Temp\\Debug.Bak", line));
    EXPECT_EQ(tempFiles(), QStringList({u"Debug.Bak=first\r\n\r\ncaf\u00E9\r\n"_qs, "TEMP1.SCR=new script",
                                        "temp.scr=new script"}));
}

TEST_F(TextFileTest, ExistsDeleteAndChangeDirectorySeeWhatIsThereOnly)
{
    env.writeFile("work/debug.txt", "log");
    env.writeFile("wine/drive_c/Games/IWar/debug.txt", "log");
    QDir(env.workDir()).mkpath("folder");
    EXPECT_EQ(std::pair(FileExists("DEBUG.TXT"), FileExists("folder")), std::pair(true, false));
    ASSERT_TRUE(DeleteFile("Debug.txt"));
    EXPECT_EQ(std::pair(FileExists("debug.txt"), DeleteFile("folder").ok()), std::pair(false, false));
    EXPECT_TRUE(DeleteFile("debug.txt").message().startsWith("Cannot delete debug.txt: "));
    EXPECT_TRUE(ChangeDirectory("C:\\GAMES\\NONE\\").message().startsWith("Cannot change to folder C:\\GAMES\\NONE\\: "));
    EXPECT_FALSE(ChangeDirectory("C:\\GAMES\\IWAR\\DEBUG.TXT"));
    EXPECT_FALSE(ChangeDirectory(QString("C:\\Games\\IWar") + QChar(0) + "x"));
    EXPECT_EQ(QDir::currentPath(), env.workDir());
    ASSERT_TRUE(ChangeDirectory("C:\\GAMES\\IWAR\\"));
    EXPECT_TRUE(FileExists("DEBUG.TXT"));
}

}  // namespace
}  // namespace platform
