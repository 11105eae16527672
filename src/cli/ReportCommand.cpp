#include "cli/ReportCommand.h"

#include "cli/Options.h"
#include "core/Catalogue.h"
#include "core/OutputFile.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "records/ClientDataSource.h"
#include "records/CompanyRecord.h"
#include "records/DatabaseFile.h"
#include "reports/ClientProgress.h"
#include "reports/PrintedReport.h"
#include "reports/ProfileFromRecord.h"
#include "reports/ReferenceTables.h"
#include "reports/ReportDocuments.h"
#include "reports/ReportPdf.h"

#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <optional>

namespace halcyra::cli {
namespace {

const char* const kUsage =
    "(--client ID --out FILE.pdf | --all --out-dir DIR) [--sections 1,2,3,4,5]\n"
    "       [--folder DIR] [--documents DIR] [--paper letter|a4]";
const char* const kDescription =
    "Writes the printed profile report of a saved client as a PDF file, laid out as it prints.\n"
    "--sections chooses the report documents, in the order given: 1 cover page and\n"
    "introduction, 2 Summary, 3 Analysis, 4 Supplement Guide, 5 References (default: all\n"
    "five), and 6 to 10 the daily sheets (four phases, selection guidelines).\n"
    "--all writes one file per client into --out-dir, named by client number and name.\n"
    "--folder is the program folder with the database (default: the working folder);\n"
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

// File systems take names of up to 255 bytes.
constexpr qsizetype kNameLimitBytes = 255;

// A file name made of the client's number and name, without characters file systems refuse,
// shortened where it would be too long: the number stays first, so the name stays unique.
QString reportFileName(qint64 id, int idWidth, const ClientDetails& client)
{
    QString name = QStringLiteral("%1 %2 %3")
                       .arg(id, idWidth, 10, QChar(u'0'))
                       .arg(client.lastName.trimmed(), client.firstName.trimmed())
                       .trimmed();
    static const QRegularExpression unsafe(QStringLiteral("[\\\\/:*?\"<>|\\x00-\\x1f]"));
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

    bool open()
    {
        QString error;
        const QString path = QDir(m_folder).filePath(ProgramState::DatabaseFileName());
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
        m_announceFiles = true;
        ClientRecord record;
        QString error;
        if (!loadClientRecord(m_database.db(), id, &record, &error)) {
            m_err << "halcyra-cli report: client " << id << ": " << error << '\n';
            return false;
        }
        return write(record, outPath);
    }

    // Writes every client's report into `outDir`; false when any was not written in full.
    bool writeAll(const QString& outDir)
    {
        if (const Status made = makeOwnerOnlyFolder(outDir); !made) {
            m_err << "halcyra-cli report: " << made.error() << '\n';
            return false;
        }
        ClientDataSource source(m_database.db());
        QString error;
        if (!source.open(&error)) {
            m_err << "halcyra-cli report: " << error << '\n';
            return false;
        }
        const int count = source.RecordCount();
        qint64 largestId = 0;
        for (int i = 0; i < count; ++i)
            largestId = std::max(largestId, source.idAt(i));
        const int idWidth = static_cast<int>(QString::number(largestId).size());
        int written = 0;
        for (int i = 0; i < count; ++i) {
            const ClientRecord record = source.recordAt(i, &error);
            if (record.customerId() == 0) {
                m_err << "\nhalcyra-cli report: client at position " << i + 1 << ": " << error
                      << '\n';
                continue;
            }
            const QString name =
                reportFileName(record.customerId(), idWidth, clientDetailsFromRecord(record));
            if (write(record, QDir(outDir).filePath(name)))
                ++written;
            m_err << "\rReports written: " << written << " of " << count;
            m_err.flush();
        }
        m_err << '\n';
        m_out << "Wrote " << written << " of " << count << " reports to "
              << QDir::toNativeSeparators(outDir) << '\n';
        return written == count;
    }

private:
    bool write(const ClientRecord& record, const QString& outPath)
    {
        const ClientDetails client = clientDetailsFromRecord(record);
        PrintedReport::Inputs inputs{m_catalogue, m_tables,      profileInputFromRecord(record),
                                     client,      m_companyInfo, m_header};
        const auto progress = progressOfClient(m_database.db(), record, m_catalogue, m_tables);
        if (!progress) {
            m_err << "halcyra-cli report: client " << record.customerId() << ": "
                  << progress.error() << '\n';
            return false;
        }
        inputs.progress = *progress;
        m_options.title = QStringLiteral("Halcyra - %1 %2").arg(client.firstName, client.lastName);
        const ReportPdfResult result =
            writeReportPdf(outPath, inputs, m_sections, m_documents, m_options);
        for (const QString& problem : result.problems)
            m_err << "halcyra-cli report: client " << record.customerId() << ": " << problem
                  << '\n';
        if (!result.written) {
            m_err << "halcyra-cli report: client " << record.customerId() << ": " << result.error
                  << '\n';
            return false;
        }
        if (m_announceFiles)
            m_out << "Wrote " << QDir::toNativeSeparators(outPath)
                  << (result.problems.isEmpty() ? "" : " (incomplete)") << '\n';
        return result.problems.isEmpty();
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
    bool m_announceFiles = false;
    QTextStream& m_out;
    QTextStream& m_err;
};

} // namespace

int ReportCommand::execute(const QStringList& arguments, QTextStream& out, QTextStream& err)
{
    Options options(name(), QString::fromLatin1(kUsage), QString::fromLatin1(kDescription));
    for (const char* value :
         {"client", "out", "out-dir", "sections", "folder", "documents", "paper"})
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

    const QString folder = options.value(QStringLiteral("folder"), QDir::currentPath());
    ReportRun run(folder, options.value(QStringLiteral("documents"), folder), sections, *paper, out,
                  err);
    if (!run.open())
        return kExitFailed;
    if (all)
        return run.writeAll(options.value(QStringLiteral("out-dir"))) ? kExitOk : kExitFailed;
    return run.writeClient(id, options.value(QStringLiteral("out"))) ? kExitOk : kExitFailed;
}

} // namespace halcyra::cli
