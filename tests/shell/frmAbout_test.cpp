#include "shell/frmAbout.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include "shell/window_test_fixture.h"

namespace shell::testing {
namespace {

using AboutBoxTest = WindowTest;

TEST_F(AboutBoxTest, EachOpeningIsAFreshModalBoxWhoseSystemInfoSaysWhenThereIsNone)
{
    frmMain& window = Start();
    environment.writeFile("wine/system.reg", "[Software\\\\Microsoft\\\\Shared Tools\\\\MSInfo] 1\n");
    QStringList seen;
    std::vector<QPointer<frmAbout>> boxes;
    for (Qt::Key closingKey : {Qt::Key_Return, Qt::Key_Escape}) {
        QTimer::singleShot(0, [&] {
            auto* about = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
            ASSERT_NE(about, nullptr);
            boxes.emplace_back(about);
            seen << QStringList{about->windowTitle(), about->lblTitle->text(), about->lblVersion->text(),
                                QString::number(about->lblDisclaimer->text().contains(" 1.1.3 ")
                                                && about->parentWidget() == &window)}.join('|');
            about->lblVersion->clear();
            about->cmdSysInfo->click();
            seen << QString::number(about->isVisible());
            QTest::keyClick(about, closingKey);
            seen << QString::number(about->isVisible());
            if (about->isVisible())
                about->close();
        });
        window.mnuHelpAbout->trigger();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const QString shown = "About Orbiscribe|Orbiscribe|Version 1.1.3|1";
    EXPECT_EQ(seen, QStringList({shown, "1", "0", shown, "1", "0"}));
    EXPECT_EQ(MessageTexts(), QStringList(2, "System Information Is Unavailable At This Time"));
    EXPECT_EQ(messages.back().title, "Orbiscribe");
    EXPECT_TRUE(boxes.size() == 2 && !boxes[0] && !boxes[1]) << "a closed box stays loaded";
}

}  // namespace
}  // namespace shell::testing
