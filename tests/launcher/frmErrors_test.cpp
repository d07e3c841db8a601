#include "launcher/frmErrors.h"

#include <QListWidget>
#include <QStyledItemDelegate>
#include <gtest/gtest.h>

#include "launcher/qt_launch_view.h"

namespace launcher {
namespace {

// A line of a megabyte is listed whole, but only its start is shown, cut with an ellipsis.
TEST(frmErrors, ListsEveryLineWholeAndShowsOnlyTheStartOfAVeryLongOne)
{
    const QString longLine = QString(1999, u'a') + "bc" + QString(1'000'000, u'd');
    QtLaunchView(nullptr).FillErrors({"a short line", longLine});
    const QListWidget* list = ErrorsWindow().lstErrors;
    const auto* delegate = qobject_cast<const QStyledItemDelegate*>(list->itemDelegate());
    ASSERT_TRUE(delegate);
    QStringList shown;
    for (int row = 0; row < list->count(); ++row)
        shown += delegate->displayText(list->item(row)->data(Qt::DisplayRole), QLocale());
    EXPECT_EQ(std::tuple(list->item(1)->text() == longLine, shown),
              std::tuple(true, QStringList({"a short line", QString(1999, u'a') + "b" + QChar(0x2026)})));
    UnloadErrorsWindow();
}

}  // namespace
}  // namespace launcher
