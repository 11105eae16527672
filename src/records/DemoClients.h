#pragma once

#include "core/CompanyFields.h"
#include "core/Result.h"
#include "records/ClientRecord.h"

#include <QSqlDatabase>
#include <QString>
#include <array>

namespace halcyra {

// Plausible fictional clients, for trying the program out and for measuring it with many
// records. The same seed gives the same clients.
ClientRecord makeDemoClient(quint32 seed, int number);

// The company row a demo database gets when its own is empty.
CompanyInfo demoCompanyInfo();

// Adds `count` demo clients in one transaction and fills an empty company row. Returns the
// number added; on failure nothing was added.
Result<int> addDemoClients(QSqlDatabase& db, int count, quint32 seed);

// The number of client records.
Result<int> countClients(QSqlDatabase& db);

} // namespace halcyra
