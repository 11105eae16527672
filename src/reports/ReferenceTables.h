#pragma once

#include <array>

namespace halcyra {

class Catalogue;

// Fixed sizes of the profile tables. The loops run to the catalogue's counts, never past these.
inline constexpr int kReportRowCount = 41;
inline constexpr int kGuideSupplementCount = 40;
inline constexpr int kYesNoCount = 5;

// The catalogue values the evaluation and the supplement guide test against, read once into
// plain arrays so that evaluating a profile does no text work. Arrays are indexed by row
// number 1..41; entry 0 is unused.
struct ReferenceTables
{
    static ReferenceTables fromCatalogue(const Catalogue& catalogue);

    int scoredRowCount = 0;   // score boxes read into the guide's table (sub-sections + sections)
    int summaryRowCount = 0;  // rows covered by the Summary
    int analysisRowCount = 0; // rows covered by the Analysis
    int supplementCount = 0;  // supplements listed by the guide

    std::array<double, kReportRowCount + 1> high{};
    std::array<double, kReportRowCount + 1> veryHigh{};
    // A row whose name is blank carries a score but has no Summary line or paragraph.
    std::array<bool, kReportRowCount + 1> subSectionRow{};
};

} // namespace halcyra
