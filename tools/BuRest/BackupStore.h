#pragma once

#include "core/Result.h"

#include <QDateTime>
#include <QString>
#include <functional>
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

// Called with the share done, 0 to 100.
using Progress = std::function<void(int percent)>;

inline constexpr int kDefaultKeep = 30;

// "Backups" beside the database.
QString defaultBackupFolder(const QString& databasePath);

// The database the utility works on when none is named: the "HCY Location" the program stored
// before handing over, else "HCY300.db" in `programFolder`.
QString defaultDatabase(const QString& settingsFolder, const QString& programFolder);

// Copies the live database with SQLite's online backup into a new file named by date and
// time in `folder`, while other programs may still write to it: the copy is the database as
// it was when the backup started. The copy is checked before it gets its name, and only the
// newest `keep` backups of this database stay in the folder. Files are the owner's only.
Result<BackupInfo> makeBackup(const QString& databasePath, const QString& folder, int keep,
                              const Progress& progress = {});

// The backups in `folder`, newest first.
std::vector<BackupInfo> listBackups(const QString& folder);

// Whether `path` is a whole, readable client database; gives its number of clients.
Result<int> checkClientDatabase(const QString& path);

struct RestoreInfo
{
    int clients = 0;
    QString keptCopy; // the database as it was before
};

// Replaces the database by a backup: refuses anything that is not a whole client database,
// keeps a copy of the current database in `folder` first, then copies the backup into the
// database in one transaction (other programs see the old or the new records, never a mix)
// and checks the result.
Result<RestoreInfo> restoreBackup(const QString& backupPath, const QString& databasePath,
                                  const QString& folder, const Progress& progress = {});

} // namespace halcyra::burest
