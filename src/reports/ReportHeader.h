#pragma once

#include "core/CompanyFields.h"

#include <QString>
#include <QStringList>

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
