#pragma once

#include <QString>

namespace halcyra {

// Appends the native folder separator when the path does not already end in one, writes the
// result back into `path` and returns it. An empty path becomes the separator alone.
QString AddTrailingBackslash(QString& path);

// The folder a person's installation lives in: "~/Halcyra/" on Linux and macOS,
// "C:\Program Files\Halcyra 6.3\" on Windows. Always ends in the separator.
QString defaultInstallFolder();

// The database folder for a working folder: the working folder itself, except when the
// program runs from its development environment (a path containing "DevStudio" in any
// letter case), where the installed copy is used instead.
QString databaseFolderFor(const QString& workingFolder);

// The adviser's own program folder (the database, Backups, Temp, Sent Qs, the error log, and
// the program's documents beside them), the first of: $HALCYRA_HOME; the working folder when it
// holds the database (a program folder started in place); this program's own folder when it
// holds one (a program folder started from elsewhere); ~/Halcyra when it holds one (an earlier
// install); "Halcyra" in the user's data folder ($XDG_DATA_HOME, else ~/.local/share).
// Found, never made: see prepareProgramFolder.
QString userProgramFolder(const QString& workingFolder);

// The read-only program data an installed package keeps for every user (documents, help,
// tips, links): "share/halcyra" beside the program's "bin" folder. Empty when there is none,
// as when the program runs from a program folder of its own.
QString installedProgramData();

// A helper program or module of this program (`relative`: "OpenAcRd/OpenAcRd",
// "libhalcyra_webengine.so"): in `programFolder` as the plain install has it, beside this
// program, or in the package's "lib/halcyra". The first that exists, else the first place.
QString helperProgramPath(const QString& programFolder, const QString& relative);

} // namespace halcyra
