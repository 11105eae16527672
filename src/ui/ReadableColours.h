#pragma once

#include <QColor>
#include <QPalette>
#include <QString>

namespace halcyra {

// Colours that keep their meaning on any palette: a colour the program uses for a meaning
// (blue for the sums it works out, the help's heading blue) keeps its hue, and its lightness is
// moved away from the background until the text reads at least as well as `kReadableContrast`.
inline constexpr double kReadableContrast = 4.5;

// The contrast ratio of two colours, from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& first, const QColor& second);

// A palette whose boxes are darker than their text.
bool isDarkPalette(const QPalette& palette);

// `wanted` when it reads on `background`; otherwise the same hue, lighter on a dark background
// or darker on a light one, just far enough to read (black or white when no shade of it does).
QColor readableOn(const QColor& wanted, const QColor& background,
                  double minimum = kReadableContrast);

// A colour that carries a meaning (a heading's green, a mandatory field's red) as it is on a
// light palette, and readable on `background` of a dark one.
QColor meaningColour(const QColor& wanted, const QPalette& palette,
                     QPalette::ColorRole background = QPalette::Window);

// The colour the sums worked out in the score boxes are drawn in: blue, readable on the boxes.
QColor markedScoreColour(const QPalette& palette);

// An HTML page or style sheet with its colours fitted to `palette`: text colours ("color:",
// color="...") made readable on the palette's base, background colours ("background-color:")
// moved to the base's side of lightness with their hue, so the page's own text reads on them.
// On a light palette a colour that already reads stays as written.
QString htmlColoursFor(const QString& html, const QPalette& palette);

} // namespace halcyra
