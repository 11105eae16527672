#include "core/CompanyFields.h"

#include <algorithm>

namespace halcyra {

CompanyInfo::CompanyInfo(std::initializer_list<QString> fields)
{
    std::copy_n(fields.begin(), std::min<size_t>(fields.size(), m_fields.size()), m_fields.begin());
}

const std::array<CompanyField, kCompanyFieldCount>& companyFields()
{
    // Required: the names, the postal address, the first phone and the e-mail address.
    static const std::array<CompanyField, kCompanyFieldCount> fields = {{
        {"Company Name:", "CoName", 50, false, 30},
        {"Last Name:", "LastName", 50, true, 104},
        {"First Name:", "FirstName", 50, true, 104},
        {"Address:", "Address", 50, true, 104},
        {"City:", "City", 50, true, 104},
        {"State:", "State", 2, true, 104},
        {"Zip Code:", "ZipCode", 10, true, 104},
        {"Phone1:", "Phone1", 30, true, 104},
        {"Phone2:", "Phone2", 30, false, 30},
        {"Fax:", "Fax", 30, false, 30},
        {"eMail:", "E-mail", 50, true, 39},
    }};
    return fields;
}

std::optional<int> firstEmptyRequiredField(const CompanyInfo& info)
{
    for (int i = 0; i < kCompanyFieldCount; ++i)
        if (companyFields()[static_cast<size_t>(i)].required && info[i].trimmed().isEmpty())
            return i;
    return std::nullopt;
}

} // namespace halcyra
