#include "records/DetailRules.h"

#include "core/Conversions.h"

#include <algorithm>
#include <cmath>

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
    kHdl = 10,
    kLdl = 11,
    kHeight = 12,
    kWeight = 13,
    kAge = 14,
    kSex = 15,
    kDate = 16,
    kMedications = 17, // this one and the notes hold several lines
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
    int check = 0;
    switch (index) {
    case kLastName:
    case kFirstName:
    case kCity:
        check = 50;
        break;
    case kAddress:
        check = 100;
        break;
    case kPhone:
        check = 30;
        break;
    case kBloodPressure:
        check = 7;
        break;
    case kHeight:
    case kWeight:
        check = 10;
        break;
    case kDate:
        check = 50;
        break;
    default:
        break;
    }
    const int kept = detailMaxLength(index);
    if (check == 0 || kept == 0)
        return std::max(check, kept);
    return std::min(check, kept);
}

QString detailHelpText(int index)
{
    if (index == kDate)
        return QStringLiteral("Enter date client completed Questionnaire");
    return QStringLiteral("Enter client ") + detailLabel(index);
}

QString todayText(const QDate& today)
{
    return dateText(today);
}

QString detailTextAsTyped(int index, const QString& typed)
{
    return index == kSex ? typed.toUpper() : typed;
}

namespace {

// The label without its colon, as messages name the field.
QString fieldName(int index)
{
    QString name = detailLabel(index);
    if (name.endsWith(u':'))
        name.chop(1);
    return name;
}

// A plain decimal number of at least 0, read the way the report reads it: no unit, no digit
// grouping, no other text.
bool isPlainNumber(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) && value >= 0;
}

bool isAge(const QString& text)
{
    bool ok = false;
    const int years = text.trimmed().toInt(&ok);
    return ok && years >= 0 && years <= 120;
}

// The refusal for a text the report would misread; none when the text is acceptable. An empty
// box is left to the zero rule.
// The refusal of a date box's text that is not a day of the calendar; none for a date.
std::optional<QString> dateRefusal(const QString& text, const QDate& today)
{
    const QString example = dateText(today.isValid() ? today : QDate(2026, 2, 8));
    switch (readDateText(text).reading) {
    case DateReading::Empty:
    case DateReading::Date:
        return std::nullopt;
    case DateReading::Impossible:
        return QStringLiteral("There is no such day as %1. Enter the date as month/day/year, "
                              "such as %2.")
            .arg(text.trimmed(), example);
    case DateReading::NotADate:
        break;
    }
    return QStringLiteral("Enter the date the client completed the questionnaire as "
                          "month/day/year, such as %1.")
        .arg(example);
}

std::optional<DetailMessage> refusal(int index, const QString& text, const QDate& today)
{
    const QString sexTitle = QStringLiteral("Empty Field");
    const QString valueTitle = QStringLiteral("Field Value Error");
    if (index == kSex && text != u"M" && text != u"F")
        return DetailMessage{sexTitle, QStringLiteral("Enter either M or F in the Sex field.")};
    if (text.isEmpty())
        return std::nullopt;
    // One line each: a line break, tab or terminal escape in a name would break the list, the
    // report's header and every terminal the name is printed on.
    if (index < kMedications && hasControlCharacter(text))
        return DetailMessage{valueTitle,
                             QStringLiteral("The %1 field holds a line break, tab or other "
                                            "control character. Type it as one line of text.")
                                 .arg(fieldName(index))};
    if (index == kAge && !isAge(text))
        return DetailMessage{valueTitle,
                             QStringLiteral("Enter an age from 0 to 120 in the Age field.")};
    if ((index == kTotalCholesterol || index == kHdl) && !isPlainNumber(text))
        return DetailMessage{
            valueTitle,
            QStringLiteral("Enter only a number in the %1 field.").arg(fieldName(index))};
    if (index == kDate)
        if (std::optional<QString> refused = dateRefusal(text, today))
            return DetailMessage{valueTitle, *refused};
    return std::nullopt;
}

} // namespace

DetailLeaveResult leaveDetailBox(int index, const QString& text, const QDate& today)
{
    DetailLeaveResult result{text, false, std::nullopt};
    if (auto refused = refusal(index, text, today)) {
        result.rejected = true;
        result.message = std::move(refused);
        return result;
    }
    const int limit = detailLengthLimit(index);
    if (limit > 0 && result.text.size() > limit) {
        result.text.truncate(limit);
        result.message =
            DetailMessage{QStringLiteral("Field Length Error"),
                          QStringLiteral("The %1 field is limited to %2 characters.\n\n"
                                         "Your input has been truncated to %2 characters.")
                              .arg(detailLabel(index))
                              .arg(limit)};
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
