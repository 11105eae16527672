#include "records/CompanyRecord.h"

#include "core/ErrorReporter.h"
#include "records/DatabaseFile.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>
#include <optional>

namespace halcyra {
namespace {

QString quoted(const char* column)
{
    return u'"' + QString::fromLatin1(column) + u'"';
}

QString columnList()
{
    QStringList columns;
    for (const CompanyField& field : companyFields())
        columns << quoted(field.column);
    return columns.join(u',');
}

Failure failureFrom(const QSqlError& error)
{
    const QString number = error.nativeErrorCode();
    return fail((number.isEmpty() ? QString::number(errors::kPathFileAccess) : number) + u' ' +
                error.text());
}

// Runs `work` on a connection of its own, closed again afterwards.
template <typename T, typename Work>
Result<T> withConnection(const QString& databasePath, DatabaseAccess access, Work work)
{
    const QString name =
        QStringLiteral("company-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    std::optional<Result<T>> result;
    if (const Status opened = openClientDatabase(databasePath, name, access); !opened) {
        const int number =
            QFileInfo::exists(databasePath) ? errors::kPathFileAccess : errors::kFileNotFound;
        result = Result<T>(fail(QString::number(number) + u' ' + opened.error()));
    } else {
        QSqlDatabase db = QSqlDatabase::database(name);
        result = work(db);
    }
    closeClientDatabase(name);
    return std::move(*result);
}

} // namespace

Result<CompanyInfo> readCompanyRow(const QString& databasePath)
{
    return withConnection<CompanyInfo>(
        databasePath, DatabaseAccess::ReadOnly, [](QSqlDatabase& db) -> Result<CompanyInfo> {
            QSqlQuery query(db);
            if (!query.exec(QStringLiteral("SELECT %1 FROM \"Company Info\" WHERE \"ID\" = 1")
                                .arg(columnList())))
                return failureFrom(query.lastError());
            CompanyInfo info;
            if (query.next())
                for (int i = 0; i < kCompanyFieldCount; ++i)
                    info[i] = query.value(i).toString();
            return info;
        });
}

Status saveCompanyRow(const QString& databasePath, const CompanyInfo& info)
{
    return withConnection<void>(
        databasePath, DatabaseAccess::ReadWrite, [&](QSqlDatabase& db) -> Status {
            QStringList placeholders;
            QStringList updates;
            for (const CompanyField& field : companyFields()) {
                placeholders << QStringLiteral("?");
                updates << quoted(field.column) + QStringLiteral(" = excluded.") +
                               quoted(field.column);
            }
            if (const Status begun = beginWrite(db); !begun)
                return fail(QString::number(errors::kPathFileAccess) + u' ' + begun.error());
            QSqlQuery query(db);
            // The row may have gone missing from an old file; it is put back rather than lost.
            query.prepare(QStringLiteral("INSERT INTO \"Company Info\" (\"ID\", %1) VALUES (1, %2) "
                                         "ON CONFLICT (\"ID\") DO UPDATE SET %3")
                              .arg(columnList(), placeholders.join(u','), updates.join(u',')));
            // An empty box is stored as an empty text: the columns take no NULL.
            for (const QString& value : info)
                query.addBindValue(value.isNull() ? QStringLiteral("") : value);
            if (!query.exec()) {
                const Failure failure = failureFrom(query.lastError());
                query.finish();
                db.rollback();
                return failure;
            }
            query.finish();
            if (!db.commit()) {
                const Failure failure = failureFrom(db.lastError());
                db.rollback();
                return failure;
            }
            return {};
        });
}

} // namespace halcyra
