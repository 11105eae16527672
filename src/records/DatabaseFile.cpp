#include "records/DatabaseFile.h"

#include "records/SchemaMigration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

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
    if (QFileInfo::exists(target))
        return CreateResult::AlreadyPresent;
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("Cannot create the folder %1").arg(folder);
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

bool openDatabase(const QString& path, const QString& connectionName, QString* error)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
    db.setDatabaseName(path);
    if (!QFileInfo::exists(path)) {
        *error = QStringLiteral("File not found: %1").arg(path);
        return false;
    }
    if (!db.open()) {
        *error = db.lastError().text();
        return false;
    }
    // Before anything else writes to the file: an older one is set aside and upgraded, once;
    // a newer one is refused untouched.
    const Result<MigrationOutcome> upgraded = upgradeSchema(db, path);
    if (!upgraded) {
        *error = upgraded.error();
        db.close();
        return false;
    }
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) ||
        !query.exec(QStringLiteral("PRAGMA synchronous=FULL"))) {
        *error = query.lastError().text();
        return false;
    }
    return true;
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
    if (!db.transaction())
        return fail(db.lastError().text());
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
