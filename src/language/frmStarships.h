#pragma once

#include "language/frmAnalysisDialog.h"

namespace language {

// The Starships dialog: the ships the starship pass found, list row k being StarshipTable record
// k, the selected one's details, and a double-click that selects its CREATE_SHIP line in the
// active script window.
class frmStarships : public AnalysisDialog {
    Q_OBJECT

public:
    frmStarships();

    QListWidget* lstStarships = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* lblVesselName = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lblVesselPosition = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* lblVesselOrientation = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* lblVariable = nullptr;
    QLabel* Model = nullptr;
    QLabel* lblModel = nullptr;

    void lstStarships_Click();
    void lstStarships_DblClick();

protected:
    void Form_Activate() override;
};

// The one Starships dialog, made at its first use.
frmStarships& StarshipsDialog();

// At shut-down (and after a test): the Starships dialog goes, if there is one.
void UnloadStarshipsDialog();

}  // namespace language
