// The main window's edit, print, view and window commands.
#include <QClipboard>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolBar>

#include "platform/qt_script_clipboard.h"
#include "shell/frmDocument.h"
#include "shell/frmMain.h"

namespace shell {
namespace {

using platform::CommonDialog;

void CopySelection(const platform::RichTextBox& box)
{
    const QString text = box.Text().mid(box.SelStart(), box.SelLength());
    QGuiApplication::clipboard()->setMimeData(platform::ScriptMimeData(text, box.SelRTF()));
}

// The script windows that are shown, minimised or not, in the order they were created.
QList<QMdiSubWindow*> ShownWindows(const QMdiArea& area, bool minimised)
{
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area.subWindowList()) {
        if (window->isVisible() && window->isMinimized() == minimised)
            windows.append(window);
    }
    return windows;
}

void Place(const QList<QMdiSubWindow*>& windows, const QList<QRect>& places)
{
    for (qsizetype i = 0; i < windows.size(); ++i) {
        if (windows[i]->isMaximized())
            windows[i]->showNormal();
        windows[i]->setGeometry(places[i]);
    }
}

}  // namespace

// The Edit items' shortcuts belong to the whole window, the text box included, so that menu,
// keyboard and toolbar take one road.
void frmMain::ConnectCommands()
{
    connect(mnuEditCut, &QAction::triggered, this, &frmMain::mnuEditCut_Click);
    connect(mnuEditCopy, &QAction::triggered, this, &frmMain::mnuEditCopy_Click);
    connect(mnuEditPaste, &QAction::triggered, this, &frmMain::mnuEditPaste_Click);
    connect(mnuFilePrint, &QAction::triggered, this, &frmMain::mnuFilePrint_Click);
    connect(mnuFilePageSetup, &QAction::triggered, this, &frmMain::mnuFilePageSetup_Click);
    connect(mnuViewToolbar, &QAction::triggered, this, &frmMain::mnuViewToolbar_Click);
    connect(mnuViewStatusBar, &QAction::triggered, this, &frmMain::mnuViewStatusBar_Click);
    // The View items alone show and hide the bars, so that their check marks stay true.
    tbToolBar->toggleViewAction()->setVisible(false);
    connect(mnuWindowCascade, &QAction::triggered, this, &frmMain::mnuWindowCascade_Click);
    connect(mnuWindowTileHorizontal, &QAction::triggered, this, &frmMain::mnuWindowTileHorizontal_Click);
    connect(mnuWindowTileVertical, &QAction::triggered, this, &frmMain::mnuWindowTileVertical_Click);
    connect(mnuWindowArrangeIcons, &QAction::triggered, this, &frmMain::mnuWindowArrangeIcons_Click);
}

void frmMain::mnuEditCopy_Click()
{
    if (const frmDocument* document = activeScriptWindow())
        CopySelection(document->rtfText);
}

void frmMain::mnuEditCut_Click()
{
    if (frmDocument* document = activeScriptWindow()) {
        CopySelection(document->rtfText);
        document->rtfText.setSelText(QString());
    }
}

// No colouring or analysis follows: that waits for the window's next Enter or activation.
void frmMain::mnuEditPaste_Click()
{
    frmDocument* document = activeScriptWindow();
    if (!document)
        return;
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    document->rtfText.setSelRTF(data ? platform::PastedText(*data) : QString());
}

// The dialog opens on the selection when there is one; whatever range the user picks, the
// selection is printed, or the whole text without one. A print that fails is reported.
void frmMain::mnuFilePrint_Click()
{
    frmDocument* document = activeScriptWindow();
    if (!document)
        return;
    dlgCommonDialog.DialogTitle = QStringLiteral("Print");
    dlgCommonDialog.CancelError = true;
    dlgCommonDialog.Flags = CommonDialog::kReturnPrinter + CommonDialog::kNoPageNumbers;
    if (document->rtfText.SelLength() != 0)
        dlgCommonDialog.Flags += CommonDialog::kPrintSelection;
    if (!dlgCommonDialog.ShowPrinter())
        return;
    if (const platform::Status printed = document->rtfText.SelPrint(dlgCommonDialog.hDC()); !printed)
        ShowFailure(this, printed);
}

// The print dialog under its own title, with the flags the last Print left; the printer chosen
// stays for the next Print.
void frmMain::mnuFilePageSetup_Click()
{
    dlgCommonDialog.DialogTitle = QStringLiteral("Page Setup");
    dlgCommonDialog.CancelError = true;
    (void)dlgCommonDialog.ShowPrinter();
}

// The item's check mark has flipped as it was triggered; the bar follows it.
void frmMain::mnuViewToolbar_Click()
{
    tbToolBar->setVisible(mnuViewToolbar->isChecked());
}

void frmMain::mnuViewStatusBar_Click()
{
    sbStatusBar->setVisible(mnuViewStatusBar->isChecked());
}

void frmMain::mnuWindowCascade_Click()
{
    Arrange(Arrangement::Cascade);
}

void frmMain::mnuWindowTileHorizontal_Click()
{
    Arrange(Arrangement::TileHorizontal);
}

void frmMain::mnuWindowTileVertical_Click()
{
    Arrange(Arrangement::TileVertical);
}

void frmMain::mnuWindowArrangeIcons_Click()
{
    Arrange(Arrangement::ArrangeIcons);
}

// The tilings share the area among the windows that are not minimised; the icons of the
// minimised ones line up along its bottom edge.
void frmMain::Arrange(Arrangement arrangement)
{
    const QRect area = mdiArea->viewport()->rect();
    const QList<QMdiSubWindow*> open = ShownWindows(*mdiArea, false);
    switch (arrangement) {
    case Arrangement::Cascade:
        mdiArea->cascadeSubWindows();
        break;
    case Arrangement::TileHorizontal:
        Place(open, TileRows(area, int(open.size())));
        break;
    case Arrangement::TileVertical:
        Place(open, TileColumns(area, int(open.size())));
        break;
    case Arrangement::ArrangeIcons: {
        const QList<QMdiSubWindow*> icons = ShownWindows(*mdiArea, true);
        QList<QSize> sizes;
        for (const QMdiSubWindow* icon : icons)
            sizes.append(icon->size());
        Place(icons, LineUpIcons(area, sizes));
        break;
    }
    }
}

}  // namespace shell
