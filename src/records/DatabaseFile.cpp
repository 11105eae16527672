#include "records/DatabaseFile.h"

#include "core/OutputFile.h"
#include "records/SchemaMigration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QStorageInfo>
#include <QUrl>
#include <QUuid>
#include <QtEndian>
#include <algorithm>
#include <sqlite3.h>

namespace halcyra {
namespace {

QString uniqueConnectionName(const QString& purpose)
{
    return purpose + u'-' + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// Runs the statements of a schema script, separated by ";" at the end of a line.
Status runScript(QSqlDatabase& db, const QString& script)
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
        if (!query.exec(statement.trimmed()))
            return fail(query.lastError().text());
        statement.clear();
    }
    return {};
}

Status buildDatabase(const QString& path)
{
    // SQLite would create the file with the umask's mode; an empty file is a valid empty
    // database, so it is made first, owner-only.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnlyFile))
        return fail(QStringLiteral("Cannot create %1: %2")
                        .arg(QDir::toNativeSeparators(path), file.errorString()));
    file.close();
    const QString name = uniqueConnectionName(QStringLiteral("create"));
    Status built = fail(QString());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            built = fail(db.lastError().text());
        } else {
            built = db.transaction() ? runScript(db, builtInSchema())
                                     : Status(fail(db.lastError().text()));
            if (built && !db.commit())
                built = fail(db.lastError().text());
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return built;
}

// One table or view of the schema and its columns.
struct SchemaObject
{
    QString type;
    QString name;
    QStringList columns;
    QString sql; // whitespace-normalised, for triggers and views
};

// A statement's text with its blanks and line breaks reduced, so that the schema file's layout
// and the upgrade's do not count as a difference.
QString normalisedSql(const QString& sql)
{
    QString text = sql.simplified();
    text.replace(QStringLiteral(" ;"), QStringLiteral(";"));
    while (text.endsWith(u';'))
        text.chop(1);
    return text;
}

Result<QStringList> columnsOf(const QSqlDatabase& db, const QString& object)
{
    QSqlQuery query(db);
    QString quoted = object;
    quoted.replace(u'"', QStringLiteral("\"\""));
    if (!query.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(quoted)))
        return fail(query.lastError().text());
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
            if (db.open() && runScript(db, builtInSchema())) {
                QSqlQuery query(db);
                query.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE type IN "
                                          "('table', 'view', 'trigger') AND name NOT LIKE "
                                          "'sqlite_%' ORDER BY rowid"));
                while (query.next())
                    objects.push_back({query.value(0).toString(),
                                       query.value(1).toString(),
                                       {},
                                       normalisedSql(query.value(2).toString())});
                for (SchemaObject& object : objects)
                    if (object.type != u"trigger")
                        if (auto read = columnsOf(db, object.name))
                            object.columns = *read;
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

// The tables, views and triggers of the file that are not the program's own, or that carry the
// name of one of ours with another text. A trigger or view runs whatever it holds whenever the
// program writes or reads, so a file brought in from outside is refused for them.
QStringList foreignObjects(const QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT type, name, sql FROM sqlite_master WHERE type IN "
                                   "('table', 'view', 'trigger') AND name NOT LIKE 'sqlite_%'")))
        return {query.lastError().text()};
    QStringList problems;
    while (query.next()) {
        const QString type = query.value(0).toString();
        const QString name = query.value(1).toString();
        const auto ours = std::find_if(
            expectedSchema().begin(), expectedSchema().end(), [&](const SchemaObject& object) {
                return object.type == type && object.name.compare(name, Qt::CaseInsensitive) == 0;
            });
        if (ours == expectedSchema().end())
            problems << QStringLiteral("it holds the %1 \"%2\", which is not part of the "
                                       "program's schema")
                            .arg(type, name.left(80));
        else if (type != u"table" && normalisedSql(query.value(2).toString()) != ours->sql)
            problems << QStringLiteral("its %1 \"%2\" is not the program's own").arg(type, name);
    }
    return problems;
}

// What the open file lacks of the schema of its version, and what it holds that is not ours;
// empty when nothing.
QStringList schemaProblems(const QSqlDatabase& db, int version)
{
    QStringList problems;
    for (const SchemaObject& object : expectedSchema()) {
        // The earlier assessments came with the second version of the schema.
        if (version < 2 && (object.name == u"Assessments" || object.type == u"trigger"))
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
        if (object.type == u"trigger")
            continue; // its text is checked with the objects the file brought along
        const Result<QStringList> present = columnsOf(db, object.name);
        if (!present) {
            problems << QStringLiteral("the %1 \"%2\" cannot be read (%3)")
                            .arg(object.type, object.name, present.error());
            continue;
        }
        QStringList missing;
        for (const QString& column : object.columns)
            if (!present->contains(column))
                missing << column;
        if (!missing.isEmpty())
            problems << QStringLiteral("the %1 \"%2\" lacks the column%3 %4")
                            .arg(object.type, object.name,
                                 missing.size() == 1 ? QString() : QStringLiteral("s"),
                                 quotedList(missing));
    }
    return problems + foreignObjects(db);
}

quint32 bigEndian32(const QByteArray& bytes, int at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

// The connection's own SQLite handle.
sqlite3* handleOf(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.data());
}

