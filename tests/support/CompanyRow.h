#pragma once

#include "setup/CompanyInfo.h"

namespace halcyra::test {

// Complete company details: every required field filled, phone 2 and fax empty.
inline CompanyInfo fullCompanyRow()
{
    return {QStringLiteral("Green Leaf"),
            QStringLiteral("Smith"),
            QStringLiteral("Jane"),
            QStringLiteral("1 Elm St"),
            QStringLiteral("Salem"),
            QStringLiteral("OR"),
            QStringLiteral("97301"),
            QStringLiteral("555-1234"),
            QString(),
            QString(),
            QStringLiteral("jane@example.com")};
}

} // namespace halcyra::test
