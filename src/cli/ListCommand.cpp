#include "cli/ListCommand.h"

#include "cli/Options.h"
#include "core/ProgramState.h"
#include "records/ClientDataSource.h"
#include "records/FilterExpression.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlError>

namespace halcyra::cli {
namespace {

constexpr int kBlock = 500;

// The listed columns: number, last name, first name, city, date.
const int kListed[] = {columns::kCustomerId, columns::detail(1), columns::detail(2),
                       columns::detail(4), columns::detail(16)};

Status writeList(const ClientDataSource& source, bool json, QTextStream& out)
{
    QJsonArray rows;
    for (int first = 0; first < source.RecordCount(); first += kBlock) {
        auto records = source.recordsAt(first, kBlock);
        if (!records)
            return Failure{records.error()};
        for (const ClientRecord& record : *records) {
            if (json) {
                rows.append(QJsonObject{{QStringLiteral("number"), record.customerId()},
                                        {QStringLiteral("lastName"), record.text(kListed[1])},
                                        {QStringLiteral("firstName"), record.text(kListed[2])},
                                        {QStringLiteral("city"), record.text(kListed[3])},
                                        {QStringLiteral("date"), record.text(kListed[4])}});
                continue;
            }
            QStringList fields;
            for (int column : kListed)
                fields << record.text(column);
            out << fields.join(u'\t') << '\n';
        }
    }
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

    const QString path = QDir(options.value(QStringLiteral("folder"), QDir::currentPath()))
                             .filePath(ProgramState::DatabaseFileName());
    if (!QFileInfo(path).isFile()) {
        err << "halcyra-cli list: there is no database at " << QDir::toNativeSeparators(path)
            << ".\n";
        return kExitFailed;
    }
    const QString connection = QStringLiteral("list");
    Status listed;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (!db.open()) {
            listed = fail(db.lastError().text());
        } else {
            ClientDataSource source(db);
            listed = source.setOrderAndFilter({std::move(*filter), std::move(*order)});
            if (listed)
                listed = writeList(source, options.isSet(QStringLiteral("json")), out);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    if (!listed) {
        err << "halcyra-cli list: " << listed.error() << '\n';
        return kExitFailed;
    }
    return kExitOk;
}

} // namespace halcyra::cli
