#include "platform/qt_rich_text_box.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

#include "language/colorize.h"
#include "platform/memory_rich_text_box.h"
#include "platform/qt_color.h"
#include "platform/qt_twips.h"
#include "platform/rtf.h"
#include "platform/text_file.h"
#include "support/script_generator.h"
#include "support/test_environment.h"

namespace platform {
namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kGreen = 0x00FF00;
constexpr Color kBlue = 0xFF0000;
using Shown = std::vector<std::array<int, 3>>;  // line, start, colour of each format shown

void Select(RichTextBox& box, qint32 start, qint32 length)
{
    box.setSelStart(start);
    box.setSelLength(length);
}

// The box's whole content as its own markup, which carries text and colours.
ColoredText Contents(RichTextBox& box)
{
    Select(box, 0, INT32_MAX);
    return ReadRtf(box.SelRTF().toLatin1());
}

// One colour for each letter: r red, g green, b blue, anything else the default.
std::vector<Color> Colors(std::string_view letters)
{
    std::vector<Color> colors;
    for (char letter : letters)
        colors.push_back(letter == 'r' ? kRed : letter == 'g' ? kGreen : letter == 'b' ? kBlue : 0);
    return colors;
}

std::vector<ColorRun> RunsFor(const QString& text)
{
    return language::ComputeColorRuns(text, language::CommandSlots{"SET", "DOCK"}, {kBlue, kGreen, 0});
}

class QtRichTextBoxTest : public ::testing::Test {
protected:
    Status Load(const QByteArray& content) { return box.LoadFile(environment.writeFile("file", content)); }

    void Show()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        box.widget()->setFocus();
    }

    support::TestEnvironment environment;
    QWidget window;
    QtRichTextBox box{&window};
};

TEST_F(QtRichTextBoxTest, TextEndsLinesInCrLfSelectionsCountBothAndStayInsideAndFilesLoad)
{
    box.setSelText(QStringLiteral(u"ab\r\ncd\nef\rgh\u2028\u2029"));  // Unicode's line ends too
    Select(box, 4, 2);
    box.setSelColor(kRed);
    Select(box, 8, 6);
    box.setSelColor(kBlue);
    EXPECT_EQ(box.Text(), QStringLiteral("ab\r\ncd\r\nef\r\ngh\r\n\r\n"));
    EXPECT_EQ(Contents(box).colors, Colors("....rr..bbbbbb...."));
    // {start, length} written, {start, length} read back; a caret cannot stand between CR and LF
    const std::vector<std::array<qint32, 4>> cases = {
        {-5, 2, 0, 2}, {100, 2, 18, 0}, {1, INT32_MAX, 1, 17}, {1, -3, 1, 0}, {3, 0, 4, 0}};
    std::vector<std::array<qint32, 4>> read;
    for (const auto& [start, length, unused, unusedToo] : cases)
        Select(box, start, length), read.push_back({start, length, box.SelStart(), box.SelLength()});
    box.setSelStart(1);  // writing the start empties the selection
    EXPECT_EQ(std::pair(read, box.SelLength()), std::pair(cases, 0));

    // Loads RTF with its colours and any bytes as Windows-1252, or fails keeping the text.
    ASSERT_TRUE(Load("{\\rtf1{\\colortbl;\\red255;}\\cf1 SET\\cf0  \\'e9\\line{\\cf1 ok}\\par}"));
    EXPECT_EQ(Contents(box).colors, Colors("rrr....rr.."));
    const Status failed = box.LoadFile(environment.root() + "/missing.scr");
    EXPECT_TRUE(!failed && failed.message().contains(environment.root() + "/missing.scr"));
    EXPECT_EQ(box.Text(), QStringLiteral(u"SET \u00e9\r\nok\r\n"));
    QByteArray bytes(256, '\0');  // every byte, NUL too, and every line end kept
    std::iota(bytes.begin(), bytes.end(), '\0');
    ASSERT_TRUE(Load(bytes));
    EXPECT_EQ(box.Text(), ToCrLf(DecodeText(bytes)));
}

