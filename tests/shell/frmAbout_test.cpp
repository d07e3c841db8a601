#include "shell/frmAbout.h"

#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "shell/window_test_fixture.h"

namespace shell::testing {
namespace {

using AboutBoxTest = WindowTest;

TEST_F(AboutBoxTest, OpensAfreshEachTimeAndItsSystemInfoSaysWhenThereIsNone)
{
    frmMain& window = Start();
    environment.writeFile("wine/system.reg", "[Software\\\\Microsoft\\\\Shared Tools\\\\MSInfo] 1\n");
    QStringList seen;
    for (Qt::Key closingKey : {Qt::Key_Return, Qt::Key_Escape}) {
        QPointer<frmAbout> about;
        QTimer::singleShot(0, [&] {
            about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            seen << QStringList{about->windowTitle(), about->lblTitle->text(), about->lblVersion->text(),
                                QString::number(about->lblDisclaimer->text().contains(" 1.1.3 ")
                                                && about->parentWidget() == &window)}.join('|');
            about->cmdSysInfo->click();
            seen << QString::number(about->isVisible());
            QTest::keyClick(about, closingKey);
            seen << QString::number(about->isVisible() && about->close());
        });
        window.mnuHelpAbout->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        seen << QString::number(about.isNull());
    }
    const QString shown = "About Orbiscribe|Orbiscribe|Version 1.1.3|1";
    EXPECT_EQ(seen, QStringList({shown, "1", "0", "1", shown, "1", "0", "1"}));
    EXPECT_EQ(MessageTexts(), QStringList(2, "System Information Is Unavailable At This Time"));
    EXPECT_EQ(messages.back().title, "Orbiscribe");
}

}  // namespace
}  // namespace shell::testing
