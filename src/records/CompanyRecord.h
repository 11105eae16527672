#pragma once

#include "core/CompanyFields.h"
#include "core/Result.h"

#include <QString>

namespace halcyra {

// Reads the row (empty texts when there is none yet). A failure reads "<number> <description>",
// the database's error number first.
Result<CompanyInfo> readCompanyRow(const QString& databasePath);
// Writes the row in one transaction: all eleven fields or nothing.
Status saveCompanyRow(const QString& databasePath, const CompanyInfo& info);

} // namespace halcyra
