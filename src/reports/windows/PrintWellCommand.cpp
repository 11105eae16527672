#include "reports/windows/PrintWellCommand.h"

#include "core/BusyCursor.h"
#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "records/ClientRecord.h"
#include "reports/ClientProgress.h"
#include "reports/PainterPageWriter.h"
#include "reports/PrintQueue.h"
#include "reports/PrintedReport.h"
#include "reports/ProfileFromRecord.h"
#include "reports/ReportDocuments.h"
#include "reports/windows/frmPrinting.h"
#include "reports/windows/frmPrnDialog.h"
#include "setup/windows/frmOptions.h"

#include <QPrinter>
#include <optional>

namespace halcyra {

PrintWellCommand::PrintWellCommand(const Catalogue& catalogue, SettingsStore& settings,
                                   ProgramState& state, ErrorReporter& reporter)
    : m_catalogue(catalogue), m_settings(settings), m_state(state), m_reporter(reporter),
      m_tables(ReferenceTables::fromCatalogue(catalogue))
{}

PrintWellCommand::~PrintWellCommand() = default;

void PrintWellCommand::run(const ClientRecord& record, const QSqlDatabase& database,
                           QPrinter& printer, QWidget* parent)
{
    print(record, &database, printer, parent, [&](PrintedReport& report) {
        m_state.OptionsMode = QStringLiteral("P-Well");
        frmOptions options(
            m_catalogue, m_settings, m_state, m_reporter,
            [&](bool first, int section) { report.PrintDocument(first, section); }, parent);
        options.showModally();
    });
}

void PrintWellCommand::PrintDocument(const ClientRecord& record, QPrinter& printer, QWidget* parent,
                                     int section)
{
    // A single page of the on-screen report: the progress page is not one of them.
    print(record, nullptr, printer, parent,
          [section](PrintedReport& report) { report.PrintDocument(true, section); });
}

bool PrintWellCommand::printDailySheets(QPrinter& printer, QWidget* parent)
{
    bool skipped = false;
    // The sheets carry no client data: an empty record stands for the client.
    print(
        ClientRecord{}, nullptr, printer, parent,
        [&](PrintedReport& report) {
            m_state.OptionsMode = QStringLiteral("P-Daily");
            frmOptions options(
                m_catalogue, m_settings, m_state, m_reporter,
                [&](bool first, int section) { report.PrintDocument(first, section); }, parent);
            options.showModally();
            skipped = report.skipped();
        },
        QStringLiteral("Halcyra - Daily Intake Sheets"));
    return skipped;
}

void PrintWellCommand::print(const ClientRecord& record, const QSqlDatabase* database,
                             QPrinter& printer, QWidget* parent,
                             const std::function<void(PrintedReport&)>& printSections,
                             const QString& documentName)
{
    UserPrompts& prompts = m_reporter.prompts();
    const ClientDetails client = clientDetailsFromRecord(record);
    printer.setDocName(
        documentName.isEmpty()
            ? QStringLiteral("Halcyra - %1 %2").arg(client.firstName, client.lastName)
            : documentName);

    PainterPageWriter writer(printer);
    FixedDocuments documents(m_state.DatabaseFolder);
    PrintedReport::Inputs inputs{m_catalogue,
                                 m_tables,
                                 profileInputFromRecord(record),
                                 client,
                                 m_state.CompanyInfoLines,
                                 HeaderOptions::fromSettings(m_settings)};
    // Without its history the report is still the client's report: the reason goes to the log.
    if (database) {
        const auto progress = progressOfClient(*database, record, m_catalogue, m_tables);
        if (progress)
            inputs.progress = *progress;
        else
            m_reporter.ReportError(QString::number(errors::kPathFileAccess), progress.error(),
                                   QStringLiteral("frmMain:Sub PrintDocument"),
                                   ErrorReporter::kStyleOk, {}, 0, false);
    }
    PrintedReport report(std::move(inputs), documents, writer);
    report.setErrorReporter(&m_reporter);
    PrintJobWatch watch(m_reporter);
    report.setChoosePrinter([&] {
        m_state.SkipPrinting = false;
        const bool chosen =
            frmPrnDialog(prompts, m_state.SkipPrinting, parent).Command2_Click(printer);
        // The report remembers a cancel for the rest of its run; the flag is left clear.
        m_state.SkipPrinting = false;
        // A queue that would lose the job stops the run as a cancel does, with its message.
        return chosen && watch.queueTakesJob(printer);
    });
    // The hourglass from the first printed document to the end of the run.
    std::optional<BusyCursor> busy;
    report.setShowPrinting([&](const QString& section) {
        if (!m_printing)
            m_printing = new frmPrinting(parent);
        if (!busy)
            busy.emplace(prompts);
        ShowPrinting(*m_printing, section);
    });

    printSections(report);
    report.EndDoc();
    if (m_printing)
        m_printing->hide();
    busy.reset();
    if (writer.deviceFailed())
        m_reporter.ReportError(QString::number(errors::kPathFileAccess),
                               QStringLiteral("The printer could not be started."),
                               QStringLiteral("frmMain:Sub PrintDocument"));
    else if (writer.pagesBegun() > 0)
        watch.jobEnded();
}

} // namespace halcyra
