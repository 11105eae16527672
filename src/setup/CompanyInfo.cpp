#include "setup/CompanyInfo.h"

#include "core/ErrorReporter.h"
#include "records/DatabaseFile.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>

namespace halcyra {
namespace {

const QString kBrandWord = QStringLiteral("TESSALY");

QString columnList()
{
    QStringList columns;
    for (const CompanyField& field : companyFields())
        columns << u'"' + QString::fromLatin1(field.column) + u'"';
    return columns.join(u',');
}

CompanyDataError errorFrom(const QSqlError& error)
{
    const QString number = error.nativeErrorCode();
    return {number.isEmpty() ? QString::number(errors::kPathFileAccess) : number, error.text()};
}

// Runs `work` on a connection of its own, closed again afterwards.
template <typename Work>
std::optional<CompanyDataError> withConnection(const QString& databasePath, Work work)
{
    const QString name =
        QStringLiteral("company-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::optional<CompanyDataError> result;
    {
        QString error;
        if (!openDatabase(databasePath, name, &error)) {
            const QSqlError sqlError = QSqlDatabase::database(name, false).lastError();
            result = sqlError.isValid()
                         ? errorFrom(sqlError)
                         : CompanyDataError{QString::number(errors::kFileNotFound), error};
        } else {
            QSqlDatabase db = QSqlDatabase::database(name);
            result = work(db);
        }
    }
    QSqlDatabase::removeDatabase(name);
    return result;
}

} // namespace

const std::array<CompanyField, kCompanyFieldCount>& companyFields()
{
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

BrandSearch SearchFields(const CompanyFields& typed)
{
    BrandSearch search;
    for (int i = 0; i < kCompanyFieldCount; ++i) {
        QString& field = search.fields[static_cast<size_t>(i)];
        field = typed[static_cast<size_t>(i)].trimmed();
        if (CheckForTessaly(field, i)) {
            field.clear();
            search.rejected << i;
        }
    }
    return search;
}

std::optional<int> firstEmptyRequiredField(const CompanyFields& fields)
{
    for (int i = 0; i < kCompanyFieldCount; ++i)
        if (companyFields()[static_cast<size_t>(i)].required &&
            fields[static_cast<size_t>(i)].trimmed().isEmpty())
            return i;
    return std::nullopt;
}

QString requiredFieldsMessage()
{
    return QStringLiteral("Some required fields are empty.");
}

bool differsFromStored(const CompanyFields& boxes, const std::array<QString, 15>& stored)
{
    for (size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i] != stored[i])
            return true;
    return false;
}

QString withWebScheme(const QString& typed)
{
    const QString address = typed.trimmed();
    if (address.startsWith(u"http://", Qt::CaseInsensitive) ||
        address.startsWith(u"https://", Qt::CaseInsensitive))
        return address;
    return QStringLiteral("http://") + address;
}

QString dataErrorMessage(const CompanyDataError& error)
{
    return QStringLiteral("Data error event hit err: frmCompanyInfo.datCoInfo_Error\n") +
           error.number + u' ' + error.description;
}

std::optional<CompanyDataError> readCompanyRow(const QString& databasePath, CompanyFields* fields)
{
    *fields = {};
    return withConnection(databasePath, [&](QSqlDatabase& db) -> std::optional<CompanyDataError> {
        QSqlQuery query(db);
        if (!query.exec(QStringLiteral("SELECT %1 FROM \"Company Info\" WHERE \"ID\" = 1")
                            .arg(columnList())))
            return errorFrom(query.lastError());
        if (query.next())
            for (int i = 0; i < kCompanyFieldCount; ++i)
                (*fields)[static_cast<size_t>(i)] = query.value(i).toString();
        return std::nullopt;
    });
}

std::optional<CompanyDataError> saveCompanyRow(const QString& databasePath,
                                               const CompanyFields& fields)
{
    return withConnection(databasePath, [&](QSqlDatabase& db) -> std::optional<CompanyDataError> {
        QStringList placeholders;
        QStringList updates;
        for (const CompanyField& field : companyFields()) {
            const QString column = u'"' + QString::fromLatin1(field.column) + u'"';
            placeholders << QStringLiteral("?");
            updates << column + QStringLiteral(" = excluded.") + column;
        }
        if (!db.transaction())
            return errorFrom(db.lastError());
        QSqlQuery query(db);
        // The row may have gone missing from an old file; it is put back rather than lost.
        query.prepare(QStringLiteral("INSERT INTO \"Company Info\" (\"ID\", %1) VALUES (1, %2) "
                                     "ON CONFLICT (\"ID\") DO UPDATE SET %3")
                          .arg(columnList(), placeholders.join(u','), updates.join(u',')));
        // An empty box is stored as an empty text: the columns take no NULL.
        for (const QString& value : fields)
            query.addBindValue(value.isNull() ? QStringLiteral("") : value);
        if (!query.exec()) {
            const CompanyDataError error = errorFrom(query.lastError());
            query.finish();
            db.rollback();
            return error;
        }
        query.finish();
        if (!db.commit()) {
            const CompanyDataError error = errorFrom(db.lastError());
            db.rollback();
            return error;
        }
        return std::nullopt;
    });
}

} // namespace halcyra
