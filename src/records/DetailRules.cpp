#include "records/DetailRules.h"

#include "core/Conversions.h"

#include <QLocale>

namespace halcyra {
namespace {

enum Box {
    kLastName = 1,
    kFirstName = 2,
    kAddress = 3,
    kCity = 4,
    kState = 5,
    kPhone = 7,
    kBloodPressure = 8,
    kTotalCholesterol = 9,
    kLdl = 11,
    kHeight = 12,
    kWeight = 13,
    kAge = 14,
    kSex = 15,
    kDate = 16,
};

const char* const kLabels[19] = {
    "CustomerID:", "Last Name:", "First Name:",  "Address:",        "City:",
    "State:",      "Zip Code:",  "Phone:",       "Blood Pressure:", "Total Cholesterol:",
    "HDL:",        "LDL:",       "Height:",      "Weight:",         "Age:",
    "Sex (M/F):",  "Date:",      "Medications:", "Notes:"};

const int kMaxLengths[19] = {0, 50, 30, 100, 50, 2, 20, 30, 50, 0, 0, 0, 50, 50, 3, 1, 0, 0, 0};

} // namespace

QString detailLabel(int index)
{
    if (index < 0 || index > 18)
        return {};
    return QString::fromLatin1(kLabels[index]);
}

int detailMaxLength(int index)
{
    return index >= 0 && index <= 18 ? kMaxLengths[index] : 0;
}

int detailLengthLimit(int index)
{
    switch (index) {
    case kLastName:
    case kFirstName:
    case kCity:
        return 50;
    case kAddress:
        return 100;
    case kPhone:
        return 30;
    case kBloodPressure:
        return 7;
    case kHeight:
    case kWeight:
        return 10;
    case kDate:
        return 50;
    default:
        return 0;
    }
}

QString detailHelpText(int index)
{
    if (index == kDate)
        return QStringLiteral("Enter date client completed Questionnaire");
    return QStringLiteral("Enter client ") + detailLabel(index);
}

QString todayText(const QDate& today)
{
    return QLocale::system().toString(today, QLocale::ShortFormat);
}

DetailLeaveResult leaveDetailBox(int index, const QString& text, const QDate& today)
{
    DetailLeaveResult result{text, false, std::nullopt};
    if (index == kSex && text != u"M" && text != u"F") {
        result.sexRejected = true;
        return result;
    }
    const int limit = detailLengthLimit(index);
    if (limit > 0 && result.text.size() > limit) {
        result.text.truncate(limit);
        result.lengthMessage = QStringLiteral("The %1 field is limited to %2 characters.\n\n"
                                              "Your input has been truncated to %2 characters.")
                                   .arg(detailLabel(index))
                                   .arg(limit);
    }
    if (index == kState || index == kSex)
        result.text = result.text.toUpper();
    if (index == kDate && result.text.isEmpty())
        result.text = todayText(today);
    if ((index == kTotalCholesterol || index == kLdl || index == kAge) &&
        (result.text.isEmpty() || leadingNumber(result.text) == 0))
        result.text = QStringLiteral("0");
    return result;
}

QString sexRejectedMessage()
{
    return QStringLiteral("Enter either M or F in the Sex field.");
}

QString deleteQuestion(const QString& firstName, const QString& lastName)
{
    return QStringLiteral("Are you sure you want to delete this record of: ") + firstName + u' ' +
           lastName;
}

} // namespace halcyra
