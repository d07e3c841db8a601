#include "launcher/frmErrors.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QPointer>
#include <QStyledItemDelegate>
#include <algorithm>

#include "platform/qt_twips.h"

namespace launcher {
namespace {

// The list leaves this much of the window's outer height free.
constexpr double kListHeightMarginTwips = 200;

QPointer<frmErrors> errorsWindow;

// Qt lays out the whole text of an item to measure or draw it, however little of it shows: a log
// line of megabytes would hold the window for seconds. The list shows at most this many
// characters of a line, cut with an ellipsis; the item itself keeps the whole line.
constexpr qsizetype kShownCharacters = 2000;

class LineStartDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QString displayText(const QVariant& value, const QLocale& locale) const override
    {
        const QString line = value.toString();
        if (line.size() <= kShownCharacters)
            return QStyledItemDelegate::displayText(value, locale);
        return QStyledItemDelegate::displayText(line.first(kShownCharacters), locale) + QChar(0x2026);
    }
};

}  // namespace

frmErrors::frmErrors()
    : QWidget(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      lstErrors(new QListWidget(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Error Listing"));
    lstErrors->setObjectName(QStringLiteral("lstErrors"));
    // One text line per entry: a log of a million lines then lists without measuring each.
    lstErrors->setUniformItemSizes(true);
    lstErrors->setItemDelegate(new LineStartDelegate(lstErrors));
    setFixedSize(platform::TwipsToPixelsX(8025), platform::TwipsToPixelsY(1140));
}

void frmErrors::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

// The outer size is known once the window is on the screen.
void frmErrors::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    Form_Resize();
}

void frmErrors::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    // Closing destroys the window (later, once Qt is done with it); from now on it is not the
    // Errors window any more.
    if (errorsWindow == this)
        errorsWindow = nullptr;
}

// The list is as wide as the window's outer width and 200 twips less high than its outer height.
void frmErrors::Form_Resize()
{
    const QRect outer = frameGeometry();
    const int height = outer.height() - platform::TwipsToPixelsY(kListHeightMarginTwips);
    lstErrors->setGeometry(0, 0, outer.width(), std::max(height, 0));
}

frmErrors& ErrorsWindow()
{
    if (!errorsWindow)
        errorsWindow = new frmErrors;
    return *errorsWindow;
}

void UnloadErrorsWindow()
{
    delete errorsWindow;
}

}  // namespace launcher
