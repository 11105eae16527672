#include "records/SchemaMigration.h"

#include "records/ClientRecord.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <cerrno>
#include <csignal>
#include <unistd.h>

namespace halcyra {
namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString quoted(const QString& name)
{
    return u'"' + name + u'"';
}

// Half-made copies of upgrades whose program was killed: the number after the time in their
// name is that program's process, which no longer runs. They hold clients' data, so they go.
void removeStaleCopies(const QFileInfo& database)
{
    static const QRegularExpression stampedPart(
        QStringLiteral(R"( before schema \d+ \d{8}-\d{6}-(\d+)(?:-\d+)?\.db\.part(?:-journal)?$)"));
    const QDir folder = database.dir();
    const QStringList leftovers = folder.entryList(
        {database.completeBaseName() + QStringLiteral(" before schema *.db.part*")}, QDir::Files);
    for (const QString& name : leftovers) {
        const QRegularExpressionMatch match = stampedPart.match(name);
        const pid_t pid = match.hasMatch() ? match.captured(1).toInt() : 0;
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH)
            QFile::remove(folder.filePath(name));
    }
}

// Writes a consistent snapshot of the open database next to it: built under a temporary
// name that is owner-only from the start, synced, then renamed, so the copy is whole or absent.
Result<QString> copyAside(QSqlDatabase& db, const QString& path, int version)
{
    const QFileInfo info(path);
    removeStaleCopies(info);
    // Two programs upgrading at once in the same second must not share a name: each would
    // remove or replace the other's copy.
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")) +
                          QStringLiteral("-%1").arg(QCoreApplication::applicationPid());
    QString target;
    for (int n = 0; n < 100; ++n) {
        target = info.dir().filePath(QStringLiteral("%1 before schema %2 %3%4.db")
                                         .arg(info.completeBaseName())
                                         .arg(version + 1)
                                         .arg(stamp, n ? QStringLiteral("-%1").arg(n) : QString()));
        if (!QFileInfo::exists(target))
            break;
    }
    const QString temporary = target + QStringLiteral(".part");
    QFile::remove(temporary);
    {
        QFile file(temporary);
        if (!file.open(QIODevice::WriteOnly) || !file.setPermissions(kOwnerOnly))
            return fail(QStringLiteral("Cannot write %1: %2")
                            .arg(QDir::toNativeSeparators(temporary), file.errorString()));
    }
    QSqlQuery query(db);
    query.prepare(QStringLiteral("VACUUM INTO ?"));
    query.addBindValue(temporary);
    if (!query.exec()) {
        const QString error = query.lastError().text();
        QFile::remove(temporary);
        return fail(QStringLiteral("Cannot copy the database aside: %1").arg(error));
    }
    query.finish();
    QFile written(temporary);
    const bool synced = written.open(QIODevice::ReadWrite) && ::fsync(written.handle()) == 0;
    written.close();
    if (!synced || !QFile::rename(temporary, target)) {
        QFile::remove(temporary);
        return fail(
            QStringLiteral("Cannot keep the copy %1").arg(QDir::toNativeSeparators(target)));
    }
    return target;
}

// The file a connection is for, as the adviser knows it: a path, not SQLite's file address.
QString shownPath(const QSqlDatabase& db)
{
    QString name = db.databaseName();
    if (name.startsWith(u"file:"))
        name = QUrl(name.section(u'?', 0, 0)).toLocalFile();
    return QDir::toNativeSeparators(name);
}

Status exec(QSqlQuery& query, const QString& statement)
{
    if (!query.exec(statement))
        return fail(QStringLiteral("%1 (%2)").arg(query.lastError().text(), statement.left(80)));
    return {};
}

} // namespace

