#include "SqliteCopy.h"

#include "core/OutputFile.h"
#include "records/DatabaseFile.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QThread>
#include <QUuid>
#include <cerrno>
#include <cstring>
#include <sqlite3.h>

namespace halcyra::burest {
namespace {

constexpr int kPagesPerStep = 256;
constexpr int kBusyWaitMs = 50;
constexpr int kBusyWaits = 200;

QString errorOf(sqlite3* db)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QStringLiteral("out of memory");
}

// What went wrong in the words of the system where SQLite has only "disk I/O error".
QString failureOf(sqlite3* target, int rc)
{
    const int system = target ? sqlite3_system_errno(target) : 0;
    if (rc == SQLITE_FULL || system == ENOSPC)
        return QString::fromLocal8Bit(std::strerror(ENOSPC)) + QStringLiteral(": the disk is full");
    if (system != 0)
        return QStringLiteral("%1 (%2)").arg(QString::fromUtf8(sqlite3_errstr(rc)),
                                             QString::fromLocal8Bit(std::strerror(system)));
    return QString::fromUtf8(sqlite3_errstr(rc));
}

} // namespace

void CloseConnection::operator()(sqlite3* db) const
{
    sqlite3_close_v2(db);
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

Status copyPages(sqlite3* source, sqlite3* target, const Progress& progress)
{
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
    if (!backup)
        return fail(failureOf(target, sqlite3_errcode(target)));
    int rc = SQLITE_OK;
    int waited = 0;
    while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        rc = sqlite3_backup_step(backup, kPagesPerStep);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            if (++waited > kBusyWaits)
                break;
            QThread::msleep(kBusyWaitMs);
            continue;
        }
        const int total = sqlite3_backup_pagecount(backup);
        if (progress && total > 0)
            progress(static_cast<int>(100LL * (total - sqlite3_backup_remaining(backup)) / total));
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return fail(failureOf(target, rc));
    return {};
}

void removeWithJournals(const QString& path)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

Status writeCopy(sqlite3* source, const QString& path, const Progress& progress)
{
    // SQLite would create the file with the umask's mode.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnlyFile))
        return fail(QStringLiteral("Cannot create %1: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    file.close();
    Status copied;
    {
        auto copy = openFile(path, true);
        if (!copy) {
            copied = Failure{copy.error()};
        } else {
            copied = copyPages(source, copy->get(), progress);
            // A copy is one file, whatever journal the source keeps.
            if (copied)
                copied = exec(copy->get(), "PRAGMA journal_mode=DELETE");
        }
    }
    if (!copied)
        removeWithJournals(path);
    return copied;
}

ClientReader::ClientReader()
    : m_name(QStringLiteral("burest-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{}

ClientReader::~ClientReader()
{
    close();
}

Status ClientReader::open(const QString& path)
{
    close();
    const Status opened = openClientDatabase(path, m_name, DatabaseAccess::ReadOnly);
    if (!opened) {
        closeClientDatabase(m_name);
        return opened;
    }
    const QVariant handle = QSqlDatabase::database(m_name, false).driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_handle = *static_cast<sqlite3* const*>(handle.data());
    if (!m_handle) {
        closeClientDatabase(m_name);
        return fail(QStringLiteral("%1 cannot be read: no SQLite connection")
                        .arg(QDir::toNativeSeparators(path)));
    }
    return {};
}

void ClientReader::close()
{
    if (!m_handle)
        return;
    m_handle = nullptr;
    closeClientDatabase(m_name);
}

Result<int> checkOpened(sqlite3* db, const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
    auto integrity = column(db, "PRAGMA integrity_check");
    if (!integrity || integrity->value(0) != u"ok")
        return fail(QStringLiteral("%1 is damaged: %2")
                        .arg(shown, integrity ? integrity->join(u' ') : integrity.error()));
    auto clients = clientCount(db);
    if (!clients)
        return fail(QStringLiteral("%1 cannot be read: %2").arg(shown, clients.error()));
    return clients;
}

} // namespace halcyra::burest
