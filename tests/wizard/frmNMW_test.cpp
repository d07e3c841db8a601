#include "wizard/frmNMW.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "platform/qt_twips.h"
#include "shell/options.h"
#include "support/test_environment.h"

namespace wizard {
namespace {

QStringList Texts(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

// "2 ooSo": the stage, then each page shown (S), moved out (o) or neither (?).
QString Pages(const frmNMW& wizard)
{
    QString pages = QString::number(wizard.Stage) + ' ';
    for (const QWidget* page : wizard.picStage)
        pages += page->isHidden()                              ? 'h'
                 : page->x() == platform::TwipsToPixelsX(120)    ? 'S'
                 : page->x() == platform::TwipsToPixelsX(-20000) ? 'o' : '?';
    return pages;
}

class WizardTest : public testing::Test {
protected:
    WizardTest()
    {
        shell::options = {};
        const QString shapes = "wine/drive_c/Program Files/Particle Systems/Independence War/psg/resource/shapes/";
        for (const char* name : {"c.txt", "B.LWO", "a.lwo", "d.lwo/e.lwo"})
            env.writeFile(shapes + name, "model");
    }
    ~WizardTest() override { UnloadNewMissionWizard(); }

    // Opens the wizard, lets the user act in it, then leaves it with Cancel or its close box.
    static void Open(const std::function<void(frmNMW&)>& act, bool close)
    {
        QTimer::singleShot(0, [&] {
            auto* shown = qobject_cast<frmNMW*>(QApplication::activeModalWidget());
            act(*shown);
            close ? (void)shown->close() : shown->Command3->click();
        });
        ShowNewMissionWizard();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    support::TestEnvironment env;
};

TEST_F(WizardTest, BackAndNextCycleThroughTheFourPages)
{
    QStringList seen;
    Open([&](frmNMW& wizard) {
        seen << Pages(wizard) + wizard.Label1->text();
        for (QPushButton* button : {wizard.Command2, wizard.Command2, wizard.Command2, wizard.Command2,
                                    wizard.Command1, wizard.Command1})
            seen << (button->click(), Pages(wizard));
        seen << QString::number(wizard.picStage[3]->children().size());
    }, true);
    EXPECT_EQ(seen, QStringList({"0 SoooMission Creation Wizard", "1 oSoo", "2 ooSo", "3 oooS",
                                 "0 Sooo", "3 oooS", "2 ooSo", "0"}));
}

TEST_F(WizardTest, CancelKeepsTheEntriesAndTheCloseBoxStartsAfresh)
{
    QStringList seen;
    Open([&](frmNMW& wizard) {
        seen << Texts(wizard.filModels).join(',');
        for (int row : {1, 1, 0, -1}) {
            wizard.filModels->setCurrentRow(row);
            wizard.cmdModelAdd->click();
        }
        wizard.cmdModelAddAll->click();
        wizard.lstModels->setCurrentRow(0);
        wizard.cmdModelRemove->click();
        wizard.cmdModelRemove->click();
        wizard.txtMissionName->setText("Alpha");
        wizard.Command2->click();
    }, false);
    shell::options.LaunchPath = "C:\\NOWHERE\\IWAR.EXE";
    Open([&](frmNMW& wizard) {
        seen << Pages(wizard) + wizard.txtMissionName->text() + ':' + Texts(wizard.filModels).join(',')
                    + ':' + Texts(wizard.lstModels).join(',');
        wizard.cmdModelRemoveAll->click();
        seen << QString::number(wizard.lstModels->count());
    }, true);
    for (const char* launchPath : {"C:\\NOWHERE\\IWAR.EXE", "IWAR"}) {
        shell::options.LaunchPath = launchPath;
        Open([&](frmNMW& wizard) {
            seen << Pages(wizard) + wizard.txtMissionName->text() + ':' + Texts(wizard.filModels).join(',');
        }, true);
    }
    EXPECT_EQ(seen, QStringList({"a.lwo,B.LWO", "1 oSooAlpha:a.lwo,B.LWO:B.LWO,a.lwo", "0",
                                 "0 Sooo:", "0 Sooo:"}));
}

}  // namespace
}  // namespace wizard
