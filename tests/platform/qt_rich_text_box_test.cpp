#include "platform/qt_rich_text_box.h"

#include <QPaintEvent>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>
#include <random>

#include "language/colorize.h"
#include "language/command_table.h"
#include "platform/memory_rich_text_box.h"
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
    const QTextBlock last = edit.cursorForPosition(QPoint(0, edit.viewport()->height() - 1)).block();
    for (QTextBlock line = edit.cursorForPosition(QPoint(0, 0)).block(); line != last.next(); line = line.next()) {
        std::vector<Color> colors(size_t(line.length() - 1), -1);
        for (const QTextLayout::FormatRange& range : line.layout()->formats())
            std::fill(colors.begin() + std::min<qsizetype>(range.start, colors.size()),
                      colors.begin() + std::min<qsizetype>(range.start + range.length, colors.size()),
                      FromQColor(range.format.foreground().color()));
        shown.insert(shown.end(), colors.begin(), colors.end());
        const auto start = kept.colors().begin() + TextPosition(*edit.document(), line.position());
        expected.insert(expected.end(), start, start + line.length() - 1);
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
    const QString script = support::GenerateScript(6000, 5);
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
