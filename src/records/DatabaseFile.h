#pragma once

#include "core/Result.h"

#include <QString>

class QSqlDatabase;

namespace halcyra {

// Creates the client database in `folder` from the built-in schema, only when the folder has
// none. An existing database is never opened for writing, replaced or changed. The new file
// appears whole or not at all: it is built under a temporary name and then renamed.
enum class CreateResult { Created, AlreadyPresent, Failed };
CreateResult createDatabaseIfMissing(const QString& folder, QString* error);

// The schema the installer creates databases from.
QString builtInSchema();

// Opens the database at `path` in its own connection named `connectionName`: WAL journal and
// full synchronous writes, since saves are rare and a lost record is not acceptable.
bool openDatabase(const QString& path, const QString& connectionName, QString* error);

// Adds the client list's indexes to a database made before they were part of the schema (in
// one transaction; indexes already there are left as they are).
Status ensureListIndexes(QSqlDatabase& db);

} // namespace halcyra
