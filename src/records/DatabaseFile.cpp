#include "records/DatabaseFile.h"

#include "core/OutputFile.h"
#include "records/SchemaMigration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QUrl>
#include <QUuid>
#include <QtEndian>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace halcyra {
namespace {

QString uniqueConnectionName(const QString& purpose)
{
    return purpose + u'-' + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// Runs the statements of a schema script, separated by ";" at the end of a line.
bool runScript(QSqlDatabase& db, const QString& script, QString* error)
{
    QString statement;
    const QStringList lines = script.split(u'\n');
    for (const QString& line : lines) {
        if (line.trimmed().startsWith(QStringLiteral("--")))
            continue;
        statement += line + u'\n';
        if (!line.trimmed().endsWith(u';'))
            continue;
        QSqlQuery query(db);
        if (!query.exec(statement.trimmed())) {
            *error = query.lastError().text();
            return false;
        }
        statement.clear();
    }
    return true;
}

bool buildDatabase(const QString& path, QString* error)
{
    // SQLite would create the file with the umask's mode; an empty file is a valid empty
    // database, so it is made first, owner-only.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnlyFile)) {
        *error = QStringLiteral("Cannot create %1: %2")
                     .arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    file.close();
    const QString name = uniqueConnectionName(QStringLiteral("create"));
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            *error = db.lastError().text();
        } else {
            ok = db.transaction() && runScript(db, builtInSchema(), error) && db.commit();
            if (!ok && error->isEmpty())
                *error = db.lastError().text();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// One table or view of the schema and its columns.
struct SchemaObject
{
    QString type;
    QString name;
    QStringList columns;
};

QStringList columnsOf(const QSqlDatabase& db, const QString& object, QString* error)
{
    QSqlQuery query(db);
    QString quoted = object;
    quoted.replace(u'"', QStringLiteral("\"\""));
    if (!query.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(quoted))) {
        *error = query.lastError().text();
        return {};
    }
    QStringList columns;
    while (query.next())
        columns << query.value(1).toString();
    return columns;
}

// The tables and views of the built-in schema, read from a database built from it in memory,
// so the check cannot drift from the schema.
const std::vector<SchemaObject>& expectedSchema()
{
    static const std::vector<SchemaObject> schema = [] {
        std::vector<SchemaObject> objects;
        const QString name = uniqueConnectionName(QStringLiteral("schema"));
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(QStringLiteral(":memory:"));
            QString error;
            if (db.open() && runScript(db, builtInSchema(), &error)) {
                QSqlQuery query(db);
                query.exec(QStringLiteral("SELECT type, name FROM sqlite_master WHERE type IN "
                                          "('table', 'view') AND name NOT LIKE 'sqlite_%' "
                                          "ORDER BY rowid"));
                while (query.next())
                    objects.push_back({query.value(0).toString(), query.value(1).toString(), {}});
                for (SchemaObject& object : objects)
                    object.columns = columnsOf(db, object.name, &error);
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        return objects;
    }();
    return schema;
}

QString quotedList(const QStringList& names)
{
    QStringList quoted;
    for (const QString& name : names)
        quoted << u'"' + name + u'"';
    return quoted.join(QStringLiteral(", "));
}

// What the open file lacks of the schema of its version; empty when nothing.
QStringList schemaProblems(const QSqlDatabase& db, int version)
{
    QStringList problems;
    for (const SchemaObject& object : expectedSchema()) {
        // The earlier assessments came with the second version of the schema.
        if (version < 2 && object.name == u"Assessments")
            continue;
        QSqlQuery query(db);
        if (!query.prepare(
                QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = ? AND name = ?"))) {
            problems << query.lastError().text();
            break;
        }
        query.addBindValue(object.type);
        query.addBindValue(object.name);
        if (!query.exec()) {
            problems << query.lastError().text();
            break;
        }
        if (!query.next()) {
            problems << QStringLiteral("the %1 \"%2\" is missing").arg(object.type, object.name);
            continue;
        }
        QString error;
        const QStringList present = columnsOf(db, object.name, &error);
        if (!error.isEmpty()) {
            problems << QStringLiteral("the %1 \"%2\" cannot be read (%3)")
                            .arg(object.type, object.name, error);
            continue;
        }
        QStringList missing;
        for (const QString& column : object.columns)
            if (!present.contains(column))
                missing << column;
        if (!missing.isEmpty())
            problems << QStringLiteral("the %1 \"%2\" lacks the column%3 %4")
                            .arg(object.type, object.name,
                                 missing.size() == 1 ? QString() : QStringLiteral("s"),
                                 quotedList(missing));
    }
    return problems;
}

quint32 bigEndian32(const QByteArray& bytes, int at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

// Looks at the file's header before SQLite does, for the messages SQLite cannot give: an
// empty file is a valid empty database to it, and a cut-off file reads as fewer records.
Status checkHeader(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    const qint64 size = file.size();
    if (size == 0)
        return fail(QStringLiteral("the file is empty"));
    const QByteArray header = file.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayView("SQLite format 3\0", 16)))
        return fail(QStringLiteral("it is not an SQLite database file"));
    const quint32 pageSizeField = qFromBigEndian<quint16>(header.constData() + 16);
    const qint64 pageSize = pageSizeField == 1 ? 65536 : pageSizeField;
    const qint64 pages = bigEndian32(header, 28);
    // The page count in the header is valid only when it was written with the change counter;
    // pages still in a WAL file are not in the main file yet.
    const bool countValid = pages > 0 && bigEndian32(header, 24) == bigEndian32(header, 92);
    if (countValid && pageSize * pages > size &&
        QFileInfo(path + QStringLiteral("-wal")).size() == 0)
        return fail(
            QStringLiteral("it is truncated (%1 of %2 bytes)").arg(size).arg(pageSize * pages));
    return {};
}

// Below this much free space a database is not opened for writing: SQLite would leave its
// -wal and -shm files behind with a bare "disk I/O error".
constexpr qint64 kLeastFreeBytes = 1 << 20;

bool diskIsFull(const QString& folder)
{
    const qint64 available = QStorageInfo(folder).bytesAvailable();
    return available >= 0 && available < kLeastFreeBytes;
}

// A file URI for SQLite, so that an open never creates the file.
QString databaseUri(const QString& path, DatabaseAccess access)
{
    QString uri =
        QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    uri += access == DatabaseAccess::ReadOnly ? QStringLiteral("?mode=ro")
                                              : QStringLiteral("?mode=rw");
    if (access == DatabaseAccess::ReadOnly) {
        // A WAL database needs its -shm file, which a read-only folder or a full disk cannot
        // give. With no -wal file no program has the database open, so nothing can change
        // under this read.
        const QFileInfo folder(QFileInfo(path).absolutePath());
        const bool noJournal = !QFileInfo::exists(path + QStringLiteral("-wal"));
        const bool cannotWrite = !folder.isWritable() || diskIsFull(folder.absoluteFilePath());
        if (noJournal && cannotWrite)
            uri += QStringLiteral("&immutable=1");
    }
    return uri;
}

Status openConnection(QSqlDatabase& db, const QString& path, DatabaseAccess access)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path))
        return fail(QStringLiteral("There is no database %1").arg(shown));
    if (Status header = checkHeader(path); !header)
        return fail(QStringLiteral("%1 is not a Halcyra database: %2").arg(shown, header.error()));
    if (access == DatabaseAccess::ReadWrite &&
        (!QFileInfo(path).isWritable() || !QFileInfo(QFileInfo(path).absolutePath()).isWritable()))
        return fail(
            QStringLiteral("%1 cannot be written: it or its folder is read-only").arg(shown));
    if (access == DatabaseAccess::ReadWrite && diskIsFull(QFileInfo(path).absolutePath()))
        return fail(QStringLiteral("%1 cannot be written: the disk is full").arg(shown));
    db.setDatabaseName(databaseUri(path, access));
    QString options =
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    if (access == DatabaseAccess::ReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open())
        return fail(QStringLiteral("%1 cannot be opened: %2").arg(shown, db.lastError().text()));
    if (QSqlQuery probe(db); !probe.exec(QStringLiteral("SELECT COUNT(*) FROM sqlite_master")))
        return fail(QStringLiteral("%1 cannot be read: %2").arg(shown, probe.lastError().text()));
    // A file from a newer program is refused untouched; one of ours, of any version, must hold
    // all that its version had.
    if (const Status current = checkSchemaNotNewer(db); !current)
        return fail(QStringLiteral("%1 cannot be opened: %2").arg(shown, current.error()));
    const Result<int> version = schemaVersion(db);
    const QStringList problems = schemaProblems(db, version.ok() ? *version : kSchemaVersion);
    if (!problems.isEmpty())
        return fail(QStringLiteral("%1 is not a Halcyra database: %2")
                        .arg(shown, problems.join(QStringLiteral("; "))));
    // Before anything else writes to the file, an older one is set aside and upgraded, once. A
    // reader takes it as it is.
    if (access == DatabaseAccess::ReadWrite) {
        if (const Result<MigrationOutcome> upgraded = upgradeSchema(db, path); !upgraded)
            return fail(QStringLiteral("%1 cannot be opened: %2").arg(shown, upgraded.error()));
    }
    if (access == DatabaseAccess::ReadWrite) {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !query.next() ||
            query.value(0).toString().compare(u"wal", Qt::CaseInsensitive) != 0 ||
            !query.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
            const QString reason = query.lastError().isValid()
                                       ? query.lastError().text()
                                       : QStringLiteral("the file is read-only");
            return fail(QStringLiteral("%1 cannot be written: %2").arg(shown, reason));
        }
    }
    return {};
}

