// The main window's edit, print, view and window commands, and the toolbar that reaches them.
#include <QClipboard>
#include <QDir>
#include <QImage>
#include <QMimeData>
#include <QProcess>
#include <QStatusBar>
#include <QToolBar>

#include "language/colorize.h"
#include "launcher/frmErrors.h"
#include "platform/qt_script_clipboard.h"
#include "platform/rtf.h"
#include "shell/window_test_fixture.h"

namespace shell::testing {
namespace {

using platform::MsgBoxResult;
using platform::PastedText;

class Commands : public WindowTest {
protected:
    ~Commands() override { launcher::UnloadErrorsWindow(); }

    // A new script window holding the text, coloured, with length characters from start selected.
    frmDocument& Script(const QString& text, int start = 0, int length = 0)
    {
        frmDocument& document = *main->NewScriptWindow();
        document.rtfText.setSelText(text);
        language::ColorizeScript(document.rtfText);
        return Select(document, start, length);
    }

    static frmDocument& Select(frmDocument& document, int start, int length)
    {
        document.rtfText.setSelStart(start);
        document.rtfText.setSelLength(length);
        return document;
    }

    static QString Clipboard() { return QGuiApplication::clipboard()->text(); }

    // The text of a printed PDF file without the page number, and whether any of it is blue.
    static std::pair<QString, bool> Printed(const QString& pdf)
    {
        QProcess::execute("pdftotext", {pdf, pdf + ".txt"});
        QProcess::execute("pdftoppm", {"-png", "-r", "50", "-singlefile", pdf, pdf});
        const QImage page = QImage(pdf + ".png").convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(page.constBits());
        const bool blue = std::any_of(pixels, pixels + page.width() * page.height(),
                                      [](QRgb pixel) { return qBlue(pixel) > 160 && qRed(pixel) < 60; });
        return {QString(support::TestEnvironment::readFile(pdf + ".txt")).section("\n\n1", 0, 0).trimmed(), blue};
    }
};

TEST_F(Commands, ToolbarRunsTheCommandOfEachKeyAndNothingForOtherKeys)
{
    frmMain& window = Start();
    frmDocument& script = Script("abc", 1, 1);
    fileAnswers = {"", ""};
    printAnswers = {""};
    // Cut "b", paste it into the new window and copy the nothing selected there.
    for (const char* key : {"Cut", "new", "Camera", "Launch ", "Open", "Save", "Print", "Launch", "New", "Paste", "Copy"})
        window.tbToolBar_ButtonClick(key);
    EXPECT_EQ(dialogs, (QStringList{"Open|Open|Script Files (*.scr)|*.scr|Ship Files (*.shp)|*.shp",
                                    "Save|Save|Script Files (*.scr)|*.scr", "Printer|Print|264"}));
    EXPECT_EQ(Captions() << script.rtfText.Text() << window.activeScriptWindow()->rtfText.Text() << Clipboard()
                         << MessageTexts().join('|').left(33),
              (QStringList{"Script 1", "Script 2", "Script 3", "ac", "b", "", "Independence War was not started."}));
}

// Ctrl+C and Ctrl+V in the box go through the Edit commands; markup that arrives as plain
// text, as from older copies, pastes with its colours too.
TEST_F(Commands, CopyAndPasteBetweenScriptWindowsKeepTextAndColours)
{
    language::AddCommand("NUMBER");
    frmMain& window = Start();
    QApplication::setActiveWindow(&window);
    frmDocument& source = Script("NUMBER x\r\nSTRING y", 0, 18);
    source.rtfText.widget()->setFocus();
    QTest::keyClick(source.rtfText.widget(), Qt::Key_C, Qt::ControlModifier);
    const QStringList copied{Clipboard(), QGuiApplication::clipboard()->mimeData()->formats().join(' ')};
    frmDocument& target = Script("[]", 1);
    target.rtfText.widget()->setFocus();
    QTest::keyClick(target.rtfText.widget(), Qt::Key_V, Qt::ControlModifier);
    QGuiApplication::clipboard()->setText("{\\rtf1{\\colortbl;\\red255;}\\cf1 red}");
    window.mnuEditPaste->trigger();
    std::vector<platform::Color> colors(23, 0);
    std::fill_n(colors.begin() + 1, 6, options.TextColors[0]);
    std::fill_n(colors.begin() + 19, 3, 0xFF);
    EXPECT_EQ(QStringList({Content(target).text, Content(source).text}) + copied,
              QStringList({"[NUMBER x\r\nSTRING yred]", "NUMBER x\r\nSTRING y", "NUMBER x\r\nSTRING y",
                           "text/plain text/rtf application/x-orbiscribe-script"}));
    EXPECT_EQ(Content(target).colors, colors);
}

// Our own copies paste as their RTF; other programs' as their plain text.
TEST_F(Commands, PasteTakesOurRtfOrElseThePlainText)
{
    const QString rtf = "{\\rtf1 rich}";
    std::unique_ptr<QMimeData> ours(platform::ScriptMimeData("plain", rtf)), foreign(platform::ScriptMimeData("plain", rtf));
    foreign->removeFormat("application/x-orbiscribe-script");
    EXPECT_EQ(QStringList({PastedText(*ours), PastedText(*foreign), PastedText(QMimeData()), ours->formats().join(' ')}),
              QStringList({rtf, "plain", "", "text/plain text/rtf application/x-orbiscribe-script"}));
}

TEST_F(Commands, CutWithoutASelectionEmptiesTheClipboardAndWithoutAWindowNothingChanges)
{
    frmMain& window = Start();
    QGuiApplication::clipboard()->setText("earlier");
    saveAnswers = {MsgBoxResult::No};
    window.mnuFileClose->trigger();
    for (QAction* item : {window.mnuEditCut, window.mnuEditCopy, window.mnuEditPaste})
        item->trigger();
    const QString untouched = Clipboard();
    frmDocument& script = Script("one");
    window.mnuEditCut->trigger();
    EXPECT_EQ(QStringList({untouched, script.rtfText.Text(), Clipboard()}), QStringList({"earlier", "one", ""}));
}

// The dialog opens on the selection or on all; its flags stay for Page Setup.
TEST_F(Commands, PrintsTheSelectionOrElseAllTheTextInColourAndNothingOnCancel)
{
    language::AddCommand("NUMBER");
    frmMain& window = Start();
    frmDocument& script = Script("NUMBER first\r\nSTRING second");
    const QString all = environment.root() + "/all.pdf", selection = environment.root() + "/selection.pdf",
                  unwritable = environment.root() + "/no folder/x.pdf";
    printAnswers = {all, selection, unwritable, "", ""};
    saveAnswers = {MsgBoxResult::No, MsgBoxResult::No};
    window.mnuFilePrint->trigger();
    Select(script, 21, 6);
    for (int print = 0; print < 3; ++print)
        window.mnuFilePrint->trigger();
    window.mdiArea->closeAllSubWindows();
    window.mnuFilePrint->trigger();
    window.mnuFilePageSetup->trigger();
    EXPECT_EQ(dialogs.mid(0, 5), (QStringList{"Printer|Print|264", "Printer|Print|265", "Printer|Print|265",
                                              "Printer|Print|265", "Printer|Page Setup|265"}));
    EXPECT_EQ(Printed(all), std::pair(QString("NUMBER first\nSTRING second"), true));
    EXPECT_EQ(Printed(selection), std::pair(QString("second"), false));
    EXPECT_EQ(QDir(environment.root()).entryList({"*.pdf"}), (QStringList{"all.pdf", "selection.pdf"}));
    // The failed print is reported, with its file; then come the save questions.
    EXPECT_TRUE(messages.size() == 3 && messages[0].text.contains(unwritable)) << MessageTexts().join('|').toStdString();
}

// Check marks and visibility of toolbar and status bar after each step, as four digits.
TEST_F(Commands, ViewSwitchesShowAndHideTheBarsUntilTheNextStart)
{
    QList<int> shown;
    const auto note = [&](const frmMain& w) {
        shown += 1000 * w.mnuViewToolbar->isChecked() + 100 * w.tbToolBar->isVisible() +
                 10 * w.mnuViewStatusBar->isChecked() + w.sbStatusBar->isVisible();
    };
    frmMain& window = Start();
    // The last status text is written while the status bar is hidden.
    for (QAction* item : {window.mnuViewToolbar, window.mnuViewStatusBar, window.mnuViewStatusBar,
                          window.mnuViewToolbar, window.mnuViewStatusBar}) {
        item->trigger();
        note(window);
        SetStatus(QString::number(shown.size()));
    }
    EXPECT_EQ(window.sbStatusBarPanels[0]->text(), "5");
    ASSERT_TRUE(Exit({MsgBoxResult::No}));
    note(Start());
    EXPECT_EQ(shown, (QList<int>{11, 0, 11, 1111, 1100, 1111}));
}

// Three windows in rows, in columns, cascaded, and minimised in a row along the bottom edge.
TEST_F(Commands, WindowArrangementsPlaceTheScriptWindows)
{
    frmMain& window = Start();
    window.resize(900, 600);
    window.NewScriptWindow();
    window.NewScriptWindow();
    const int w = window.mdiArea->viewport()->width(), h = window.mdiArea->viewport()->height();
    const auto places = [&](QAction* item) {
        item->trigger();
        QList<QRect> geometries;
        for (const QMdiSubWindow* sub : window.mdiArea->subWindowList()) geometries.append(sub->geometry());
        return geometries;
    };
    EXPECT_EQ(places(window.mnuWindowTileHorizontal),
              (QList<QRect>{{0, 0, w, h / 3}, {0, h / 3, w, 2 * h / 3 - h / 3}, {0, 2 * h / 3, w, h - 2 * h / 3}}));
    EXPECT_EQ(places(window.mnuWindowTileVertical),
              (QList<QRect>{{0, 0, w / 3, h}, {w / 3, 0, 2 * w / 3 - w / 3, h}, {2 * w / 3, 0, w - 2 * w / 3, h}}));
    const QList<QRect> cascaded = places(window.mnuWindowCascade);
    EXPECT_TRUE(cascaded[0].top() < cascaded[1].top() && cascaded[1].left() < cascaded[2].left());
    for (QMdiSubWindow* sub : window.mdiArea->subWindowList()) { sub->showMinimized(); sub->move(5, 5); }
    const QList<QRect> icons = places(window.mnuWindowArrangeIcons);
    const auto icon = [&](int i) { return QRect(QPoint(i * icons[0].width(), h - icons[0].height()), icons[0].size()); };
    EXPECT_EQ(icons, (QList<QRect>{icon(0), icon(1), icon(2)}));
    EXPECT_EQ(LineUpIcons({0, 0, 8, 5}, {{4, 1}, {4, 2}, {4, 1}}), (QList<QRect>{{0, 4, 4, 1}, {4, 3, 4, 2}, {0, 2, 4, 1}}));
}

}  // namespace
}  // namespace shell::testing
