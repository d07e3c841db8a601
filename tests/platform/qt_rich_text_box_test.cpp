#include "platform/qt_rich_text_box.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <array>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string_view>

#include "language/colorize.h"
#include "language/command_table.h"
#include "platform/memory_rich_text_box.h"
#include "platform/qt_color.h"
#include "platform/qt_twips.h"
#include "platform/rtf.h"
#include "platform/text_file.h"
#include "support/script_generator.h"
#include "support/test_environment.h"

// Failures show texts as text.
static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace platform {
namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kGreen = 0x00FF00;
constexpr Color kBlue = 0xFF0000;
constexpr qint32 kAll = std::numeric_limits<qint32>::max();

void Select(RichTextBox& box, qint32 start, qint32 length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

// The box's whole content as its own markup, which carries text and colours.
QString WholeRtf(RichTextBox& box)
{
    Select(box, 0, kAll);
    const QString rtf = box.SelRTF();
    box.setSelStart(0);
    return rtf;
}

ColoredText Contents(RichTextBox& box)
{
    return ReadRtf(WholeRtf(box).toLatin1());
}

// Colours of the characters that are not line ends: CR and LF are one separator inside the
// Qt box, so they cannot differ from each other as they can in the memory box.
std::vector<Color> CharacterColors(RichTextBox& box)
{
    const ColoredText content = Contents(box);
    std::vector<Color> kept;
    for (qsizetype i = 0; i < content.text.size(); ++i) {
        if (content.text[i] != u'\r' && content.text[i] != u'\n')
            kept.push_back(content.colors.at(size_t(i)));
    }
    return kept;
}

// One colour for each letter: r red, g green, b blue, anything else the default.
std::vector<Color> Colors(std::string_view letters)
{
    std::vector<Color> colors;
    for (char letter : letters)
        colors.push_back(letter == 'r' ? kRed : letter == 'g' ? kGreen : letter == 'b' ? kBlue : 0);
    return colors;
}

// A key press as the keyboard sends it: a letter key types its letter, Enter a CR.
void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QString text = key == Qt::Key_Return || key == Qt::Key_Enter ? QStringLiteral("\r")
                                                                       : QString(QChar(key).toLower());
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
}

class QtRichTextBoxTest : public ::testing::Test {
protected:
    Status Load(const QByteArray& content)
    {
        return box.LoadFile(environment.writeFile("file", content));
    }

    support::TestEnvironment environment;
    QWidget window;
    QtRichTextBox box{&window};
};

TEST_F(QtRichTextBoxTest, TextEndsLinesInCrLfAndPositionsCountBoth)
{
    // Unicode's line ends are line ends too.
    box.setSelText(QStringLiteral(u"ab\r\ncd\nef\rgh\u2028\u2029"));
    EXPECT_EQ(box.Text(), QStringLiteral("ab\r\ncd\r\nef\r\ngh\r\n\r\n"));
    EXPECT_EQ(box.SelStart(), 18);  // after the inserted text

    Select(box, 4, 2);  // "cd"
    box.setSelColor(kRed);
    Select(box, 2, 3);  // CR, LF and "c"
    EXPECT_EQ(ReadRtf(box.SelRTF().toLatin1()).text, QStringLiteral("\r\nc"));
    Select(box, 8, 6);  // "ef\r\ngh"
    box.setSelColor(kBlue);

    EXPECT_EQ(Contents(box).text, box.Text());
    EXPECT_EQ(CharacterColors(box), Colors("..rrbbbb"));
}

TEST_F(QtRichTextBoxTest, SelectionStaysInsideTheText)
{
    box.setSelText(QStringLiteral("ab\r\ncd"));
    const struct {
        qint32 start, length, shownStart, shownLength;
    } cases[] = {
        {-5, 2, 0, 2}, {100, 2, 6, 0}, {1, kAll, 1, 5}, {1, -3, 1, 0},
        {3, 0, 4, 0},  // a caret cannot stand between CR and LF: it goes to the next line
    };
    for (const auto& c : cases) {
        Select(box, c.start, c.length);
        EXPECT_EQ(box.SelStart(), c.shownStart) << c.start << ", " << c.length;
        EXPECT_EQ(box.SelLength(), c.shownLength) << c.start << ", " << c.length;
    }
    Select(box, 0, 3);
    box.setSelStart(1);  // writing the start empties the selection
    EXPECT_EQ(box.SelLength(), 0);
}

TEST_F(QtRichTextBoxTest, LoadsPlainTextAsWindows1252WithEveryByteKeptOrFailsKeepingTheText)
{
    QByteArray bytes;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n')
            bytes += char(byte);
    }
    // NUL stays a character: neither the text nor the bytes after it are lost.
    bytes += QByteArray("\0after NUL", 10);
    box.setSelText(QStringLiteral("old"));
    ASSERT_TRUE(Load(bytes + "\r\nlf\ncr\rend\r\n"));
    EXPECT_EQ(EncodeText(box.Text()), bytes + "\r\nlf\r\ncr\r\nend\r\n");
    EXPECT_EQ(box.SelStart(), 0);

    const QString text = box.Text();
    const QString missing = environment.root() + "/missing.scr";
    const Status failed = box.LoadFile(missing);
    EXPECT_FALSE(failed);
    EXPECT_TRUE(failed.message().contains(missing)) << failed.message().toStdString();
    EXPECT_EQ(box.Text(), text);
}