// The file a connection of this program is for.
QString fileOf(const QSqlDatabase& db)
{
    QString name = db.databaseName();
    if (name.startsWith(u"file:"))
        name = QUrl(name.section(u'?', 0, 0)).toLocalFile();
    return QFileInfo(name).canonicalFilePath();
}

// Removes an empty -wal file and its -shm beside `path` while holding SQLite's exclusive lock
// on the database, as SQLite itself does when the last connection closes: every connection
// holds a shared lock for as long as it is open, so the lock is had only when none is.
void removeEmptyJournal(const QString& path)
{
    const QString wal = path + QStringLiteral("-wal");
    if (!QFileInfo::exists(wal) || QFileInfo(wal).size() != 0)
        return;
    // Closing a file drops every lock this process holds on it, SQLite's too.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    const QStringList names = QSqlDatabase::connectionNames();
    for (const QString& name : names) {
        const QSqlDatabase db = QSqlDatabase::database(name, false);
        if (db.isOpen() && db.driverName() == u"QSQLITE" && fileOf(db) == canonical)
            return;
    }
#ifdef Q_OS_LINUX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return;
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0x40000000; // SQLite's pending, reserved and shared lock bytes
    lock.l_len = 512;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0 && QFileInfo(wal).size() == 0) {
        QFile::remove(path + QStringLiteral("-shm"));
        QFile::remove(wal);
    }
    ::close(fd);
