#include "platform/qt_rich_text_box.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <random>

#include "language/colorize.h"
#include "platform/memory_rich_text_box.h"
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

    support::TestEnvironment environment;
    QWidget window;
    QtRichTextBox box{&window};
};

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

// Keys reach the window as key codes with their shift state, after the box took them; lines wrap
// at the margin, through later resizes; without one, or with one wider than the box, at its edge.
TEST_F(QtRichTextBoxTest, KeysAndMarginBehaveAsInTheWindow)
{
    window.show();
    std::vector<std::array<qsizetype, 3>> seen;  // key code, shift state, length of the text
    box.KeyDown = [&](int keyCode, int shift) { seen.push_back({keyCode, shift, box.Text().size()}); };
    QTest::keyClicks(box.widget(), QStringLiteral("a\r"));
    for (const auto& [key, modifier] : {std::pair(Qt::Key_Return, Qt::ShiftModifier),
                                        {Qt::Key_Return, Qt::ControlModifier}, {Qt::Key_Enter, Qt::KeypadModifier}})
        QTest::keyClick(box.widget(), key, modifier);
    EXPECT_EQ(seen, (std::vector<std::array<qsizetype, 3>>{
                        {65, 0, 1}, {13, 0, 3}, {16, 1, 3}, {13, 1, 5}, {17, 2, 5}, {13, 2, 7}, {13, 0, 9}}));
    EXPECT_FALSE(box.Move(0, 0, -1, 100) || box.Move(0, 0, 100, -1) || box.setRightMargin(-1) || box.SelPrint(nullptr));
    const auto wrap = [&](qint32 margin, qint32 width) {
        EXPECT_TRUE(box.setRightMargin(margin) && box.Move(0, 0, width, 1500));
        return box.widget()->viewport()->width();
    };
    const int edge = wrap(0, 3000);  // the script window's own tests check the box's place
    EXPECT_EQ(std::vector({wrap(2600, 3000), wrap(2600, 4000), wrap(0, 3000), wrap(5000, 3000)}),
              std::vector({TwipsToPixelsX(2600), TwipsToPixelsX(2600), edge, edge}));
}

}  // namespace
}  // namespace platform