TEST_F(QtRichTextBoxTest, LoadsWordProcessorRtfWithItsColours)
{
    ASSERT_TRUE(Load("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                     "{\\f1\\fmodern\\fcharset0 Courier New;}}\r\n"
                     "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
                     "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
                     "\\pard\\plain\\f0\\fs20\\cf1 SET\\cf0  x \\'e9\\par\r\n"
                     "{\\f1{\\cf2 caf\\u233?}} ok\\par\r\n"
                     "}\r\n"));
    EXPECT_EQ(box.Text(), QStringLiteral(u"SET x \u00e9\r\ncaf\u00e9 ok\r\n"));
    EXPECT_EQ(CharacterColors(box), Colors("rrr....bbbb..."));
}

TEST_F(QtRichTextBoxTest, AnyBytesLoadWithTextAndPositionsInStep)
{
    QList<QByteArray> contents = {
        "{\\rtf1 a\\u8232?b\\u8233?c\\u-1088?d\\u-1087?e\\u65532?f\\u55296?g\\'00h\\par}",
        "{\\rtf1{\\colortbl;\\red1;}\\cf1\\cf99 x\\cf-5 y{{{{\\cf1 z",
    };
    std::mt19937 random(3);
    for (int i = 0; i < 20; ++i) {
        QByteArray bytes(int(random() % 2000), '\0');
        for (char& byte : bytes)
            byte = char(random());
        contents << bytes << "{\\rtf1 " + bytes;
    }
    for (const QByteArray& content : contents) {
        ASSERT_TRUE(Load(content));
        const QString text = box.Text();
        if (!LooksLikeRtf(content)) {
            EXPECT_EQ(text, ToCrLf(DecodeText(content)));
        }
        Select(box, 0, kAll);
        EXPECT_EQ(box.SelLength(), text.size());
        EXPECT_EQ(Contents(box).text.size(), text.size());
    }
}

TEST_F(QtRichTextBoxTest, SelRtfAndTheClipboardCarryTextAndColoursAndPlainTextGoesInAsText)
{
    QtRichTextBox source;
    source.setSelText(QStringLiteral("one {two}\r\nthree\\"));
    Select(source, 4, 5);
    source.setSelColor(kGreen);
    Select(source, 11, 5);
    source.setSelColor(kBlue);
    Select(source, 2, 13);

    box.setSelText(QStringLiteral("[]"));
    Select(box, 1, 0);
    box.setSelRTF(source.SelRTF());
    EXPECT_EQ(box.Text(), QStringLiteral("[e {two}\r\nthre]"));
    EXPECT_EQ(box.SelStart(), 14);
    EXPECT_EQ(CharacterColors(box), Colors("...gggggbbbb."));

    // Plain text replaces the selection and takes the colour of the character before it.
    Select(box, 4, 4);
    box.setSelRTF(QStringLiteral("x\ny"));
    EXPECT_EQ(box.Text(), QStringLiteral("[e {x\r\ny\r\nthre]"));
    EXPECT_EQ(CharacterColors(box), Colors("...gggbbbb."));

    // A copy gives other programs the plain text; pasted back, its colours come along.
    Select(source, 4, 5);
    source.widget()->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("{two}"));
    box.setSelStart(0);
    box.widget()->paste();
    EXPECT_EQ(CharacterColors(box), Colors("ggggg...gggbbbb."));

    // Another program's rich text arrives as its plain text: no tables, frames or images.
    auto* html = new QMimeData;
    html->setHtml(QStringLiteral("<table><tr><td>cell</td></tr></table><img src='x.png'>"));
    html->setText(QStringLiteral("cell"));
    QApplication::clipboard()->setMimeData(html);
    box.setSelStart(0);
    box.widget()->paste();
    EXPECT_EQ(box.Text(), QStringLiteral("cell{two}[e {x\r\ny\r\nthre]"));

    // Typed text, too, takes the colour of the character before it.
    box.setSelStart(6);
    Press(box.widget(), Qt::Key_Z);
    EXPECT_EQ(CharacterColors(box), Colors("gggggggggg...gggbbbb."));
}

