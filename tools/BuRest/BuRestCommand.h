#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace halcyra::burest {

// Whether the arguments (program name first) ask for the command line rather than the window.
bool wantsCommandLine(const QStringList& arguments);
// The value of --database, or empty.
QString databaseArgument(const QStringList& arguments);

// Runs BuRest's command line: backup, restore, list, --help. `programFolder` is the adviser's
// program folder (the database's default folder); `settingsFolder` holds the program's settings.
// Exit codes: 0 done, 1 failed, 2 wrong arguments.
int runCommandLine(const QStringList& arguments, const QString& programFolder,
                   const QString& settingsFolder, QTextStream& out, QTextStream& err);

} // namespace halcyra::burest
