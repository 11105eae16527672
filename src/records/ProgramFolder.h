#pragma once

#include "core/Result.h"

#include <QString>

namespace halcyra {

// Readies the adviser's program folder (see userProgramFolder) before the program or a command
// that writes works in it: makes it owner-only when it is missing; copies in the program data of
// an installed package (`programData`, may be empty) where a file is missing, and where the
// package is of another version than the one that filled it last (the links and tips files,
// which the adviser may have edited, only where missing); and creates an empty
// database when the folder is new. A database that exists is never touched, and one missing
// from a folder in use is left missing, so that start-up says so instead of starting empty.
Status prepareProgramFolder(const QString& folder, const QString& programData);

} // namespace halcyra
