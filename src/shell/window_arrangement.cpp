#include "shell/window_arrangement.h"

#include <algorithm>

namespace shell {
namespace {

// Where the n-th of count equal parts of a length begins; the parts differ by a pixel at most
// and together fill the length.
int PartStart(int length, int count, int n)
{
    return int(qint64(length) * n / count);
}

}  // namespace

QList<QRect> TileRows(const QRect& area, int count)
{
    QList<QRect> places;
    for (int n = 0; n < count; ++n) {
        const int top = PartStart(area.height(), count, n);
        places.append(QRect(area.left(), area.top() + top, area.width(),
                            PartStart(area.height(), count, n + 1) - top));
    }
    return places;
}

QList<QRect> TileColumns(const QRect& area, int count)
{
    QList<QRect> places;
    for (int n = 0; n < count; ++n) {
        const int left = PartStart(area.width(), count, n);
        places.append(QRect(area.left() + left, area.top(),
                            PartStart(area.width(), count, n + 1) - left, area.height()));
    }
    return places;
}

QList<QRect> LineUpIcons(const QRect& area, const QList<QSize>& icons)
{
    QList<QRect> places;
    int left = area.left();
    int bottom = area.bottom() + 1;
    int rowHeight = 0;
    for (const QSize& icon : icons) {
        if (left > area.left() && left + icon.width() > area.right() + 1) {
            left = area.left();
            bottom -= rowHeight;
            rowHeight = 0;
        }
        places.append(QRect(QPoint(left, bottom - icon.height()), icon));
        left += icon.width();
        rowHeight = std::max(rowHeight, icon.height());
    }
    return places;
}

}  // namespace shell
