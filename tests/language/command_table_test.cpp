#include "language/command_table.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "platform/text_file.h"
#include "support/test_environment.h"

namespace {

using language::CommandTable;

class CommandTableTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        language::ResetCommandTable();
        language::CommandAdded = [this] { ++advances; };
    }
    void TearDown() override { language::ResetCommandTable(); }

    void writeKeywordFile(const QByteArray& content) const
    {
        environment.writeFile("work/commands.dat", content);
    }
    QByteArray keywordFile() const
    {
        return support::TestEnvironment::readFile(environment.workDir() + "/commands.dat");
    }
    // The taken slots, which must form an unbroken run from slot 0.
    static QStringList keywords()
    {
        QStringList taken;
        for (const QString& slot : CommandTable) {
            if (!slot.isEmpty())
                taken += slot;
        }
        EXPECT_TRUE(std::all_of(CommandTable.begin() + taken.size(), CommandTable.end(),
                                [](const QString& slot) { return slot.isEmpty(); }));
        return taken;
    }

    support::TestEnvironment environment;
    int advances = 0;
};

TEST(BuiltInCommandsTest, HoldsTheKeywordsInSlotOrder)
{
    const QStringList& commands = language::BuiltInCommands();
    ASSERT_EQ(commands.size(), 219);
    EXPECT_EQ(commands.front(), "CALL_WHEN");
    EXPECT_EQ(commands[19], "NOT");
    EXPECT_EQ(commands[20], "ATTACKED");
    EXPECT_EQ(commands[68], "CREATE_SHIP");
    EXPECT_EQ(commands[113], "SET");
    EXPECT_EQ(commands[184], "#INCLUDE");
    EXPECT_EQ(commands[190], "3DP");
    EXPECT_EQ(commands[199], "VEL_TOWARDS");
    EXPECT_EQ(commands[211], "SET_MORE_BY_DIFFICULTY");
    EXPECT_EQ(commands.back(), "INC");
}

TEST_F(CommandTableTest, WithoutAFileLoadsTheBuiltInListAndWritesItAtExit)
{
    language::LoadCommands();
    EXPECT_EQ(keywords(), language::BuiltInCommands());
    EXPECT_EQ(advances, 219);

    ASSERT_TRUE(language::SaveCommands());
    const QByteArray file = keywordFile();
    EXPECT_EQ(file.count("\r\n"), 219);
    EXPECT_TRUE(file.startsWith("CALL_WHEN\r\nCALL_ONCE_WHEN\r\n"));
    EXPECT_TRUE(file.endsWith("\r\nSHIP\r\nINC\r\n"));
}

TEST_F(CommandTableTest, UnreadableFileGivesTheBuiltInList)
{
    QDir(environment.workDir()).mkdir("commands.dat");
    language::LoadCommands();
    EXPECT_EQ(keywords(), language::BuiltInCommands());
    EXPECT_TRUE(language::SaveCommands()) << "what could not be read is not written over";
}

TEST_F(CommandTableTest, LinesAreUpperCasedTrimmedOfBlanksAndNormalisedAtExit)
{
    writeKeywordFile("  set \r\ndock\r\n\r\n");
    language::LoadCommands();
    EXPECT_EQ(keywords(), QStringList({"SET", "DOCK"}));
    EXPECT_EQ(advances, 3);
    ASSERT_TRUE(language::SaveCommands());
    EXPECT_EQ(keywordFile(), "SET\r\nDOCK\r\n");

    // Tabs and inner blanks stay; duplicates stay; a last line without CR LF counts.
    language::ResetCommandTable();
    writeKeywordFile(" \tplace between\t \r\nDOCK\r\ndock");
    language::LoadCommands();
    EXPECT_EQ(keywords(), QStringList({"\tPLACE BETWEEN\t", "DOCK", "DOCK"}));
    ASSERT_TRUE(language::SaveCommands());
    EXPECT_EQ(keywordFile(), "\tPLACE BETWEEN\t\r\nDOCK\r\nDOCK\r\n");
}

TEST_F(CommandTableTest, LoneCarriageReturnsAndLineFeedsEndLines)
{
    writeKeywordFile("a\rb\nc\r\n\r\rd\n");
    language::LoadCommands();
    EXPECT_EQ(keywords(), QStringList({"A", "B", "C", "D"}));
    EXPECT_EQ(advances, 6);
}

TEST_F(CommandTableTest, UpperCaseStaysInTheCodePage)
{
    // é š ÿ become É Š Ÿ; µ and ß, whose capitals the code page lacks, stay as they are.
    writeKeywordFile("\xe9t\xe9\r\n\x9a\xff\r\n\xb5\xdf\r\n");
    language::LoadCommands();
    EXPECT_EQ(keywords(), QStringList({"\u00c9T\u00c9", "\u0160\u0178", "\u00b5\u00df"}));
    ASSERT_TRUE(language::SaveCommands());
    EXPECT_EQ(keywordFile(), "\xc9T\xc9\r\n\x8a\x9f\r\n\xb5\xdf\r\n");
}

TEST_F(CommandTableTest, KeepsTheFirst251KeywordsAndCountsEveryLine)
{
    QByteArray file;
    for (int i = 0; i < 252; ++i)
        file += "K" + QByteArray::number(i) + "\r\n\r\n";
    writeKeywordFile(file);
    language::LoadCommands();
    const QStringList taken = keywords();
    ASSERT_EQ(taken.size(), 251);
    EXPECT_EQ(taken.back(), "K250");
    EXPECT_EQ(advances, 504);
}

TEST_F(CommandTableTest, EmptyFileGivesAnEmptyTable)
{
    writeKeywordFile("");
    language::LoadCommands();
    EXPECT_TRUE(keywords().isEmpty());
    EXPECT_EQ(advances, 0);
    ASSERT_TRUE(language::SaveCommands());
    EXPECT_TRUE(QFile::exists(environment.workDir() + "/commands.dat"));
    EXPECT_TRUE(keywordFile().isEmpty());
}

TEST_F(CommandTableTest, FileIsWrittenInTheFolderItWasLoadedFrom)
{
    writeKeywordFile("SET\r\n");
    language::LoadCommands();
    language::AddCommand("DOCK");
    const QString gameFolder = environment.root() + "/game";
    QDir().mkpath(gameFolder);
    ASSERT_TRUE(platform::ChangeDirectory(gameFolder));
    ASSERT_TRUE(language::SaveCommands());
    EXPECT_EQ(keywordFile(), "SET\r\nDOCK\r\n");
    EXPECT_FALSE(QFileInfo::exists(gameFolder + "/commands.dat"));
}

TEST_F(CommandTableTest, FailedSaveIsReportedAndLeavesTheFileAlone)
{
    const QString blocked = environment.workDir() + "/commands.dat";
    QDir().mkpath(blocked + "/inside");
    language::AddCommand("SET");
    const platform::Status saved = language::SaveCommands();
    EXPECT_FALSE(saved);
    EXPECT_FALSE(saved.message().isEmpty());
    EXPECT_TRUE(QDir(blocked + "/inside").exists());
}

}  // namespace
