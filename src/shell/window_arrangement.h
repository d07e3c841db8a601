#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace shell {

// The Window menu's arrangements of the script windows, by their codes.
enum class Arrangement : qint16 { Cascade = 0, TileHorizontal = 1, TileVertical = 2, ArrangeIcons = 3 };

// count windows stacked from the top of area to its bottom, each its full width.
QList<QRect> TileRows(const QRect& area, int count);

// count windows side by side from the left of area to its right, each its full height.
QList<QRect> TileColumns(const QRect& area, int count);

// The places of minimised windows of these sizes, lined up from the bottom left corner of area
// to the right, a new row above the last when one is full.
QList<QRect> LineUpIcons(const QRect& area, const QList<QSize>& icons);

}  // namespace shell
