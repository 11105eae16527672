#include "reports/ClientProgress.h"

#include "core/Conversions.h"
#include "records/AssessmentHistory.h"
#include "reports/ProfileFromRecord.h"

#include <QSqlError>
#include <QSqlQuery>

namespace halcyra {

Result<std::optional<Progress>> progressOfClient(const QSqlDatabase& db, const ClientRecord& client,
                                                 const Catalogue& catalogue,
                                                 const ReferenceTables& tables)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND "
                                   "name = 'Assessments'")) ||
        !query.next())
        return fail(query.lastError().text());
    if (query.value(0).toInt() == 0)
        return std::optional<Progress>();
    const Result<std::vector<ClientRecord>> earlier = readEarlierAssessments(db, client);
    if (!earlier)
        return fail(earlier.error());
    if (earlier->empty())
        return std::optional<Progress>();
    const int date = columns::detail(16);
    const ClientRecord& last = earlier->back();
    return std::optional<Progress>(compareAssessments(
        profileInputFromRecord(last), shownDate(last.text(date)), profileInputFromRecord(client),
        shownDate(client.text(date)), catalogue, tables));
}

} // namespace halcyra
