#include "reports/ProfileFromRecord.h"

#include "records/ClientRecord.h"

namespace halcyra {
namespace {

constexpr int kTotalCholesterolBox = 9;
constexpr int kHdlBox = 10;
constexpr int kAgeBox = 14;
constexpr int kSexBox = 15;

} // namespace

ProfileInput profileInputFromRecord(const ClientRecord& record)
{
    ProfileInput input;
    for (int row = 1; row <= kReportRowCount; ++row)
        input.scores[static_cast<size_t>(row - 1)] = record.score(row);
    for (int i = 0; i < kYesNoCount; ++i)
        input.yesNo[static_cast<size_t>(i)] = record.yesNo(i);
    input.age = record.text(columns::detail(kAgeBox));
    input.sex = record.text(columns::detail(kSexBox));
    input.totalCholesterol = record.text(columns::detail(kTotalCholesterolBox));
    input.hdl = record.text(columns::detail(kHdlBox));
    return input;
}

} // namespace halcyra
