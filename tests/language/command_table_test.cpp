#include "language/command_table.h"

#include <QDir>
#include <gtest/gtest.h>

#include "platform/text_file.h"
#include "support/test_environment.h"

namespace {

using language::CommandTable;
using support::TestEnvironment;

class CommandTableTest : public ::testing::Test {
protected:
    void SetUp() override { reset(); }
    void TearDown() override { language::ResetCommandTable(); }
    void reset()
    {
        language::ResetCommandTable();
        advances = 0;
        language::CommandAdded = [this] { ++advances; };
    }
    // The taken slots, which must form an unbroken run from slot 0.
    static QStringList keywords()
    {
        const auto end = std::find(CommandTable.begin(), CommandTable.end(), QString());
        EXPECT_TRUE(std::all_of(end, CommandTable.end(), [](const QString& slot) { return slot.isEmpty(); }));
        return QStringList(CommandTable.begin(), end);
    }

    TestEnvironment environment;
    const QString path = environment.workDir() + "/commands.dat";
    int advances = 0;
};

// Without a readable file (none, or a folder in its place) the built-in list fills the table,
// and the exit writes it one keyword per CR LF line, exactly as the golden file lists it.
TEST_F(CommandTableTest, WithoutAFileTheBuiltInKeywordsAreLoadedAndWrittenAtExit)
{
    const QByteArray golden = TestEnvironment::readFile(ORBISCRIBE_TESTS_DIR "/language/golden/keywords.txt");
    for (const bool folderInTheWay : {true, false}) {
        reset();
        folderInTheWay ? QDir().mkdir(path) : QDir().rmdir(path);
        language::LoadCommands();
        EXPECT_EQ(std::pair(keywords(), advances), std::pair(language::BuiltInCommands(), 219));
    }
    ASSERT_TRUE(language::SaveCommands());
    EXPECT_EQ(TestEnvironment::readFile(path), QByteArray(golden).replace("\n", "\r\n"));
}

TEST_F(CommandTableTest, FileLinesAreUpperCasedTrimmedAndWrittenBackNormalised)
{
    QByteArray many, manySaved;
    for (int i = 0; i < 252; ++i) {
        many += " k" + QByteArray::number(i) + "\r\n\r\n";
        manySaved += i < 251 ? "K" + QByteArray::number(i) + "\r\n" : "";
    }
    // Tabs, inner blanks and duplicates stay; a lone CR or LF ends a line; letters stay in the
    // code page (é š ÿ become É Š Ÿ; µ and ß, whose capitals it lacks, stay as they are).
    const std::vector<std::tuple<QByteArray, int, QByteArray>> cases = {
        {"  set \r\ndock\r\n\r\n", 3, "SET\r\nDOCK\r\n"},
        {" \tplace between\t \r\nDOCK\r\ndock", 3, "\tPLACE BETWEEN\t\r\nDOCK\r\nDOCK\r\n"},
        {"a\rb\nc\r\n\r\rd\ne", 7, "A\r\nB\r\nC\r\nD\r\nE\r\n"},
        {"\xe9t\xe9\r\n\x9a\xff\r\n\xb5\xdf\r\n", 3, "\xc9T\xc9\r\n\x8a\x9f\r\n\xb5\xdf\r\n"},
        {"", 0, ""},
        {many, 504, manySaved},
    };
    for (const auto& [file, expectedAdvances, expectedSaved] : cases) {
        reset();
        environment.writeFile("work/commands.dat", file);
        language::LoadCommands();
        const QStringList loaded = keywords();  // compared as the file that holds them would be
        ASSERT_TRUE(language::SaveCommands());
        const QByteArray saved = TestEnvironment::readFile(path);
        EXPECT_EQ(std::tuple(platform::EncodeText(loaded.join("\r\n") + (loaded.isEmpty() ? "" : "\r\n")), advances, saved),
                  std::tuple(expectedSaved, expectedAdvances, expectedSaved))
            << file.left(40).constData();
    }
}

TEST_F(CommandTableTest, SaveGoesToTheWorkingDirectoryAndAFailureLeavesWhatIsThere)
{
    language::AddCommand("SET");
    QDir().mkpath(path + "/inside");
    const platform::Status failed = language::SaveCommands();
    EXPECT_TRUE(!failed && !failed.message().isEmpty() && QDir(path + "/inside").exists());
    const QString gameFolder = environment.root() + "/game";
    QDir().mkpath(gameFolder);
    ASSERT_TRUE(platform::ChangeDirectory(gameFolder) && language::SaveCommands());
    EXPECT_EQ(TestEnvironment::readFile(gameFolder + "/commands.dat"), "SET\r\n");
}

}  // namespace
