// The main window's edit, print, view and window commands, and the toolbar that reaches them.
#include <QClipboard>
#include <QMimeData>
#include <QProcess>
#include <QStatusBar>
#include <QToolBar>

#include "language/colorize.h"
#include "launcher/frmErrors.h"
#include "platform/qt_script_clipboard.h"
#include "shell/window_test_fixture.h"

namespace shell::testing {
namespace {

using platform::MsgBoxResult;

class Commands : public WindowTest {
protected:
    ~Commands() override { launcher::UnloadErrorsWindow(); }

    // A new script window holding the text, coloured, with length characters from start selected.
    frmDocument& Script(const QString& text, int start = 0, int length = 0)
    {
        frmDocument& document = *main->NewScriptWindow();
        document.rtfText.setSelText(text);
        language::ColorizeScript(document.rtfText);
        document.rtfText.setSelStart(start);
        document.rtfText.setSelLength(length);
        return document;
    }

    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }

};

// Cut "b", paste it into the new window and copy the nothing selected there; without a window
// the edit commands change nothing; View > Status Bar hides the bar.
TEST_F(Commands, ToolbarRunsTheCommandOfEachKeyAndNothingForOtherKeys)
{
    frmMain& window = Start();
    frmDocument& script = Script("abc", 1, 1);
    fileAnswers = {"", ""};
    printAnswers = {""};
    for (const char* key :
         {"Cut", "new", "Camera", "Launch ", "Open", "Save", "Print", "Launch", "New", "Paste", "Copy"})
        window.tbToolBar_ButtonClick(key);
    EXPECT_EQ(dialogs, (QStringList{"Open|Open|Script Files (*.scr)|*.scr|Ship Files (*.shp)|*.shp",
                                    "Save|Save|Script Files (*.scr)|*.scr", "Printer|Print|264"}));
    EXPECT_EQ(Captions() << script.rtfText.Text() << window.activeScriptWindow()->rtfText.Text()
                         << Clipboard() << MessageTexts().join('|').left(24),
              QStringList({"Script 1", "Script 2", "Script 3", "ac", "b", "", "Independence War was not"}));
    QGuiApplication::clipboard()->setText("earlier");
    saveAnswers = {MsgBoxResult::No, MsgBoxResult::No, MsgBoxResult::No};
    window.mdiArea->closeAllSubWindows();
    Trigger({window.mnuEditCut, window.mnuEditCopy, window.mnuEditPaste, window.mnuViewStatusBar});
    EXPECT_EQ(Clipboard() + QString::number(window.sbStatusBar->isVisible()), "earlier0");
}

// Ctrl+C and Ctrl+V in the box go through the Edit commands; other programs get the plain text
// with LF line ends. Markup that arrives as plain text, as from older copies, pastes with its
// colours too; other programs' RTF does not.
TEST_F(Commands, CopyAndPasteBetweenScriptWindowsKeepTextAndColours)
{
    language::AddCommand("NUMBER");
    frmMain& window = Start();
    QApplication::setActiveWindow(&window);
    frmDocument& source = Script("NUMBER x\r\nSTRING y", 0, 18);
    source.rtfText.widget()->setFocus();
    QTest::keyClick(source.rtfText.widget(), Qt::Key_C, Qt::ControlModifier);
    QStringList copied{Clipboard(), QGuiApplication::clipboard()->mimeData()->formats().join(' ')};
    frmDocument& target = Script("[]", 1);
    target.rtfText.widget()->setFocus();
    QTest::keyClick(target.rtfText.widget(), Qt::Key_V, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText("{\\rtf1{\\colortbl;\\red255;}\\cf1 red}");
    window.mnuEditPaste->trigger();
    std::vector<platform::Color> colors(23, 0);
    std::fill_n(colors.begin() + 1, 6, options.TextColors[0]);
    std::fill_n(colors.begin() + 19, 3, 0xFF);
    auto* foreign = new QMimeData();
    foreign->setText("plain"), foreign->setData("text/rtf", "{\\rtf1 rich}");
    QGuiApplication::clipboard()->setMimeData(foreign);
    copied << platform::PastedText(*foreign);
    EXPECT_EQ(QStringList({Content(target).text, Content(source).text}) + copied,
              QStringList({"[NUMBER x\r\nSTRING yred]", "NUMBER x\r\nSTRING y", "NUMBER x\nSTRING y",
                           "text/plain text/rtf application/x-orbiscribe-script", "plain"}));
    EXPECT_EQ(Content(target).colors, colors);
    frmDocument& cut = Script("one");
    window.mnuEditCut->trigger();
    EXPECT_EQ(cut.rtfText.Text() + u'|' + Clipboard(), "one|") << "cut without a selection empties it";
}

// The keys older than Ctrl+C, Ctrl+X and Ctrl+V run the same Edit commands.
TEST_F(Commands, CtrlInsertShiftDeleteAndShiftInsertCopyCutAndPaste)
{
    frmMain& window = Start();
    QApplication::setActiveWindow(&window);
    frmDocument& script = Script("one two three", 4, 3);
    QWidget* box = script.rtfText.widget();
    box->setFocus();
    QStringList seen;
    const auto press = [&](Qt::Key key, Qt::KeyboardModifier modifier, int start, int length) {
        script.rtfText.setSelStart(start);
        script.rtfText.setSelLength(length);
        QTest::keyClick(box, key, modifier);
        seen << Clipboard() + u'|' + script.rtfText.Text();
    };
    press(Qt::Key_Insert, Qt::ControlModifier, 4, 3);
    press(Qt::Key_Delete, Qt::ShiftModifier, 0, 4);
    press(Qt::Key_Insert, Qt::ShiftModifier, 4, 0);
    EXPECT_EQ(seen, QStringList({"two|one two three", "one |two three", "one |two one three"}));
}

// The dialog opens on the selection or on all; its flags stay for Page Setup, which needs no window.
TEST_F(Commands, PrintAsksForThePrinterWithTheSelectionFlagAndPageSetupKeepsIt)
{
    frmMain& window = Start();
    frmDocument& script = Script("NUMBER first\r\nSET second");
    const QString all = environment.root() + "/all.pdf", selection = environment.root() + "/selection.pdf";
    printAnswers = {all, selection, ""};
    window.mnuFilePrint->trigger();
    script.rtfText.setSelLength(6);
    window.mnuFilePrint->trigger();
    const auto printed = [](const QString& pdf) {  // the words on the page, its number at the foot
        QProcess text;
        text.start("pdftotext", {pdf, "-"});
        return text.waitForFinished() ? QString::fromUtf8(text.readAllStandardOutput()).simplified() : QString();
    };
    EXPECT_EQ(printed(all) + u'|' + printed(selection), "NUMBER first SET second 1|NUMBER 1");
    saveAnswers = {MsgBoxResult::No, MsgBoxResult::No};
    window.mdiArea->closeAllSubWindows();
    Trigger({window.mnuFilePrint, window.mnuFilePageSetup});
    EXPECT_EQ(dialogs, (QStringList{"Printer|Print|264", "Printer|Print|265", "Printer|Page Setup|265"}));
}

// Three windows in rows, in columns, and minimised in a row along the bottom edge.
TEST_F(Commands, WindowArrangementsPlaceTheScriptWindows)
{
    frmMain& window = Start();
    window.NewScriptWindow();
    window.NewScriptWindow();
    const QRect area = window.mdiArea->viewport()->rect();
    const auto places = [&](QAction* item) {
        item->trigger();
        QList<QRect> geometries;
        for (const QMdiSubWindow* sub : window.mdiArea->subWindowList())
            geometries.append(sub->geometry());
        return geometries;
    };
    EXPECT_EQ(QList({places(window.mnuWindowTileHorizontal), places(window.mnuWindowTileVertical)}),
              QList({TileRows(area, 3), TileColumns(area, 3)}));
    for (QMdiSubWindow* sub : window.mdiArea->subWindowList()) {
        sub->showMinimized();
        sub->move(5, 5);
    }
    const QList<QRect> icons = places(window.mnuWindowArrangeIcons);
    EXPECT_EQ(icons, LineUpIcons(area, QList<QSize>(3, icons[0].size())));
    EXPECT_EQ(TileRows({0, 0, 9, 5}, 2) + LineUpIcons({0, 0, 8, 5}, {{4, 1}, {4, 2}, {4, 1}}),
              QList<QRect>({{0, 0, 9, 2}, {0, 2, 9, 3}, {0, 4, 4, 1}, {4, 3, 4, 2}, {0, 2, 4, 1}}));
}

}  // namespace
}  // namespace shell::testing
