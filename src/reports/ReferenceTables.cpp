#include "reports/ReferenceTables.h"

#include "core/Catalogue.h"
#include "core/CatalogueIds.h"
#include "core/Conversions.h"

#include <algorithm>

namespace halcyra {
namespace {

// A count outside the table would make a loop read past it.
int boundedCount(const Catalogue& catalogue, int countId, int largest)
{
    return std::clamp(catalogue.count(countId), 0, largest);
}

} // namespace

ReferenceTables ReferenceTables::fromCatalogue(const Catalogue& catalogue)
{
    ReferenceTables tables;
    tables.scoredRowCount = std::clamp(catalogue.count(ids::kSubSectionCount) +
                                           catalogue.count(ids::kNumberedSectionCount),
                                       0, kReportRowCount);
    tables.summaryRowCount = boundedCount(catalogue, ids::kSummaryRowCount, kReportRowCount);
    tables.analysisRowCount = boundedCount(catalogue, ids::kAnalysisCount, kReportRowCount);
    tables.supplementCount = boundedCount(catalogue, ids::kSupplementCount, kGuideSupplementCount);
    for (int r = 1; r <= kReportRowCount; ++r) {
        tables.high[r] = leadingNumber(catalogue.LoadResString(ids::rowHigh(r)));
        tables.veryHigh[r] = leadingNumber(catalogue.LoadResString(ids::rowVeryHigh(r)));
        tables.subSectionRow[r] = catalogue.LoadResString(ids::rowName(r)).trimmed().isEmpty();
    }
    return tables;
}

} // namespace halcyra
