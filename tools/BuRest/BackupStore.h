#pragma once

#include "SqliteCopy.h"
#include "core/Result.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <vector>

namespace halcyra::burest {

// One backup file: where it is, when it was taken, how big it is and how many clients it holds
// (-1 when it cannot be read).
struct BackupInfo
{
    QString path;
    QDateTime taken;
    qint64 size = 0;
    int clients = -1;
};

inline constexpr int kDefaultKeep = 30;

// "Backups" beside the database.
QString defaultBackupFolder(const QString& databasePath);

// The database the utility works on when none is named: the "HCY Location" the program stored
// before handing over while that file is there, else "HCY300.db" in `programFolder`.
QString defaultDatabase(const QString& settingsFolder, const QString& programFolder);

// Copies the live database with SQLite's online backup into a new file named by date and
// time in `folder`, while other programs may still write to it: the copy is the database as
// it was when the backup started. The copy is checked before it gets its name, and only the
// newest `keep` backups of this database (by the date in their names) stay in the folder; the
// new one always stays. Files and folders are the owner's only. Unfinished copies that stopped
// runs left in the folder go first.
Result<BackupInfo> makeBackup(const QString& databasePath, const QString& folder, int keep,
                              const Progress& progress = {});

// The backups in `folder`, newest first by the date in their names.
std::vector<BackupInfo> listBackups(const QString& folder);

// Unfinished copies in `folder` that stopped runs left behind.
QStringList unfinishedCopies(const QString& folder);

// Whether `path` is a whole client database the program would open: its checks (the header,
// the schema version, no tables, views or triggers that are not the program's) and SQLite's
// integrity check. Gives its number of clients.
Result<int> checkClientDatabase(const QString& path);

struct RestoreInfo
{
    int clients = 0;
    QString keptCopy;    // the database as it was before; empty when there was none
    QString keptAsBytes; // why it was kept byte for byte (it was no whole database), or empty
};

// Replaces the database by a backup. Refuses while the program runs on the database's folder
// (its window would write its own copy of the records back) and anything that the program
// would not open. Keeps the current database in `folder` first: a whole one through SQLite,
// with the backup then copied in in one transaction (other programs see the old or the new
// records, never a mix); a damaged one byte for byte, replaced by a new file; a missing one
// not at all. Checks the result.
Result<RestoreInfo> restoreBackup(const QString& backupPath, const QString& databasePath,
                                  const QString& folder, const Progress& progress = {});

// What a restore did, in words, for the command line and the window alike.
QString restoreSummary(const RestoreInfo& info, const QString& databasePath);

} // namespace halcyra::burest
