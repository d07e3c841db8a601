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

// The table after loading a keyword file (none when file is null) and saving it: the taken slots,
// which must run unbroken from slot 0, as the file would hold them; the progress; the file written.
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
    EXPECT_TRUE(std::is_partitioned(CommandTable.begin(), CommandTable.end(), [](auto& s) { return !s.isEmpty(); }));
    QByteArray keywords;
    for (const QString& slot : CommandTable)
        keywords += slot.isEmpty() ? "" : platform::EncodeText(slot) + "\r\n";
    EXPECT_TRUE(language::SaveCommands());
    QDir().rmdir(path);
    language::ResetCommandTable();
    return {keywords, advances, TestEnvironment::readFile(path)};
}

// Without a readable file the built-in list fills the table, and the exit writes it one keyword
// per CR LF line, but not over a file it could not read. A file's lines are upper-cased and
// trimmed of blanks; tabs, inner blanks and duplicates stay; a lone CR or LF ends a line; letters
// stay in the code page (é š ÿ become É Š Ÿ; µ and ß, whose capitals it lacks, stay as they are).
// A failed save leaves what is there; the file stays in the folder the program started in.
TEST(CommandTable, LoadsTheFileOrTheBuiltInKeywordsAndWritesThemBackNormalised)
{
    TestEnvironment environment;
    const QByteArray builtIn =
        TestEnvironment::readFile(ORBISCRIBE_TESTS_DIR "/language/golden/keywords.txt").replace("\n", "\r\n");
    const std::vector<std::tuple<std::optional<QByteArray>, int, QByteArray>> cases = {
        {std::nullopt, 219, builtIn}, {"", 0, ""},
        {"  set \r\ndock\r\n\r\n", 3, "SET\r\nDOCK\r\n"},
        {" \tplace between\t \r\nDOCK\r\ndock", 3, "\tPLACE BETWEEN\t\r\nDOCK\r\nDOCK\r\n"},
        {"a\rb\nc\r\n\r\rd\ne", 7, "A\r\nB\r\nC\r\nD\r\nE\r\n"},
        {"\xe9t\xe9\r\n\x9a\xff\r\n\xb5\xdf\r\n", 3, "\xc9T\xc9\r\n\x8a\x9f\r\n\xb5\xdf\r\n"},
        {QByteArray(" k\r\n\r\n").repeated(251) + "x", 503, QByteArray("K\r\n").repeated(251)},  // the 252nd dropped
    };
    for (const auto& [file, advances, saved] : cases)
        EXPECT_EQ(LoadedAndSaved(environment, file), std::tuple(saved, advances, saved)) << file.value_or("-").data();
    EXPECT_EQ(LoadedAndSaved(environment, kFolder), std::tuple(builtIn, 219, QByteArray()));
    QFile::remove(environment.workDir() + "/commands.dat");
    language::LoadCommands();
    const QString inside = environment.workDir() + "/commands.dat/inside";
    QDir().mkpath(inside);
    const platform::Status failed = language::SaveCommands();
    EXPECT_TRUE(!failed && !failed.message().isEmpty() && QDir(inside).exists());
    QDir(environment.workDir() + "/commands.dat").removeRecursively();
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

// Keywords anywhere, then comments over them. Hidden while it works, every character recoloured
// with the current colours, and the selection left as a caret at its start; nothing at all when
// colouring is off or the text empty.
TEST_F(ColorizeTest, ColoursKeywordsThenCommentsLeavingACaretOrDoesNothing)
{
    for (const QStringList& c : support::GoldenCases("language/golden/colorize.txt")) {
        useKeywords(c[0].split(u','));
        EXPECT_EQ(colorize(c[1]), c[2] + " 0 0,0") << c[1].toStdString();
    }
    shell::options.TextColors = {1, 2, 3, 4};
    useKeywords({"SET"});
    EXPECT_EQ(colorize("x SET; b\r\nc", 4, 6), "33111222233 0 4,0");
    for (const qint16 flags : {0, 2}) {
        shell::options.SystemFlags = flags;
        EXPECT_EQ(colorize("SET ; x", 1, 3), "6666666 0 1,3");
    }
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
