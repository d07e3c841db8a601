#pragma once

#include <QRect>

class QWidget;

namespace shell {

// Places a top-level window by its outer rectangle, frame included, in pixels. A window that is
// not framed yet takes the outer size as its inner one, and shrinks by its frame once the window
// manager has put one around it.
void SetOuterGeometry(QWidget* window, const QRect& outer);

}  // namespace shell