class ColorRunsTest : public QtRichTextBoxTest {
protected:
    void SetUp() override
    {
        language::ResetCommandTable();
        for (const QString& keyword : language::BuiltInCommands())
            language::AddCommand(keyword);
    }
    void TearDown() override { language::ResetCommandTable(); }

    static std::vector<ColorRun> RunsFor(const QString& text)
    {
        return language::ComputeColorRuns(text, language::CommandTable, {kBlue, kGreen, 0});
    }

    enum Edit { kChange, kUndo, kRedo };

    // One edit as a user or a command makes it: typing, Enter, pasting, deleting, colouring a
    // selection, undoing or redoing.
    Edit RandomEdit(std::mt19937& random)
    {
        Select(box, qint32(random() % (box.Text().size() + 1)), qint32(random() % 40));
        switch (random() % 7) {
        case 0: box.setSelText(support::GenerateAdversarialText(30, random())); break;
        case 1: Press(box.widget(), Qt::Key_Return); break;
        case 2: Press(box.widget(), Qt::Key_X); break;
        case 3: box.setSelText({}); break;
        case 4: box.setSelColor(Color(random() % 4 * 0x3F3F3F)); break;
        case 5:
            box.setSelRTF(QString::fromLatin1(
                WriteRtf(u"/* pasted\r\n*/ SET", std::vector<Color>(16, kRed))));
            break;
        default:
            if (random() % 2) {
                box.widget()->undo();
                return kUndo;
            }
            box.widget()->redo();
            return kRedo;
        }
        return kChange;
    }
};

TEST_F(ColorRunsTest, UndoAndRedoStepThroughTheTextsAndRecolouringAfterAnyEditsMatchesAFullOne)
{
    ASSERT_TRUE(Load(EncodeText(support::GenerateScript(4000, 11))));
    box.ApplyColorRuns(RunsFor(box.Text()));
    std::vector<QString> texts{box.Text()};  // every text undo and redo can go back to
    size_t current = 0;
    std::mt19937 random(5);
    for (int round = 0; round < 150; ++round) {
        for (int edits = int(random() % 3) + 1; edits > 0; --edits) {
            const Edit edit = RandomEdit(random);
            const QString text = box.Text();
            if (edit == kUndo)
                current -= current > 0;
            else if (edit == kRedo)
                current += current + 1 < texts.size();
            else if (text != texts[current]) {  // a new step drops the ones undone
                texts.resize(++current);
                texts.push_back(text);
            }
            ASSERT_EQ(text, texts[current]) << "round " << round;
        }
        const QString text = box.Text();
        // The text as the widget itself gives it, against the one the box keeps.
        ASSERT_EQ(text, box.widget()->toPlainText().replace(u'\n', QStringLiteral("\r\n")));
        // Coloured from its text, the box shows what a memory box and a fresh box coloured
        // alike show; the document itself holds no colour.
        const std::vector<ColorRun> runs = RunsFor(text);
        box.ApplyColorRuns(runs);
        MemoryRichTextBox memory(text, 0x123456);
        memory.ApplyColorRuns(runs);
        EXPECT_EQ(CharacterColors(box), CharacterColors(memory));
        QtRichTextBox fresh;
        fresh.setSelRTF(QString::fromLatin1(WriteRtf(text, std::vector<Color>(text.size(), 0x123456))));
        fresh.ApplyColorRuns(runs);
        EXPECT_EQ(WholeRtf(fresh), WholeRtf(box));
        for (const QTextFormat& format : box.widget()->document()->allFormats())
            EXPECT_FALSE(format.hasProperty(QTextFormat::ForegroundBrush));
        ASSERT_FALSE(HasFailure()) << "after round " << round;
    }
}

TEST_F(ColorRunsTest, RunsInAnyOrderAreWrittenInTheirOrder)
{
    box.setSelText(QStringLiteral("abcdef\r\nghij"));
    box.ApplyColorRuns(std::vector<ColorRun>{{2, 8, kRed}, {0, 4, kGreen}, {9, 100, kBlue}});
    EXPECT_EQ(CharacterColors(box), Colors("ggggrrrbbb"));
}