TEST_F(QtRichTextBoxTest, SelRtfAndTheClipboardCarryColoursAndPlainTextTakesTheColourBefore)
{
    QtRichTextBox source;
    source.setSelRTF(QString::fromLatin1(WriteRtf(u"one {two}\r\nthree\\", Colors("....ggggg..bbbbb."))));
    Select(source, 2, 13);
    box.setSelText(QStringLiteral("[]"));
    Select(box, 1, 0);
    box.setSelRTF(source.SelRTF());
    // Plain text replaces the selection; typed text too takes the colour before it.
    Select(box, 4, 4);
    box.setSelRTF(QStringLiteral("x\ny"));
    QTest::keyClick(box.widget(), Qt::Key_Z);
    EXPECT_EQ(box.Text(), QStringLiteral("[e {x\r\nyz\r\nthre]"));
    EXPECT_EQ(Contents(box).colors, Colors("...gggggg..bbbb."));
    // A copy gives other programs the plain text; pasted back, its colours come along.
    Select(source, 4, 5);
    source.widget()->copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("{two}"));
    box.setSelStart(1);
    box.widget()->paste();
    EXPECT_EQ(box.Text(), QStringLiteral("[{two}e {x\r\nyz\r\nthre]"));
    EXPECT_EQ(Contents(box).colors, Colors(".ggggg..gggggg..bbbb."));
}

TEST_F(QtRichTextBoxTest, UndoAndRedoStepThroughTheTextsAloneAndRecolouringMatchesAFullOne)
{
    // Neither the load nor any colouring is a step to undo.
    ASSERT_TRUE(Load(EncodeText(support::GenerateScript(4000, 11))));
    box.ApplyColorRuns(RunsFor(box.Text()));
    std::vector<QString> texts{box.Text()};  // every text undo and redo can go back to
    std::mt19937 random(5);
    // Pasted, with what the document takes for line ends and a character of two code units.
    const QStringView pasted = u"/*\u2028\uFDD0\r\n\U0001F600*/ SET";
    for (size_t round = 0, current = 0; round < 300; ++round) {
        Select(box, qint32(random() % (box.Text().size() + 1)), qint32(random() % 40));
        const unsigned edit = random() % 8;
        switch (edit) {
        case 0: box.setSelText(support::GenerateAdversarialText(30, random())); break;
        case 1: QTest::keyClick(box.widget(), Qt::Key_Return); break;
        case 2: QTest::keyClick(box.widget(), Qt::Key_X); break;
        case 3: box.setSelText({}); break;
        case 4: box.setSelColor(Color(random() % 4 * 0x3F3F3F)); break;
        case 5: box.setSelRTF(QString::fromLatin1(WriteRtf(pasted, Colors("rrrrrrrrrrrrrr")))); break;
        case 6: box.widget()->undo(); break;
        default: box.widget()->redo();
        }
        const QString text = box.Text();
        if (edit >= 6)
            current = edit == 6 ? current - (current > 0) : std::min(current + 1, texts.size() - 1);
        else if (text != texts[current])  // a new step drops the ones undone
            texts.insert(texts.erase(texts.begin() + qsizetype(++current), texts.end()), text);
        ASSERT_EQ(text, texts[current]) << "round " << round;
        ASSERT_EQ(text, box.widget()->toPlainText().replace(u'\n', QStringLiteral("\r\n")));
        // Coloured from its text, the box shows what a memory box coloured alike shows; the
        // document itself holds no colour.
        const std::vector<ColorRun> runs = RunsFor(text);
        box.ApplyColorRuns(runs);
        MemoryRichTextBox memory(text, 0x123456);
        memory.ApplyColorRuns(runs);
        ASSERT_EQ(Contents(box).colors, Contents(memory).colors) << "round " << round;
        for (const QTextFormat& format : box.widget()->document()->allFormats())
            ASSERT_FALSE(format.hasProperty(QTextFormat::ForegroundBrush));
    }
}

