#include "cli/ListCommand.h"

#include "cli/Options.h"
#include "core/Conversions.h"
#include "core/ProgramState.h"
#include "records/ClientRecord.h"
#include "records/DatabaseFile.h"
#include "records/FilterExpression.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

namespace halcyra::cli {
namespace {

// The listed columns: number, last name, first name, city, date.
const int kListed[] = {columns::kCustomerId, columns::detail(1), columns::detail(2),
                       columns::detail(4), columns::detail(16)};

// One query for the listed columns, built from the parsed texts as the record list builds its
// own, so the command reads each client once.
Status writeList(const QSqlDatabase& db, const RecordQuery& recordQuery, bool json,
                 QTextStream& out)
{
    if (const Status registered = registerListFunctions(db); !registered)
        return registered;
    QStringList names;
    for (int column : kListed)
        names << u'"' + columns::name(column) + u'"';
    const SqlFragment where = whereCondition(recordQuery.filter);
    QString sql =
        QStringLiteral("SELECT ") + names.join(u',') + QStringLiteral(" FROM \"Customers\"");
    if (!where.sql.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.sql;
    sql += QStringLiteral(" ORDER BY ") + orderByList(recordQuery.sort);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        return fail(query.lastError().text());
    for (const QVariant& value : where.values)
        query.addBindValue(value);
    if (!query.exec())
        return fail(query.lastError().text());
    QJsonArray rows;
    while (query.next()) {
        if (json) {
            rows.append(QJsonObject{{QStringLiteral("number"), query.value(0).toLongLong()},
                                    {QStringLiteral("lastName"), query.value(1).toString()},
                                    {QStringLiteral("firstName"), query.value(2).toString()},
                                    {QStringLiteral("city"), query.value(3).toString()},
                                    {QStringLiteral("date"), query.value(4).toString()}});
            continue;
        }
        for (int i = 0; i < 5; ++i) {
            if (i > 0)
                out << '\t';
            out << visibleControls(query.value(i).toString());
        }
        out << '\n';
    }
    if (query.lastError().isValid())
        return fail(query.lastError().text());
    if (json)
        out << QJsonDocument(rows).toJson(QJsonDocument::Compact) << '\n';
    return {};
}

} // namespace

int ListCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(
        name(), QStringLiteral("[--filter TEXT] [--sort TEXT] [--json] [--folder DIR]"),
        QStringLiteral(
            "Prints the clients the record list shows for a filter and a sort text: number,\n"
            "last name, first name, city and date, one client a line separated by tabs, or\n"
            "one JSON array with --json. The texts are those of the list's Filter and Sort,\n"
            "e.g. --filter \"[LastName] Like 'Sm*' And City In ('Boston', 'Salem')\"\n"
            "--sort \"[Date] desc, LastName\". A text that is not understood ends the\n"
            "command with exit code 2. The database is the folder's (default: the working\n"
            "folder), opened for reading only."));
    for (const char* value : {"filter", "sort", "folder"})
        options.addValue(QString::fromLatin1(value));
    options.addFlag(QStringLiteral("json"));
    if (const auto stop = options.parse(arguments, out, err))
        return *stop;
    if (!options.positional().isEmpty()) {
        err << "halcyra-cli list: unexpected argument '" << options.positional().first() << "'.\n";
        return kExitUsage;
    }
    auto filter = parseFilter(options.value(QStringLiteral("filter")));
    if (!filter) {
        err << "halcyra-cli list: " << filter.error() << '\n';
        return kExitUsage;
    }
    auto order = parseSort(options.value(QStringLiteral("sort")));
    if (!order) {
        err << "halcyra-cli list: " << order.error() << '\n';
        return kExitUsage;
    }

    const QString path = QDir(options.programFolder()).filePath(ProgramState::DatabaseFileName());
    if (!QFileInfo(path).isFile()) {
        err << "halcyra-cli list: there is no database at " << QDir::toNativeSeparators(path)
            << ".\n";
        return kExitFailed;
    }
    const QString connection = QStringLiteral("list");
    Status listed = openClientDatabase(path, connection, DatabaseAccess::ReadOnly);
    if (listed) {
        QSqlDatabase db = QSqlDatabase::database(connection);
        listed = writeList(db, {std::move(*filter), std::move(*order)},
                           options.isSet(QStringLiteral("json")), out);
    }
    closeClientDatabase(connection);
    if (!listed) {
        err << "halcyra-cli list: " << listed.error() << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace halcyra::cli
