#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace halcyra {

class SettingsStore;
struct ClientRecord;

// The client's details the report pages show: the first and last name, phone and the date the
// questionnaire was completed, as typed in the client-details boxes.
struct ClientDetails
{
    QString firstName;
    QString lastName;
    QString phone;
    QString date;
};

ClientDetails clientDetailsFromRecord(const ClientRecord& record);

// The adviser's company information: company name, last name, first name, address, city,
// state, zip code, phone 1, phone 2, fax, e-mail; spare slots after those.
using CompanyInfo = std::array<QString, 15>;

namespace company {
inline constexpr int kCompanyName = 0;
inline constexpr int kLastName = 1;
inline constexpr int kFirstName = 2;
inline constexpr int kAddress = 3;
inline constexpr int kCity = 4;
inline constexpr int kState = 5;
inline constexpr int kZipCode = 6;
inline constexpr int kPhone1 = 7;
inline constexpr int kPhone2 = 8;
inline constexpr int kFax = 9;
inline constexpr int kEmail = 10;
} // namespace company

// What the page headers show of the adviser, from the options.
struct HeaderOptions
{
    enum class Names { Both, CompanyOnly, PersonOnly };

    Names names = Names::Both;
    bool fax = true;
    bool email = true;

    static HeaderOptions fromSettings(const SettingsStore& settings);
};

// The lines of the adviser's block below "Provided By:": the names the options ask for, the
// address, the phone numbers and the fax and e-mail line. Empty values give no line.
QStringList adviserBlockLines(const CompanyInfo& info, const HeaderOptions& options);

} // namespace halcyra
