#pragma once

#include "core/CompanyFields.h"

#include <QList>
#include <QString>
#include <optional>

namespace halcyra {

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
    CompanyInfo fields;
    QList<int> rejected;
};
BrandSearch SearchFields(const CompanyInfo& typed);

QString requiredFieldsMessage();

// Whether the boxes differ from the stored copy the reports read.
bool differsFromStored(const CompanyInfo& boxes, const CompanyInfo& stored);

// The web address as it is kept: "http://" in front unless it already begins with a scheme
// of the web ("http://" or "https://", any letter case).
QString withWebScheme(const QString& typed);

// The "OOPS" text for a failure of the database under the company window.
QString dataErrorMessage(const QString& error);

} // namespace halcyra
