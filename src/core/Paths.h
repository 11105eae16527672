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

} // namespace halcyra
