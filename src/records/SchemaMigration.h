#pragma once

#include "core/Result.h"

#include <QString>
#include <QStringList>
#include <vector>

class QSqlDatabase;

namespace halcyra {

// The schema version this program writes (PRAGMA user_version).
inline constexpr int kSchemaVersion = 2;

// The statements that take a database from `toVersion - 1` to `toVersion`.
struct MigrationStep
{
    int toVersion = 0;
    QStringList statements;
};

// Every step this program knows, oldest first.
std::vector<MigrationStep> schemaMigrations();

// The table of earlier assessments, as version 2 adds it (also in resources/schema.sql).
QStringList assessmentSchemaStatements();

struct MigrationOutcome
{
    int fromVersion = 0;
    int toVersion = 0;
    QString keptCopy; // the database as it was, set aside before the upgrade; empty if none
};

// The version of the open database; a file from before versions were kept (0) that holds the
// client table counts as version 1.
Result<int> schemaVersion(QSqlDatabase& db);

// Refuses a database made by a newer program; changes nothing. For opens that only read.
Status checkSchemaNotNewer(QSqlDatabase& db);

// Brings the database at `path`, open in `db`, up to the newest version of `steps`. An older
// file is first copied aside whole (owner-only, beside it), then upgraded in one transaction:
// a failure leaves it as it was. A newer file is refused and left untouched.
Result<MigrationOutcome>
upgradeSchema(QSqlDatabase& db, const QString& path,
              const std::vector<MigrationStep>& steps = schemaMigrations());

} // namespace halcyra
