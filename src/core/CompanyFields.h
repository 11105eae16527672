#pragma once

#include <QString>
#include <array>
#include <initializer_list>
#include <optional>

namespace halcyra {

// Field indexes of the company information, in the order of the company window.
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

inline constexpr int kCompanyFieldCount = 11;

// The adviser's own details: the one row of "Company Info", as the company window edits it,
// the reports print it and the command line reads it.
class CompanyInfo
{
public:
    CompanyInfo() = default;
    // The fields in index order; missing ones stay empty.
    CompanyInfo(std::initializer_list<QString> fields);

    QString& operator[](int field) { return m_fields[static_cast<size_t>(field)]; }
    const QString& operator[](int field) const { return m_fields[static_cast<size_t>(field)]; }
    auto begin() { return m_fields.begin(); }
    auto end() { return m_fields.end(); }
    auto begin() const { return m_fields.begin(); }
    auto end() const { return m_fields.end(); }

    bool operator==(const CompanyInfo& other) const = default;

private:
    std::array<QString, kCompanyFieldCount> m_fields;
};

struct CompanyField
{
    const char* label;  // caption of lblLabels, also named in messages
    const char* column; // column of the "Company Info" table
    int maxLength;
    bool required; // marked in the company window; missing at start-up opens it
    int helpTopic; // context number in the help
};

const std::array<CompanyField, kCompanyFieldCount>& companyFields();

// The first required field that is empty once trimmed, if any: the one test of complete
// company information, for start-up and the company window alike.
std::optional<int> firstEmptyRequiredField(const CompanyInfo& info);

} // namespace halcyra
