#include "BackupStore.h"

#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "records/ClientRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <memory>
#include <sqlite3.h>

namespace halcyra::burest {
namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
constexpr QFileDevice::Permissions kOwnerFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
const QString kStampFormat = QStringLiteral("yyyy-MM-dd-HHmmss");
const QString kBeforeRestore = QStringLiteral("before-restore-");

struct CloseConnection
{
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, CloseConnection>;

QString errorOf(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

Result<Connection> openFile(const QString& path, bool writable)
{
    sqlite3* raw = nullptr;
    const int flags = writable ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK)
        return fail(
            QStringLiteral("Cannot open %1: %2").arg(QDir::toNativeSeparators(path), errorOf(raw)));
    // The program may be saving a record just now; wait for it rather than fail.
    sqlite3_busy_timeout(db.get(), 10000);
    return db;
}

Status exec(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = message ? QString::fromUtf8(message) : errorOf(db);
        sqlite3_free(message);
        return fail(text);
    }
    return {};
}

// The rows of a one-column query as texts.
Result<QStringList> column(sqlite3* db, const char* sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
        return fail(errorOf(db));
    QStringList rows;
    int rc = SQLITE_ROW;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        rows << (text ? QString::fromUtf8(text) : QString());
    }
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE)
        return fail(errorOf(db));
    return rows;
}

Result<int> clientCount(sqlite3* db)
{
    auto rows = column(db, "SELECT count(*) FROM \"Customers\"");
    if (!rows)
        return Failure{rows.error()};
    return rows->value(0).toInt();
}

// Copies every page of `source` into `target` in steps, reporting progress. A step that finds
// the target busy waits and tries again.
Status copyPages(sqlite3* source, sqlite3* target, const Progress& progress)
{
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
    if (!backup)
        return fail(errorOf(target));
    int rc = SQLITE_OK;
    int waited = 0;
    while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        rc = sqlite3_backup_step(backup, 256);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (++waited > 200)
                break;
            QThread::msleep(50);
            continue;
        }
        const int total = sqlite3_backup_pagecount(backup);
        if (progress && total > 0)
            progress(static_cast<int>(100LL * (total - sqlite3_backup_remaining(backup)) / total));
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return fail(QString::fromUtf8(sqlite3_errstr(rc)));
    return {};
}

// An empty file only its owner may read, for SQLite to fill.
Status createOwnerOnlyFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(QStringLiteral("Cannot create %1: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    if (!file.setPermissions(kOwnerOnly)) {
        file.remove();
        return fail(QStringLiteral("Cannot make %1 private to its owner.")
                        .arg(QDir::toNativeSeparators(path)));
    }
    return {};
}

Status ensureFolder(const QString& folder)
{
    if (QFileInfo(folder).isDir())
        return {};
    if (!QDir().mkpath(folder) || !QFile::setPermissions(folder, kOwnerFolder))
        return fail(
            QStringLiteral("Cannot create the folder %1.").arg(QDir::toNativeSeparators(folder)));
    return {};
}

QString baseNameOf(const QString& databasePath)
{
    return QFileInfo(databasePath).completeBaseName() + u'-';
}

QString freeName(const QString& folder, const QString& stem)
{
    QString name = QDir(folder).filePath(stem + QStringLiteral(".db"));
    for (int n = 2; QFileInfo::exists(name) || QFileInfo::exists(name + QStringLiteral(".part"));
         ++n)
        name = QDir(folder).filePath(stem + QStringLiteral("-%1.db").arg(n));
    return name;
}