TEST_F(QtRichTextBoxTest, ShownLinesTakeTheirColoursWhenPaintedAndAnEqualColouringLaysNothingOut)
{
    box.setSelText(QStringLiteral("SET a ; note\r\nxDOCK"));
    ASSERT_TRUE(box.Move(0, 0, 6000, 3000));
    Show();
    int laidOut = 0;
    QObject::connect(box.widget()->document()->documentLayout(), &QAbstractTextDocumentLayout::update,
                     [&] { ++laidOut; });
    const auto shown = [&] {
        QApplication::processEvents();
        Shown runs;
        for (QTextBlock line = box.widget()->document()->begin(); line.isValid(); line = line.next()) {
            for (const auto& [start, length, format] : line.layout()->formats())
                runs.push_back({line.blockNumber(), start, FromQColor(format.foreground().color())});
        }
        return std::pair(runs, std::exchange(laidOut, 0));
    };
    const Shown colored = {{0, 0, kBlue}, {0, 3, 0}, {0, 6, kGreen}, {1, 0, 0}, {1, 1, kBlue}};
    for (const int linesLaidOut : {2, 0}) {
        box.ApplyColorRuns(RunsFor(box.Text()));
        EXPECT_EQ(shown(), std::pair(colored, linesLaidOut));
    }
    box.ApplyColorRuns(std::vector<ColorRun>{{14, 2, kRed}});  // only the line that changed is laid out
    const Shown recolored = {{0, 0, kBlue}, {0, 3, 0}, {0, 6, kGreen}, {1, 0, kRed}, {1, 2, kBlue}};
    EXPECT_EQ(shown(), std::pair(recolored, 1));
}

TEST_F(QtRichTextBoxTest, KeysFocusPlaceAndMarginBehaveAsInTheWindowAndClipboardKeysAreLeftToIt)
{
    const QList<QKeySequence> clipboardKeys = {QKeySequence::Cut, QKeySequence::Copy, QKeySequence::Paste,
                                               Qt::SHIFT | Qt::Key_Delete, Qt::CTRL | Qt::Key_Insert,
                                               Qt::SHIFT | Qt::Key_Insert};
    QAction command(&window);
    command.setShortcuts(clipboardKeys);
    window.addAction(&command);
    int events = 0;  // the window's command and the box's focus
    QObject::connect(&command, &QAction::triggered, [&] { events += 10; });
    box.GotFocus = [&] { ++events; };
    std::vector<std::array<qsizetype, 3>> seen;  // key code, shift state, length of the text
    box.KeyDown = [&](int keyCode, int shift) { seen.push_back({keyCode, shift, box.Text().size()}); };
    Show();
    QTest::keyClicks(box.widget(), QStringLiteral("a\r"));
    for (const auto& [key, modifier] : {std::pair(Qt::Key_Return, Qt::ShiftModifier),
                                        {Qt::Key_Return, Qt::ControlModifier},
                                        {Qt::Key_Enter, Qt::KeypadModifier}})
        QTest::keyClick(box.widget(), key, modifier);
    EXPECT_EQ(seen, (std::vector<std::array<qsizetype, 3>>{
                        {65, 0, 1}, {13, 0, 3}, {16, 1, 3}, {13, 1, 5}, {17, 2, 5}, {13, 2, 7}, {13, 0, 9}}));
    QApplication::clipboard()->setText(QStringLiteral("clip"));
    Select(box, 1, 4);
    for (const QKeySequence& key : clipboardKeys)
        QTest::keySequence(box.widget(), key);
    EXPECT_EQ(box.Text() + QApplication::clipboard()->text() + QString::number(events),
              "a\r\n\r\n\r\n\r\nclip61");
    // Colouring while hidden keeps the selection and the focus.
    box.setVisible(false);
    box.ApplyColorRuns(std::vector<ColorRun>{{0, 8, kRed}});
    box.setVisible(true);
    EXPECT_EQ(std::tuple(box.widget()->hasFocus(), box.SelStart(), box.SelLength()), std::tuple(true, 1, 4));
    EXPECT_FALSE(box.Move(0, 0, -1, 100) || box.Move(0, 0, 100, -1) || box.setRightMargin(-1) || box.SelPrint(nullptr));
    // Lines wrap at the margin, through later resizes; without one, or with one wider than the
    // box, at the box's edge.
    const auto wrap = [&](qint32 margin, qint32 width) {
        EXPECT_TRUE(box.setRightMargin(margin) && box.Move(0, 0, width, 1500));
        return box.widget()->viewport()->width();
    };
    const int edge = wrap(0, 3000);  // the script window's own tests check the box's place
    EXPECT_NEAR(box.Width(), 3000, PixelsToTwipsX(1));
    EXPECT_EQ(std::vector({wrap(2600, 3000), wrap(2600, 4000), wrap(0, 3000), wrap(5000, 3000)}),
              std::vector({TwipsToPixelsX(2600), TwipsToPixelsX(2600), edge, edge}));
}

}  // namespace
}  // namespace platform
