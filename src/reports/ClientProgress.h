#pragma once

#include "core/Result.h"
#include "reports/Progress.h"

#include <QSqlDatabase>
#include <optional>

namespace halcyra {

class Catalogue;
struct ClientRecord;

// The client's current assessment compared with the last earlier one; none when the client
// has no earlier assessment (or the database keeps no history yet).
Result<std::optional<Progress>> progressOfClient(const QSqlDatabase& db, const ClientRecord& client,
                                                 const Catalogue& catalogue,
                                                 const ReferenceTables& tables);

} // namespace halcyra
