#include "platform/qt_rich_text_box.h"

#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <random>

#include "language/colorize.h"
#include "platform/memory_rich_text_box.h"
#include "platform/qt_box_text.h"
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
