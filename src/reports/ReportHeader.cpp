#include "reports/ReportHeader.h"

#include "core/Conversions.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "records/ClientRecord.h"

namespace halcyra {
namespace {

constexpr int kLastNameBox = 1;
constexpr int kFirstNameBox = 2;
constexpr int kPhoneBox = 7;
constexpr int kDateBox = 16;

QString field(const CompanyInfo& info, int index)
{
    return info[index].trimmed();
}

// Texts joined by `separator`, leaving out the empty ones.
QString joined(const QStringList& parts, const QString& separator)
{
    QStringList filled;
    for (const QString& part : parts)
        if (!part.isEmpty())
            filled << part;
    return filled.join(separator);
}

QString faxAndEmailLine(const QString& fax, const QString& email, const HeaderOptions& options)
{
    const QString faxText =
        options.fax && !fax.isEmpty() ? QStringLiteral("Fax: ") + fax : QString();
    const QString emailText =
        options.email && !email.isEmpty() ? QStringLiteral("E-mail: ") + email : QString();
    return joined({faxText, emailText}, QStringLiteral(" - "));
}

} // namespace

ClientDetails clientDetailsFromRecord(const ClientRecord& record)
{
    return {record.text(columns::detail(kFirstNameBox)), record.text(columns::detail(kLastNameBox)),
            record.text(columns::detail(kPhoneBox)),
            shownDate(record.text(columns::detail(kDateBox)))};
}

HeaderOptions HeaderOptions::fromSettings(const SettingsStore& settings)
{
    HeaderOptions options;
    // Only the first letter counts; anything unknown shows both, as the options dialog would
    // store it.
    const QString choice = settings.get(keys::includeInPageHeader()).trimmed().left(1).toUpper();
    if (choice == u"C")
        options.names = Names::CompanyOnly;
    else if (choice == u"F")
        options.names = Names::PersonOnly;
    options.fax = leadingNumber(settings.get(keys::includeFax())) == 1;
    options.email = leadingNumber(settings.get(keys::includeEmail())) == 1;
    return options;
}

QStringList adviserBlockLines(const CompanyInfo& info, const HeaderOptions& options)
{
    using namespace company;
    const QString companyName = field(info, kCompanyName);
    const QString person =
        joined({field(info, kFirstName), field(info, kLastName)}, QStringLiteral(" "));
    const QString place =
        joined({field(info, kCity),
                joined({field(info, kState), field(info, kZipCode)}, QStringLiteral(" "))},
               QStringLiteral(", "));
    // The second phone is an alternative to the first.
    const QString phones =
        joined({field(info, kPhone1), field(info, kPhone2)}, QStringLiteral(" or "));

    QStringList lines;
    if (options.names != HeaderOptions::Names::PersonOnly)
        lines << companyName;
    if (options.names != HeaderOptions::Names::CompanyOnly)
        lines << person;
    lines << field(info, kAddress) << place;
    lines << (phones.isEmpty() ? QString() : QStringLiteral("Phone: ") + phones);
    lines << faxAndEmailLine(field(info, kFax), field(info, kEmail), options);
    lines.removeAll(QString());
    return lines;
}

} // namespace halcyra
