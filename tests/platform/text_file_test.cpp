#include "platform/text_file.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_environment.h"

namespace platform {
namespace {

class TextFileTest : public ::testing::Test {
protected:
    QString tempFolder() const { return env.driveC() + "/TEMP"; }
    QByteArray contentOf(const QString& name) const
    {
        return support::TestEnvironment::readFile(tempFolder() + '/' + name);
    }

    support::TestEnvironment env;
};

TEST_F(TextFileTest, EveryByteValueSurvivesReadAndWrite)
{
    QByteArray allBytes;
    for (int value = 0; value < 256; ++value)
        allBytes.append(char(value));
    env.writeFile("wine/drive_c/TEMP/all.bin", allBytes);
    QString text;
    ASSERT_TRUE(ReadTextFile("C:\\TEMP\\ALL.BIN", text));
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(text[0x80], QChar(0x20AC));  // the euro sign: the real code page, not Latin-1
    ASSERT_TRUE(WriteTextFile("C:\\TEMP\\copy.bin", text));
    EXPECT_EQ(contentOf("copy.bin"), allBytes + "\r\n");
}

// A FIFO that nobody writes to would hold the program for good, and /dev/zero never ends.
TEST_F(TextFileTest, OnlyRegularFilesAreReadAndNothingWaits)
{
    ASSERT_TRUE(QDir().mkpath(tempFolder()));
    ASSERT_EQ(::mkfifo(QFile::encodeName(tempFolder() + "/pipe.scr").constData(), 0600), 0);
    QStringList failures;
    QByteArray bytes;
    for (const char* path : {"C:\\TEMP\\PIPE.SCR", "/dev/zero", "C:\\TEMP", "C:\\TEMP\\none"})
        failures << ReadFileBytes(path, bytes).message();
    EXPECT_EQ(failures, (QStringList{"Cannot read C:\\TEMP\\PIPE.SCR: not a regular file",
                                     "Cannot read /dev/zero: not a regular file",
                                     "Cannot read C:\\TEMP: not a regular file",
                                     "Cannot read C:\\TEMP\\none: No such file or directory"}));
}

TEST_F(TextFileTest, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(EncodeText(u"a\u4E2Db"), "a?b");
    EXPECT_EQ(EncodeText(QString::fromUtf8("x\xF0\x9F\x98\x80y")), "x?y");  // one '?' for U+1F600
    EXPECT_EQ(EncodeText(QString(QChar(0xD800)) + 'z'), "?z");
    EXPECT_EQ(EncodeText(QString(QChar(0x0080))), "?");  // 0x80 holds the euro sign instead
    EXPECT_EQ(EncodeText(u"\u20AC\u00FF?"), "\x80\xFF?");
}

TEST_F(TextFileTest, EveryLineEndBecomesCrLf)
{
    const std::pair<QString, QString> cases[] = {
        {"", ""},                   {"no line end", "no line end"},
        {"a\r\nb\r\n", "a\r\nb\r\n"}, {"a\nb\n", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n"},     {"\n\r", "\r\n\r\n"},
        {"\r\r\n\n", "\r\n\r\n\r\n"}, {"x\r\n\ry", "x\r\n\r\ny"},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ToCrLf(text), expected) << text.toStdString();
}

TEST_F(TextFileTest, WriteTextFileAddsOneCrLfAndReplacesTheFileItNames)
{
    env.writeFile("wine/drive_c/TEMP/TEMP1.SCR", "an older and longer content");
    ASSERT_TRUE(WriteTextFile("C:\\TEMP\\TEMP1.scr", u""));
    EXPECT_EQ(contentOf("TEMP1.SCR"), "\r\n");
    ASSERT_TRUE(WriteTextFile("c:\\temp\\temp1.scr", u"line\r\n"));
    EXPECT_EQ(contentOf("TEMP1.SCR"), "line\r\n\r\n");
    EXPECT_EQ(QDir(tempFolder()).entryList(QDir::Files), QStringList{"TEMP1.SCR"});
}

TEST_F(TextFileTest, FailedWritesLeaveTheOldFileAndNameThePath)
{
    env.writeFile("wine/drive_c/TEMP/folder/inside.txt", "kept");

    const Status intoFolder = WriteTextFile("C:\\TEMP\\Folder", u"text");
    ASSERT_FALSE(intoFolder);
    EXPECT_TRUE(intoFolder.message().startsWith("Cannot write C:\\TEMP\\Folder: "))
        << intoFolder.message().toStdString();
    EXPECT_EQ(contentOf("folder/inside.txt"), "kept");

    const Status noFolder = ReplaceFile("C:\\NOWHERE\\x.scr", "bytes");
    ASSERT_FALSE(noFolder);
    EXPECT_EQ(noFolder.message(), "Cannot write C:\\NOWHERE\\x.scr: No such file or directory");
    EXPECT_FALSE(QFileInfo::exists(env.driveC() + "/NOWHERE"));

    // A NUL in the name must not write the file named by the part before it.
    EXPECT_FALSE(ReplaceFile(QString("C:\\TEMP\\abc") + QChar(0) + "def", "new"));
    EXPECT_EQ(QDir(tempFolder()).entryList(QDir::Files), QStringList());
}

TEST_F(TextFileTest, CopyReplacesTheDestinationOrTouchesNothing)
{
    env.writeFile("wine/drive_c/TEMP/TEMP1.SCR", "new script");
    env.writeFile("wine/drive_c/TEMP/temp.scr", "old copy");
    ASSERT_TRUE(CopyFile("C:\\TEMP\\TEMP1.scr", "C:\\TEMP\\temp.scr"));
    EXPECT_EQ(contentOf("temp.scr"), "new script");

    const Status missingSource = CopyFile("C:\\TEMP\\gone.scr", "C:\\TEMP\\temp.scr");
    ASSERT_FALSE(missingSource);
    EXPECT_EQ(missingSource.message(), "Cannot read C:\\TEMP\\gone.scr: No such file or directory");
    EXPECT_EQ(contentOf("temp.scr"), "new script");

    ASSERT_TRUE(QDir(tempFolder()).removeRecursively());
    env.writeFile("work/script.scr", "script");
    EXPECT_FALSE(CopyFile("script.scr", "C:\\TEMP\\temp.scr"));
    EXPECT_FALSE(QFileInfo::exists(tempFolder()));
    EXPECT_EQ(support::TestEnvironment::readFile(env.workDir() + "/script.scr"), "script");
}

TEST_F(TextFileTest, AppendAddsLinesAndCreatesTheFile)
{
    ASSERT_TRUE(AppendTextLine("debug.bak", u"first"));
    ASSERT_TRUE(AppendTextLine("DEBUG.BAK", u""));
    ASSERT_TRUE(AppendTextLine("Debug.Bak", u"caf\u00E9"));
    EXPECT_EQ(support::TestEnvironment::readFile(env.workDir() + "/debug.bak"),
              "first\r\n\r\ncaf\xE9\r\n");
    EXPECT_FALSE(AppendTextLine("C:\\NOWHERE\\debug.bak", u"x"));
}

TEST_F(TextFileTest, ExistsAndDeleteSeeRegularFilesOnly)
{
    env.writeFile("work/debug.txt", "log");
    QDir(env.workDir()).mkpath("folder");
    EXPECT_TRUE(FileExists("DEBUG.TXT"));
    EXPECT_FALSE(FileExists("folder"));

    ASSERT_TRUE(DeleteFile("Debug.txt"));
    EXPECT_FALSE(FileExists("debug.txt"));
    const Status again = DeleteFile("debug.txt");
    ASSERT_FALSE(again);
    EXPECT_TRUE(again.message().startsWith("Cannot delete debug.txt: "));
    EXPECT_FALSE(DeleteFile("folder"));
    EXPECT_TRUE(QFileInfo(env.workDir() + "/folder").isDir());
}

TEST_F(TextFileTest, ChangeDirectoryMovesTheWorkingDirectoryOrFailsLeavingIt)
{
    env.writeFile("wine/drive_c/Games/IWar/debug.txt", "log");

    const Status missing = ChangeDirectory("C:\\GAMES\\NONE\\");
    ASSERT_FALSE(missing);
    EXPECT_TRUE(missing.message().startsWith("Cannot change to folder C:\\GAMES\\NONE\\: "));
    EXPECT_FALSE(ChangeDirectory("C:\\GAMES\\IWAR\\DEBUG.TXT"));
    EXPECT_FALSE(ChangeDirectory(QString("C:\\Games\\IWar") + QChar(0) + "x"));
    EXPECT_EQ(QDir::currentPath(), env.workDir());

    ASSERT_TRUE(ChangeDirectory("C:\\GAMES\\IWAR\\"));
    EXPECT_TRUE(FileExists("DEBUG.TXT"));
}

}  // namespace
}  // namespace platform