#endif
}

} // namespace

QString builtInSchema()
{
    QFile file(QStringLiteral(":/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

CreateResult createDatabaseIfMissing(const QString& folder, QString* error)
{
    const QDir dir(folder);
    const QString target = dir.filePath(QStringLiteral("HCY300.db"));
    if (QFileInfo::exists(target)) {
        // Only a file that is a database of ours counts as one.
        const QString name = uniqueConnectionName(QStringLiteral("check"));
        const Status usable = openClientDatabase(target, name, DatabaseAccess::ReadOnly);
        closeClientDatabase(name);
        if (!usable) {
            *error = usable.error();
            return CreateResult::Failed;
        }
        return CreateResult::AlreadyPresent;
    }
    if (Status made = makeOwnerOnlyFolder(folder); !made) {
        *error = made.error();
        return CreateResult::Failed;
    }
    const QString temporary = dir.filePath(QStringLiteral(".HCY300.db.new"));
    QFile::remove(temporary);
    if (!buildDatabase(temporary, error)) {
        QFile::remove(temporary);
        return CreateResult::Failed;
    }
    // rename() refuses to replace a file, so a database that appeared meanwhile stays as it is.
    if (!QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        if (QFileInfo::exists(target))
            return CreateResult::AlreadyPresent;
        *error = QStringLiteral("Cannot create %1").arg(target);
        return CreateResult::Failed;
    }
    return CreateResult::Created;
}

void closeClientDatabase(const QString& connectionName)
{
    QString path;
    bool readOnly = false;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        path = fileOf(db);
        readOnly = db.connectOptions().contains(u"QSQLITE_OPEN_READONLY");
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (readOnly && !path.isEmpty())
        removeEmptyJournal(path);
}

Status openClientDatabase(const QString& path, const QString& connectionName, DatabaseAccess access)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    Status opened = openConnection(db, path, access);
    if (!opened)
        db.close();
    return opened;
}

bool openDatabase(const QString& path, const QString& connectionName, QString* error)
{
    const Status opened = openClientDatabase(path, connectionName, DatabaseAccess::ReadWrite);
    if (!opened)
        *error = opened.error();
    return opened.ok();
}

Status beginWrite(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return {};
    const QString reason = query.lastError().text();
    constexpr int kSqliteBusy = 5; // the primary code; extended codes add bits above it
    if ((query.lastError().nativeErrorCode().toInt() & 0xff) == kSqliteBusy)
        return fail(QStringLiteral("The database stayed busy with another program's save for "
                                   "%1 seconds; nothing was changed (%2).")
                        .arg(kBusyTimeoutMs / 1000)
                        .arg(reason));
    return fail(reason);
}

Status ensureListIndexes(QSqlDatabase& db)
{
    QStringList statements;
    for (const QString& line : builtInSchema().split(u'\n'))
        if (line.startsWith(QStringLiteral("CREATE INDEX IF NOT EXISTS")))
            statements << line;
    QSqlQuery query(db);
    // Nothing to do in the usual case, and a read-only file is then not written to.
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND "
                                   "name LIKE 'Customers by %'")) ||
        !query.next())
        return fail(query.lastError().text());
    if (query.value(0).toInt() > statements.size())
        return {};
    query.finish();
    if (const Status begun = beginWrite(db); !begun)
        return begun;
    for (const QString& statement : statements)
        if (!query.exec(statement)) {
            const QString error = query.lastError().text();
            db.rollback();
            return fail(error);
        }
    if (!db.commit()) {
        const QString error = db.lastError().text();
        db.rollback();
        return fail(error);
    }
    return {};
}

} // namespace halcyra
