#pragma once

#include <QColor>

#include "platform/rich_text_box.h"

namespace platform {

// The program keeps red in the lowest byte of a colour; the highest byte is not a component.
inline QColor ToQColor(Color color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

inline Color FromQColor(const QColor& color)
{
    return color.red() | color.green() << 8 | color.blue() << 16;
}

}  // namespace platform
