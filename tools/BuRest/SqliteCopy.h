#pragma once

#include "core/Result.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

struct sqlite3;

namespace halcyra::burest {

// Called with the share done, 0 to 100.
using Progress = std::function<void(int percent)>;

struct CloseConnection
{
    void operator()(sqlite3* db) const;
};
using Connection = std::unique_ptr<sqlite3, CloseConnection>;

// Opens a file for SQLite's page copy, without the program's checks: for the files BuRest
// writes itself, and for a database the program's checks have already passed.
Result<Connection> openFile(const QString& path, bool writable);

Status exec(sqlite3* db, const char* sql);
// The rows of a one-column query as texts.
Result<QStringList> column(sqlite3* db, const char* sql);
Result<int> clientCount(sqlite3* db);

// Copies every page of `source` into `target` in one transaction of the target, reporting
// progress; waits while the target is busy. A failure says the real reason (a full disk as
// such, not SQLite's bare "disk I/O error").
Status copyPages(sqlite3* source, sqlite3* target, const Progress& progress);

// A new owner-only file at `path` holding a copy of `source`, in a single file whatever
// journal the source keeps. On failure nothing of it is left.
Status writeCopy(sqlite3* source, const QString& path, const Progress& progress);

// Removes a file BuRest writes and the journal files SQLite may have left beside it.
void removeWithJournals(const QString& path);

// A client database opened with the program's own checks (the file's header, the schema
// version, tables, views and triggers that are not the program's), read-only, as long as this
// lives. Nothing is left beside the file: no -wal or -shm on a full disk or read-only folder.
class ClientReader
{
public:
    ClientReader();
    ~ClientReader();
    ClientReader(const ClientReader&) = delete;
    ClientReader& operator=(const ClientReader&) = delete;

    Status open(const QString& path);
    void close();
    sqlite3* handle() const { return m_handle; }

private:
    QString m_name;
    sqlite3* m_handle = nullptr;
};

// Whether the open database is whole (SQLite's integrity check) and holds the client table;
// gives its number of clients. `path` is for the messages.
Result<int> checkOpened(sqlite3* db, const QString& path);

} // namespace halcyra::burest
