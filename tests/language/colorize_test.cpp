#include "language/colorize.h"

#include <QDir>
#include <gtest/gtest.h>

#include <random>

#include "platform/memory_rich_text_box.h"
#include "platform/text_file.h"
#include "shell/options.h"
#include "support/literal_passes.h"
#include "support/script_generator.h"
#include "support/test_environment.h"

namespace {

using language::CommandTable;
using platform::MemoryRichTextBox;
using support::TestEnvironment;

const QByteArray kFolder = "<a folder in place of the file>";

// The table after loading a keyword file (none when file is null) and saving it: the taken slots
// as the file would hold them; the progress; the file written.
std::tuple<QByteArray, int, QByteArray> LoadedAndSaved(const TestEnvironment& environment,
                                                       const std::optional<QByteArray>& file)
{
    const QString path = environment.workDir() + "/commands.dat";
    int advances = 0;
    language::ResetCommandTable();
    language::CommandAdded = [&advances] { ++advances; };
    QFile::remove(path);
    QDir().rmdir(path);
    if (file)
        *file == kFolder ? (void)QDir().mkdir(path) : (void)environment.writeFile("work/commands.dat", *file);
    language::LoadCommands();
    QByteArray keywords;
    for (const QString& slot : CommandTable)
        keywords += slot.isEmpty() ? "" : platform::EncodeText(slot) + "\r\n";
    EXPECT_TRUE(language::SaveCommands());
    QDir().rmdir(path);
    language::ResetCommandTable();
    return {keywords, advances, TestEnvironment::readFile(path)};
}

// Without a readable file the built-in list fills the table, and the exit writes it one keyword
// per CR LF line, but not over a file it could not read; a file's lines as the golden cases show.
// The file stays in the folder the program started in.
TEST(CommandTable, LoadsTheFileOrTheBuiltInKeywordsAndWritesThemBackNormalised)
{
    TestEnvironment environment;
    const QByteArray builtIn =
        TestEnvironment::readFile(ORBISCRIBE_TESTS_DIR "/language/golden/keywords.txt").replace("\n", "\r\n");
    std::vector<std::tuple<std::optional<QByteArray>, int, QByteArray>> cases = {
        {std::nullopt, 219, builtIn},
        {QByteArray(" k\r\n\r\n").repeated(251) + "x", 503, QByteArray("K\r\n").repeated(251)}};  // 252nd dropped
    for (const QStringList& c : support::GoldenCases("language/golden/keyword_files.txt"))
        cases.emplace_back(platform::EncodeText(c[0]), c[1].toInt(), platform::EncodeText(c[2]));
    for (const auto& [file, advances, saved] : cases)
        EXPECT_EQ(LoadedAndSaved(environment, file), std::tuple(saved, advances, saved)) << file.value_or("-").data();
    EXPECT_EQ(LoadedAndSaved(environment, kFolder), std::tuple(builtIn, 219, QByteArray()));
    language::LoadCommands();
    ASSERT_TRUE(platform::ChangeDirectory(environment.root()) && language::SaveCommands());
    EXPECT_EQ(TestEnvironment::readFile(environment.workDir() + "/commands.dat"), builtIn);
    language::ResetCommandTable();
}

class ColorizeTest : public ::testing::Test {
protected:
    void SetUp() override { shell::options = {}; }
    void TearDown() override { language::ResetCommandTable(); }
    static void useKeywords(const QStringList& keywords)  // slot i holds keywords[i]; "" stays free
    {
        language::ResetCommandTable();
        std::copy(keywords.begin(), keywords.end(), CommandTable.begin());
    }
    // The box after colouring text selected from start: a letter for each character's colour (k
    // keyword, c comment, n normal, or the colour's last digit), the colour writes while the box
    // was shown, and the selection.
    static QString colorize(const QString& text, qint32 start = 0, qint32 length = 0)
    {
        MemoryRichTextBox box(text, 0x123456);
        box.setSelStart(start);
        box.setSelLength(length);
        language::ColorizeScript(box);
        QString letters;
        for (const platform::Color color : box.colors())
            letters += QChar(color == 16711680 ? 'k' : color == 65280 ? 'c' : color ? '0' + color % 10 : 'n');
        EXPECT_TRUE(box.Text() == text && box.visible());
        return letters + QString::asprintf(" %d %d,%d", box.colorWritesWhileVisible(), box.SelStart(), box.SelLength());
    }
};

// Keywords anywhere, then comments over them, all while hidden, leaving a caret at the selection's
// start; nothing at all when colouring is off or the text empty.
TEST_F(ColorizeTest, ColoursKeywordsThenCommentsOrDoesNothing)
{
    for (const QStringList& c : support::GoldenCases("language/golden/colorize.txt")) {
        useKeywords(c[0].split(u','));
        EXPECT_EQ(colorize(c[1], 0, 2), c[2] + " 0 0,0") << c[1].toStdString();
    }
    shell::options.SystemFlags = 2;
    EXPECT_EQ(colorize("SET ; x", 1, 3), "6666666 0 1,3");
    shell::options.SystemFlags = 1;
    EXPECT_EQ(colorize(""), " 0 0,0");
}

// The fast colouring leaves the box as the literal one does.
::testing::AssertionResult ColoursLikeTheLiteralVersion(const QString& text)
{
    MemoryRichTextBox fast(text), literal(text);
    for (MemoryRichTextBox* box : {&fast, &literal})
        box->setSelStart(qint32(text.size() / 2));
    language::ColorizeScript(fast);
    support::LiteralColorizeScript(literal);
    if (fast.colors() == literal.colors() && fast.SelStart() == literal.SelStart())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "on " << text.toStdString();
}

// On generated texts, with the built-in keywords, with tables made to trip a matcher, and with a
// table over thousands of code units whose long keywords overlap in many ways, which needs more
// moves than the matcher keeps in full rows: the deeper nodes walk their fallbacks.
TEST_F(ColorizeTest, MatchesTheLiteralColouring)
{
    std::vector<QStringList> tables = support::GoldenCases("language/golden/keyword_tables.txt");
    tables.push_back(language::BuiltInCommands());
    for (const QStringList& table : tables) {
        useKeywords(table);
        for (const QString& text : support::PassTexts())
            ASSERT_TRUE(ColoursLikeTheLiteralVersion(text)) << table.join('|').toStdString();
    }
    std::mt19937 random(5);
    const auto wide = [&random] { return QChar(char16_t(0x3000 + random() % 5000)); };
    QStringList huge;
    for (int i = 0; i < language::kCommandSlots; ++i) {
        huge += QString();
        for (std::uint32_t length = i < 20 ? 250 : 1 + random() % 40; length > 0; --length)
            huge.back() += i < 20 ? QChar(char16_t(0x3000 + i * 250 + length)) : random() % 2 ? u'A' : u'B';
    }
    useKeywords(huge);
    for (int round = 0; round < 30; ++round) {
        QString text;
        while (text.size() < 2000)
            text += random() % 20 == 0 ? wide() : random() % 10 ? QChar(random() % 2 ? u'A' : u'B') : QChar(u' ');
        ASSERT_TRUE(ColoursLikeTheLiteralVersion(text));
    }
}

}  // namespace
