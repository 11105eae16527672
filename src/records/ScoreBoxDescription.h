#pragma once

#include <QString>

namespace halcyra {

// What a screen reader and the tool tip say of a score box, so that a box marked by its colour
// (the sums the window works out) is told apart without seeing the colour: "Field 8: 14,
// marked". The label is the box's caption ("Field  8"), the text the box's own.
QString scoreBoxAccessibleName(const QString& label, const QString& text, bool marked);
QString scoreBoxToolTip(bool marked);

} // namespace halcyra
