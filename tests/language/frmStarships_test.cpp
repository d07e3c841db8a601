// The Variables and Starships dialogs, opened from the main window's Tools menu.
#include "language/frmStarships.h"

#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include "language/frmVars.h"
#include "shell/window_test_fixture.h"

namespace shell::testing {
namespace {

using language::AnalysisDialog;

const QByteArray kScript = "BOOL a, b, c\r\nSTRING a\r\n"
                           "  CREATE_SHIP s1,hull,Vega,1000,x,-5,-6,-7,-1,-2,-3\r\n"
                           "  CREATE_SHIP s2,hull,\"Big one\",1000,x,100, -2000, 0, 0, 0, 0\r\n"
                           "CALL x\r\n  CREATE_SHIP s3,frame,Vega,1000,x,1, 2, 3, 4, 5, 6\r\n";

// Opens the dialog from the menu item; the user clicks the row (-1: none) once or twice. What it
// then shows: caption, rows, value labels; "hidden" once the click has hidden it.
QString Use(QAction* item, int row, bool doubleClick)
{
    QString shown;
    QTimer::singleShot(0, [&] {
        auto& dialog = *qobject_cast<AnalysisDialog*>(QApplication::activeModalWidget());
        auto& list = *dialog.findChild<QListWidget*>();
        const QPoint place = list.visualItemRect(list.item(row)).center();
        if (row >= 0)
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, place);
        if (row >= 0 && doubleClick)
            QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, place);
        else if (doubleClick)
            static_cast<language::frmStarships&>(dialog).lstStarships_DblClick();
        QStringList parts{dialog.windowTitle()};
        for (int index = 0; index < list.count(); ++index)
            parts.append(list.item(index)->text());
        for (const QLabel* label : dialog.findChildren<QLabel*>(QRegularExpression("^lbl")))
            parts.append(label->text());
        shown = parts.join(u'|') + (dialog.isVisible() ? "" : "|hidden");
        dialog.OKButton->click();
    });
    item->trigger();
    return shown;
}

using AnalysisDialogs = WindowTest;

TEST_F(AnalysisDialogs, ListWhatTheLastAnalysisFoundAndFindAShipsLine)
{
    frmMain& window = Start();
    Open(environment.writeFile("work/ships.scr", kScript));
    frmDocument& script = *window.activeScriptWindow();
    QAction *vars = window.mnuToolsVariables, *ships = window.mnuToolsStarships;
    const QString listed = "Starships|Vega|\"Big one\"|Vega|";
    QStringList shown{Use(vars, 3, false), Use(vars, 1, false), Use(ships, 1, false), Use(ships, 0, false)};
    status.texts.clear();
    shown << Use(ships, 2, true) << status.texts.join(',');
    EXPECT_EQ(shown, QStringList({"Variables|a|b|c|a|a|STRING", "Variables|a|b|c|a|b|BOOLEAN",
                                  listed + "\"Big one\"|(100,-2000,0)|(0,0,0)|s2|hull",
                                  listed + "Vega|(-5,-6,-7)|(-1,-2,-3)|s1|hull",
                                  listed + "Vega|(1,2,3)|(4,5,6)|s3|frame|hidden",
                                  "Finding Vega...,Normal"}));
    EXPECT_EQ(std::pair(script.rtfText.SelStart(), script.rtfText.SelLength()), std::pair(148, 53));
    EXPECT_EQ(QApplication::focusWidget(), script.rtfText.widget());

    // The dialogs go with the program.
    EXPECT_TRUE(Exit({platform::MsgBoxResult::No, platform::MsgBoxResult::No}));
}

}  // namespace
}  // namespace shell::testing
