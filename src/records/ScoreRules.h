#pragma once

#include <QString>
#include <array>

namespace halcyra {

// The texts of the score boxes txtScore(1..42); index 0 is unused.
using ScoreBoxes = std::array<QString, 43>;

inline constexpr int kScoreBoxes = 42;
inline constexpr int kHairAndScalpBox = 40;

// Boxes the window fills in by itself: sections 4, 8, 9, 13, 15, 23 and 24.
bool isAutomaticScoreBox(int box);

// The text a score box keeps when it is left: above 45 becomes "45", below 0 or without a
// number "0"; any other text stays as typed (it counts by its leading number).
QString scoreTextOnLeaving(const QString& typed);

// Recomputes the automatic boxes in their order (a sum uses sums made before it), then the
// hair-and-scalp box: 0 becomes "1" when any heart-health or respiratory box is above 0.
void recomputeAutomaticScores(ScoreBoxes& boxes);

// The status bar line while a score box has the focus; `label` is the box's caption.
QString scoreHelpText(int box, const QString& label);

// Whether a score box is shown: hidden when its label's last two characters read as a number
// above the highest section shown (catalogue 7900). "2A" and "2B" read as 2 and stay.
bool isScoreBoxShown(const QString& label, int highestSection);

// Box number of the grid position (column and row counted from 1, 7 rows per column).
constexpr int scoreBoxAt(int column, int row)
{
    return (column - 1) * 7 + row;
}

} // namespace halcyra
