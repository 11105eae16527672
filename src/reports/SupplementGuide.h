#pragma once

#include "reports/ProfileInput.h"
#include "reports/ReferenceTables.h"

#include <QString>
#include <array>
#include <vector>

namespace halcyra {

class Catalogue;

// The guide of one profile. Arrays are indexed by supplement number j = 1..40 (quantity,
// references) and row number r = 1..41 (scores); entry 0 is unused.
struct SupplementGuide
{
    std::array<int, kGuideSupplementCount + 1> quantity{};   // suggested daily quantity Q(j)
    std::array<int, kGuideSupplementCount + 1> references{}; // rules that called for it, R(j)
    // The guide's score table after the run: the hair row raises rows 2, 7 and 14 on the way.
    std::array<int, kReportRowCount + 1> scores{};
};

// Runs the guide's rules, in their fixed order, on the profile's guide scores, yes/no answers,
// age, sex and cholesterol values. The profile itself is left as it is, so the guide can be
// computed any number of times from one preparation.
SupplementGuide ComputeSupplementGuide(const PreparedProfile& profile);

// One line of the listed guide.
struct GuideLine
{
    int index = 0;
    QString name;
    int quantity = 0;
    QString unit;
    int references = 0;
    QString possible; // the most references the rules can give, as the catalogue holds it
};

// The guide as the reports list it: every supplement with a quantity above 0, in list order,
// with the high blood pressure and reactive hypoglycemia lines adjusted after that test.
std::vector<GuideLine> listSupplementGuide(const SupplementGuide& guide,
                                           const std::array<bool, kYesNoCount>& yesNo,
                                           const Catalogue& catalogue,
                                           const ReferenceTables& tables);

} // namespace halcyra
