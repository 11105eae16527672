#include "reports/ProfileInput.h"

#include "core/Conversions.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace halcyra {
namespace {

// The rows a smoker's answer raises in the guide's table, and by how much.
constexpr std::array kSmokerRows{3, 27, 28, 36};
constexpr int kSmokerAddition = 2;

bool isSmokerRow(int r)
{
    return std::find(kSmokerRows.begin(), kSmokerRows.end(), r) != kSmokerRows.end();
}

// The guide's table holds 16-bit whole numbers: a fractional score is rounded to the nearest
// (ties to even), and anything past the 16-bit range is held at its edge. The guide itself
// calculates in int, so even edge values cannot overflow there.
int guideWholeNumber(double value)
{
    constexpr double kLowest = std::numeric_limits<qint16>::min();
    constexpr double kHighest = std::numeric_limits<qint16>::max();
    return static_cast<int>(std::nearbyint(std::clamp(value, kLowest, kHighest)));
}

bool sexIs(const QString& sex, QStringView letter)
{
    return sex.compare(letter, Qt::CaseInsensitive) == 0;
}

} // namespace

PreparedProfile prepareProfile(const ProfileInput& input, const ReferenceTables& tables)
{
    PreparedProfile prepared;
    for (int r = 1; r <= kReportRowCount; ++r)
        prepared.boxScore[r] = leadingNumber(input.scores[r - 1]);

    const bool smoker = input.yesNo[kYesNoSmoker];
    for (int r = 1; r <= tables.scoredRowCount; ++r) {
        double score = prepared.boxScore[r];
        if (smoker && isSmokerRow(r))
            score += kSmokerAddition;
        prepared.guideScore[r] = guideWholeNumber(score);
    }

    prepared.yesNo = input.yesNo;
    prepared.age = leadingNumber(input.age);
    prepared.sexExactlyM = input.sex == u"M";
    prepared.female = sexIs(input.sex, u"F");
    prepared.male = sexIs(input.sex, u"M");
    prepared.totalCholesterol = leadingNumber(input.totalCholesterol);
    prepared.hdl = leadingNumber(input.hdl);
    return prepared;
}

} // namespace halcyra
