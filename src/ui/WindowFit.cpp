#include "ui/WindowFit.h"

#include <algorithm>

namespace halcyra {

QRect fitInside(const QRect& wanted, const QRect& available)
{
    const int width = std::min(wanted.width(), available.width());
    const int height = std::min(wanted.height(), available.height());
    const int x =
        std::clamp(wanted.x(), available.left(), available.left() + available.width() - width);
    const int y =
        std::clamp(wanted.y(), available.top(), available.top() + available.height() - height);
    return QRect(x, y, width, height);
}

} // namespace halcyra
