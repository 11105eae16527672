#pragma once

#include <QPixmap>

class QLabel;
class QWidget;

namespace halcyra {

// What the splash window and the About box share: the program's logo, a green leaf over a sun
// disc drawn rather than shipped as an image, and their word-wrapped labels.
QPixmap logoPixmap();
// `pointSize` 0 keeps the window's font size.
QLabel* makeLabel(QWidget* parent, const char* name, int pointSize, bool bold);

} // namespace halcyra