TEST_F(ColorRunsTest, UndoTakesBackTextAloneAndNeitherALoadNorAColouringIsAStep)
{
    ASSERT_TRUE(Load("SET a\r\n; note"));
    box.ApplyColorRuns(RunsFor(box.Text()));
    EXPECT_FALSE(box.widget()->document()->isUndoAvailable());
    Select(box, 5, 0);
    box.setSelText(QStringLiteral(" ;x"));
    box.KeyDown = [&](int keyCode, int) {
        if (keyCode == 13)
            box.ApplyColorRuns(RunsFor(box.Text()));
    };
    box.setSelStart(8);
    Press(box.widget(), Qt::Key_Return);
    ASSERT_EQ(Contents(box).colors.at(6), kGreen);  // ";x" became a comment

    QStringList texts;
    for (auto step : {&QPlainTextEdit::undo, &QPlainTextEdit::undo, &QPlainTextEdit::undo,
                      &QPlainTextEdit::redo, &QPlainTextEdit::redo}) {
        (box.widget()->*step)();
        texts << box.Text();
    }
    EXPECT_EQ(texts, QStringList({"SET a ;x\r\n; note", "SET a\r\n; note", "SET a\r\n; note",
                                  "SET a ;x\r\n; note", "SET a ;x\r\n\r\n; note"}));
    // Colours follow their text; text put back takes the colour before it until recoloured.
    EXPECT_EQ(CharacterColors(box), Colors("bbb.....gggggg"));
}

TEST_F(ColorRunsTest, ShownLinesTakeTheirColoursWhenPaintedAndAnEqualColouringLaysNothingOut)
{
    box.setSelText(QStringLiteral("SET a ; note\r\nxDOCK"));
    ASSERT_TRUE(box.Move(0, 0, 6000, 3000));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    int laidOut = 0;
    const QAbstractTextDocumentLayout* layout = box.widget()->document()->documentLayout();
    QObject::connect(layout, &QAbstractTextDocumentLayout::update, [&] { ++laidOut; });
    QObject::connect(layout, &QAbstractTextDocumentLayout::updateBlock, [&] { ++laidOut; });
    const auto shown = [&] {
        box.widget()->viewport()->repaint();
        std::vector<std::array<int, 3>> runs;  // line, start, colour
        for (QTextBlock line = box.widget()->document()->begin(); line.isValid(); line = line.next()) {
            for (const QTextLayout::FormatRange& range : line.layout()->formats())
                runs.push_back({line.blockNumber(), range.start, FromQColor(range.format.foreground().color())});
        }
        return runs;
    };
    const std::vector<ColorRun> runs = RunsFor(box.Text());
    box.ApplyColorRuns(runs);
    EXPECT_EQ(shown(), (std::vector<std::array<int, 3>>{{0, 0, kBlue}, {0, 3, 0}, {0, 6, kGreen},
                                                        {1, 0, 0}, {1, 1, kBlue}}));
    EXPECT_EQ(std::exchange(laidOut, 0), 2);
    box.ApplyColorRuns(runs);
    shown();
    EXPECT_EQ(laidOut, 0);
    box.ApplyColorRuns(std::vector<ColorRun>{{14, 1, kRed}});
    EXPECT_EQ(shown().at(3), (std::array<int, 3>{1, 0, kRed}));
    EXPECT_EQ(laidOut, 1);
}

TEST_F(QtRichTextBoxTest, EnterRaisesKeyDownAfterTheLineBreakWhateverTheModifiers)
{
    std::vector<std::array<qsizetype, 3>> seen;  // key code, shift state, length of the text
    box.KeyDown = [&](int keyCode, int shift) {
        seen.push_back({keyCode, shift, box.Text().size()});
    };
    Press(box.widget(), Qt::Key_A);
    Press(box.widget(), Qt::Key_Return);
    Press(box.widget(), Qt::Key_Return, Qt::ShiftModifier);
    Press(box.widget(), Qt::Key_Return, Qt::ControlModifier);
    Press(box.widget(), Qt::Key_Enter, Qt::KeypadModifier);

    EXPECT_EQ(seen, (std::vector<std::array<qsizetype, 3>>{
                        {65, 0, 1}, {13, 0, 3}, {13, 1, 5}, {13, 2, 7}, {13, 0, 9}}));
    EXPECT_EQ(box.Text(), QStringLiteral("a\r\n\r\n\r\n\r\n"));
}

