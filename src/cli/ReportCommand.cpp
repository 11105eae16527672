#include "cli/ReportCommand.h"

#include "cli/Options.h"
#include "cli/ReportBatch.h"
#include "core/Catalogue.h"
#include "core/OutputFile.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "records/ClientDataSource.h"
#include "records/CompanyRecord.h"
#include "records/DatabaseFile.h"
#include "reports/ClientProgress.h"
#include "reports/PainterPageWriter.h"
#include "reports/PrintedReport.h"
#include "reports/ProfileFromRecord.h"
#include "reports/ReferenceTables.h"
#include "reports/ReportDocuments.h"
#include "reports/ReportPdf.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QThread>
#include <optional>

#ifdef Q_OS_WIN
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace halcyra::cli {
namespace {

const char* const kUsage =
    "(--client ID --out FILE.pdf | --all --out-dir DIR [--clients 1-50,77] [--jobs N])\n"
    "       [--sections 1,2,3,4,5] [--folder DIR] [--documents DIR] [--paper letter|a4]";
const char* const kDescription =
    "Writes the printed profile report of a saved client as a PDF file, laid out as it prints.\n"
    "--sections chooses the report documents, in the order given: 1 cover page and\n"
    "introduction, 2 Summary, 3 Analysis, 4 Supplement Guide, 5 References (default: all\n"
    "five), and 6 to 10 the daily sheets (four phases, selection guidelines).\n"
    "--all writes one file per client into --out-dir, named by client number and name;\n"
    "--clients limits it to the numbers and ranges given; --jobs is how many reports are\n"
    "written at the same time (default: one per processor core). A client whose report\n"
    "fails is named and the others are still written. On a terminal a line on standard\n"
    "error shows how far the batch has got.\n"
    "--folder is the program folder with the database (default: the adviser's program folder);\n"
    "--documents the folder with the fixed PDF documents (default: the program folder).\n"
    "--paper is the paper the pages are laid out for (default: the system's paper, as\n"
    "/etc/papersize or else the locale gives it); the fixed documents go in as their own pages.\n"
    "The page header shows the company information of the database and follows the\n"
    "options in the user's settings.\n\n"
    "Files are written whole or not at all. Exit status: 0 when every report was written in\n"
    "full; 1 when a client cannot be read, a file cannot be written, or a fixed document is\n"
    "missing or unreadable - in that last case the report is still written without that\n"
    "document and the problem is named on standard error; 2 for wrong options.";

constexpr int kDefaultSections[] = {1, 2, 3, 4, 5};
constexpr int kMostJobs = 256;

std::optional<QList<int>> parseSections(const QString& text)
{
    QList<int> sections;
    for (const QString& part : text.split(u',')) {
        bool isNumber = false;
        const int section = part.trimmed().toInt(&isNumber);
        if (!isNumber || sectionStatusName(section).isEmpty())
            return std::nullopt;
        sections << section;
    }
    return sections;
}

// File systems take names of up to 255 bytes, and the report is first written under its name
// with a dot before it and a six-letter ending after it.
constexpr qsizetype kNameLimitBytes = 255 - 8;

// A file name made of the client's number and name, without characters file systems refuse,
// shortened where it would be too long: the number stays first, so the name stays unique.
QString reportFileName(qint64 id, int idWidth, const ClientDetails& client)
{
    QString name = QStringLiteral("%1 %2 %3")
                       .arg(id, idWidth, 10, QChar(u'0'))
                       .arg(client.lastName.trimmed(), client.firstName.trimmed())
                       .trimmed();
    thread_local const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
    name.replace(unsafe, QStringLiteral("_"));
    const QString extension = QStringLiteral(".pdf");
    while (QFile::encodeName(name + extension).size() > kNameLimitBytes) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    return name.trimmed() + extension;
}

// The database of the program folder, open for the length of the command.
class ClientDatabase
{
public:
    ClientDatabase() = default;
    ~ClientDatabase()
    {
        if (m_open)
            closeClientDatabase(m_connection);
    }
    ClientDatabase(const ClientDatabase&) = delete;
    ClientDatabase& operator=(const ClientDatabase&) = delete;

    Status open(const QString& path)
    {
        const Status opened = openClientDatabase(path, m_connection, DatabaseAccess::ReadOnly);
        m_open = opened.ok();
        if (!m_open)
            closeClientDatabase(m_connection);
        return opened;
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_connection, false); }

private:
    QString m_connection = QStringLiteral("report-clients");
    bool m_open = false;
};

// Whether the stream writes to a terminal, where an updating progress line makes sense.
bool isTerminal(const QTextStream& stream)
{
    const auto* file = qobject_cast<const QFile*>(stream.device());
    return file && file->handle() >= 0 && isatty(file->handle());
}

// One report as written: whether in full, what to say on standard error, and the line that
// announces the file.
struct WrittenReport
{
    bool ok = false;
    QStringList problems;
    QString announcement;
};

class ReportRun
{
public:
    ReportRun(const QString& folder, const QString& documentsFolder, QList<int> sections,
              QPageSize::PageSizeId paper, QTextStream& out, QTextStream& err)
        : m_folder(folder), m_catalogue(Catalogue::builtIn()),
          m_tables(ReferenceTables::fromCatalogue(m_catalogue)),
          m_settings(SettingsStore::defaultFolder()), m_documents(documentsFolder),
          m_sections(std::move(sections)), m_out(out), m_err(err)
    {
        m_options.paper = paper;
    }

    bool hasClients() const { return !m_ids.empty(); }

    QString databasePath() const
    {
        return QDir(m_folder).filePath(ProgramState::DatabaseFileName());
    }

    bool open()
    {
        QString error;
        const QString path = databasePath();
        if (const Status opened = m_database.open(path); !opened) {
            m_err << "halcyra-cli report: " << opened.error() << '\n';
            return false;
        }
        // The same row the company window writes and the program's reports print.
        const Result<CompanyInfo> info = readCompanyRow(path);
        if (info)
            m_companyInfo = *info;
        else
            m_err << "halcyra-cli report: warning: company information: " << info.error() << '\n';
        m_header = HeaderOptions::fromSettings(m_settings);
        return true;
    }

    // Writes one client's report; false when it was not written in full.
    bool writeClient(qint64 id, const QString& outPath)
    {
        const Result<ClientRecord> loaded = loadClientRecord(m_database.db(), id);
        if (!loaded) {
            m_err << "halcyra-cli report: client " << id << ": " << loaded.error() << '\n';
            return false;
        }
        const ClientRecord& record = *loaded;
        const WrittenReport written = write(m_database.db(), m_documents, record, outPath);
        for (const QString& problem : written.problems)
            m_err << problem << '\n';
        if (!written.announcement.isEmpty())
            m_out << written.announcement << '\n';
        return written.ok;
    }

    // The clients --all writes, in the order of the list; `chosen` empty means every client.
    bool setClients(const QList<ClientRange>& chosen)
    {
        ClientDataSource source(m_database.db());
        if (const Status opened = source.open(); !opened) {
            m_err << "halcyra-cli report: " << opened.error() << '\n';
            return false;
        }
        qint64 largestId = 0;
        for (int i = 0; i < source.recordCount(); ++i) {
            const qint64 id = source.idAt(i);
            largestId = std::max(largestId, id);
            if (chosen.isEmpty() || listsClient(chosen, id))
                m_ids.push_back(id);
        }
        // From every client, so a report keeps its file name whichever clients are chosen.
        m_idWidth = static_cast<int>(QString::number(largestId).size());
        // A number asked for by itself that is not there is a mistake worth naming; a range
        // may well span deleted clients.
        bool allThere = true;
        for (const ClientRange& range : chosen)
            if (range.first == range.last &&
                std::find(m_ids.begin(), m_ids.end(), range.first) == m_ids.end()) {
                m_err << "halcyra-cli report: There is no client with the number " << range.first
                      << ".\n";
                allThere = false;
            }
        if (m_ids.empty() && !chosen.isEmpty()) {
            m_err << "halcyra-cli report: --clients chooses no client of the database.\n";
            return false;
        }
        return allThere;
    }

    // Writes the chosen clients' reports into `outDir` on `jobs` threads; false when any was
    // not written in full.
    bool writeAll(const QString& outDir, int jobs, bool showProgress)
    {
        if (const Status made = makeOwnerOnlyFolder(outDir); !made) {
            m_err << "halcyra-cli report: " << made.error() << '\n';
            return false;
        }
        const int count = static_cast<int>(m_ids.size());
        QElapsedTimer clock;
        clock.start();
        qsizetype lineLength = 0;
        const auto clearLine = [&] {
            if (lineLength > 0)
                m_err << '\r' << QString(lineLength, u' ') << '\r';
            lineLength = 0;
        };
        BatchHooks hooks;
        hooks.makeWorker = [&](int thread) -> Result<std::unique_ptr<BatchWorker>> {
            auto worker = std::make_unique<Worker>(*this, outDir, thread);
            if (const Status opened = worker->open(); !opened)
                return fail(QStringLiteral("halcyra-cli report: ") + opened.error());
            return std::unique_ptr<BatchWorker>(std::move(worker));
        };
        hooks.tell = [&](const QStringList& messages) {
            clearLine();
            for (const QString& message : messages)
                m_err << message << '\n';
            m_err.flush();
        };
        if (showProgress)
            hooks.progress = [&](int done, int total) {
                const QString line = batchProgressLine(done, total, clock.elapsed());
                clearLine();
                m_err << line;
                m_err.flush();
                lineLength = line.size();
            };
        const QList<int> notWritten = runBatch(count, jobs, hooks);
        if (lineLength > 0)
            m_err << '\n';
        if (!notWritten.isEmpty()) {
            QStringList numbers;
            for (int item : notWritten)
                numbers << QString::number(m_ids[static_cast<size_t>(item)]);
            m_err << "halcyra-cli report: not written in full: client"
                  << (numbers.size() == 1 ? " " : "s ") << numbers.join(QStringLiteral(", "))
                  << '\n';
        }
        m_out << "Wrote " << count - notWritten.size() << " of " << count << " reports to "
              << QDir::toNativeSeparators(outDir) << '\n';
        return notWritten.isEmpty();
    }

private:
    // One thread of --all: its own read-only connection and its own fixed documents, sharing
    // only what the run holds read-only (catalogue, tables, company and header).
    class Worker final : public BatchWorker
    {
    public:
        Worker(const ReportRun& run, QString outDir, int thread)
            : m_run(run), m_outDir(std::move(outDir)), m_documents(run.m_documents.folder()),
              m_connection(QStringLiteral("report-clients-%1").arg(thread))
        {}
        // Runs in the worker's thread, at its end.
        ~Worker() override
        {
            closeClientDatabase(m_connection);
            releaseThreadLayouts();
        }

        Status open()
        {
            return openClientDatabase(m_run.databasePath(), m_connection, DatabaseAccess::ReadOnly);
        }

        BatchItemResult run(int item) override
        {
            const qint64 id = m_run.m_ids[static_cast<size_t>(item)];
            const QSqlDatabase db = QSqlDatabase::database(m_connection, false);
            const Result<ClientRecord> loaded = loadClientRecord(db, id);
            if (!loaded)
                return {false,
                        {QStringLiteral("halcyra-cli report: client %1: %2")
                             .arg(id)
                             .arg(loaded.error())}};
            const ClientRecord& record = *loaded;
            const QString name =
                reportFileName(id, m_run.m_idWidth, clientDetailsFromRecord(record));
            const WrittenReport written =
                m_run.write(db, m_documents, record, QDir(m_outDir).filePath(name));
            return {written.ok, written.problems};
        }

    private:
        const ReportRun& m_run;
        QString m_outDir;
        FixedDocuments m_documents;
        QString m_connection;
    };

    // Thread-safe: reads the run's members only, and writes through the given connection and
    // documents.
    WrittenReport write(const QSqlDatabase& db, FixedDocuments& documents,
                        const ClientRecord& record, const QString& outPath) const
    {
        WrittenReport written;
        const QString prefix =
            QStringLiteral("halcyra-cli report: client %1: ").arg(record.customerId());
        const ClientDetails client = clientDetailsFromRecord(record);
        PrintedReport::Inputs inputs{m_catalogue, m_tables,      profileInputFromRecord(record),
                                     client,      m_companyInfo, m_header};
        const auto progress = progressOfClient(db, record, m_catalogue, m_tables);
        if (!progress) {
            written.problems << prefix + progress.error();
            return written;
        }
        inputs.progress = *progress;
        ReportPdfOptions options = m_options;
        options.title = QStringLiteral("Halcyra - %1 %2").arg(client.firstName, client.lastName);
        const Result<ReportPdfWritten> result =
            writeReportPdf(outPath, inputs, m_sections, documents, options);
        if (!result) {
            // The sections that could not be printed, then why nothing was written.
            for (const QString& line : result.error().split(u'\n'))
                written.problems << prefix + line;
            return written;
        }
        for (const QString& problem : result->problems)
            written.problems << prefix + problem;
        written.announcement =
            QStringLiteral("Wrote ") + QDir::toNativeSeparators(outPath) +
            (result->problems.isEmpty() ? QString() : QStringLiteral(" (incomplete)"));
        written.ok = result->problems.isEmpty();
        return written;
    }

    QString m_folder;
    Catalogue m_catalogue;
    ReferenceTables m_tables;
    SettingsStore m_settings;
    FixedDocuments m_documents;
    QList<int> m_sections;
    ReportPdfOptions m_options;
    ClientDatabase m_database;
    CompanyInfo m_companyInfo;
    HeaderOptions m_header;
    std::vector<qint64> m_ids;
    int m_idWidth = 1;
    QTextStream& m_out;
    QTextStream& m_err;
};

} // namespace

int ReportCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(name(), QString::fromLatin1(kUsage), QString::fromLatin1(kDescription));
    for (const char* value : {"client", "out", "out-dir", "clients", "jobs", "sections", "folder",
                              "documents", "paper"})
        options.addValue(QString::fromLatin1(value));
    options.addFlag(QStringLiteral("all"));
    if (const auto stop = options.parse(arguments, out, err))
        return *stop;

    const bool all = options.isSet(QStringLiteral("all"));
    const bool one = options.isSet(QStringLiteral("client"));
    if (all == one || (one && !options.isSet(QStringLiteral("out"))) ||
        (all && !options.isSet(QStringLiteral("out-dir")))) {
        err << "halcyra-cli report: give --client ID --out FILE.pdf, or --all --out-dir DIR.\n";
        return kExitUsage;
    }
    if (!all &&
        (options.isSet(QStringLiteral("clients")) || options.isSet(QStringLiteral("jobs")))) {
        err << "halcyra-cli report: --clients and --jobs go with --all.\n";
        return kExitUsage;
    }
    QList<ClientRange> clients;
    if (options.isSet(QStringLiteral("clients"))) {
        const auto chosen = parseClientList(options.value(QStringLiteral("clients")));
        if (!chosen) {
            err << "halcyra-cli report: " << chosen.error() << '\n';
            return kExitUsage;
        }
        clients = *chosen;
    }
    int jobs = QThread::idealThreadCount();
    if (options.isSet(QStringLiteral("jobs"))) {
        bool isJobs = false;
        jobs = options.value(QStringLiteral("jobs")).toInt(&isJobs);
        if (!isJobs || jobs < 1 || jobs > kMostJobs) {
            err << "halcyra-cli report: --jobs takes a number from 1 to " << kMostJobs << ".\n";
            return kExitUsage;
        }
    }
    QList<int> sections(std::begin(kDefaultSections), std::end(kDefaultSections));
    if (options.isSet(QStringLiteral("sections"))) {
        const auto chosen = parseSections(options.value(QStringLiteral("sections")));
        if (!chosen) {
            err << "halcyra-cli report: --sections takes numbers from 1 to 10, such as 2,3,4.\n";
            return kExitUsage;
        }
        sections = *chosen;
    }
    const auto paper = options.isSet(QStringLiteral("paper"))
                           ? reportPaperFromName(options.value(QStringLiteral("paper")))
                           : systemReportPaper();
    if (!paper) {
        err << "halcyra-cli report: --paper takes letter or a4.\n";
        return kExitUsage;
    }
    qint64 id = 0;
    if (one) {
        const auto number = clientNumber(options.value(QStringLiteral("client")));
        if (!number) {
            err << "halcyra-cli report: " << number.error() << '\n';
            return kExitUsage;
        }
        id = *number;
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        err << "halcyra-cli report: fonts are not available in this process.\n";
        return kExitFailed;
    }

    const QString folder = options.programFolder();
    ReportRun run(folder, options.value(QStringLiteral("documents"), folder), sections, *paper, out,
                  err);
    if (!run.open())
        return kExitFailed;
    if (all) {
        const bool chosen = run.setClients(clients);
        if (!chosen && !run.hasClients())
            return kExitFailed;
        const bool written =
            run.writeAll(options.value(QStringLiteral("out-dir")), jobs, isTerminal(err));
        return chosen && written ? kExitOk : kExitFailed;
    }
    return run.writeClient(id, options.value(QStringLiteral("out"))) ? kExitOk : kExitFailed;
}

} // namespace halcyra::cli
