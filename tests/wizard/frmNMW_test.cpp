#include "wizard/frmNMW.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include "platform/qt_twips.h"
#include "shell/window_test_fixture.h"

namespace wizard {
namespace {

// "1 oSoo Alpha a.lwo,B.LWO > B.LWO": the stage, each page shown (S) or moved out (o), the
// mission name, the model files and the chosen models.
QString State(const frmNMW& wizard)
{
    QString pages;
    for (const QWidget* page : wizard.picStage)
        pages += page->isHidden() ? 'h' : page->x() == platform::TwipsToPixelsX(120) ? 'S'
                 : page->x() == platform::TwipsToPixelsX(-20000) ? 'o' : '?';
    const auto texts = [](const QListWidget* list) {
        QStringList texts;
        for (const QListWidgetItem* item : list->findItems("*", Qt::MatchWildcard))
            texts << item->text();
        return texts.join(',');
    };
    return u"%1 %2 %3 %4 > %5"_qs.arg(QString::number(wizard.Stage), pages, wizard.txtMissionName->text(),
                                          texts(wizard.filModels), texts(wizard.lstModels));
}

class WizardTest : public shell::testing::WindowTest {
protected:
    // Opens the wizard, lets the user act in it, then leaves it with Cancel or its close box.
    void Open(const std::function<void(frmNMW&)>& act, bool close = false)
    {
        QTimer::singleShot(0, [&] {
            auto* shown = qobject_cast<frmNMW*>(QApplication::activeModalWidget());
            seen << State(*shown);
            act(*shown);
            close ? (void)shown->close() : shown->Command3->click();
        });
        ShowNewMissionWizard();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QStringList seen;
};

TEST_F(WizardTest, PagesCycleBothWaysCancelKeepsEverythingAndTheCloseBoxStartsAfresh)
{
    for (const char* name : {"c.txt", "B.LWO", "a.lwo", "d.lwo/e.lwo"})
        environment.writeFile(QString("wine/drive_c/Program Files/Particle Systems/Independence War/"
                                      "psg/resource/shapes/") + name, "model");
    Open([&](frmNMW& wizard) {
        for (QPushButton* button : {wizard.Command2, wizard.Command2, wizard.Command2, wizard.Command2,
                                    wizard.Command1, wizard.Command1})
            seen << (button->click(), State(wizard).first(6));
        seen << wizard.Label1->text() + QString::number(wizard.picStage[3]->children().size());
        for (int row : {1, 1, 0, -1}) {
            wizard.filModels->setCurrentRow(row);
            wizard.cmdModelAdd->click();
        }
        wizard.cmdModelAddAll->click();
        wizard.lstModels->setCurrentRow(0);
        wizard.cmdModelRemove->click();
        wizard.cmdModelRemove->click();
        wizard.txtMissionName->setText("Alpha");
    });
    shell::options.LaunchPath = "C:\\NOWHERE\\IWAR.EXE";
    Open([&](frmNMW& wizard) { seen << (wizard.cmdModelRemoveAll->click(), State(wizard)); }, true);
    Open([](frmNMW&) {}, true);
    shell::options.LaunchPath = "IWAR";
    Open([](frmNMW&) {}, true);
    EXPECT_EQ(seen, QStringList({"0 Sooo  a.lwo,B.LWO > ", "1 oSoo", "2 ooSo", "3 oooS", "0 Sooo", "3 oooS",
                                 "2 ooSo", "Mission Creation Wizard0",
                                 "2 ooSo Alpha a.lwo,B.LWO > B.LWO,a.lwo", "2 ooSo Alpha a.lwo,B.LWO > ",
                                 "0 Sooo   > ", "0 Sooo   > "}));
}

}  // namespace
}  // namespace wizard