// Looks at the file's header through the connection's own file handle, for the messages SQLite
// cannot give: an empty file is a valid empty database to it, and a cut-off file reads as fewer
// records. The file is never opened beside SQLite: closing a second descriptor of it would drop
// every lock this process holds on it, the other connections' included.
Status checkHeader(const QSqlDatabase& db, const QString& path)
{
    sqlite3* handle = handleOf(db);
    sqlite3_file* file = nullptr;
    if (!handle ||
        sqlite3_file_control(handle, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK ||
        !file || !file->pMethods)
        return fail(QStringLiteral("its file cannot be reached"));
    sqlite3_int64 size = 0;
    if (file->pMethods->xFileSize(file, &size) != SQLITE_OK)
        return fail(QStringLiteral("its size cannot be read"));
    if (size == 0)
        return fail(QStringLiteral("the file is empty"));
    QByteArray header(100, '\0');
    const int read = file->pMethods->xRead(file, header.data(), 100, 0);
    if ((read != SQLITE_OK && read != SQLITE_IOERR_SHORT_READ) || size < 100 ||
        !header.startsWith(QByteArrayView("SQLite format 3\0", 16)))
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

// Whether SQLite may write beside the database: its WAL journal needs the -wal and -shm files.
bool canWriteBeside(const QString& path)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    return QFileInfo(path).isWritable() && folder.isWritable() &&
           !diskIsFull(folder.absoluteFilePath());
}

// A file URI for SQLite, so that an open never creates the file. A reader where SQLite can
// write opens the file read-write but runs with query_only: then the journal files it may need
// are SQLite's to make and to remove again when the last connection closes, as for any writer.
// Only where nothing can be written is the connection read-only at the file.
QString databaseUri(const QString& path, bool fileReadOnly)
{
    QString uri =
        QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toString(QUrl::FullyEncoded);
    if (!fileReadOnly)
        return uri + QStringLiteral("?mode=rw");
    uri += QStringLiteral("?mode=ro");
    // A WAL database needs its -shm file, which a read-only folder or a full disk cannot give.
    // With no -wal file no program has the database open, so nothing can change under this read.
    if (!QFileInfo::exists(path + QStringLiteral("-wal")))
        uri += QStringLiteral("&immutable=1");
    return uri;
}

Status openConnection(QSqlDatabase& db, const QString& path, DatabaseAccess access)
{
    const QString shown = QDir::toNativeSeparators(path);
    if (!QFileInfo::exists(path))
        return fail(QStringLiteral("There is no database %1").arg(shown));
    if (access == DatabaseAccess::ReadWrite &&
        (!QFileInfo(path).isWritable() || !QFileInfo(QFileInfo(path).absolutePath()).isWritable()))
        return fail(
            QStringLiteral("%1 cannot be written: it or its folder is read-only").arg(shown));
    if (access == DatabaseAccess::ReadWrite && diskIsFull(QFileInfo(path).absolutePath()))
        return fail(QStringLiteral("%1 cannot be written: the disk is full").arg(shown));
    const bool fileReadOnly = access == DatabaseAccess::ReadOnly && !canWriteBeside(path);
    db.setDatabaseName(databaseUri(path, fileReadOnly));
    QString options =
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs);
    if (fileReadOnly)
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    db.setConnectOptions(options);
    if (!db.open())
        return fail(QStringLiteral("%1 cannot be opened: %2").arg(shown, db.lastError().text()));
    if (access == DatabaseAccess::ReadOnly && !fileReadOnly) {
        if (QSqlQuery readOnly(db); !readOnly.exec(QStringLiteral("PRAGMA query_only = 1")))
            return fail(
                QStringLiteral("%1 cannot be opened: %2").arg(shown, readOnly.lastError().text()));
    }
    if (Status header = checkHeader(db, path); !header)
        return fail(QStringLiteral("%1 is not a Halcyra database: %2").arg(shown, header.error()));
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

} // namespace

QString builtInSchema()
{
    QFile file(QStringLiteral(":/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

Result<CreateResult> createDatabaseIfMissing(const QString& folder)
{
    const QDir dir(folder);
    const QString target = dir.filePath(QStringLiteral("HCY300.db"));
    if (QFileInfo::exists(target)) {
        // Only a file that is a database of ours counts as one.
        const QString name = uniqueConnectionName(QStringLiteral("check"));
        const Status usable = openClientDatabase(target, name, DatabaseAccess::ReadOnly);
        closeClientDatabase(name);
        if (!usable)
            return fail(usable.error());
        return CreateResult::AlreadyPresent;
    }
    if (Status made = makeOwnerOnlyFolder(folder); !made)
        return fail(made.error());
    const QString temporary = dir.filePath(QStringLiteral(".HCY300.db.new"));
    QFile::remove(temporary);
    if (Status built = buildDatabase(temporary); !built) {
        QFile::remove(temporary);
        return fail(built.error());
    }
    // rename() refuses to replace a file, so a database that appeared meanwhile stays as it is.
    if (!QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        if (QFileInfo::exists(target))
            return CreateResult::AlreadyPresent;
        return fail(QStringLiteral("Cannot create %1").arg(target));
    }
    return CreateResult::Created;
}

void closeClientDatabase(const QString& connectionName)
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

Status openClientDatabase(const QString& path, const QString& connectionName, DatabaseAccess access)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    Status opened = openConnection(db, path, access);
    if (!opened)
        db.close();
    return opened;
}

Status openDatabase(const QString& path, const QString& connectionName)
{
    return openClientDatabase(path, connectionName, DatabaseAccess::ReadWrite);
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
