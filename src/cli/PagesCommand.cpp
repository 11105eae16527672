#include "cli/PagesCommand.h"

#include "cli/Options.h"
#include "core/Catalogue.h"
#include "core/Conversions.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "records/ClientDataSource.h"
#include "records/ClientRecord.h"
#include "records/CompanyRecord.h"
#include "records/DatabaseFile.h"
#include "reports/ProfileFromRecord.h"
#include "reports/ReferenceTables.h"
#include "reports/ScreenPages.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>

namespace halcyra::cli {
namespace {

const char* const kDescription =
    "Prints the pages of a saved client's profile as the program's Halcyra Documents window\n"
    "shows them: 1 cover page, 2 Summary, 3 Analysis, 4 Supplement Guide (each item ends in\n"
    "its flyer group), 5 References. Without --page every page is printed under its caption.\n"
    "The cover shows the company information of the database and follows the page-header\n"
    "options in the user's settings. The database is the folder's (default: the working\n"
    "folder), opened for reading only.";

Result<ClientRecord> readClient(const QString& path, qint64 id)
{
    const QString connection = QStringLiteral("pages");
    Result<ClientRecord> result = fail(QString());
    if (const Status opened = openClientDatabase(path, connection, DatabaseAccess::ReadOnly);
        !opened) {
        result = fail(opened.error());
    } else {
        result = loadClientRecord(QSqlDatabase::database(connection), id);
    }
    closeClientDatabase(connection);
    return result;
}

} // namespace

int PagesCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(name(), QStringLiteral("--client ID [--page N] [--folder DIR]"),
                    QString::fromLatin1(kDescription));
    for (const char* value : {"client", "page", "folder"})
        options.addValue(QString::fromLatin1(value));
    if (const auto stop = options.parse(arguments, out, err))
        return *stop;
    const Result<qint64> client = clientNumber(options.value(QStringLiteral("client")));
    if (!client) {
        err << "halcyra-cli pages: " << client.error() << '\n';
        return kExitUsage;
    }
    const qint64 id = *client;
    bool isNumber = false;
    int page = 0;
    if (options.isSet(QStringLiteral("page"))) {
        page = options.value(QStringLiteral("page")).toInt(&isNumber);
        if (!isNumber || screen::pageCaption(page).isEmpty()) {
            err << "halcyra-cli pages: --page takes a number from 1 to 5.\n";
            return kExitUsage;
        }
    }
    const QString path = QDir(options.programFolder()).filePath(ProgramState::DatabaseFileName());
    if (!QFileInfo(path).isFile()) {
        err << "halcyra-cli pages: there is no database at " << QDir::toNativeSeparators(path)
            << ".\n";
        return kExitFailed;
    }
    const Result<ClientRecord> record = readClient(path, id);
    if (!record) {
        err << "halcyra-cli pages: client " << id << ": " << record.error() << '\n';
        return kExitFailed;
    }
    CompanyInfo company;
    if (const Result<CompanyInfo> info = readCompanyRow(path))
        company = *info;
    else
        err << "halcyra-cli pages: warning: company information: " << info.error() << '\n';

    const Catalogue catalogue = Catalogue::builtIn();
    const ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);
    const SettingsStore settings(SettingsStore::defaultFolder());
    const screen::ScreenReport report = screen::buildScreenReport(
        catalogue, tables, profileInputFromRecord(*record), clientDetailsFromRecord(*record),
        company, HeaderOptions::fromSettings(settings), dateText(QDate::currentDate()));
    if (page > 0) {
        out << visibleControls(screen::pageText(report, page), true) << '\n';
        return kExitOk;
    }
    for (int p = screen::kCoverPage; p <= screen::kPageCount; ++p)
        out << (p > 1 ? "\n" : "") << "[" << screen::pageCaption(p) << "]\n"
            << visibleControls(screen::pageText(report, p), true) << '\n';
    return kExitOk;
}

} // namespace halcyra::cli
