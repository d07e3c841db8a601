#include "shell/frmDocument.h"

#include "platform/qt_twips.h"
#include "shell/window_test_fixture.h"

namespace shell::testing {
namespace {

using platform::MsgBoxResult;
using support::TestEnvironment;

using ScriptWindow = WindowTest;

TEST_F(ScriptWindow, ClosingAsksEveryTimeAndFollowsTheAnswer)
{
    const QString opened = environment.writeFile("mission.scr", "NUMBER x\r\n");
    frmMain& window = Start();
    Open(opened);
    window.mnuFileNew->trigger();
    window.mnuFileNew->trigger();
    const QList<frmDocument*> documents = ScriptWindows();
    for (frmDocument* document : {documents[0], documents[2], documents[3]})
        document->rtfText.setSelText("NUMBER y");

    saveAnswers = {MsgBoxResult::Cancel, MsgBoxResult::No, MsgBoxResult::Yes, MsgBoxResult::Yes};
    window.mnuFileClose->trigger();
    for (const int closed : {2, 1, 0})
        documents[closed]->parentWidget()->close();

    EXPECT_EQ(MessageTexts(), (QStringList{"Do you wish to save your changes to Script 4?",
                                           "Do you wish to save your changes to Script 3?",
                                           "Do you wish to save your changes to " + opened + "?",
                                           "Do you wish to save your changes to Script 1?"}));
    for (const MessageShown& message : messages)
        EXPECT_EQ(message.title, "Save?");
    EXPECT_EQ(Captions(), QStringList{"Script 4"});
    EXPECT_EQ(ScriptWindows()[0]->rtfText.Text(), "NUMBER y");
    EXPECT_FALSE(QFile::exists(environment.workDir() + "/Script 3"));
    EXPECT_EQ(TestEnvironment::readFile(opened), "NUMBER x\r\n\r\n") << "never changed, written all the same";
    EXPECT_EQ(TestEnvironment::readFile(environment.workDir() + "/Script 1"), "NUMBER y\r\n");
}

TEST_F(ScriptWindow, EnterColoursAndAnalysesWithTheirStatusTextsAndNoOtherKeyDoes)
{
    frmMain& window = Start();
    frmDocument& document = *window.activeScriptWindow();
    QTest::keyClick(document.rtfText.widget(), Qt::Key_A);
    QTest::keyClick(document.rtfText.widget(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_TRUE(status.texts.isEmpty()) << status.texts.join(", ").toStdString();
    EXPECT_EQ(document.rtfText.Text(), "a");

    document.rtfText.setSelStart(0);
    document.rtfText.setSelLength(1);
    document.rtfText.setSelText("NUMBER speed");
    for (const auto modifiers : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier),
                                 Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        options.SystemFlags = 1;
        status.texts.clear();
        language::ClearVariables();
        QTest::keyClick(document.rtfText.widget(), Qt::Key_Return, modifiers);
        EXPECT_EQ(status.texts,
                  (QStringList{"Coloring Script 1...", "Normal", "Parsing Script 1...", "Normal"}));
        EXPECT_EQ(language::VarTable[0][0], "speed");

        options.SystemFlags = 0;
        status.texts.clear();
        QTest::keyClick(document.rtfText.widget(), Qt::Key_Return, modifiers);
        EXPECT_EQ(status.texts, (QStringList{"Parsing Script 1...", "Normal"}));
    }
}

TEST_F(ScriptWindow, BecomingActiveAnalysesTheScript)
{
    frmMain& window = Start();
    window.activeScriptWindow()->rtfText.setSelText("NUMBER first");
    window.mnuFileNew->trigger();
    window.activeScriptWindow()->rtfText.setSelText("NUMBER second");
    status.texts.clear();

    window.mdiArea->activatePreviousSubWindow();
    EXPECT_EQ(status.texts, (QStringList{"Parsing Script 1...", "Normal"}));
    EXPECT_EQ(language::VarTable[0][0], "first");
    window.mdiArea->activateNextSubWindow();
    EXPECT_EQ(language::VarTable[0][0], "second");
}

TEST_F(ScriptWindow, BoxKeepsAHundredTwipBorderAndTakesTheBackgroundColourOnFocus)
{
    using namespace platform;
    frmDocument& document = *Start().activeScriptWindow();
    const QWidget& box = *document.rtfText.widget();
    const auto boxFor = [](int width, int height) {
        return QRect(TwipsToPixelsX(100), TwipsToPixelsY(100),
                     TwipsToPixelsX(int(PixelsToTwipsX(width)) - 200),
                     TwipsToPixelsY(int(PixelsToTwipsY(height)) - 200));
    };
    document.resize(300, 200);
    EXPECT_EQ(box.geometry(), boxFor(300, 200));
    document.resize(300, TwipsToPixelsY(150));  // below 200 twips: the box stays as it was
    EXPECT_EQ(box.geometry(), boxFor(300, 200));
    document.resize(400, 250);
    EXPECT_EQ(box.geometry(), boxFor(400, 250));

    options.TextColors[BackgroundColor] = 0x336699;
    QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(document.rtfText.widget(), &focus);
    EXPECT_EQ(box.palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
}

}  // namespace
}  // namespace shell::testing
