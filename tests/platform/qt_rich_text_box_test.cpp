#include "platform/qt_rich_text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTextFrame>
#include <gtest/gtest.h>
#include <limits>
#include <random>

#include "language/colorize.h"
#include "language/command_table.h"
#include "platform/memory_rich_text_box.h"
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

// The box's whole content as text and colours, read back through its own markup.
ColoredText Contents(QtRichTextBox& box)
{
    box.setSelStart(0);
    box.setSelLength(std::numeric_limits<qint32>::max());
    ColoredText content = ReadRtf(box.SelRTF().toLatin1());
    box.setSelStart(0);
    return content;
}

// Colours of the characters that are not line ends: CR and LF are one separator inside the
// box, so they cannot differ from each other as they can in the memory box.
std::vector<Color> CharacterColors(const QString& text, const std::vector<Color>& colors)
{
    std::vector<Color> kept;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            kept.push_back(colors.at(size_t(i)));
    }
    return kept;
}

// A key press as the keyboard sends it: a letter key types its letter, Enter a CR.
void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QString text = key == Qt::Key_Return || key == Qt::Key_Enter ? QStringLiteral("\r")
                                                                       : QString(QChar(key).toLower());
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
}

void Select(RichTextBox& box, qint32 start, qint32 length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

TEST(QtRichTextBox, TextEndsLinesInCrLfAndPositionsCountBoth)
{
    QtRichTextBox box;
    box.setSelText(QStringLiteral("ab\r\ncd\nef\rgh"));
    EXPECT_EQ(box.Text(), QStringLiteral("ab\r\ncd\r\nef\r\ngh"));
    EXPECT_EQ(box.SelStart(), 14);  // after the inserted text
    box.setSelText(QStringLiteral(u"\u2028\u2029"));  // Unicode's line ends are line ends too
    EXPECT_EQ(box.Text(), QStringLiteral("ab\r\ncd\r\nef\r\ngh\r\n\r\n"));

    Select(box, 4, 2);
    EXPECT_EQ(box.SelStart(), 4);
    EXPECT_EQ(box.SelLength(), 2);
    box.setSelColor(kRed);
    Select(box, 2, 3);  // CR, LF and "c"
    EXPECT_EQ(ReadRtf(box.SelRTF().toLatin1()).text, QStringLiteral("\r\nc"));
    Select(box, 8, 6);  // "ef\r\ngh"
    box.setSelColor(kBlue);

    const ColoredText content = Contents(box);
    EXPECT_EQ(content.text, box.Text());
    EXPECT_EQ(CharacterColors(content.text, content.colors),
              (std::vector<Color>{0, 0, kRed, kRed, kBlue, kBlue, kBlue, kBlue}));
}

TEST(QtRichTextBox, SelectionStaysInsideTheText)
{
    QtRichTextBox box;
    box.setSelText(QStringLiteral("ab\r\ncd"));
    Select(box, -5, 2);
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.SelLength(), 2);
    Select(box, 100, 2);
    EXPECT_EQ(box.SelStart(), 6);
    EXPECT_EQ(box.SelLength(), 0);
    Select(box, 1, std::numeric_limits<qint32>::max());
    EXPECT_EQ(box.SelLength(), 5);
    Select(box, 1, -3);
    EXPECT_EQ(box.SelLength(), 0);
    // A caret cannot stand between CR and LF; it goes to the start of the next line.
    box.setSelStart(3);
    EXPECT_EQ(box.SelStart(), 4);
    // Writing the start empties the selection.
    Select(box, 0, 3);
    box.setSelStart(1);
    EXPECT_EQ(box.SelLength(), 0);
}

