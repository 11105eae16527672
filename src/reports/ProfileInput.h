#pragma once

#include "reports/ReferenceTables.h"

#include <QString>
#include <array>

namespace halcyra {

// One client's profile as the report commands find it: the score boxes and client-details
// boxes as typed, and the five yes/no boxes in catalogue order (high blood pressure,
// diabetes/reactive hypoglycemia, smoker, high cholesterol, pain).
struct ProfileInput
{
    std::array<QString, kReportRowCount> scores; // score box r at index r - 1
    std::array<bool, kYesNoCount> yesNo{};
    QString age;
    QString sex;
    QString totalCholesterol;
    QString hdl;
};

// The yes/no boxes by their place in the yes/no table.
inline constexpr int kYesNoHighBloodPressure = 0;
inline constexpr int kYesNoReactiveHypoglycemia = 1;
inline constexpr int kYesNoSmoker = 2;
inline constexpr int kYesNoHighCholesterol = 3;
inline constexpr int kYesNoPain = 4;

// The profile's texts read once into numbers. Arrays are indexed by row number 1..41.
struct PreparedProfile
{
    // The box scores as typed: what the Summary and the Analysis compare.
    std::array<double, kReportRowCount + 1> boxScore{};
    // The supplement guide's own copy: whole numbers, with the smoker's additions.
    std::array<int, kReportRowCount + 1> guideScore{};
    std::array<bool, kYesNoCount> yesNo{};
    double age = 0;
    bool sexExactlyM = false; // the Analysis compares the sex box exactly
    bool female = false;      // the guide compares it ignoring letter case
    bool male = false;
    double totalCholesterol = 0;
    double hdl = 0;
};

// Reads the boxes the way the report commands do before a report is built.
PreparedProfile prepareProfile(const ProfileInput& input, const ReferenceTables& tables);

} // namespace halcyra
