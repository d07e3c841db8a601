#include "shell/frmDocument.h"

#include <QCloseEvent>

#include "language/colorize.h"
#include "language/parser.h"
#include "language/starships.h"
#include "platform/qt_busy_cursor.h"
#include "platform/qt_message_box.h"
#include "platform/qt_twips.h"
#include "platform/text_file.h"
#include "shell/frmMain.h"
#include "shell/options.h"
#include "shell/qt_images.h"
#include "shell/script_caption.h"

namespace shell {
namespace {

constexpr int kEnterKey = 13;
constexpr qint32 kBorderTwips = 100;
constexpr qint32 kMarginInsetTwips = 400;
constexpr double kInitialWidthTwips = 4800;
constexpr double kInitialHeightTwips = 3600;

}  // namespace

frmDocument::frmDocument(QWidget* parent) : QWidget(parent), rtfText(this)
{
    setWindowIcon(ScriptWindowIcon());
    rtfText.GotFocus = [this] { rtfText_GotFocus(); };
    rtfText.KeyDown = [this](int keyCode, int shift) { rtfText_KeyDown(keyCode, shift); };
    Form_Load();
}

frmDocument::~frmDocument()
{
    // The box's widget may outlive this part of the window by a moment; it must not call back.
    rtfText.GotFocus = nullptr;
    rtfText.KeyDown = nullptr;
}

// The file's code page holds 256 characters; any other becomes "?" on the way to the disk.
bool frmDocument::MayWriteAsQuestionMarks(const QString& path, const QString& text)
{
    const std::optional<platform::Unencodable> first = platform::FirstUnencodable(text);
    if (!first)
        return true;
    const QString question =
        QStringLiteral("The file %1 cannot hold every character of this script: line %2 holds \"%3\", "
                       "which would be written as \"?\", like any other such character.\n\n"
                       "Save anyway?")
            .arg(path, QString::number(first->line), first->character);
    return platform::MsgBox(this, question, QStringLiteral("Save?"), platform::MsgBoxButtons::YesNo)
           == platform::MsgBoxResult::Yes;
}

bool frmDocument::SaveTo(const QString& path)
{
    const QString text = rtfText.Text();
    if (!MayWriteAsQuestionMarks(path, text))
        return false;
    const platform::Status written = platform::WriteTextFile(path, text);
    if (!written)
        ShowFailure(this, written);
    return written.ok();
}

// The size a new script window opens with; the box alone would give none.
QSize frmDocument::sizeHint() const
{
    return {platform::TwipsToPixelsX(kInitialWidthTwips), platform::TwipsToPixelsY(kInitialHeightTwips)};
}

void frmDocument::Form_Load()
{
    Form_Resize();
}

// A step the box refuses (a window too small for the border or the margin) is skipped: the box
// keeps its last place, size or margin.
void frmDocument::Form_Resize()
{
    const auto clientWidth = qint32(platform::PixelsToTwipsX(width()));
    const auto clientHeight = qint32(platform::PixelsToTwipsY(height()));
    (void)rtfText.Move(kBorderTwips, kBorderTwips, clientWidth - 2 * kBorderTwips,
                       clientHeight - 2 * kBorderTwips);
    (void)rtfText.setRightMargin(rtfText.Width() - kMarginInsetTwips);
}

void frmDocument::Form_Activate()
{
    AnalyseScript();
}

void frmDocument::Form_Unload(bool& cancel)
{
    const QString question =
        QStringLiteral("Do you wish to save your changes to ") + caption() + QStringLiteral("?");
    switch (platform::MsgBox(this, question, QStringLiteral("Save?"),
                             platform::MsgBoxButtons::YesNoCancel)) {
    case platform::MsgBoxResult::Yes: {
        // A window without a file would otherwise write one named by its caption, wherever
        // the working directory happens to be.
        const std::optional<QString> path =
            !IsUntitled(caption()) ? std::optional(caption())
            : forms.MainWindow     ? forms.MainWindow->AskForScriptPath()
                                   : std::nullopt;
        cancel = !path || !SaveTo(*path);
        break;
    }
    case platform::MsgBoxResult::No:
        break;
    default:
        cancel = true;
        break;
    }
}

void frmDocument::rtfText_GotFocus()
{
    rtfText.setBackColor(options.TextColors[BackgroundColor]);
}

void frmDocument::rtfText_KeyDown(int keyCode, int /*shift*/)
{
    if (keyCode != kEnterKey)
        return;
    const platform::BusyCursor busy;
    if (options.SystemFlags & kColoringOn) {
        SetStatus(QStringLiteral("Coloring ") + caption() + QStringLiteral("..."));
        language::ColorizeScript(rtfText);
        SetStatus(QStringLiteral("Normal"));
    }
    AnalyseScript();
}

void frmDocument::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmDocument::closeEvent(QCloseEvent* event)
{
    bool cancel = false;
    Form_Unload(cancel);
    event->setAccepted(!cancel);
}

void frmDocument::AnalyseScript()
{
    const platform::BusyCursor busy;
    SetStatus(QStringLiteral("Parsing ") + caption() + QStringLiteral("..."));
    language::ParseVariables(rtfText);
    language::ParseStarships(rtfText);
    SetStatus(QStringLiteral("Normal"));
}

}  // namespace shell
