#include "reports/windows/PrintWellCommand.h"

#include "core/BusyCursor.h"
#include "core/ErrorReporter.h"
#include "core/OutputFile.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "print/PrintQueue.h"
#include "records/ClientRecord.h"
#include "reports/ClientProgress.h"
#include "reports/PainterPageWriter.h"
#include "reports/PrintedReport.h"
#include "reports/ProfileFromRecord.h"
#include "reports/ReportAssembly.h"
#include "reports/ReportDocuments.h"
#include "reports/ReportPdf.h"
#include "reports/windows/frmPrinting.h"
#include "reports/windows/frmPrnDialog.h"
#include "setup/windows/frmOptions.h"

#include <QCoreApplication>
#include <QPrinter>
#include <algorithm>
#include <optional>

namespace halcyra {
namespace {

// The documents the options dialog's Print chose, after the dialog has gone.
void printSteps(PrintedReport& report, const std::vector<PrintStep>& steps)
{
    for (const PrintStep& step : steps) {
        QCoreApplication::processEvents();
        report.PrintDocument(step.first, step.section);
    }
}

} // namespace

PrintWellCommand::PrintWellCommand(const Catalogue& catalogue, SettingsStore& settings,
                                   ProgramState& state, ErrorReporter& reporter)
    : m_catalogue(catalogue), m_settings(settings), m_state(state), m_reporter(reporter),
      m_tables(ReferenceTables::fromCatalogue(catalogue)),
      m_chooseOptions(optionsDialogChooser(catalogue, settings, reporter)),
      m_choosePrinter([&reporter](QPrinter& printer, QWidget* parent) {
          return frmPrnDialog(reporter.prompts(), parent).Command2_Click(printer);
      })
{}

PrintWellCommand::~PrintWellCommand() = default;

void PrintWellCommand::run(const ClientRecord& record, const QSqlDatabase& database,
                           QPrinter& printer, QWidget* parent)
{
    print(record, &database, printer, parent, [&](PrintedReport& report) {
        printSteps(
            report,
            chooseReportOptions(m_chooseOptions, m_state, OptionsMode::PrintWell, parent).steps);
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
            printSteps(report, chooseReportOptions(m_chooseOptions, m_state,
                                                   OptionsMode::PrintDaily, parent)
                                   .steps);
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

    // The report's PDF, for a file or a queue that takes PDF; it outlives the writer on it.
    std::optional<ReportPdfJob> pdfJob;
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
        const bool chosen = m_choosePrinter(printer, parent);
        // The report remembers a cancel for the rest of its run; the flag is left clear.
        m_state.SkipPrinting = false;
        // A queue that would lose the job stops the run as a cancel does, with its message.
        if (!chosen || !preparePaper(printer) || !watch.queueTakesJob(printer))
            return false;
        // Where the pages go is settled before the first of them.
        if (writer.pagesBegun() > 0)
            return true;
        const bool toFile =
            printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
        if (toFile) {
            // Refused before the work of printing, as the file would be at the end.
            if (const Status allowed = checkOutputPath(printer.outputFileName()); !allowed) {
                watch.deviceFailed(printer, allowed.error());
                return false;
            }
        }
        writer.setDevice(printer);
        pdfJob.reset();
        if (toFile || (printer.outputFormat() == QPrinter::NativeFormat &&
                       queueTakesPdf(printer.printerName()))) {
            pdfJob.emplace(printer.pageLayout(), printer.docName());
            writer.setDevice(pdfJob->device());
        }
        writer.setPlaceDocumentPages(pdfJob.has_value());
        return true;
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
    report.endDoc();
    if (m_printing)
        m_printing->hide();
    busy.reset();
    if (writer.deviceFailed())
        watch.deviceFailed(printer);
    else if (writer.pagesBegun() == 0)
        return; // nothing printed (cancelled, or the paper did not fit): no file, no job
    else if (pdfJob)
        deliverPdf(*pdfJob, printer, writer, watch);
    else
        watch.jobEnded();
}

bool PrintWellCommand::preparePaper(QPrinter& printer)
{
    // The report's margins where the printer's own are narrower.
    const QMarginsF printers = printer.pageLayout().margins(QPageLayout::Inch);
    const QMarginsF margins(std::max(printers.left(), kReportMarginInches),
                            std::max(printers.top(), kReportMarginInches),
                            std::max(printers.right(), kReportMarginInches),
                            std::max(printers.bottom(), kReportMarginInches));
    printer.setPageMargins(margins, QPageLayout::Inch);
    if (const Status fits = checkReportFitsPaper(printer.pageLayout()); !fits) {
        m_reporter.prompts().inform(QStringLiteral("Print"), fits.error(),
                                    UserPrompts::Icon::Warning);
        return false;
    }
    return true;
}

void PrintWellCommand::deliverPdf(ReportPdfJob& job, const QPrinter& printer,
                                  const PainterPageWriter& writer, PrintJobWatch& watch)
{
    const Result<QByteArray> pdf = job.finish(writer.placedPages());
    if (!pdf) {
        m_reporter.ReportError(QString::number(errors::kPathFileAccess), pdf.error(),
                               QStringLiteral("frmMain:Sub PrintDocument"));
        return;
    }
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        // Written whole to a new owner-only file: a client's report is for the adviser alone.
        if (const Status written = writeFileWhole(printer.outputFileName(), *pdf); !written)
            watch.deviceFailed(printer, written.error());
        return;
    }
    const Result<int> sent = sendPdfToQueue(printer.printerName(), *pdf, printer.docName(),
                                            pdfJobOptions(settingsOf(printer)));
    if (!sent)
        watch.jobRefused(sent.error());
    else
        watch.jobEnded();
}

} // namespace halcyra
