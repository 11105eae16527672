// Restoring a backup over the client database, keeping what was there first.

#include "BackupNames.h"
#include "BackupStore.h"
#include "core/OutputFile.h"
#include "core/SingleInstance.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace halcyra::burest {
namespace {

// The program closes itself when it hands over to BuRest; a moment for it to be gone.
constexpr int kProgramClosingMs = 3000;
constexpr qint64 kChunk = 1 << 20;

// The journals that belong to the bytes of a database file (the -shm holds nothing of its own).
const char* const kCompanions[] = {"-wal", "-journal"};

enum class Current { Missing, Whole, Damaged };

struct CurrentState
{
    Current state = Current::Missing;
    QString damage;
};

Failure nothingRestored(const QString& why)
{
    return fail(QStringLiteral("Nothing was restored. ") + why);
}

// Whether the database is there, and whether SQLite can copy it whole with the program's
// checks passed.
CurrentState examine(const QString& databasePath)
{
    if (!QFileInfo::exists(databasePath) && !QFileInfo(databasePath).isSymLink())
        return {};
    ClientReader reader;
    if (Status opened = reader.open(databasePath); !opened)
        return {Current::Damaged, opened.error()};
    auto quick = column(reader.handle(), "PRAGMA quick_check");
    if (!quick || quick->value(0) != u"ok")
        return {Current::Damaged, QStringLiteral("%1 is damaged: %2")
                                      .arg(QDir::toNativeSeparators(databasePath),
                                           quick ? quick->join(u' ') : quick.error())};
    return {Current::Whole, {}};
}

// Copies the bytes of `from` into the new owner-only file `to`, on the disk before it returns.
Status copyBytes(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read %1: %2")
                        .arg(QDir::toNativeSeparators(from), in.errorString()));
    QFile out(to);
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnlyFile))
        return fail(QStringLiteral("Cannot create %1: %2")
                        .arg(QDir::toNativeSeparators(to), out.errorString()));
    const auto failed = [&](const QString& reason) {
        out.close();
        QFile::remove(to);
        return fail(
            QStringLiteral("Cannot write %1: %2").arg(QDir::toNativeSeparators(to), reason));
    };
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(kChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return failed(in.errorString());
        if (out.write(chunk) != chunk.size())
            return failed(out.errorString());
    }
    if (!out.flush())
        return failed(out.errorString());
#ifdef Q_OS_UNIX
    if (::fsync(out.handle()) != 0)
        return failed(QStringLiteral("it did not reach the disk"));
#endif
    return {};
}

// The current database through SQLite, as of one moment, while other programs may use it.
Result<QString> keepWhole(const QString& databasePath, const QString& folder, const QString& stem)
{
    const QString part = partPathFor(QDir(folder).filePath(stem + QStringLiteral(".db")));
    {
        ClientReader current;
        if (Status opened = current.open(databasePath); !opened)
            return Failure{opened.error()};
        if (Status begun = exec(current.handle(), "BEGIN"); !begun)
            return Failure{begun.error()};
        if (auto counted = clientCount(current.handle()); !counted)
            return Failure{counted.error()};
        if (Status written = writeCopy(current.handle(), part, {}); !written)
            return Failure{written.error()};
    }
    if (auto checked = checkClientDatabase(part); !checked) {
        removeWithJournals(part);
        return Failure{checked.error()};
    }
    return nameFinished(part, folder, stem);
}

// A file SQLite cannot read whole is kept as its bytes, with its journals. No program has it
// open: the program is kept off the folder, and its checks refuse such a file anyway; this
// process holds no connection to it either.
Result<QString> keepBytes(const QString& databasePath, const QString& folder, const QString& stem)
{
    const QDir dir(folder);
    QString target;
    for (int n = 1; target.isEmpty() || QFileInfo::exists(target) ||
                    QFileInfo::exists(target + QStringLiteral("-wal")) ||
                    QFileInfo::exists(target + QStringLiteral("-journal"));
         ++n)
        target = dir.filePath(n == 1 ? stem + QStringLiteral(".db")
                                     : stem + QStringLiteral("-%1.db").arg(n));
    // The journals first: a database file named before its journal would be read without it.
    for (const char* suffix : kCompanions) {
        const QString companion = databasePath + QLatin1String(suffix);
        if (QFileInfo(companion).size() <= 0)
            continue;
        const QString part = partPathFor(target + QLatin1String(suffix));
        if (Status copied = copyBytes(companion, part); !copied)
            return Failure{copied.error()};
        if (Status named = nameFinishedAs(part, target + QLatin1String(suffix), false); !named)
            return Failure{named.error()};
    }
    const QString part = partPathFor(target);
    if (Status copied = copyBytes(databasePath, part); !copied)
        return Failure{copied.error()};
    if (Status named = nameFinishedAs(part, target, false); !named)
        return Failure{named.error()};
    return target;
}

