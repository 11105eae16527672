#pragma once

#include <QSize>

class QWidget;

namespace halcyra {

// Keeps a window inside the free area of its screen, frame included, whatever the screen's size
// and scale: `wanted` (its inside size; the present size when empty) becomes smaller where the
// screen is smaller, and each time the program shows the window it is moved in where it would
// stick out. A window whose content can be taller than a screen holds it in a scroll area.
void keepOnScreen(QWidget* window, QSize wanted = {});

// Brings a shown window back inside after it changed its own size or place.
void fitOnScreenNow(QWidget* window);

} // namespace halcyra
