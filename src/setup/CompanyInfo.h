#pragma once

#include <QList>
#include <QString>
#include <array>
#include <optional>

namespace halcyra {

// The adviser's own details as the company window shows them, by field index: company name,
// last name, first name, address, city, state, zip code, phone 1, phone 2, fax, e-mail.
inline constexpr int kCompanyFieldCount = 11;
using CompanyFields = std::array<QString, kCompanyFieldCount>;

namespace company {
inline constexpr int kCompanyName = 0;
inline constexpr int kState = 5;
inline constexpr int kEmail = 10;
} // namespace company

struct CompanyField
{
    const char* label;  // caption of lblLabels, also named in messages
    const char* column; // column of the "Company Info" table
    int maxLength;
    bool required;
    int helpTopic; // context number in the help
};

const std::array<CompanyField, kCompanyFieldCount>& companyFields();

// The brand's own mail domain, the one place the brand word may appear.
QString brandMailDomain();

// True when `text` uses the brand word where it is not allowed: anywhere in any field but the
// e-mail field, and in the e-mail field unless its first occurrence starts the brand's own mail
// domain or "TESSALYOFFICE". Letter case does not matter.
bool CheckForTessaly(const QString& text, int index);

// The message that rejects a field; `labelCaption` is the field's label, colon included.
QString brandNameMessage(const QString& labelCaption);

// The fields trimmed, with the ones that use the brand word emptied and listed in index order.
struct BrandSearch
{
    CompanyFields fields;
    QList<int> rejected;
};
BrandSearch SearchFields(const CompanyFields& typed);

// The first required field that is empty once trimmed, if any.
std::optional<int> firstEmptyRequiredField(const CompanyFields& fields);
QString requiredFieldsMessage();

// Whether the boxes differ from the stored copy the reports read.
bool differsFromStored(const CompanyFields& boxes, const std::array<QString, 15>& stored);

// The web address as it is kept: "http://" in front unless it already begins with a scheme
// of the web ("http://" or "https://", any letter case).
QString withWebScheme(const QString& typed);

// A failure of the database under the company window: the database's error number and text.
struct CompanyDataError
{
    QString number;
    QString description;
};
QString dataErrorMessage(const CompanyDataError& error);

// Reads the row into `fields` (empty texts when there is no row yet).
std::optional<CompanyDataError> readCompanyRow(const QString& databasePath, CompanyFields* fields);
// Writes the row in one transaction: all eleven fields or nothing.
std::optional<CompanyDataError> saveCompanyRow(const QString& databasePath,
                                               const CompanyFields& fields);

} // namespace halcyra