TEST_F(QtRichTextBoxTest, FocusRaisesGotFocusAndColouringWhileHiddenKeepsSelectionAndFocus)
{
    int focusEvents = 0;
    box.GotFocus = [&] { ++focusEvents; };
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(window.isActiveWindow());
    box.widget()->setFocus();
    EXPECT_EQ(focusEvents, 1);

    box.setSelText(QStringLiteral("one\r\ntwo"));
    Select(box, 2, 3);
    box.setVisible(false);
    EXPECT_FALSE(box.widget()->isVisible());
    box.ApplyColorRuns(std::vector<ColorRun>{{0, 8, kRed}});
    box.setVisible(true);
    EXPECT_TRUE(box.widget()->hasFocus());
    EXPECT_EQ(box.SelStart(), 2);
    EXPECT_EQ(box.SelLength(), 3);
}

TEST_F(QtRichTextBoxTest, PlacementAndMarginInTwipsRefuseNegativeSizes)
{
    ASSERT_TRUE(box.Move(100, 200, 3000, 1500));
    EXPECT_EQ(box.widget()->geometry(), QRect(TwipsToPixelsX(100), TwipsToPixelsY(200),
                                              TwipsToPixelsX(3000), TwipsToPixelsY(1500)));
    EXPECT_NEAR(box.Width(), 3000, PixelsToTwipsX(1));
    EXPECT_FALSE(box.Move(0, 0, -1, 100));
    EXPECT_FALSE(box.Move(0, 0, 100, -1));

    // Lines wrap at the margin, through later resizes; without one, or one wider than the
    // box, at the box's edge.
    window.show();
    const auto wrapWidth = [&](qint32 margin, qint32 width) {
        EXPECT_TRUE(box.setRightMargin(margin));
        EXPECT_TRUE(box.Move(0, 0, width, 1500));
        return box.widget()->viewport()->width();
    };
    const int edge = wrapWidth(0, 3000);
    EXPECT_EQ(wrapWidth(2600, 3000), TwipsToPixelsX(2600));
    EXPECT_EQ(wrapWidth(2600, 4000), TwipsToPixelsX(2600));
    EXPECT_EQ(wrapWidth(0, 3000), edge);
    EXPECT_EQ(wrapWidth(5000, 3000), edge);
    EXPECT_FALSE(box.setRightMargin(-1));
}

TEST_F(QtRichTextBoxTest, CutCopyAndPasteKeysAreLeftToTheWindowsCommands)
{
    const QList<QKeySequence> keys = {Qt::CTRL | Qt::Key_X,     Qt::CTRL | Qt::Key_C,
                                      Qt::CTRL | Qt::Key_V,     Qt::SHIFT | Qt::Key_Delete,
                                      Qt::CTRL | Qt::Key_Insert, Qt::SHIFT | Qt::Key_Insert};
    QAction command(&window);
    command.setShortcuts(keys);
    window.addAction(&command);
    int triggered = 0;
    QObject::connect(&command, &QAction::triggered, [&] { ++triggered; });
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    box.setSelText(QStringLiteral("text"));
    Select(box, 0, 2);
    window.show();
    QApplication::setActiveWindow(&window);
    box.widget()->setFocus();
    for (const QKeySequence& key : keys)
        QTest::keySequence(box.widget(), key);
    EXPECT_EQ(triggered, 6);
    EXPECT_EQ(box.Text(), QStringLiteral("text"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("clip"));
}

TEST_F(QtRichTextBoxTest, PrintsTheSelectionOrTheWholeText)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is needed to read the printed page";
    box.setSelText(QStringLiteral("FIRST_LINE\r\nSECOND_LINE"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPrintRange(QPrinter::Selection);  // what the dialog showed does not count
    const auto printed = [&](const QString& file) {
        printer.setOutputFileName(environment.root() + file);
        EXPECT_TRUE(box.SelPrint(HandleOf(&printer)));
        QProcess pdfToText;
        pdfToText.start(QStringLiteral("pdftotext"),
                        {printer.outputFileName(), QStringLiteral("-")});
        pdfToText.waitForFinished();
        return pdfToText.readAllStandardOutput().toStdString();
    };
    using ::testing::HasSubstr;
    EXPECT_THAT(printed("/whole.pdf"), AllOf(HasSubstr("FIRST_LINE"), HasSubstr("SECOND_LINE")));
    Select(box, 12, 6);
    EXPECT_THAT(printed("/selection.pdf"), AllOf(HasSubstr("SECOND"), Not(HasSubstr("FIRST"))));

    EXPECT_FALSE(box.SelPrint(nullptr));
    printer.setOutputFileName(environment.root() + "/missing/folder/page.pdf");
    EXPECT_FALSE(box.SelPrint(HandleOf(&printer)));
}

}  // namespace
}  // namespace platform
