#include "setup/CompanyInfo.h"

namespace halcyra {
namespace {

const QString kBrandWord = QStringLiteral("TESSALY");

} // namespace

QString brandMailDomain()
{
    return kBrandWord + QStringLiteral(".COM");
}

bool CheckForTessaly(const QString& text, int index)
{
    const QString upper = text.toUpper();
    const qsizetype at = upper.indexOf(kBrandWord);
    if (at < 0)
        return false;
    if (index != company::kEmail)
        return true;
    const QString from = upper.mid(at);
    return !from.startsWith(brandMailDomain()) &&
           !from.startsWith(kBrandWord + QStringLiteral("OFFICE"));
}

QString brandNameMessage(const QString& labelCaption)
{
    return QStringLiteral("You have used a Brand or Manufacturer name in your Company "
                          "Information.\nThis is not permitted.\n\nPlease enter another ") +
           labelCaption + QStringLiteral(".\n\nCompany Information NOT saved!!!");
}

BrandSearch SearchFields(const CompanyInfo& typed)
{
    BrandSearch search;
    for (int i = 0; i < kCompanyFieldCount; ++i) {
        QString& field = search.fields[i];
        field = typed[i].trimmed();
        if (CheckForTessaly(field, i)) {
            field.clear();
            search.rejected << i;
        }
    }
    return search;
}

QString requiredFieldsMessage()
{
    return QStringLiteral("Some required fields are empty.");
}

bool differsFromStored(const CompanyInfo& boxes, const CompanyInfo& stored)
{
    return boxes != stored;
}

QString withWebScheme(const QString& typed)
{
    const QString address = typed.trimmed();
    if (address.startsWith(u"http://", Qt::CaseInsensitive) ||
        address.startsWith(u"https://", Qt::CaseInsensitive))
        return address;
    return QStringLiteral("http://") + address;
}

QString dataErrorMessage(const QString& error)
{
    return QStringLiteral("Data error event hit err: frmCompanyInfo.datCoInfo_Error\n") + error;
}

} // namespace halcyra