TEST(QtRichTextBox, LoadsPlainTextAsWindows1252WithEveryByteKept)
{
    support::TestEnvironment environment;
    QByteArray bytes;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n')
            bytes += char(byte);
    }
    // NUL stays a character: neither the text nor the bytes after it are lost.
    bytes += QByteArray("\0after NUL", 10);
    const QString path = environment.writeFile("all.txt", bytes + "\r\nlf\ncr\rend\r\n");

    QtRichTextBox box;
    ASSERT_TRUE(box.LoadFile(path));
    EXPECT_EQ(EncodeText(box.Text()), bytes + "\r\nlf\r\ncr\r\nend\r\n");
    EXPECT_EQ(box.Text().size(), bytes.size() + 15);
    EXPECT_EQ(box.SelStart(), 0);
    EXPECT_EQ(box.widget()->document()->availableUndoSteps(), 0);
}

TEST(QtRichTextBox, LoadsWordProcessorRtfWithItsColours)
{
    support::TestEnvironment environment;
    const QString path = environment.writeFile(
        "letter.rtf",
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f1\\fmodern\\fcharset0 Courier New;}}\r\n"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
        "{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n"
        "\\pard\\plain\\f0\\fs20\\cf1 SET\\cf0  x \\'e9\\par\r\n"
        "{\\f1{\\cf2 caf\\u233?}} ok\\par\r\n"
        "}\r\n");

    QtRichTextBox box;
    ASSERT_TRUE(box.LoadFile(path));
    EXPECT_EQ(box.Text(), QStringLiteral(u"SET x \u00e9\r\ncaf\u00e9 ok\r\n"));
    const ColoredText content = Contents(box);
    EXPECT_EQ(CharacterColors(content.text, content.colors),
              (std::vector<Color>{kRed, kRed, kRed, 0, 0, 0, 0, kBlue, kBlue, kBlue, kBlue, 0, 0, 0}));

    MemoryRichTextBox reference;
    ASSERT_TRUE(reference.LoadFile(path));
    EXPECT_EQ(content.text, reference.Text());
    EXPECT_EQ(CharacterColors(content.text, content.colors),
              CharacterColors(reference.Text(), reference.colors()));
}

TEST(QtRichTextBox, AnyBytesLoadWithTextAndPositionsInStep)
{
    support::TestEnvironment environment;
    std::mt19937 random(3);
    QList<QByteArray> contents = {
        "{\\rtf1 a\\u8232?b\\u8233?c\\u-1088?d\\u-1087?e\\u65532?f\\u55296?g\\'00h\\par}",
        "{\\rtf1{\\colortbl;\\red1;}\\cf1\\cf99 x\\cf-5 y{{{{\\cf1 z",
    };
    for (int i = 0; i < 20; ++i) {
        QByteArray bytes(int(random() % 2000), '\0');
        for (char& byte : bytes)
            byte = char(random());
        contents << bytes << "{\\rtf1 " + bytes;
    }
    QtRichTextBox box;
    for (const QByteArray& content : contents) {
        ASSERT_TRUE(box.LoadFile(environment.writeFile("any.bin", content)));
        const QString text = box.Text();
        if (!LooksLikeRtf(content)) {
            EXPECT_EQ(text, ToCrLf(DecodeText(content)));
        }
        Select(box, 0, std::numeric_limits<qint32>::max());
        EXPECT_EQ(box.SelLength(), text.size());
        EXPECT_EQ(Contents(box).text.size(), text.size());
    }
}

TEST(QtRichTextBox, FailedLoadNamesThePathAndKeepsTheText)
{
    support::TestEnvironment environment;
    QtRichTextBox box;
    box.setSelText(QStringLiteral("kept"));
    const QString missing = environment.root() + "/missing.scr";
    const Status status = box.LoadFile(missing);
    EXPECT_FALSE(status);
    EXPECT_TRUE(status.message().contains(missing)) << status.message().toStdString();
    EXPECT_EQ(box.Text(), QStringLiteral("kept"));
}

