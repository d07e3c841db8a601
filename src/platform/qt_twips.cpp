#include "platform/qt_twips.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <algorithm>
#include <limits>

namespace platform {
namespace {

constexpr double kTwipsPerInch = 1440;
constexpr double kDefaultDotsPerInch = 96;

double DotsPerInch(Qt::Orientation orientation)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return kDefaultDotsPerInch;
    return orientation == Qt::Horizontal ? screen->logicalDotsPerInchX()
                                         : screen->logicalDotsPerInchY();
}

int ToPixels(double twips, Qt::Orientation orientation)
{
    // Sizes come from the settings store too; an absurd one must not overflow.
    constexpr double kLimit = std::numeric_limits<int>::max();
    return qRound(std::clamp(twips * DotsPerInch(orientation) / kTwipsPerInch, -kLimit, kLimit));
}

double ToTwips(int pixels, Qt::Orientation orientation)
{
    return pixels * kTwipsPerInch / DotsPerInch(orientation);
}

}  // namespace

int TwipsToPixelsX(double twips)
{
    return ToPixels(twips, Qt::Horizontal);
}

int TwipsToPixelsY(double twips)
{
    return ToPixels(twips, Qt::Vertical);
}

double PixelsToTwipsX(int pixels)
{
    return ToTwips(pixels, Qt::Horizontal);
}

double PixelsToTwipsY(int pixels)
{
    return ToTwips(pixels, Qt::Vertical);
}

QRect TwipsToPixels(const Twips& place)
{
    return QRect(TwipsToPixelsX(place.left), TwipsToPixelsY(place.top), TwipsToPixelsX(place.width),
                 TwipsToPixelsY(place.height));
}

void PlaceControl(QWidget* control, const Twips& place)
{
    QRect rect = TwipsToPixels(place);
    if (auto* line = qobject_cast<QLineEdit*>(control)) {
        line->setCursorPosition(0);
    } else if (qobject_cast<QLabel*>(control) || qobject_cast<QAbstractButton*>(control)) {
        const auto* label = qobject_cast<QLabel*>(control);
        if (label && label->wordWrap()) {
            rect.setHeight(std::max(rect.height(), label->heightForWidth(rect.width())));
        } else {
            // A line of text needs its whole width but only its font's height: growing to the
            // style's fuller height would push a column of options over each other.
            rect.setWidth(std::max(rect.width(), control->sizeHint().width()));
            rect.setHeight(std::max(rect.height(), control->fontMetrics().height()));
        }
    }
    control->setGeometry(rect);
}

void FitFrame(QGroupBox* frame, int marginTwips)
{
    const QList<QWidget*> controls = frame->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    if (controls.isEmpty())
        return;
    QRect held;
    for (const QWidget* control : controls)
        held |= control->geometry();
    const QRect inside = frame->contentsRect();
    const QPoint shift(std::max(inside.left() - held.left(), 0),
                       std::max(inside.top() - held.top(), 0));
    for (QWidget* control : controls)
        control->move(control->pos() + shift);
    held.translate(shift);
    const QSize margin(TwipsToPixelsX(marginTwips), TwipsToPixelsY(marginTwips));
    frame->resize(frame->size().expandedTo(QSize(held.right() + 1, held.bottom() + 1) + margin));
}

}  // namespace platform
