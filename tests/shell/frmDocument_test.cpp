#include "shell/frmDocument.h"

#include <QDir>

#include "platform/qt_twips.h"
#include "shell/window_test_fixture.h"

namespace shell::testing {
namespace {

using platform::MsgBoxResult;
using support::TestEnvironment;

using ScriptWindow = WindowTest;

TEST_F(ScriptWindow, ClosingAsksEveryTimeAndAWindowWithoutAFileAsksWhereToSave)
{
    const QString opened = environment.writeFile("mission.scr", "NUMBER x\r\n"), chosen = environment.root() + "/new.scr";
    frmMain& window = Start();
    Open(opened);
    window.mnuFileNew->trigger();
    window.mnuFileNew->trigger();
    const QList<frmDocument*> documents = ScriptWindows();
    for (frmDocument* document : {documents[0], documents[2], documents[3]})
        document->rtfText.setSelText("NUMBER y");

    saveAnswers = {MsgBoxResult::Cancel, MsgBoxResult::No, MsgBoxResult::Yes, MsgBoxResult::Yes, MsgBoxResult::Yes};
    fileAnswers = {"", chosen};
    window.mnuFileClose->trigger();
    for (const int closed : {2, 1, 0, 0})
        documents[closed]->parentWidget()->close();

    const QString question = "Do you wish to save your changes to %1?";
    EXPECT_EQ(MessageTexts(), (QStringList{question.arg("Script 4"), question.arg("Script 3"), question.arg(opened),
                                           question.arg("Script 1"), question.arg("Script 1")}));
    EXPECT_EQ(dialogs.mid(1), QStringList(2, "Save|Save|Script Files (*.scr)|*.scr"));
    EXPECT_EQ(std::pair(Captions(), ScriptWindows()[0]->rtfText.Text()), std::pair(QStringList{"Script 4"}, QString("NUMBER y")));
    EXPECT_EQ(TestEnvironment::files(environment.root()),
              QStringList({"mission.scr=NUMBER x\r\n", "new.scr=NUMBER y\r\n"})) << "nothing in the working folder";
    fileAnswers = {""};
    EXPECT_FALSE(Exit({MsgBoxResult::Yes})) << "Cancel in the Save dialog stops the shut-down";
}

TEST_F(ScriptWindow, CharactersTheFileCannotHoldAreWrittenOnlyOnceTheUserAgrees)
{
    const QString path = environment.writeFile("mission.scr", "old\r\n");
    frmMain& window = Start();
    Open(path);
    window.activeScriptWindow()->rtfText.setSelText(u"caf\u00E9\r\n\u4E2D \u2603\r\n"_qs);
    saveAnswers = {MsgBoxResult::No, MsgBoxResult::Yes, MsgBoxResult::Yes, MsgBoxResult::No};
    QList<QByteArray> written;
    for (int save = 0; save < 2; ++save) {
        window.mnuFileSave->trigger();
        written += TestEnvironment::readFile(path);
    }
    window.activeScriptWindow()->parentWidget()->close();

    EXPECT_EQ(written, QList<QByteArray>({"old\r\n", "caf\xE9\r\n? ?\r\nold\r\n"}));
    const QString lossy = "The file " + path + u" cannot hold every character of this script: line 2 holds \"\u4E2D\", "
                          u"which would be written as \"?\", like any other such character.\n\nSave anyway?"_qs;
    EXPECT_EQ(MessageTexts(), (QStringList{lossy, lossy, "Do you wish to save your changes to " + path + "?", lossy}));
    EXPECT_EQ(Captions(), QStringList({"Script 1", path})) << "No keeps the window open";
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

TEST_F(ScriptWindow, SettingsThatCannotBeStoredAtShutDownAreToldOnce)
{
    const QString stored = environment.configHome() + "/Orbiscribe/Orbiscribe.ini";
    QDir().mkpath(stored);  // a folder where the file should be
    Start();
    EXPECT_TRUE(Exit({MsgBoxResult::No}));
    const QStringList texts = MessageTexts();
    ASSERT_EQ(texts.size(), 2);
    EXPECT_TRUE(texts[1].startsWith("The settings could not be stored in " + stored + ". Cannot read " + stored + ": "));
}

}  // namespace
}  // namespace shell::testing
