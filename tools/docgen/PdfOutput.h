#pragma once

#include "Markup.h"

#include <QString>
#include <vector>

namespace halcyra::docgen {

// Lays the blocks out on US Letter pages ("Times New Roman" text, "Arial" headings) and writes
// them as a PDF file through QSaveFile, so a failed run never leaves half a file. The blocks
// must hold no directives any more. Returns false with `error` set when the file could not be
// written.
bool writePdf(const QString& path, const QString& title, const std::vector<Block>& blocks,
              QString* error);

// The first heading of the blocks, for the document's title.
QString documentTitle(const std::vector<Block>& blocks);

} // namespace halcyra::docgen
