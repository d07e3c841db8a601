#include "platform/qt_rich_text_box.h"

#include <QElapsedTimer>
#include <QPaintEvent>
#include <QPrinter>
#include <QProcess>
#include <QScrollBar>
#include <QTextBlock>
#include <QTest>
#include <gtest/gtest.h>
#include <random>

#include "language/colorize.h"
#include "language/command_table.h"
#include "platform/memory_rich_text_box.h"
#include "platform/qt_box_text.h"
#include "platform/qt_color.h"
#include "platform/qt_twips.h"
#include "platform/rtf.h"
#include "platform/text_file.h"
#include "shell/options.h"
#include "support/script_generator.h"
#include "support/test_environment.h"

namespace platform {
namespace {

constexpr Color kRed = 0x0000FF;
constexpr Color kGreen = 0x00FF00;
constexpr Color kBlue = 0xFF0000;

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

std::vector<ColorRun> RunsFor(const QString& text)
{
    return language::ComputeColorRuns(text, language::CommandSlots{"SET", "DOCK"}, {kBlue, kGreen, 0});
}

TEST(QtRichTextBoxTest, UndoAndRedoStepThroughTheTextsAloneAndRecolouringMatchesAFullOne)
{
    support::TestEnvironment environment;
    QWidget window;
    QtRichTextBox box{&window};
    // Neither the load nor any colouring is a step to undo.
    ASSERT_TRUE(box.LoadFile(environment.writeFile("file", EncodeText(support::GenerateScript(4000, 11)))));
    box.ApplyColorRuns(RunsFor(box.Text()));
    std::vector<QString> texts{box.Text()};  // every text undo and redo can go back to
    std::mt19937 random(5);
    // Pasted, with what the document takes for line ends and a character of two code units.
    const QStringView pasted = u"/*\u2028\uFDD0\r\n\U0001F600*/ SET";
    const QString pastedRtf = QString::fromLatin1(WriteRtf(pasted, std::vector<Color>(pasted.size(), kRed)));
    for (size_t round = 0, current = 0; round < 300; ++round) {
        Select(box, qint32(random() % (box.Text().size() + 1)), qint32(random() % 40));
        const unsigned edit = random() % 8;
        switch (edit) {
        case 0: box.setSelText(support::GenerateAdversarialText(30, random())); break;
        case 1: QTest::keyClick(box.widget(), Qt::Key_Return); break;
        case 2: QTest::keyClick(box.widget(), Qt::Key_X); break;
        case 3: box.setSelText({}); break;
        case 4: box.setSelColor(Color(random() % 4 * 0x3F3F3F)); break;
        case 5: box.setSelRTF(pastedRtf); break;
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

void Press(RichTextBox& box, qint32 selStart, qint32 selLength, Qt::Key key)
{
    Select(box, selStart, selLength);
    QTest::keyClick(static_cast<QtRichTextBox&>(box).widget(), key);
}

// The text the box keeps through its edits is the document's text converted anew.
TEST(QtRichTextBoxTest, TheKeptTextIsTheDocumentsTextAfterEveryEdit)
{
    support::TestEnvironment environment;
    QWidget window;
    QtRichTextBox box{&window};
    QPlainTextEdit& edit = *box.widget();
    const QString script = QStringLiteral("SET a\r\nDOCK b\r\n\r\n// c\r\nend");
    const std::vector<std::pair<const char*, std::function<void()>>> steps{
        {"load", [&] { ASSERT_TRUE(box.LoadFile(environment.writeFile("a.scr", EncodeText(script)))); }},
        {"typing", [&] { Press(box, 3, 0, Qt::Key_X); }},
        {"keys next to each other, then apart", [&] {
             for (const Qt::Key key : {Qt::Key_Y, Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Z, Qt::Key_Delete})
                 QTest::keyClick(edit.viewport()->parentWidget(), key);
             box.setSelText(QStringLiteral("pq\r\nr"));
             Press(box, 14, 2, Qt::Key_W);
             Press(box, 1, 0, Qt::Key_Return);
             Press(box, 3, 0, Qt::Key_V);
         }},
        {"Enter", [&] { Press(box, 2, 0, Qt::Key_Return); }},
        {"Backspace at a line start", [&] { Press(box, 9, 0, Qt::Key_Backspace); }},
        {"Delete at a line end", [&] { Press(box, 14, 0, Qt::Key_Delete); }},
        {"paste of lines", [&] { Select(box, 4, 0); box.setSelText(QStringLiteral("p\rq\nr\r\n")); }},
        {"a selection over lines replaced", [&] { Press(box, 1, 12, Qt::Key_Y); }},
        {"undo", [&] { edit.undo(); }},
        {"undo", [&] { edit.undo(); }},
        {"redo", [&] { edit.redo(); }},
        {"everything replaced", [&] { Select(box, 0, INT32_MAX); box.setSelText(QStringLiteral("z")); }},
        {"undo", [&] { edit.undo(); }},
        {"load again", [&] { ASSERT_TRUE(box.LoadFile(environment.writeFile("b.scr", "x\ny"))); }},
    };
    for (const auto& [name, step] : steps) {
        step();
        ASSERT_EQ(box.Text(), TextOf(*edit.document())) << name;
    }
}

// A line of about length characters: words with blanks, or none where it may wrap; a character
// of two code units every third, each line at another offset, for the cuts to meet them.
QString LongLine(qsizetype length, bool blanks, int offset)
{
    const QString word = blanks ? QStringLiteral("SET a /* DOCK */ ") : QStringLiteral("x\U0001F600");
    return QString(offset, u'y') + word.repeated(length / word.size());
}

// How the document shows the box's text, found by laying its blocks over the text: the text
// positions where a block does not start a line, the longest block, and the number of blocks
// that start inside a character of two code units or are empty though their line is not.
struct Pieces {
    std::vector<qint32> cuts;
    std::vector<int> pieceEnds;  // the document positions before the cuts
    int longest = 0;
    int faults = 0;
};

Pieces PiecesOf(QtRichTextBox& box)
{
    const QString text = box.Text();
    Pieces pieces;
    qint32 position = 0;
    for (QTextBlock block = box.widget()->document()->firstBlock(); block.isValid(); block = block.next()) {
        const bool lineStart = position == 0 || text.sliced(position - 2, 2) == u"\r\n";
        if (!lineStart) {
            pieces.cuts.push_back(position);
            pieces.pieceEnds.push_back(block.position() - 1);
        }
        pieces.longest = std::max(pieces.longest, block.length() - 1);
        pieces.faults += block.text().startsWith(QChar(0xDE00))
                         || (block.length() == 1 && !(lineStart && text.mid(position, 2) == u"\r\n")
                             && position != text.size());
        position += block.length() - 1;
        position += text.mid(position, 2) == u"\r\n" ? 2 : 0;
    }
    return pieces;
}

// A long line is shown in pieces, cut after a blank where there is one near the end of a piece,
// and the box's text, positions and colours are those of the same text without a cut.
TEST(QtRichTextBoxTest, ALongLineIsShownInPiecesWithTheTextPositionsAndColoursOfTheWholeLine)
{
    support::TestEnvironment environment;
    QWidget window;
    QtRichTextBox box{&window};
    // Loaded, and pasted: a file holds no character of two code units.
    const QString loaded = "SET a\r\n" + LongLine(9000, true, 0) + "\r\n" + QString(9000, u'y') + "\n";
    const QString pasted = LongLine(9000, false, 1) + "\r// end\r\n" + LongLine(9000, false, 2);
    ASSERT_TRUE(box.LoadFile(environment.writeFile("long.scr", EncodeText(loaded))));
    box.setSelStart(INT32_MAX);
    box.setSelText(pasted);
    const QString expected = QString(loaded + pasted).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                                 .replace(u'\r', u'\n').replace(u'\n', QStringLiteral("\r\n"));
    ASSERT_EQ(box.Text(), expected);
    const Pieces pieces = PiecesOf(box);
    const auto afterBlank = [&](qint32 cut) { return expected[cut - 1] == u' '; };
    EXPECT_EQ(std::tuple(pieces.cuts.size(), pieces.longest <= 2048, pieces.faults,
                         std::ranges::count_if(pieces.cuts, afterBlank)),
              std::tuple(size_t(16), true, 0, 4));

    // Between CR and LF is the start of the next line.
    const auto placed = [&](qint32 position) { return position + (expected.mid(position - 1, 2) == u"\r\n"); };
    std::vector<std::pair<qint32, qint32>> selected;
    std::vector<std::pair<qint32, qint32>> asked;
    for (qint32 start = 0; start <= expected.size(); ++start) {
        Select(box, start, 5);
        selected.emplace_back(box.SelStart(), box.SelLength());
        const qint32 end = placed(std::min(placed(start) + 5, qint32(expected.size())));
        asked.emplace_back(placed(start), end - placed(start));
    }
    EXPECT_EQ(selected, asked);

    // The colours kept and those the layout shows, each character of the text but CR and LF.
    window.resize(2000, 4000);
    box.widget()->setGeometry(0, 0, 2000, 4000);
    window.show();
    const std::vector<ColorRun> runs = RunsFor(expected);
    box.ApplyColorRuns(runs);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    box.widget()->viewport()->repaint();
    MemoryRichTextBox memory(expected, 0x123456);
    memory.ApplyColorRuns(runs);
    ASSERT_EQ(Contents(box).colors, Contents(memory).colors);
    std::vector<QColor> shown;
    std::vector<QColor> colored;
    for (QTextBlock block = box.widget()->document()->firstBlock(); block.isValid(); block = block.next()) {
        for (const QTextLayout::FormatRange& range : block.layout()->formats())
            shown.insert(shown.end(), size_t(range.length), range.format.foreground().color());
    }
    for (qsizetype i = 0; i < expected.size(); ++i) {
        if (expected[i] != u'\r' && expected[i] != u'\n')
            colored.push_back(ToQColor(memory.colors()[size_t(i)]));
    }
    EXPECT_EQ(shown, colored);
}

void PlaceCaret(QtRichTextBox& box, int documentPosition)
{
    QTextCursor cursor = box.widget()->textCursor();
    cursor.setPosition(documentPosition);
    box.widget()->setTextCursor(cursor);
}

// Edits at and across the cuts of a long line change the text as they change it without them
// and leave no piece empty; undo and redo bring the pieces back.
TEST(QtRichTextBoxTest, EditsWhereALongLineIsCutChangeItsTextAsAnywhereElse)
{
    support::TestEnvironment environment;
    QWidget window;
    QtRichTextBox box{&window};
    QPlainTextEdit& edit = *box.widget();
    QString text = "a\r\n" + QString(5000, u'x') + " " + QString(20000, u'y') + "\r\nb";
    ASSERT_TRUE(box.LoadFile(environment.writeFile("long.scr", EncodeText(text))));
    ASSERT_EQ(std::pair(PiecesOf(box).cuts.size(), edit.document()->isUndoAvailable()), std::pair(size_t(12), false));
    const auto cut = [&](size_t i) { return PiecesOf(box).cuts.at(i); };
    const auto pieceEnd = [&](size_t i) { return PiecesOf(box).pieceEnds.at(i); };
    const auto replace = [&](qint32 start, qint32 length, const QString& with) { text.replace(start, length, with); };
    struct Step {
        const char* name;
        std::function<void()> edit;
        std::function<void()> expected;  // empty for undo and redo
    };
    const std::vector<Step> steps{
        {"Backspace after a cut", [&] { Press(box, cut(0), 0, Qt::Key_Backspace); }, [&] { replace(cut(0) - 1, 1, {}); }},
        {"Backspace before a cut", [&] { PlaceCaret(box, pieceEnd(0)); QTest::keyClick(&edit, Qt::Key_Backspace); },
         [&] { replace(cut(0) - 1, 1, {}); }},
        {"Delete before a cut", [&] { PlaceCaret(box, pieceEnd(1)); QTest::keyClick(&edit, Qt::Key_Delete); },
         [&] { replace(cut(1), 1, {}); }},
        {"Delete after a cut", [&] { Press(box, cut(1), 0, Qt::Key_Delete); }, [&] { replace(cut(1), 1, {}); }},
        {"typing at a cut", [&] { Press(box, cut(1), 0, Qt::Key_Z); }, [&] { replace(cut(1), 0, "z"); }},
        {"undo", [&] { edit.undo(); }, {}},
        {"undo", [&] { edit.undo(); }, {}},
        {"redo", [&] { edit.redo(); }, {}},
        {"Enter before a cut", [&] { PlaceCaret(box, pieceEnd(0)); QTest::keyClick(&edit, Qt::Key_Return); },
         [&] { replace(cut(0), 0, "\r\n"); }},
        {"Enter in a piece", [&] { Press(box, cut(0) + 9, 0, Qt::Key_Enter); }, [&] { replace(cut(0) + 9, 0, "\r\n"); }},
        {"undo", [&] { edit.undo(); }, {}},
        {"undo", [&] { edit.undo(); }, {}},
        {"a selection over a cut replaced", [&] { Press(box, cut(0) - 2, 4, Qt::Key_Q); }, [&] { replace(cut(0) - 2, 4, "q"); }},
        {"a long line pasted", [&] { Select(box, 1, 0); box.setSelText(QString(9000, u'p')); },
         [&] { replace(1, 0, QString(9000, u'p')); }},
        {"undo", [&] { edit.undo(); }, {}},
        {"redo", [&] { edit.redo(); }, {}},
        {"all selected and deleted", [&] { edit.selectAll(); QTest::keyClick(&edit, Qt::Key_Delete); }, [&] { text.clear(); }},
        {"undo", [&] { edit.undo(); }, {}},
        {"Right over a cut, then a key",
         [&] { PlaceCaret(box, pieceEnd(1)); QTest::keyClick(&edit, Qt::Key_Right); QTest::keyClick(&edit, Qt::Key_R); },
         [&] { replace(cut(1) + 1, 0, "r"); }},
        {"Left over a cut, then a key", [&] { Press(box, cut(1), 0, Qt::Key_Left); QTest::keyClick(&edit, Qt::Key_L); },
         [&] { replace(cut(1) - 1, 0, "l"); }},
    };
    std::vector<std::pair<QString, std::vector<qint32>>> states{{text, PiecesOf(box).cuts}};
    size_t current = 0;
    for (const Step& step : steps) {
        if (step.expected)
            step.expected();  // positions as they were before the edit
        step.edit();
        if (!step.expected) {
            current = step.name == std::string_view("undo") ? current - 1 : current + 1;
        } else {  // a new step drops the ones undone
            states.resize(current + 1);
            states.emplace_back(text, PiecesOf(box).cuts);
            current = states.size() - 1;
        }
        const Pieces pieces = PiecesOf(box);
        ASSERT_EQ(std::tuple(box.Text(), TextOf(*edit.document()), pieces.cuts, pieces.faults),
                  std::tuple(states[current].first, states[current].first, states[current].second, 0))
            << step.name;
        text = states[current].first;
    }
}

// A script of one line of two megabytes with no place to wrap opens, shows coloured and prints
// within seconds: laid out whole, the line would take hours.
TEST(QtRichTextBoxTest, AScriptOfOneHugeLineOpensAndShows)
{
    support::TestEnvironment environment;
    QWidget window;
    QtRichTextBox box{&window};
    window.resize(900, 700);
    box.widget()->setGeometry(8, 8, 884, 684);
    window.show();
    const QByteArray line(2'000'000, 'x');
    const QString path = environment.writeFile("huge.scr", line);
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(box.LoadFile(path));
    box.ApplyColorRuns(RunsFor(box.Text()));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    box.widget()->viewport()->repaint();
    EXPECT_EQ(std::pair(box.Text(), timer.elapsed() < 60'000), std::pair(QString::fromLatin1(line), true));

    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFileName(environment.root() + "/huge.pdf");
    timer.start();
    ASSERT_TRUE(box.SelPrint(HandleOf(&printer)));
    QProcess text;
    text.start("pdftotext", {printer.outputFileName(), "-"});
    ASSERT_TRUE(text.waitForFinished(60'000));
    const QByteArray printed = text.readAllStandardOutput();
    EXPECT_EQ(std::pair(printed.count('x'), timer.elapsed() < 120'000), std::pair(line.size(), true));
}

// A position that does not split a CR LF pair, which the box would take as the start of the line.
qint32 Between(const QString& text, qint32 position)
{
    return position > 0 && position < text.size() && text[position] == u'\n' ? position + 1 : position;
}

// The colours the lines on screen show, one a character of their own (none: -1), beside the
// colours kept for them: the text's, from a memory box.
std::pair<std::vector<Color>, std::vector<Color>> ShownAndKept(QPlainTextEdit& edit, const MemoryRichTextBox& kept)
{
    std::vector<Color> shown, expected;
    const QTextBlock first = edit.cursorForPosition(QPoint(0, 0)).block();
    const QTextBlock last = edit.cursorForPosition(QPoint(0, edit.viewport()->height() - 1)).block();
    // Where the first line on screen starts in the text: a block ends in CR LF unless a long line
    // is cut there.
    qint32 start = 0;
    for (QTextBlock block = edit.document()->firstBlock(); block != first; block = block.next()) {
        start += block.length() - 1;
        start += kept.Text().mid(start, 2) == u"\r\n" ? 2 : 0;
    }
    for (QTextBlock line = first; line != last.next(); line = line.next()) {
        std::vector<Color> colors(size_t(line.length() - 1), -1);
        for (const QTextLayout::FormatRange& range : line.layout()->formats())
            std::fill(colors.begin() + std::min<qsizetype>(range.start, colors.size()),
                      colors.begin() + std::min<qsizetype>(range.start + range.length, colors.size()),
                      FromQColor(range.format.foreground().color()));
        shown.insert(shown.end(), colors.begin(), colors.end());
        const auto at = kept.colors().begin() + start;
        expected.insert(expected.end(), at, at + line.length() - 1);
        start += line.length() - 1;
        start += kept.Text().mid(start, 2) == u"\r\n" ? 2 : 0;
    }
    return {shown, expected};
}

// Typed, pasted or coloured, the text keeps the colours a memory box keeps through the same
// edits, and the lines on screen show them.
TEST(QtRichTextBoxTest, ColoursFollowEveryEditAndTheLinesOnScreenShowThem)
{
    support::TestEnvironment environment;
    QWidget window;
    window.resize(500, 300);
    QtRichTextBox box{&window};
    ASSERT_TRUE(box.Move(0, 0, 7000, 4000));
    window.show();
    // A long line first, cut into pieces on screen.
    const QString script = LongLine(6000, true, 0) + "\r\n" + support::GenerateScript(6000, 5);
    ASSERT_TRUE(box.LoadFile(environment.writeFile("file", EncodeText(script))));
    MemoryRichTextBox memory(script);
    for (RichTextBox* each : std::initializer_list<RichTextBox*>{&box, &memory})
        each->ApplyColorRuns(RunsFor(script));
    std::mt19937 random(7);
    const auto color = [&random] { return Color(random() % 5 * 0x332211); };
    for (int round = 0; round < 400; ++round) {
        const QString text = memory.Text();
        const qint32 length = qint32(random() % 3 ? 0 : random() % 90);
        const qint32 start = Between(text, qint32(random() % (text.size() + 1 - length)) + (length ? 1 : 0));
        for (RichTextBox* each : std::initializer_list<RichTextBox*>{&box, &memory})
            Select(*each, start, Between(text, start + length) - start);
        const unsigned edit = random() % 6;
        const qint32 from = Between(script, qint32(random() % 5000));
        const QString pasted = script.mid(from, Between(script, from + qint32(random() % 200)) - from);
        std::vector<Color> pastedColors(pasted.size());
        std::generate(pastedColors.begin(), pastedColors.end(), color);
        const Color selectionColor = color();
        const auto key = [&](Qt::Key qtKey, const QString& typed) {
            QTest::keyClick(box.widget(), qtKey);
            memory.setSelText(typed);
        };
        switch (edit) {
        case 0: key(Qt::Key_X, "x"); break;
        case 1: key(Qt::Key_Return, "\r\n"); break;
        case 2:
            if (memory.SelLength() == 0 && start > 0)
                Select(memory, start - (text.mid(start - 2, 2) == "\r\n" ? 2 : 1), start > 1 && text.mid(start - 2, 2) == "\r\n" ? 2 : 1);
            key(Qt::Key_Backspace, {});
            break;
        case 3:
            for (RichTextBox* each : std::initializer_list<RichTextBox*>{&box, &memory})
                each->setSelRTF(QString::fromLatin1(WriteRtf(pasted, pastedColors)));
            break;
        case 4:
            for (RichTextBox* each : std::initializer_list<RichTextBox*>{&box, &memory})
                each->setSelText(pasted);
            break;
        default:
            for (RichTextBox* each : std::initializer_list<RichTextBox*>{&box, &memory})
                each->setSelColor(selectionColor);
        }
        QCoreApplication::processEvents();
        // Some edits follow each other unread, as keys do.
        if (round % 3 != 2)
            continue;
        ASSERT_EQ(box.Text(), memory.Text()) << "round " << round << " edit " << edit << " at " << start << "+" << length << " " << pasted.toStdString();
        const auto [shown, kept] = ShownAndKept(*box.widget(), memory);
        ASSERT_EQ(shown, kept) << "round " << round;
        ASSERT_EQ(Contents(box).colors, Contents(memory).colors) << "round " << round;
    }
}

// Paint events of widgets, and the height of the areas they covered.
struct Paints : QObject {
    int count = 0;
    int height = 0;

    bool eventFilter(QObject* /*widget*/, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count;
            height += static_cast<QPaintEvent*>(event)->region().boundingRect().height();
        }
        return false;
    }
};

// A key or a colouring repaints the line it changes, once, and nothing else, though the colouring
// hides the box and shows it again. A box left hidden leaves no picture behind.
TEST(QtRichTextBoxTest, AnEditRepaintsOnceTheLineItChanges)
{
    support::TestEnvironment environment;
    shell::options = {};
    language::ResetCommandTable();
    language::AddCommand(QStringLiteral("SET"));
    QWidget window;
    window.resize(500, 300);
    QtRichTextBox box{&window};
    ASSERT_TRUE(box.Move(0, 0, 7000, 4000));
    window.show();
    const QString script = support::GenerateScript(400, 5);  // shown whole
    ASSERT_TRUE(box.LoadFile(environment.writeFile("file", EncodeText(script))));
    language::ColorizeScript(box);
    box.setSelStart(qint32(script.indexOf(u'\r', 100)));
    QCoreApplication::processEvents();
    const int line = box.widget()->fontMetrics().lineSpacing();
    Paints paints, windowPaints;
    box.widget()->installEventFilter(&paints);
    box.widget()->viewport()->installEventFilter(&paints);
    window.installEventFilter(&windowPaints);
    const auto repainted = [&](const auto& change) {
        paints.count = paints.height = windowPaints.count = windowPaints.height = 0;
        change();
        // The events a change posts may post more.
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        return std::pair(paints.count, qRound(double(paints.height) / line));
    };
    const qint32 start = box.SelStart();
    const int rows = box.widget()->textCursor().block().lineCount();  // the line may wrap
    const std::vector<ColorRun> red{{start - 3, 2, kRed}};
    EXPECT_EQ(repainted([&] { QTest::keyClick(box.widget(), Qt::Key_X); }), std::pair(1, rows));
    EXPECT_EQ(repainted([&] { box.ApplyColorRuns(red); }), std::pair(1, rows));
    EXPECT_EQ(repainted([&] { box.ApplyColorRuns(red); }), std::pair(0, 0));
    EXPECT_EQ(repainted([&] { language::ColorizeScript(box); }), std::pair(1, rows));
    EXPECT_EQ(repainted([&] { language::ColorizeScript(box); }), std::pair(0, 0));
    EXPECT_EQ(repainted([&] { box.setVisible(false); }), std::pair(0, 0));
    EXPECT_EQ(std::pair(windowPaints.count, windowPaints.height), std::pair(1, box.widget()->height()));
    language::ResetCommandTable();
}

// Lines wrap at the margin, also after the box is placed anew; a negative margin is refused.
TEST(QtRichTextBoxTest, LinesWrapAtTheMarginAndNothingLiesPastIt)
{
    QWidget window;
    QtRichTextBox box{&window};
    window.show();
    EXPECT_FALSE(box.Move(0, 0, -1, 100) || box.setRightMargin(-1));
    ASSERT_TRUE(box.Move(0, 0, 4000, 1500) && box.setRightMargin(2600) && box.Move(0, 0, 4500, 1500));
    box.setSelText(QStringLiteral("CREATE_SHIP v, 1, 2, 3 ").repeated(20));
    QCoreApplication::processEvents();
    QPlainTextEdit& edit = *box.widget();
    EXPECT_EQ(std::pair(edit.viewport()->width(), edit.horizontalScrollBar()->maximum()),
              std::pair(TwipsToPixelsX(2600), 0));
}

}  // namespace
}  // namespace platform
