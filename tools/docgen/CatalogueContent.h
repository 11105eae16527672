#pragma once

#include "Markup.h"

#include <QStringList>
#include <vector>

namespace halcyra {
class Catalogue;
}

namespace halcyra::docgen {

// Replaces the directive blocks by content read from the catalogue, so the documents follow
// the catalogue:
//     @bibliography       the numbered references
//     @intake-items N     bullets: the daily intake items that join in phase N
//     @intake-sheet N     a week's tick table of every daily intake item up to phase N
//     @list ID            bullets: the entries after count entry ID (ID + 1 .. ID + count)
// The daily intake list's code is a digit and a letter; the digit is read as the phase in
// which the item joins the daily program.
std::vector<Block> expandDirectives(const std::vector<Block>& blocks, const Catalogue& catalogue,
                                    QStringList* errors);

// A supplement's name as a heading: the catalogue name without its note marks ("******").
QString supplementHeading(const Catalogue& catalogue, int supplement);

// The phase (1 or more) in which daily intake item n joins the program.
int intakePhase(const Catalogue& catalogue, int item);

} // namespace halcyra::docgen
