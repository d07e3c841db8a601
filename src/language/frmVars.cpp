#include "language/frmVars.h"

#include <QLabel>
#include <QListWidget>
#include <QPointer>

#include "language/parser.h"

namespace language {
namespace {

QPointer<frmVars> variablesDialog;

}  // namespace

frmVars::frmVars() : AnalysisDialog(QStringLiteral("Variables"))
{
    lstVars = AddList("lstVars", {120, 120, 2415, 2985});
    Label1 = AddCaption("Label1", {2640, 120, 1215, 255}, QStringLiteral("Variable Name:"));
    lblVarName = AddValue("lblVarName", {3960, 120, 2055, 255});
    Label2 = AddCaption("Label2", {2640, 480, 1215, 255}, QStringLiteral("Variable Type:"));
    lblVarType = AddValue("lblVarType", {3960, 480, 2055, 255});
    connect(lstVars, &QListWidget::itemSelectionChanged, this, &frmVars::lstVars_Click);
}

// The labels keep what the last click put there.
void frmVars::Form_Activate()
{
    lstVars->clear();
    for (const VarRow& row : VarTable) {
        if (!row[0].isEmpty())
            lstVars->addItem(row[0]);
    }
}

void frmVars::lstVars_Click()
{
    const int row = SelectedRow(*lstVars);
    if (row < 0)
        return;
    lblVarName->setText(VarTable[row][0]);
    lblVarType->setText(VarTable[row][1]);
}

frmVars& VariablesDialog()
{
    if (!variablesDialog)
        variablesDialog = new frmVars;
    return *variablesDialog;
}

void UnloadVariablesDialog()
{
    delete variablesDialog;
}

}  // namespace language
