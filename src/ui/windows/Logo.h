#pragma once

#include <QPixmap>

namespace halcyra {

// The program's logo, a green leaf over a sun disc, drawn rather than shipped as an image.
QPixmap logoPixmap();

} // namespace halcyra
