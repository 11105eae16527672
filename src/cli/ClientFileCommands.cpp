#include "cli/ClientFileCommands.h"

#include "cli/Options.h"
#include "core/Catalogue.h"
#include "core/ProgramState.h"
#include "records/ClientCsv.h"
#include "records/ClientDataSource.h"
#include "records/DatabaseFile.h"
#include "records/SchemaMigration.h"
#include "reports/ClientProgress.h"
#include "reports/ReferenceTables.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QSqlDatabase>
#include <QSqlError>

namespace halcyra::cli {
namespace {

// The program folder's database for the length of a command: read-only for the commands
// that only read, so they never change the file.
class CommandDatabase
{
public:
    explicit CommandDatabase(QString connection) : m_connection(std::move(connection)) {}
    ~CommandDatabase() { closeClientDatabase(m_connection); }
    CommandDatabase(const CommandDatabase&) = delete;
    CommandDatabase& operator=(const CommandDatabase&) = delete;

    Status open(const QString& folder, bool readOnly)
    {
        return openClientDatabase(QDir(folder).filePath(ProgramState::DatabaseFileName()),
                                  m_connection,
                                  readOnly ? DatabaseAccess::ReadOnly : DatabaseAccess::ReadWrite);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_connection, false); }

private:
    QString m_connection;
};

} // namespace

int ExportCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(
        name(), QStringLiteral("--out FILE.csv [--history] [--folder DIR]"),
        QStringLiteral(
            "Writes every client with all details, scores and yes/no answers to a CSV file\n"
            "(UTF-8, comma-separated, a header row of the window's labels). --history adds each\n"
            "client's earlier assessments after the client's row, marked in a first column\n"
            "\"Assessment\". Cells starting with =, +, -, @ are written with a leading\n"
            "apostrophe, so spreadsheets show them as text instead of running them.\n"
            "The file is written whole or not at all, readable by its owner only. A name\n"
            "without an extension gets \".csv\"."));
    options.addValue(QStringLiteral("out"));
    options.addValue(QStringLiteral("folder"));
    options.addFlag(QStringLiteral("history"));
    if (const auto exit = options.parse(arguments, out, err))
        return *exit;
    // As the window's export does: a name without an extension gets ".csv".
    const QString outPath = withCsvExtension(options.value(QStringLiteral("out")));
    if (outPath.isEmpty()) {
        err << "halcyra-cli export: --out FILE.csv is required.\n";
        return kExitUsage;
    }
    CommandDatabase database(QStringLiteral("export"));
    if (const Status opened = database.open(options.programFolder(), true); !opened) {
        err << "halcyra-cli export: " << opened.error() << '\n';
        return kExitFailed;
    }
    const Result<CsvExportResult> written = exportClientsCsv(
        database.db(), outPath, Catalogue::builtIn(), options.isSet(QStringLiteral("history")));
    if (!written) {
        err << "halcyra-cli export: " << written.error() << '\n';
        return kExitFailed;
    }
    out << exportSummary(*written, outPath, options.isSet(QStringLiteral("history"))) << '\n';
    return kExitOk;
}

int ImportCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(
        name(),
        QStringLiteral("FILE.csv [--encoding NAME] [--dry-run] [--skip-bad] [--folder DIR]"),
        QStringLiteral(
            "Adds the clients of a CSV file (RFC 4180; comma or semicolon between fields). The\n"
            "encoding is found from a byte order mark (UTF-8, UTF-16), else UTF-8 when the file\n"
            "is valid UTF-8, else Windows-1252; --encoding utf-8, utf-16, windows-1252 or\n"
            "latin-1 says it instead. The first row names the columns by their labels in the\n"
            "window (\"Last Name\", \"Sex (M/F)\", \"Field 12A\", \"Smoke?\") or by their\n"
            "column names; a column may be left out. Every value gets the checks of the window's\n"
            "boxes; refused values are listed with their row, column and value (the row a\n"
            "spreadsheet shows, the header being row 1). An empty cell stays empty; each value\n"
            "stored otherwise than the file has it (a sum worked out from its sections, a date\n"
            "in the program's month/day/year form, a state in capitals) is listed. A file with\n"
            "a refused value adds nothing, unless --skip-bad is given. A client with the last\n"
            "name, first name and phone of one already present is listed and not added again.\n"
            "--dry-run checks and reports without adding anything. Exit status: 0 when every row\n"
            "was accepted, 1 when a row was refused or the file could not be read, 2 for wrong\n"
            "options."));
    options.addValue(QStringLiteral("folder"));
    options.addValue(QStringLiteral("encoding"));
    options.addFlag(QStringLiteral("dry-run"));
    options.addFlag(QStringLiteral("skip-bad"));
    options.allowPositional(1);
    if (const auto exit = options.parse(arguments, out, err))
        return *exit;
    if (options.positional().size() != 1) {
        err << "halcyra-cli import: name one CSV file.\n";
        return kExitUsage;
    }
    ImportOptions importOptions;
    if (options.isSet(QStringLiteral("encoding"))) {
        const auto encoding = encodingFromName(options.value(QStringLiteral("encoding")));
        if (!encoding) {
            err << "halcyra-cli import: --encoding takes "
                << encodingOptionNames().join(QStringLiteral(", ")) << ".\n";
            return kExitUsage;
        }
        importOptions.encoding = *encoding;
    }
    importOptions.dryRun = options.isSet(QStringLiteral("dry-run"));
    importOptions.skipBad = options.isSet(QStringLiteral("skip-bad"));
    importOptions.today = QDate::currentDate();
    CommandDatabase database(QStringLiteral("import"));
    if (const Status opened = database.open(options.programFolder(), importOptions.dryRun);
        !opened) {
        err << "halcyra-cli import: " << opened.error() << '\n';
        return kExitFailed;
    }
    QSqlDatabase db = database.db();
    const Result<ImportReport> report =
        importClientsCsv(db, options.positional().first(), Catalogue::builtIn(), importOptions);
    if (!report) {
        err << "halcyra-cli import: " << report.error() << '\n';
        return kExitFailed;
    }
    const QStringList lines = importReportLines(*report, importOptions);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        (i < static_cast<qsizetype>(report->refused.size()) ? err : out) << lines[i] << '\n';
    out << lines.last() << '\n';
    return report->refused.empty() ? kExitOk : kExitFailed;
}

int HistoryCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(name(), QStringLiteral("--client ID [--json] [--folder DIR]"),
                    QStringLiteral("Prints, for a saved client with an earlier assessment, each "
                                   "section's earlier and\ncurrent score, the change and the "
                                   "marks that appeared or went away: the\nreport's \"Progress "
                                   "since DATE\" page."));
    options.addValue(QStringLiteral("client"));
    options.addValue(QStringLiteral("folder"));
    options.addFlag(QStringLiteral("json"));
    if (const auto exit = options.parse(arguments, out, err))
        return *exit;
    const Result<qint64> client = clientNumber(options.value(QStringLiteral("client")));
    if (!client) {
        err << "halcyra-cli history: " << client.error() << '\n';
        return kExitUsage;
    }
    const qint64 id = *client;
    CommandDatabase database(QStringLiteral("history"));
    if (const Status opened = database.open(options.programFolder(), true); !opened) {
        err << "halcyra-cli history: " << opened.error() << '\n';
        return kExitFailed;
    }
    const Result<ClientRecord> loaded = loadClientRecord(database.db(), id);
    if (!loaded) {
        err << "halcyra-cli history: " << loaded.error() << '\n';
        return kExitFailed;
    }
    const ClientRecord& record = *loaded;
    const Catalogue catalogue = Catalogue::builtIn();
    const auto progress = progressOfClient(database.db(), record, catalogue,
                                           ReferenceTables::fromCatalogue(catalogue));
    if (!progress) {
        err << "halcyra-cli history: " << progress.error() << '\n';
        return kExitFailed;
    }
    if (!progress->has_value()) {
        if (options.isSet(QStringLiteral("json")))
            out << "null\n";
        else
            out << "Client " << id << " has no earlier assessment.\n";
        return kExitOk;
    }
    if (options.isSet(QStringLiteral("json")))
        out << QJsonDocument(progressJson(**progress)).toJson();
    else
        for (const QString& line : progressLines(**progress))
            out << line << '\n';
    return kExitOk;
}

} // namespace halcyra::cli
