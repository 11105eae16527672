#include "records/ClientRecord.h"

namespace halcyra::columns {
namespace {

const char* const kDetailNames[kDetailCount] = {
    "CustomerID", "LastName", "FirstName",   "Address",       "City",
    "State",      "ZipCode",  "Phone",       "BloodPressure", "TotalCholesterol",
    "HDL",        "LDL",      "Height",      "Weight",        "Age",
    "Sex",        "Date",     "Medications", "Notes"};

} // namespace

QString name(int column)
{
    if (column < 0 || column >= kCount)
        return {};
    if (column < kDetailCount)
        return QString::fromLatin1(kDetailNames[column]);
    if (column < kDetailCount + kScoreCount)
        return QStringLiteral("Field%1").arg(column - kDetailCount + 1);
    return QStringLiteral("ckYesNo( %1)").arg(column - kDetailCount - kScoreCount);
}

} // namespace halcyra::columns