// Copies the database as it is at the start into `target` (which must not exist yet) and
// gives the number of clients it held.
Result<int> copyDatabase(const QString& databasePath, const QString& target,
                         const Progress& progress)
{
    if (!QFileInfo(databasePath).isFile())
        return fail(QStringLiteral("There is no database at %1.")
                        .arg(QDir::toNativeSeparators(databasePath)));
    auto source = openFile(databasePath, false);
    if (!source)
        return Failure{source.error()};
    // One read transaction for the whole copy: it sees the database as it was when it began,
    // while the program goes on writing beside it.
    if (auto begun = exec(source->get(), "BEGIN"); !begun)
        return Failure{begun.error()};
    auto clients = clientCount(source->get());
    if (!clients)
        return Failure{clients.error()};
    if (auto created = createOwnerOnlyFile(target); !created)
        return Failure{created.error()};
    {
        auto copy = openFile(target, true);
        if (!copy)
            return Failure{copy.error()};
        Status copied = copyPages(source->get(), copy->get(), progress);
        // A backup is one file, whatever journal the live database keeps.
        if (copied)
            copied = exec(copy->get(), "PRAGMA journal_mode=DELETE");
        if (!copied) {
            copy.value().reset();
            QFile::remove(target);
            return Failure{copied.error()};
        }
    }
    (void)exec(source->get(), "COMMIT");
    return clients;
}

} // namespace

QString defaultBackupFolder(const QString& databasePath)
{
    return QFileInfo(databasePath).absoluteDir().filePath(QStringLiteral("Backups"));
}

QString defaultDatabase(const QString& settingsFolder, const QString& programFolder)
{
    const SettingsStore settings(settingsFolder);
    const QString stored = settings.get(keys::hcyLocation());
    if (!stored.isEmpty())
        return stored;
    return QDir(programFolder).filePath(QStringLiteral("HCY300.db"));
}

Result<int> checkClientDatabase(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("Cannot read %1: %2").arg(shown, file.errorString()));
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return fail(QStringLiteral("%1 is not a Halcyra database.").arg(shown));
    const auto byte = [&header](int at) {
        return static_cast<quint32>(static_cast<quint8>(header[at]));
    };
    quint32 pageSize = (byte(16) << 8) | byte(17);
    if (pageSize == 1)
        pageSize = 65536;
    const quint32 pages = (byte(28) << 24) | (byte(29) << 16) | (byte(30) << 8) | byte(31);
    if (pageSize < 512 || file.size() < static_cast<qint64>(pageSize) * pages)
        return fail(QStringLiteral("%1 is incomplete: it is shorter than the database it holds "
                                   "says.")
                        .arg(shown));
    file.close();

    auto db = openFile(path, false);
    if (!db)
        return Failure{db.error()};
    auto integrity = column(db->get(), "PRAGMA integrity_check");
    if (!integrity || integrity->value(0) != u"ok")
        return fail(QStringLiteral("%1 is damaged: %2")
                        .arg(shown, integrity ? integrity->join(u' ') : integrity.error()));
    auto names = column(db->get(), "SELECT name FROM pragma_table_info('Customers')");
    if (!names)
        return fail(QStringLiteral("%1 cannot be read: %2").arg(shown, names.error()));
    const QSet<QString> present(names->begin(), names->end());
    for (int c = 0; c < columns::kCount; ++c)
        if (!present.contains(columns::name(c)))
            return fail(QStringLiteral("%1 is not a Halcyra database: its client table has no "
                                       "column \"%2\".")
                            .arg(shown, columns::name(c)));
    auto company = column(db->get(), "SELECT name FROM sqlite_master WHERE type = 'table' AND "
                                     "name = 'Company Info'");
    if (!company || company->isEmpty())
        return fail(
            QStringLiteral("%1 is not a Halcyra database: it has no company table.").arg(shown));
    return clientCount(db->get());
}

