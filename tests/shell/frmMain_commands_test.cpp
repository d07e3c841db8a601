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

constexpr platform::Color kKeyword = 0xFF0000;

class Commands : public WindowTest {
protected:
    ~Commands() override { launcher::UnloadErrorsWindow(); }

    // A new script window holding the text, coloured, with characters [start, start + length)
    // selected.
    frmDocument& Script(const QString& text, int start = 0, int length = 0)
    {
        frmDocument& document = *main->NewScriptWindow();
        document.rtfText.setSelText(text);
        language::ColorizeScript(document.rtfText);
        Select(document, start, length);
        return document;
    }

    static void Select(frmDocument& document, int start, int length)
    {
        document.rtfText.setSelStart(start);
        document.rtfText.setSelLength(length);
    }

    // The whole text of a window, read back through its RTF, with a colour for each character.
    static platform::ColoredText Content(frmDocument& document)
    {
        Select(document, 0, int(document.rtfText.Text().size()));
        return platform::ReadRtf(document.rtfText.SelRTF().toLatin1());
    }

    static QString ClipboardText() { return QGuiApplication::clipboard()->text(); }

    // The text of a printed PDF file, and whether it shows the keyword colour anywhere.
    static std::pair<QString, bool> Printed(const QString& pdf)
    {
        QProcess text;
        text.start("pdftotext", {pdf, "-"});
        EXPECT_TRUE(text.waitForFinished()) << pdf.toStdString();
        QProcess::execute("pdftoppm", {"-png", "-r", "50", "-singlefile", pdf, pdf});
        const QImage page = QImage(pdf + ".png").convertToFormat(QImage::Format_RGB32);
        const auto* pixels = reinterpret_cast<const QRgb*>(page.constBits());
        const bool colored = std::any_of(pixels, pixels + page.width() * page.height(),
                                         [](QRgb pixel) { return qBlue(pixel) > 160 && qRed(pixel) < 60; });
        // The page number below the text is the printer's.
        const QString printed = QString::fromUtf8(text.readAllStandardOutput()).trimmed();
        return {printed.left(printed.lastIndexOf("\n\n1")), colored};
    }
};

TEST_F(Commands, ToolbarRunsTheCommandOfEachKeyAndNothingForOtherKeys)
{
    frmMain& window = Start();
    frmDocument& script = Script("abc", 1, 1);
    for (const char* key : {"Cut", "new", "Camera", "Launch "})
        window.tbToolBar_ButtonClick(key);
    EXPECT_EQ(ClipboardText(), "b");
    Select(script, 0, 1);
    window.tbToolBar_ButtonClick("Copy");
    Select(script, 2, 0);
    window.tbToolBar_ButtonClick("Paste");
    EXPECT_EQ(script.rtfText.Text(), "aca");
    fileAnswers = {"", ""};
    printAnswers = {""};
    for (const char* key : {"Open", "Save", "Print", "Launch", "New"})
        window.tbToolBar_ButtonClick(key);
    EXPECT_EQ(dialogs, (QStringList{"Open|Open|Script Files (*.scr)|*.scr|Ship Files (*.shp)|*.shp",
                                    "Save|Save|Script Files (*.scr)|*.scr", "Printer|Print|264"}));
    ASSERT_EQ(MessageTexts().size(), 1);
    EXPECT_TRUE(MessageTexts()[0].startsWith("Independence War was not started.")) << MessageTexts()[0].toStdString();
    EXPECT_EQ(Captions(), (QStringList{"Script 1", "Script 2", "Script 3"}));

    saveAnswers = {MsgBoxResult::No, MsgBoxResult::No, MsgBoxResult::No};
    window.mdiArea->closeAllSubWindows();
    for (const char* key : {"Save", "Print", "Cut", "Copy", "Paste"})
        window.tbToolBar_ButtonClick(key);
    EXPECT_EQ(dialogs.size(), 3);
    EXPECT_EQ(ClipboardText(), "a");
}

