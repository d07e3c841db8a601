#include "launcher/qt_launch_view.h"

#include <QGuiApplication>
#include <QListWidget>
#include <gtest/gtest.h>

#include "launcher/frmErrors.h"
#include "shell/window_test_fixture.h"

namespace launcher {
namespace {

class QtLaunchViewTest : public shell::testing::WindowTest {
protected:
    ~QtLaunchViewTest() override { UnloadErrorsWindow(); }

    static QStringList ListedLines()
    {
        QStringList lines;
        const QListWidget* list = ErrorsWindow().lstErrors;
        for (int row = 0; row < list->count(); ++row)
            lines.append(list->item(row)->text());
        return lines;
    }
};

TEST_F(QtLaunchViewTest, FailureIsToldInAMessageBox)
{
    QtLaunchView view(&Start());
    view.ShowFailure("Independence War was not started. No such file");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Independence War was not started. No such file");
}

TEST_F(QtLaunchViewTest, ErrorsCommandListsTheLogInAWindowMadeAgainAfterItsClose)
{
    QtLaunchView view(&Start());
    environment.writeFile("game/debug.txt", "one\r\n\r\nthree");
    shell::options.LaunchPath = environment.root() + "/game/IWAR.EXE";
    ListErrors(view);
    // The list fills in one go, under the busy cursor, which goes once it is full.
    QStringList inserts;
    QObject::connect(ErrorsWindow().lstErrors->model(), &QAbstractItemModel::rowsInserted, [&] {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        inserts << (cursor && cursor->shape() == Qt::WaitCursor ? "busy" : "idle");
    });
    ListErrors(view);
    EXPECT_EQ(inserts, QStringList{"busy"});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(ListedLines(), (QStringList{"one", "", "three"}));
    EXPECT_TRUE(ErrorsWindow().isVisible());

    ErrorsWindow().close();
    ListErrors(view);
    EXPECT_TRUE(ErrorsWindow().isVisible());
    EXPECT_EQ(ListedLines(), (QStringList{"one", "", "three"}));
}

}  // namespace
}  // namespace launcher
