#pragma once

// A client and an adviser for report tests, on the built-in catalogue.

#include "core/Catalogue.h"
#include "reports/PrintedReport.h"
#include "reports/ReferenceTables.h"

#include <initializer_list>
#include <utility>

namespace halcyra::test {

struct ReportFixture
{
    Catalogue catalogue = Catalogue::builtIn();
    ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);

    ProfileInput profile;
    ClientDetails client{QStringLiteral("Elena"), QStringLiteral("Galloway"),
                         QStringLiteral("555-0979"), QStringLiteral("3/14/2026")};
    CompanyInfo company{QStringLiteral("Greenleaf Wellness"),
                        QStringLiteral("Morrow"),
                        QStringLiteral("Dana"),
                        QStringLiteral("42 Linden Street"),
                        QStringLiteral("Fairview"),
                        QStringLiteral("OR"),
                        QStringLiteral("97024"),
                        QStringLiteral("555-0142"),
                        QString(),
                        QStringLiteral("555-0143"),
                        QStringLiteral("dana@greenleaf.example")};
    HeaderOptions header;

    // Score box r (1..41) as typed.
    void setScores(std::initializer_list<std::pair<int, const char*>> scores)
    {
        for (auto [row, text] : scores)
            profile.scores[static_cast<size_t>(row - 1)] = QString::fromLatin1(text);
    }

    PrintedReport::Inputs inputs() const
    {
        return {catalogue, tables, profile, client, company, header};
    }
};

} // namespace halcyra::test
