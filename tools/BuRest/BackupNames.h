#pragma once

#include "core/Result.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace halcyra::burest {

// Backups are named "<database>-<yyyy-MM-dd-HHmmss>[-n].db"; the copies kept before a restore
// put "before-restore-" (or "damaged-before-restore-") before the date.
inline constexpr auto kStampFormat = "yyyy-MM-dd-HHmmss";
inline constexpr QLatin1String kBeforeRestore("before-restore-");
inline constexpr QLatin1String kDamagedBeforeRestore("damaged-before-restore-");

// "HCY300-" for ".../HCY300.db".
QString backupPrefix(const QString& databasePath);

// When a file was taken, by the date in its name: file times change with any copy or touch.
struct NameStamp
{
    QDateTime taken;  // invalid when the name carries no date
    int sequence = 1; // the n of a second backup within the same second
    bool operator<(const NameStamp& other) const
    {
        return taken != other.taken ? taken < other.taken : sequence < other.sequence;
    }
};
NameStamp stampOf(const QString& fileName);

// Whether `fileName` is one of the regular backups of the database with `prefix` (not a copy
// kept before a restore).
bool isRegularBackup(const QString& fileName, const QString& prefix);

// The name `finalPath` is written under until it is whole. It carries the writer's process id,
// so a later run can tell a copy still being written from one a stopped run left.
QString partPathFor(const QString& finalPath);

// The unfinished copies in `folder` whose names begin with `startsWith` and that no running
// process writes any more, with the journal files SQLite keeps beside them.
QStringList staleParts(const QString& folder, const QString& startsWith);
void removeStaleParts(const QString& folder, const QString& startsWith);

// Gives the finished `part` the first free name of "<stem>.db", "<stem>-2.db", ... in
// `folder`, never replacing a file, and makes the name last on the disk.
Result<QString> nameFinished(const QString& part, const QString& folder, const QString& stem);

// The same for a name with no choice: replaces `target` when `replace`, else refuses a file
// that is there.
Status nameFinishedAs(const QString& part, const QString& target, bool replace);

} // namespace halcyra::burest