TEST_F(Commands, CopyAndPasteBetweenScriptWindowsKeepTextAndColours)
{
    language::AddCommand("NUMBER");
    frmMain& window = Start();
    frmDocument& source = Script("NUMBER x\r\nSTRING y", 0, 18);
    window.mnuEditCopy->trigger();
    EXPECT_EQ(ClipboardText(), "NUMBER x\r\nSTRING y");
    frmDocument& target = Script("[]", 1);
    window.mnuEditPaste->trigger();
    std::vector<platform::Color> colors(20, 0);
    std::fill_n(colors.begin() + 1, 6, kKeyword);
    const platform::ColoredText pasted = Content(target);
    EXPECT_EQ(pasted.text, "[NUMBER x\r\nSTRING y]");
    EXPECT_EQ(pasted.colors, colors);
    EXPECT_EQ(Content(source).text, "NUMBER x\r\nSTRING y");
}

// Our own copies paste as their RTF; other programs' as their plain text, where markup that
// arrives as plain text still counts as rich text.
TEST_F(Commands, PasteTakesOurRtfOrElseThePlainText)
{
    const QByteArray red = "{\\rtf1{\\colortbl;\\red255;}\\cf1 red}";
    auto* foreign = new QMimeData;
    foreign->setText("plain");
    foreign->setData("text/rtf", red);
    auto* markupAsText = new QMimeData;
    markupAsText->setText(red);
    const std::pair<QMimeData*, QString> cases[] = {
        {platform::ScriptMimeData("plain", red), "[red]"}, {foreign, "[plain]"}, {markupAsText, "[red]"},
        {new QMimeData, "[]"}};
    frmMain& window = Start();
    for (const auto& [data, expected] : cases) {
        frmDocument& target = Script("[selected]", 1, 8);
        QGuiApplication::clipboard()->setMimeData(data);
        window.mnuEditPaste->trigger();
        const platform::ColoredText pasted = Content(target);
        EXPECT_EQ(pasted.text, expected);
        EXPECT_EQ(pasted.colors[1], expected == "[red]" ? 0xFF : 0) << expected.toStdString();
    }
}

TEST_F(Commands, CutTakesTheSelectionAndWithoutOneEmptiesTheClipboard)
{
    frmMain& window = Start();
    frmDocument& script = Script("one two", 3, 4);
    window.mnuEditCut->trigger();
    EXPECT_EQ(std::pair(script.rtfText.Text(), ClipboardText()), std::pair(QString("one"), QString(" two")));
    window.mnuEditCut->trigger();
    EXPECT_EQ(std::pair(script.rtfText.Text(), ClipboardText()), std::pair(QString("one"), QString()));
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat("text/rtf"));
}

TEST_F(Commands, PrintOpensOnTheSelectionAndItsFlagsStayForPageSetupAndFileDialogs)
{
    frmMain& window = Start();
    frmDocument& script = Script("abc");
    printAnswers = {"", "", ""};
    window.mnuFilePrint->trigger();
    Select(script, 1, 1);
    window.mnuFilePrint->trigger();
    saveAnswers = {MsgBoxResult::No, MsgBoxResult::No};
    window.mdiArea->closeAllSubWindows();
    window.mnuFilePrint->trigger();
    window.mnuFilePageSetup->trigger();
    EXPECT_EQ(dialogs, (QStringList{"Printer|Print|264", "Printer|Print|265", "Printer|Page Setup|265"}));
    fileAnswers = {""};
    window.mnuFileOpen->trigger();
    EXPECT_EQ(window.dlgCommonDialog.Flags, 265);
}