// Writes the backup into a new file that then takes the database's name: for a database that
// is missing or damaged, which SQLite cannot write into.
Status replaceFile(sqlite3* backup, const QString& databasePath, Current state,
                   const Progress& progress)
{
    const QString part = partPathFor(databasePath);
    if (Status written = writeCopy(backup, part, progress); !written)
        return written;
    if (auto checked = checkClientDatabase(part); !checked) {
        removeWithJournals(part);
        return Failure{checked.error()};
    }
    // The old file's journals are kept with its bytes; left here, SQLite would read them into
    // the new file.
    if (state == Current::Damaged) {
        for (const char* suffix : {"-wal", "-journal", "-shm"}) {
            const QString companion = databasePath + QLatin1String(suffix);
            if (QFileInfo::exists(companion) && !QFile::remove(companion)) {
                removeWithJournals(part);
                return fail(
                    QStringLiteral("Cannot remove %1.").arg(QDir::toNativeSeparators(companion)));
            }
        }
    }
    return nameFinishedAs(part, databasePath, state == Current::Damaged);
}

Status writeInPlace(sqlite3* backup, const QString& databasePath, const Progress& progress)
{
    auto target = openFile(databasePath, true);
    if (!target)
        return Failure{target.error()};
    // The page copy writes the whole backup into the database in one transaction, in the
    // database's own journal: a failure leaves it as it was.
    return copyPages(backup, target->get(), progress);
}

} // namespace

Result<RestoreInfo> restoreBackup(const QString& backupPath, const QString& databasePath,
                                  const QString& folder, const Progress& progress)
{
    const QString shownDatabase = QDir::toNativeSeparators(databasePath);
    const QString databaseFolder = QFileInfo(databasePath).absolutePath();
    // The program runs in the database's folder and holds it while it runs. A window that is
    // open there keeps its own copy of the records and would write it back over the restore;
    // holding the folder also keeps the program from starting until the restore is done.
    SingleInstance program(databaseFolder);
    if (!program.hold(kProgramClosingMs))
        return nothingRestored(
            QStringLiteral("Halcyra is open on this database (%1) and must be closed first. "
                           "Close Halcyra, then restore again.")
                .arg(shownDatabase));
    const QFileInfo backupFile(backupPath);
    if (backupFile.exists() &&
        backupFile.canonicalFilePath() == QFileInfo(databasePath).canonicalFilePath())
        return nothingRestored(
            QStringLiteral("%1 is the database itself, not a backup.").arg(shownDatabase));
    removeStaleParts(folder, backupPrefix(databasePath));
    removeStaleParts(databaseFolder, QFileInfo(databasePath).fileName() + u'.');

    // The backup is checked as the program checks a database it opens, and copied from that
    // same connection, so what was checked is what is restored.
    ClientReader backup;
    if (Status opened = backup.open(backupPath); !opened)
        return nothingRestored(opened.error());
    auto clients = checkOpened(backup.handle(), backupPath);
    if (!clients)
        return nothingRestored(clients.error());
    if (Status made = makeOwnerOnlyFolder(folder); !made)
        return nothingRestored(made.error());

    RestoreInfo info;
    info.clients = *clients;
    const CurrentState current = examine(databasePath);
    const QString stamp = QDateTime::currentDateTime().toString(QString::fromLatin1(kStampFormat));
    const QString prefix = backupPrefix(databasePath);
    if (current.state != Current::Missing) {
        auto kept = current.state == Current::Whole
                        ? keepWhole(databasePath, folder, prefix + kBeforeRestore + stamp)
                        : keepBytes(databasePath, folder, prefix + kDamagedBeforeRestore + stamp);
        if (!kept)
            return fail(QStringLiteral("Nothing was restored: the current database could not be "
                                       "kept (%1).")
                            .arg(kept.error()));
        info.keptCopy = *kept;
        info.keptAsBytes = current.damage;
    }

    const Status written =
        current.state == Current::Whole
            ? writeInPlace(backup.handle(), databasePath, progress)
            : replaceFile(backup.handle(), databasePath, current.state, progress);
    backup.close();
    if (!written)
        return fail(QStringLiteral("Nothing was restored: %1 The current database is unchanged.")
                        .arg(written.error()));

    auto result = checkClientDatabase(databasePath);
    if (!result || *result != info.clients)
        return fail(
            QStringLiteral("The restored database failed its check (%1). The database "
                           "as it was before is kept in %2.")
                .arg(result
                         ? QStringLiteral("%1 clients instead of %2").arg(*result).arg(info.clients)
                         : result.error(),
                     info.keptCopy.isEmpty() ? QStringLiteral("(none)")
                                             : QDir::toNativeSeparators(info.keptCopy)));
    return info;
}

} // namespace halcyra::burest
