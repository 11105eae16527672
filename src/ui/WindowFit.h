#pragma once

#include <QRect>

namespace halcyra {

// `wanted` brought inside `available`: no larger than it, and moved (not shrunk further) where
// it sticks out, so a window placed by it has every edge, and so every button, on the screen.
QRect fitInside(const QRect& wanted, const QRect& available);

} // namespace halcyra
