#pragma once

#include "language/frmAnalysisDialog.h"

namespace language {

// The Variables dialog: the variables the variable pass found, list row k being VarTable row k,
// and the selected one's name and type.
class frmVars : public AnalysisDialog {
    Q_OBJECT

public:
    frmVars();

    QListWidget* lstVars = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblVarName = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblVarType = nullptr;

    void lstVars_Click();

protected:
    void Form_Activate() override;
};

// The one Variables dialog, made at its first use.
frmVars& VariablesDialog();

// At shut-down (and after a test): the Variables dialog goes, if there is one.
void UnloadVariablesDialog();

}  // namespace language