Result<BackupInfo> makeBackup(const QString& databasePath, const QString& folder, int keep,
                              const Progress& progress)
{
    if (auto made = ensureFolder(folder); !made)
        return Failure{made.error()};
    const QDateTime now = QDateTime::currentDateTime();
    const QString target = freeName(folder, baseNameOf(databasePath) + now.toString(kStampFormat));
    const QString part = target + QStringLiteral(".part");
    auto clients = copyDatabase(databasePath, part, progress);
    if (!clients)
        return Failure{clients.error()};
    // The copy gets its name only once it has been read back whole.
    auto checked = checkClientDatabase(part);
    if (!checked || *checked != *clients) {
        QFile::remove(part);
        return fail(QStringLiteral("The backup failed its check: %1")
                        .arg(checked ? QStringLiteral("it holds %1 clients instead of %2.")
                                           .arg(*checked)
                                           .arg(*clients)
                                     : checked.error()));
    }
    if (!QFile::rename(part, target)) {
        QFile::remove(part);
        return fail(
            QStringLiteral("Cannot name the backup %1.").arg(QDir::toNativeSeparators(target)));
    }
    // Older backups of this database beyond the newest `keep` go.
    const QString prefix = baseNameOf(databasePath);
    int kept = 0;
    for (const BackupInfo& backup : listBackups(folder)) {
        const QString name = QFileInfo(backup.path).fileName();
        if (!name.startsWith(prefix) || name.mid(prefix.size()).startsWith(kBeforeRestore))
            continue;
        if (++kept > std::max(keep, 1))
            QFile::remove(backup.path);
    }
    BackupInfo info;
    info.path = target;
    info.taken = now;
    info.size = QFileInfo(target).size();
    info.clients = *clients;
    return info;
}

std::vector<BackupInfo> listBackups(const QString& folder)
{
    std::vector<BackupInfo> backups;
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*.db")}, QDir::Files, QDir::Time);
    for (const QFileInfo& file : files) {
        BackupInfo info;
        info.path = file.absoluteFilePath();
        info.taken = file.lastModified();
        info.size = file.size();
        if (auto db = openFile(info.path, false)) {
            if (auto clients = clientCount(db->get()))
                info.clients = *clients;
        }
        backups.push_back(info);
    }
    return backups;
}

Result<RestoreInfo> restoreBackup(const QString& backupPath, const QString& databasePath,
                                  const QString& folder, const Progress& progress)
{
    auto clients = checkClientDatabase(backupPath);
    if (!clients)
        return fail(QStringLiteral("Nothing was restored. ") + clients.error());
    if (auto made = ensureFolder(folder); !made)
        return Failure{made.error()};

    RestoreInfo info;
    info.clients = *clients;
    // The current database is kept first, whatever state it is in.
    const QString kept = freeName(folder, baseNameOf(databasePath) + kBeforeRestore +
                                              QDateTime::currentDateTime().toString(kStampFormat));
    auto copied = copyDatabase(databasePath, kept, {});
    if (!copied) {
        QFile::remove(kept);
        // A database SQLite can no longer read is kept byte for byte.
        if (!QFile::copy(databasePath, kept) || !QFile::setPermissions(kept, kOwnerOnly))
            return fail(QStringLiteral("Nothing was restored: the current database could not be "
                                       "kept (%1).")
                            .arg(copied.error()));
    }
    info.keptCopy = kept;

    {
        auto source = openFile(backupPath, false);
        if (!source)
            return Failure{source.error()};
        auto target = openFile(databasePath, true);
        if (!target)
            return Failure{target.error()};
        // The backup API writes the whole backup into the database in one transaction, in the
        // database's own journal: a failure leaves it as it was.
        if (auto written = copyPages(source->get(), target->get(), progress); !written)
            return fail(QStringLiteral("Nothing was restored: %1 The current database is "
                                       "unchanged.")
                            .arg(written.error()));
    }
    auto result = checkClientDatabase(databasePath);
    if (!result || *result != info.clients)
        return fail(
            QStringLiteral("The restored database failed its check (%1). The database "
                           "as it was before is kept in %2.")
                .arg(result
                         ? QStringLiteral("%1 clients instead of %2").arg(*result).arg(info.clients)
                         : result.error(),
                     QDir::toNativeSeparators(kept)));
    return info;
}

} // namespace halcyra::burest
