#include "records/AssessmentHistory.h"

#include "core/Conversions.h"

#include <QSqlError>
#include <QSqlQuery>
#include <array>

namespace halcyra {
namespace {

constexpr int kTotalCholesterol = 9;
constexpr int kHdl = 10;
constexpr int kLdl = 11;
constexpr int kAge = 14;
constexpr int kDate = 16;

constexpr auto kColumns = [] {
    std::array<int, 5 + columns::kScoreCount + columns::kYesNoCount> list{};
    size_t i = 0;
    for (int index : {kDate, kTotalCholesterol, kHdl, kLdl, kAge})
        list[i++] = columns::detail(index);
    for (int n = 1; n <= columns::kScoreCount; ++n)
        list[i++] = columns::score(n);
    for (int n = 0; n < columns::kYesNoCount; ++n)
        list[i++] = columns::yesNo(n);
    return list;
}();

QString columnNames()
{
    QStringList names;
    for (int column : kColumns)
        names << u'"' + columns::name(column) + u'"';
    return names.join(u',');
}

} // namespace

std::span<const int> assessmentColumns()
{
    return kColumns;
}

Result<std::vector<ClientRecord>> readEarlierAssessments(const QSqlDatabase& db,
                                                         const ClientRecord& client)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT ") + columnNames() +
                  QStringLiteral(" FROM \"Assessments\" WHERE \"CustomerID\" = ? "
                                 "ORDER BY \"AssessmentID\""));
    query.addBindValue(client.customerId());
    if (!query.exec())
        return fail(query.lastError().text());
    std::vector<ClientRecord> assessments;
    while (query.next()) {
        ClientRecord record = client;
        for (size_t i = 0; i < kColumns.size(); ++i)
            record.values[static_cast<size_t>(kColumns[i])] = query.value(static_cast<int>(i));
        assessments.push_back(std::move(record));
    }
    return assessments;
}

Status fileAssessment(QSqlDatabase& db, qint64 customerId, const ClientRecord& record)
{
    const QString date = record.text(columns::detail(kDate));
    // The same day written another way ("2/8/2026", "02/08/2026", "2026-02-08") is the same
    // assessment date.
    const QDate day = readDate(date);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT \"Date\" FROM \"Assessments\" WHERE \"CustomerID\" = ?"));
    query.addBindValue(customerId);
    if (!query.exec())
        return fail(query.lastError().text());
    while (query.next()) {
        const QString filed = query.value(0).toString();
        if (filed == date || (day.isValid() && readDate(filed) == day))
            return fail(QStringLiteral("This client already has an assessment dated %1. Change "
                                       "the date of the current one first.")
                            .arg(filed));
    }
    if (query.lastError().isValid())
        return fail(query.lastError().text());
    QStringList marks;
    for (size_t i = 0; i <= kColumns.size(); ++i)
        marks << QStringLiteral("?");
    query.prepare(QStringLiteral("INSERT INTO \"Assessments\" (\"CustomerID\",") + columnNames() +
                  QStringLiteral(") VALUES (") + marks.join(u',') + u')');
    query.addBindValue(customerId);
    for (int column : kColumns) {
        const QVariant& value = record.values[static_cast<size_t>(column)];
        // The date is required; the yes/no answers are never empty.
        if (column == columns::detail(kDate))
            query.addBindValue(date);
        else if (column >= columns::yesNo(0))
            query.addBindValue(value.toInt());
        else
            query.addBindValue(value);
    }
    if (!query.exec())
        return fail(query.lastError().text());
    return {};
}

Status startNewAssessment(QSqlDatabase& db, const ClientRecord& stored, const QString& todayDate)
{
    if (!db.transaction())
        return fail(db.lastError().text());
    Status done = fileAssessment(db, stored.customerId(), stored);
    if (done) {
        QStringList assignments;
        for (int n = 1; n <= columns::kScoreCount; ++n)
            assignments << u'"' + columns::name(columns::score(n)) + QStringLiteral("\" = NULL");
        QSqlQuery query(db);
        query.prepare(QStringLiteral("UPDATE \"Customers\" SET ") + assignments.join(u',') +
                      QStringLiteral(", \"Date\" = ? WHERE \"CustomerID\" = ?"));
        query.addBindValue(todayDate);
        query.addBindValue(stored.customerId());
        if (!query.exec())
            done = fail(query.lastError().text());
        else if (query.numRowsAffected() != 1)
            done = fail(
                QStringLiteral("Record %1 is no longer in the database.").arg(stored.customerId()));
    }
    if (done && !db.commit())
        done = fail(db.lastError().text());
    if (!done)
        db.rollback();
    return done;
}

} // namespace halcyra
