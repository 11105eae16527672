#pragma once

#include "core/Result.h"

#include <QString>

class QSqlDatabase;

namespace halcyra {

// Creates the client database in `folder` from the built-in schema, only when the folder has
// none. An existing database is never opened for writing, replaced or changed; a file there
// that is not a Halcyra database is a failure that says why. The new file appears whole or not
// at all: it is built under a temporary name and then renamed. New files and folders are
// owner-only. Tells whether the database was made now or was there already.
enum class CreateResult { Created, AlreadyPresent };
Result<CreateResult> createDatabaseIfMissing(const QString& folder);

// The schema the installer creates databases from.
QString builtInSchema();

enum class DatabaseAccess { ReadOnly, ReadWrite };

// How long a save waits for another program's save before it gives up.
inline constexpr int kBusyTimeoutMs = 5000;

// Opens the client database at `path` in its own connection named `connectionName`. No file is
// ever created. The file must hold every table, view and column of the built-in schema (more
// are fine); anything else is refused with a message naming what is wrong, since SQLite would
// read a missing column's quoted name as a text. A read-write connection keeps a WAL journal
// with full synchronous writes (saves are rare and a lost record is not acceptable); a
// read-only one changes nothing and works on read-only media too.
Status openClientDatabase(const QString& path, const QString& connectionName,
                          DatabaseAccess access);

// Closes and removes the connection. The journal files are SQLite's alone: a read-only
// connection to a WAL database may leave an empty -wal and -shm behind, which the last
// read-write connection to close removes.
void closeClientDatabase(const QString& connectionName);

// openClientDatabase for reading and writing.
Status openDatabase(const QString& path, const QString& connectionName);

// Adds the client list's indexes to a database made before they were part of the schema (in
// one transaction; indexes already there are left as they are).
Status ensureListIndexes(QSqlDatabase& db);

// Begins a write transaction holding the write lock from its start, so a second writer waits
// its turn (up to kBusyTimeoutMs) instead of failing halfway.
Status beginWrite(QSqlDatabase& db);

} // namespace halcyra