TEST(QtRichTextBox, SelRtfCarriesTextAndColoursAndPlainTextGoesInAsText)
{
    QtRichTextBox source;
    source.setSelText(QStringLiteral("one {two}\r\nthree\\"));
    Select(source, 4, 5);
    source.setSelColor(kGreen);
    Select(source, 11, 5);
    source.setSelColor(kBlue);
    Select(source, 2, 13);
    const QString markup = source.SelRTF();

    QtRichTextBox target;
    target.setSelText(QStringLiteral("[]"));
    Select(target, 1, 0);
    target.setSelRTF(markup);
    EXPECT_EQ(target.Text(), QStringLiteral("[e {two}\r\nthre]"));
    EXPECT_EQ(target.SelStart(), 14);
    const ColoredText content = Contents(target);
    EXPECT_EQ(CharacterColors(content.text, content.colors),
              (std::vector<Color>{0, 0, 0, kGreen, kGreen, kGreen, kGreen, kGreen, kBlue, kBlue,
                                  kBlue, kBlue, 0}));

    // Plain text replaces the selection and takes the colour of the character before it.
    Select(target, 4, 4);
    target.setSelRTF(QStringLiteral("x\ny"));
    EXPECT_EQ(target.Text(), QStringLiteral("[e {x\r\ny\r\nthre]"));
    const ColoredText after = Contents(target);
    EXPECT_EQ(after.colors.at(4), kGreen);
    EXPECT_EQ(after.colors.at(7), kGreen);
}

class ColorRunsTest : public ::testing::Test {
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

    // Colours the box from its text, and a memory box and a fresh box from the same text.
    static void ExpectSameAsFullRecolouring(QtRichTextBox& box)
    {
        const QString text = box.Text();
        const std::vector<ColorRun> runs = RunsFor(text);
        box.ApplyColorRuns(runs);

        MemoryRichTextBox memory(text, 0x123456);
        memory.ApplyColorRuns(runs);
        const ColoredText content = Contents(box);
        ASSERT_EQ(content.text, text);
        EXPECT_EQ(CharacterColors(text, content.colors), CharacterColors(text, memory.colors()));

        QtRichTextBox fresh;
        fresh.setSelRTF(QString::fromLatin1(WriteRtf(text, std::vector<Color>(text.size(), 0x123456))));
        fresh.ApplyColorRuns(runs);
        EXPECT_EQ(Contents(fresh).colors, content.colors);
    }
};

// One edit as a user or a command makes it: typing, Enter, pasting, deleting, colouring a
// selection, undoing or redoing.
void RandomEdit(QtRichTextBox& box, std::mt19937& random)
{
    const auto position = [&] { return qint32(random() % (box.Text().size() + 1)); };
    Select(box, position(), qint32(random() % 40));
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
    default: random() % 2 ? box.widget()->undo() : box.widget()->redo(); break;
    }
}

TEST_F(ColorRunsTest, RecolouringAfterAnyEditsEndsAsAFullRecolouring)
{
    QtRichTextBox box;
    box.setSelText(support::GenerateScript(4000, 11));
    box.ApplyColorRuns(RunsFor(box.Text()));
    std::mt19937 random(5);
    for (int round = 0; round < 150; ++round) {
        for (int edits = int(random() % 3) + 1; edits > 0; --edits)
            RandomEdit(box, random);
        // The text as the widget itself gives it, against the one the box keeps.
        ASSERT_EQ(box.Text(), box.widget()->toPlainText().replace(u'\n', QStringLiteral("\r\n")));
        ExpectSameAsFullRecolouring(box);
        if (HasFailure())
            FAIL() << "after round " << round;
    }
}

TEST_F(ColorRunsTest, RecolouringAnUnchangedTextWritesNothing)
{
    QtRichTextBox box;
    box.setSelText(support::GenerateScript(5000, 3));
    const std::vector<ColorRun> runs = RunsFor(box.Text());
    box.ApplyColorRuns(runs);
    int changes = 0;
    QObject::connect(box.widget()->document(), &QTextDocument::contentsChange,
                     [&](int, int removed, int added) { changes += removed + added; });
    box.ApplyColorRuns(runs);
    EXPECT_EQ(changes, 0);
}

