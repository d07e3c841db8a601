#include "shell/frmDocument.h"

#include "platform/qt_twips.h"
#include "shell/window_test_fixture.h"

namespace shell::testing {
namespace {

using platform::MsgBoxResult;

using ScriptWindow = WindowTest;

TEST_F(ScriptWindow, ClosingAsksEveryTimeAndFollowsTheAnswer)
{
    frmMain& window = Start();
    window.mnuFileNew->trigger();
    window.mnuFileNew->trigger();
    const QList<frmDocument*> documents = ScriptWindows();
    for (frmDocument* document : documents)
        document->rtfText.setSelText("NUMBER x");

    saveAnswers = {MsgBoxResult::Cancel, MsgBoxResult::No, MsgBoxResult::Yes};
    window.mnuFileClose->trigger();  // Script 3: Cancel
    documents[1]->parentWidget()->close();  // Script 2: No
    documents[0]->parentWidget()->close();  // Script 1: Yes

    ASSERT_EQ(messages.size(), 3u);
    for (int index = 0; index < 3; ++index)
        EXPECT_EQ(messages[index].title, "Save?");
    EXPECT_EQ(messages[0].text, "Do you wish to save your changes to Script 3?");
    EXPECT_EQ(messages[1].text, "Do you wish to save your changes to Script 2?");
    EXPECT_EQ(Captions(), QStringList{"Script 3"});
    EXPECT_EQ(ScriptWindows()[0]->rtfText.Text(), "NUMBER x");
    EXPECT_FALSE(QFile::exists(environment.workDir() + "/Script 2"));
    EXPECT_EQ(support::TestEnvironment::readFile(environment.workDir() + "/Script 1"), "NUMBER x\r\n");
}

TEST_F(ScriptWindow, YesRewritesAFileThatWasNeverChanged)
{
    const QString path = environment.writeFile("mission.scr", "NUMBER x\r\n");
    frmMain& window = Start();
    fileAnswers = {path};
    window.mnuFileOpen->trigger();
    saveAnswers = {MsgBoxResult::Yes};
    window.mnuFileClose->trigger();
    EXPECT_EQ(messages.back().text, "Do you wish to save your changes to " + path + "?");
    EXPECT_EQ(support::TestEnvironment::readFile(path), "NUMBER x\r\n\r\n");
}

TEST_F(ScriptWindow, EnterColoursAndAnalysesWithTheirStatusTexts)
{
    frmMain& window = Start();
    frmDocument& document = *window.activeScriptWindow();
    document.rtfText.setSelText("NUMBER speed");
    for (const auto modifiers : {Qt::KeyboardModifiers(), Qt::KeyboardModifiers(Qt::ShiftModifier),
                                 Qt::KeyboardModifiers(Qt::ControlModifier)}) {
        options.SystemFlags = 1;
        status.texts.clear();
        language::ClearVariables();
        PressKey(document, Qt::Key_Return, modifiers, "\r");
        EXPECT_EQ(status.texts, (QStringList{"Coloring Script 1...", "Normal", "Parsing Script 1...", "Normal"}));
        EXPECT_EQ(language::VarTable[0][0], "speed");

        options.SystemFlags = 0;
        status.texts.clear();
        PressKey(document, Qt::Key_Return, modifiers, "\r");
        EXPECT_EQ(status.texts, (QStringList{"Parsing Script 1...", "Normal"}));
    }
}

TEST_F(ScriptWindow, OtherKeysChangeNothingOutsideTheBox)
{
    frmMain& window = Start();
    frmDocument& document = *window.activeScriptWindow();
    PressKey(document, Qt::Key_A, {}, "a");
    PressKey(document, Qt::Key_M, Qt::ControlModifier);
    EXPECT_TRUE(status.texts.isEmpty()) << status.texts.join(", ").toStdString();
    EXPECT_EQ(document.rtfText.Text(), "a");
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

TEST_F(ScriptWindow, BoxKeepsAHundredTwipBorder)
{
    using platform::PixelsToTwipsX;
    using platform::PixelsToTwipsY;
    using platform::TwipsToPixelsX;
    using platform::TwipsToPixelsY;
    frmMain& window = Start();
    frmDocument& document = *window.activeScriptWindow();
    const auto boxFor = [](QSize client) {
        const int width = int(PixelsToTwipsX(client.width())) - 200;
        const int height = int(PixelsToTwipsY(client.height())) - 200;
        return QRect(TwipsToPixelsX(100), TwipsToPixelsY(100), TwipsToPixelsX(width), TwipsToPixelsY(height));
    };

    document.resize(300, 200);
    EXPECT_EQ(document.rtfText.widget()->geometry(), boxFor({300, 200}));
    const QRect last = document.rtfText.widget()->geometry();
    document.resize(300, TwipsToPixelsY(150));  // below 200 twips: the box stays as it was
    EXPECT_EQ(document.rtfText.widget()->geometry(), last);
    document.resize(400, 250);
    EXPECT_EQ(document.rtfText.widget()->geometry(), boxFor({400, 250}));
}

TEST_F(ScriptWindow, FocusGivesTheBoxTheBackgroundColour)
{
    frmMain& window = Start();
    frmDocument& document = *window.activeScriptWindow();
    options.TextColors[BackgroundColor] = 0x336699;
    QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(document.rtfText.widget(), &focus);
    EXPECT_EQ(document.rtfText.widget()->palette().color(QPalette::Base), QColor(0x99, 0x66, 0x33));
}

}  // namespace
}  // namespace shell::testing
