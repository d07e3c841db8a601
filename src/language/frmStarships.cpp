#include "language/frmStarships.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>

#include "language/line_finder.h"
#include "language/starships.h"
#include "shell/frmDocument.h"
#include "shell/frmMain.h"

namespace language {
namespace {

QPointer<frmStarships> starshipsDialog;

QString Triple(qint32 x, qint32 y, qint32 z)
{
    return u'(' + QString::number(x) + u',' + QString::number(y) + u',' + QString::number(z) + u')';
}

// Puts the user on the selected line, as a "go to line" does: the script window active, its box
// holding the focus, the line in view.
void ShowSelection(shell::frmDocument& script)
{
    QPlainTextEdit& box = *script.rtfText.widget();
    box.ensureCursorVisible();
    box.activateWindow();
    box.setFocus(Qt::OtherFocusReason);
}

}  // namespace

frmStarships::frmStarships() : AnalysisDialog(QStringLiteral("Starships"))
{
    lstStarships = AddList("lstStarships", {120, 120, 1935, 2985});
    Label1 = AddCaption("Label1", {2160, 120, 1455, 255}, QStringLiteral("Vessel Name:"));
    lblVesselName = AddValue("lblVesselName", {3720, 120, 2295, 255});
    Label2 = AddCaption("Label2", {2160, 480, 1455, 255}, QStringLiteral("Vessel Position:"));
    lblVesselPosition = AddValue("lblVesselPosition", {3720, 480, 2295, 255});
    Label3 = AddCaption("Label3", {2160, 840, 1455, 255}, QStringLiteral("Vessel Orientation:"));
    lblVesselOrientation = AddValue("lblVesselOrientation", {3720, 840, 2295, 255});
    Label4 = AddCaption("Label4", {2160, 1320, 1455, 255}, QStringLiteral("Variable Name:"));
    lblVariable = AddValue("lblVariable", {3720, 1320, 2295, 255});
    Model = AddCaption("Model", {2160, 1680, 1455, 255}, QStringLiteral("Model Name:"));
    lblModel = AddValue("lblModel", {3720, 1680, 2295, 255});
    connect(lstStarships, &QListWidget::itemSelectionChanged, this, &frmStarships::lstStarships_Click);
    connect(lstStarships, &QListWidget::itemDoubleClicked, this, &frmStarships::lstStarships_DblClick);
}

// The labels keep what the last click put there.
void frmStarships::Form_Activate()
{
    lstStarships->clear();
    for (const StarshipInfo& ship : StarshipTable) {
        if (!ship.VariableName.isEmpty())
            lstStarships->addItem(ship.VesselName);
    }
}

void frmStarships::lstStarships_Click()
{
    const int row = SelectedRow(*lstStarships);
    if (row < 0)
        return;
    const StarshipInfo& ship = StarshipTable[row];
    lblVesselName->setText(ship.VesselName);
    lblVesselPosition->setText(Triple(ship.PositionX, ship.PositionY, ship.PositionZ));
    lblVesselOrientation->setText(Triple(ship.OrientationX, ship.OrientationY, ship.OrientationZ));
    lblVariable->setText(ship.VariableName);
    lblModel->setText(ship.ModelName);
}

// The line is counted in the script as it is now, whatever was edited since the analysis.
void frmStarships::lstStarships_DblClick()
{
    const int row = SelectedRow(*lstStarships);
    shell::frmDocument* script = nullptr;
    if (row >= 0) {
        shell::SetStatus(QStringLiteral("Finding ") + lstStarships->item(row)->text() +
                         QStringLiteral("..."));
        if (shell::forms.MainWindow)
            script = shell::forms.MainWindow->activeScriptWindow();
        if (script)
            SelectLine(script->rtfText, StarshipTable[row].LineNumber);
    }
    shell::SetStatus(QStringLiteral("Normal"));
    hide();
    if (script)
        ShowSelection(*script);
}

frmStarships& StarshipsDialog()
{
    if (!starshipsDialog)
        starshipsDialog = new frmStarships;
    return *starshipsDialog;
}

void UnloadStarshipsDialog()
{
    delete starshipsDialog;
}

}  // namespace language