QStringList assessmentSchemaStatements()
{
    // One row per client and date; the client row itself keeps the current assessment.
    QStringList definition = {QStringLiteral("\"AssessmentID\" INTEGER PRIMARY KEY AUTOINCREMENT"),
                              QStringLiteral("\"CustomerID\" INTEGER NOT NULL"),
                              QStringLiteral("\"Date\" TEXT NOT NULL")};
    for (int index : {9, 10, 11, 14})
        definition << quoted(columns::name(columns::detail(index))) + QStringLiteral(" TEXT");
    for (int n = 1; n <= columns::kScoreCount; ++n)
        definition << quoted(columns::name(columns::score(n))) + QStringLiteral(" INTEGER");
    for (int i = 0; i < columns::kYesNoCount; ++i)
        definition << quoted(columns::name(columns::yesNo(i))) +
                          QStringLiteral(" INTEGER NOT NULL DEFAULT 0");
    definition << QStringLiteral("UNIQUE (\"CustomerID\", \"Date\")");
    return {
        QStringLiteral("CREATE TABLE \"Assessments\" (\n    ") +
            definition.join(QStringLiteral(",\n    ")) + QStringLiteral("\n)"),
        QStringLiteral("CREATE TRIGGER \"Assessments go with their client\" AFTER DELETE ON "
                       "\"Customers\" BEGIN DELETE FROM \"Assessments\" WHERE \"CustomerID\" = "
                       "old.\"CustomerID\"; END"),
    };
}

std::vector<MigrationStep> schemaMigrations()
{
    return {MigrationStep{2, assessmentSchemaStatements()}};
}

Result<int> schemaVersion(QSqlDatabase& db)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return fail(query.lastError().text());
    const int version = query.value(0).toInt();
    if (version != 0)
        return version;
    if (!query.exec(QStringLiteral(
            "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'Customers'")) ||
        !query.next())
        return fail(query.lastError().text());
    if (query.value(0).toInt() == 0)
        return fail(QStringLiteral("The file is not a Halcyra client database."));
    return 1;
}

Status checkSchemaNotNewer(QSqlDatabase& db)
{
    const Result<int> version = schemaVersion(db);
    if (!version)
        return fail(version.error());
    if (*version > kSchemaVersion)
        return fail(QStringLiteral("The database %1 was made by a newer version of Halcyra "
                                   "(schema %2; this program knows schema %3). It has been left "
                                   "as it is: open it with the newer program.")
                        .arg(shownPath(db))
                        .arg(*version)
                        .arg(kSchemaVersion));
    return {};
}

Result<MigrationOutcome> upgradeSchema(QSqlDatabase& db, const QString& path,
                                       const std::vector<MigrationStep>& steps)
{
    const Result<int> version = schemaVersion(db);
    if (!version)
        return fail(version.error());
    if (const Status newer = checkSchemaNotNewer(db); !newer)
        return fail(newer.error());
    const int target = steps.empty() ? *version : steps.back().toVersion;
    if (*version > target)
        return fail(
            QStringLiteral("The database schema %1 is newer than %2.").arg(*version).arg(target));
    MigrationOutcome outcome{*version, *version, {}};
    if (*version == target)
        return outcome;

    const Result<QString> copy = copyAside(db, path, *version);
    if (!copy)
        return fail(copy.error());
    outcome.keptCopy = *copy;

    QSqlQuery query(db);
    if (const Status begun = exec(query, QStringLiteral("BEGIN IMMEDIATE")); !begun) {
        QFile::remove(*copy);
        return fail(begun.error());
    }
    // Another program may have upgraded the file while the copy was made: under the write
    // lock the version is read again, and a copy that is no longer needed goes.
    const Result<int> locked = schemaVersion(db);
    if (!locked || *locked != *version) {
        query.exec(QStringLiteral("ROLLBACK"));
        QFile::remove(*copy);
        if (!locked)
            return fail(locked.error());
        outcome.toVersion = *locked;
        outcome.keptCopy.clear();
        return outcome;
    }
    Status done;
    for (const MigrationStep& step : steps) {
        if (step.toVersion <= *version)
            continue;
        for (const QString& statement : step.statements)
            if (done = exec(query, statement); !done)
                break;
        if (done)
            done = exec(query, QStringLiteral("PRAGMA user_version = %1").arg(step.toVersion));
        if (!done)
            break;
    }
    if (done)
        done = exec(query, QStringLiteral("COMMIT"));
    if (!done) {
        query.exec(QStringLiteral("ROLLBACK"));
        return fail(QStringLiteral("The database could not be upgraded and is unchanged: %1")
                        .arg(done.error()));
    }
    outcome.toVersion = target;
    return outcome;
}

} // namespace halcyra