TEST_F(ColorRunsTest, RunsInAnyOrderAreWrittenInTheirOrder)
{
    QtRichTextBox box;
    box.setSelText(QStringLiteral("abcdef\r\nghij"));
    const std::vector<ColorRun> runs = {{2, 8, kRed}, {0, 4, kGreen}, {9, 100, kBlue}};
    box.ApplyColorRuns(runs);
    MemoryRichTextBox memory(box.Text());
    memory.ApplyColorRuns(runs);
    const ColoredText content = Contents(box);
    EXPECT_EQ(CharacterColors(content.text, content.colors),
              CharacterColors(memory.Text(), memory.colors()));
}

TEST_F(ColorRunsTest, ColouringIsUndoneWithTheEditThatCausedItAndNotAfterALoad)
{
    support::TestEnvironment environment;
    QtRichTextBox box;
    ASSERT_TRUE(box.LoadFile(environment.writeFile("s.scr", "SET a\r\n; note")));
    box.ApplyColorRuns(RunsFor(box.Text()));
    const ColoredText loaded = Contents(box);
    Select(box, 5, 0);
    box.setSelText(QStringLiteral(" ;x"));
    const ColoredText typed = Contents(box);

    box.KeyDown = [&](int keyCode, int) {
        if (keyCode == 13)
            box.ApplyColorRuns(RunsFor(box.Text()));
    };
    box.setSelStart(8);
    Press(box.widget(), Qt::Key_Return);
    ASSERT_EQ(box.Text(), QStringLiteral("SET a ;x\r\n\r\n; note"));
    ASSERT_EQ(Contents(box).colors.at(6), kGreen);  // ";x" became a comment

    box.widget()->undo();  // the Enter with its colours
    EXPECT_EQ(Contents(box).text, typed.text);
    EXPECT_EQ(Contents(box).colors, typed.colors);
    box.widget()->undo();  // the typing
    box.widget()->undo();  // nothing: the colouring after the load is no step
    EXPECT_EQ(Contents(box).text, loaded.text);
    EXPECT_EQ(Contents(box).colors, loaded.colors);
}

TEST(QtRichTextBox, EnterRaisesKeyDownAfterTheLineBreakWhateverTheModifiers)
{
    QtRichTextBox box;
    std::vector<std::pair<int, int>> keys;
    std::vector<QString> textsSeen;
    box.KeyDown = [&](int keyCode, int shift) {
        keys.emplace_back(keyCode, shift);
        textsSeen.push_back(box.Text());
    };
    Press(box.widget(), Qt::Key_A);
    Press(box.widget(), Qt::Key_Return);
    Press(box.widget(), Qt::Key_Return, Qt::ShiftModifier);
    Press(box.widget(), Qt::Key_Return, Qt::ControlModifier);
    Press(box.widget(), Qt::Key_Enter, Qt::KeypadModifier);

    EXPECT_EQ(keys, (std::vector<std::pair<int, int>>{{65, 0}, {13, 0}, {13, 1}, {13, 2}, {13, 0}}));
    EXPECT_EQ(textsSeen.at(1), QStringLiteral("a\r\n"));
    EXPECT_EQ(box.Text(), QStringLiteral("a\r\n\r\n\r\n\r\n"));
}