TEST_F(Commands, PrintsTheSelectionOrElseAllTheTextInColourAndNothingOnCancel)
{
    language::AddCommand("NUMBER");
    frmMain& window = Start();
    frmDocument& script = Script("NUMBER first\r\nSTRING second");
    const QString all = environment.root() + "/all.pdf", selection = environment.root() + "/selection.pdf";
    printAnswers = {all, selection, ""};
    window.mnuFilePrint->trigger();
    Select(script, 21, 6);
    window.mnuFilePrint->trigger();
    window.mnuFilePrint->trigger();
    EXPECT_EQ(Printed(all), std::pair(QString("NUMBER first\nSTRING second"), true));
    EXPECT_EQ(Printed(selection), std::pair(QString("second"), false));
    EXPECT_EQ(QDir(environment.root()).entryList({"*.pdf"}), (QStringList{"all.pdf", "selection.pdf"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(Commands, ViewSwitchesShowAndHideTheBarsUntilTheNextStart)
{
    frmMain& window = Start();
    const auto bars = [&] {
        return QList<bool>{window.mnuViewToolbar->isChecked(), window.tbToolBar->isVisible(),
                           window.mnuViewStatusBar->isChecked(), window.sbStatusBar->isVisible()};
    };
    window.mnuViewToolbar->trigger();
    window.mnuViewStatusBar->trigger();
    EXPECT_EQ(bars(), QList<bool>({false, false, false, false}));
    SetStatus("Hidden");
    window.mnuViewStatusBar->trigger();
    EXPECT_EQ(bars(), QList<bool>({false, false, true, true}));
    EXPECT_EQ(window.sbStatusBarPanels[0]->text(), "Hidden");
    window.mnuViewToolbar->trigger();
    window.mnuViewStatusBar->trigger();
    ASSERT_TRUE(Exit({MsgBoxResult::No}));
    frmMain& restarted = Start();
    EXPECT_TRUE(restarted.tbToolBar->isVisible() && restarted.sbStatusBar->isVisible() &&
                restarted.mnuViewToolbar->isChecked() && restarted.mnuViewStatusBar->isChecked());
}

// Three windows in rows, in columns, cascaded, and minimised in a row along the bottom edge.
TEST_F(Commands, WindowArrangementsPlaceTheScriptWindows)
{
    frmMain& window = Start();
    window.resize(900, 600);
    window.NewScriptWindow();
    window.NewScriptWindow();
    const QSize area = window.mdiArea->viewport()->size();
    const auto places = [&] {
        QList<QRect> geometries;
        for (const QMdiSubWindow* sub : window.mdiArea->subWindowList())
            geometries.append(sub->geometry());
        return geometries;
    };
    const int w = area.width(), h = area.height();
    window.mnuWindowTileHorizontal->trigger();
    EXPECT_EQ(places(), (QList<QRect>{{0, 0, w, h / 3}, {0, h / 3, w, 2 * h / 3 - h / 3},
                                      {0, 2 * h / 3, w, h - 2 * h / 3}}));
    window.mnuWindowTileVertical->trigger();
    EXPECT_EQ(places(), (QList<QRect>{{0, 0, w / 3, h}, {w / 3, 0, 2 * w / 3 - w / 3, h},
                                      {2 * w / 3, 0, w - 2 * w / 3, h}}));
    window.mnuWindowCascade->trigger();
    const QList<QRect> cascaded = places();
    EXPECT_TRUE(cascaded[0].top() < cascaded[1].top() && cascaded[1].left() < cascaded[2].left());
    for (QMdiSubWindow* sub : window.mdiArea->subWindowList()) {
        sub->showMinimized();
        sub->move(5, 5);
    }
    window.mnuWindowArrangeIcons->trigger();
    const QList<QRect> icons = places();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(icons[i].topLeft(), QPoint(i * icons[0].width(), h - icons[0].height())) << i;
    EXPECT_EQ(LineUpIcons({0, 0, 100, 50}, {{40, 10}, {40, 20}, {40, 10}}),
              (QList<QRect>{{0, 40, 40, 10}, {40, 30, 40, 20}, {0, 20, 40, 10}}));
}

}  // namespace
}  // namespace shell::testing