TEST(QtRichTextBox, FocusRaisesGotFocusAndHidingKeepsTextSelectionAndFocus)
{
    QWidget window;
    QtRichTextBox box(&window);
    int focusEvents = 0;
    box.GotFocus = [&] { ++focusEvents; };
    window.show();
    QApplication::setActiveWindow(&window);
    QApplication::processEvents();
    ASSERT_TRUE(window.isActiveWindow());
    box.widget()->setFocus();
    EXPECT_EQ(focusEvents, 1);

    box.setSelText(QStringLiteral("one\r\ntwo"));
    Select(box, 2, 3);
    box.setVisible(false);
    EXPECT_FALSE(box.widget()->isVisible());
    box.setVisible(true);
    QApplication::processEvents();
    EXPECT_TRUE(box.widget()->isVisible());
    EXPECT_TRUE(box.widget()->hasFocus());
    EXPECT_EQ(box.Text(), QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(box.SelStart(), 2);
    EXPECT_EQ(box.SelLength(), 3);
}

TEST(QtRichTextBox, PlacementMarginAndBackgroundInTwips)
{
    QWidget window;
    QtRichTextBox box(&window);
    ASSERT_TRUE(box.Move(100, 200, 3000, 1500));
    EXPECT_EQ(box.widget()->geometry(), QRect(TwipsToPixelsX(100), TwipsToPixelsY(200),
                                              TwipsToPixelsX(3000), TwipsToPixelsY(1500)));
    EXPECT_NEAR(box.Width(), 3000, PixelsToTwipsX(1));
    EXPECT_FALSE(box.Move(0, 0, -1, 100));
    EXPECT_FALSE(box.Move(0, 0, 100, -1));

    ASSERT_TRUE(box.setRightMargin(2600));
    EXPECT_EQ(box.widget()->lineWrapColumnOrWidth(), TwipsToPixelsX(2600));
    EXPECT_FALSE(box.setRightMargin(-1));
    ASSERT_TRUE(box.setRightMargin(0));  // no margin: wrapped at the box's edge
    EXPECT_EQ(box.widget()->lineWrapMode(), QTextEdit::WidgetWidth);

    box.setBackColor(0x336699);  // red 0x99, green 0x66, blue 0x33
    EXPECT_EQ(box.widget()->palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
}

TEST(QtRichTextBox, CopiesCarryPlainTextAndColoursAndPasteNoRichStructure)
{
    QtRichTextBox box;
    box.setSelText(QStringLiteral("SET x"));
    Select(box, 0, 3);
    box.setSelColor(kBlue);
    box.widget()->copy();
    // Other programs get the plain text; the colours travel as RTF beside it.
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("SET"));
    const QByteArray rtf = QApplication::clipboard()->mimeData()->data(QStringLiteral("text/rtf"));
    EXPECT_TRUE(rtf.startsWith("{\\rtf")) << rtf.toStdString();

    box.setSelStart(5);
    box.widget()->paste();
    EXPECT_EQ(box.Text(), QStringLiteral("SET xSET"));
    EXPECT_EQ(Contents(box).colors.at(5), kBlue);

    // Another program's rich text arrives as its plain text: no tables, frames or images.
    auto* html = new QMimeData;
    html->setHtml(QStringLiteral("<table><tr><td>cell</td></tr></table><img src='x.png'>"));
    html->setText(QStringLiteral("cell"));
    QApplication::clipboard()->setMimeData(html);
    box.setSelStart(8);
    box.widget()->paste();
    EXPECT_EQ(box.Text(), QStringLiteral("SET xSETcell"));
    EXPECT_TRUE(box.widget()->document()->rootFrame()->childFrames().isEmpty());
}

QString PdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    process.waitForFinished();
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(QtRichTextBox, PrintsTheSelectionOrTheWholeText)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext is needed to read the printed page";
    support::TestEnvironment environment;
    QtRichTextBox box;
    box.setSelText(QStringLiteral("FIRST_LINE\r\nSECOND_LINE"));
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);

    printer.setOutputFileName(environment.root() + "/whole.pdf");
    printer.setPrintRange(QPrinter::Selection);  // what the dialog showed does not count
    ASSERT_TRUE(box.SelPrint(HandleOf(&printer)));
    const QString whole = PdfText(printer.outputFileName());
    EXPECT_TRUE(whole.contains("FIRST_LINE") && whole.contains("SECOND_LINE")) << whole.toStdString();

    Select(box, 12, 6);
    printer.setOutputFileName(environment.root() + "/selection.pdf");
    ASSERT_TRUE(box.SelPrint(HandleOf(&printer)));
    const QString selection = PdfText(printer.outputFileName());
    EXPECT_TRUE(selection.contains("SECOND")) << selection.toStdString();
    EXPECT_FALSE(selection.contains("FIRST_LINE")) << selection.toStdString();

    EXPECT_FALSE(box.SelPrint(nullptr));
    printer.setOutputFileName(environment.root() + "/missing/folder/page.pdf");
    EXPECT_FALSE(box.SelPrint(HandleOf(&printer)));
}

}  // namespace
}  // namespace platform
