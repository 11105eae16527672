#include "print/PrintQueue.h"

#include "core/ErrorReporter.h"
#include "core/UserPrompts.h"

#include <QDir>
#include <QPrinter>
#include <QPrinterInfo>

#ifdef HALCYRA_HAS_CUPS
#include <cups/cups.h>
#endif

namespace halcyra {
namespace {

QString stateWithDetail(const QueueStatus& status)
{
    return status.detail.isEmpty() ? status.state
                                   : status.state + QStringLiteral(": ") + status.detail;
}

bool jobLost(const QueueStatus& before, const QueueStatus& after)
{
    // A job number is known only where the print system counts jobs (lastJob >= 0).
    const bool counted = before.lastJob >= 0 && after.known && after.exists;
    return !after.known || !after.exists ||
           (counted && (after.lastJob <= before.lastJob || after.lastJobCancelled));
}

#ifdef HALCYRA_HAS_CUPS
QString option(const cups_dest_t& dest, const char* name)
{
    return QString::fromUtf8(cupsGetOption(name, dest.num_options, dest.options));
}

// QPrinter names an instance of a queue "queue/instance"; jobs go to the queue.
QByteArray queueOf(const QString& printerName)
{
    return printerName.section(u'/', 0, 0).toUtf8();
}

cups_dest_t* namedDest(const QString& printerName)
{
    const QByteArray queue = queueOf(printerName);
    const QByteArray instance = printerName.section(u'/', 1).toUtf8();
    return cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(),
                            instance.isEmpty() ? nullptr : instance.constData());
}

QString lastCupsError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

QueueStatus cupsQueueStatus(const QString& printerName)
{
    QueueStatus status;
    const QByteArray queue = queueOf(printerName);
    cups_dest_t* dest = namedDest(printerName);
    if (!dest) {
        const ipp_status_t error = cupsLastError();
        if (error == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || error == IPP_STATUS_ERROR_INTERNAL) {
            status.known = false;
            status.state = QStringLiteral("no answer from the print system");
            status.detail = lastCupsError();
        } else {
            status.exists = false;
            status.state = QStringLiteral("not found");
        }
        return status;
    }
    status.accepting = option(*dest, "printer-is-accepting-jobs") != u"false";
    const int state = option(*dest, "printer-state").toInt();
    status.stopped = state == IPP_PSTATE_STOPPED;
    status.state = state == IPP_PSTATE_STOPPED      ? QStringLiteral("stopped")
                   : state == IPP_PSTATE_PROCESSING ? QStringLiteral("printing")
                                                    : QStringLiteral("idle");
    if (!status.accepting)
        status.state = QStringLiteral("rejecting jobs, ") + status.state;
    status.detail = option(*dest, "printer-state-message");
    if (status.detail.isEmpty()) {
        const QString reasons = option(*dest, "printer-state-reasons");
        if (reasons != u"none")
            status.detail = reasons;
    }
    cupsFreeDests(1, dest);

    cups_job_t* jobs = nullptr;
    const int count =
        cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 1, CUPS_WHICHJOBS_ALL);
    for (int i = 0; i < count; ++i)
        if (jobs[i].id > status.lastJob) {
            status.lastJob = jobs[i].id;
            // A queue that cannot print the document (say, a text-only printer sent a PDF)
            // cancels the job at once.
            status.lastJobCancelled =
                jobs[i].state == IPP_JSTATE_CANCELED || jobs[i].state == IPP_JSTATE_ABORTED;
        }
    cupsFreeJobs(count, jobs);
    return status;
}

bool cupsQueueTakesPdf(const QString& printerName)
{
    cups_dest_t* dest = namedDest(printerName);
    if (!dest)
        return false;
    bool takes = false;
    if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        takes = cupsCheckDestSupported(CUPS_HTTP_DEFAULT, dest, info, "document-format",
                                       CUPS_FORMAT_PDF) != 0;
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return takes;
}

Result<int> cupsSendPdf(const QString& printerName, const QByteArray& pdf, const QString& title,
                        const QList<JobOption>& options)
{
    const QByteArray queue = queueOf(printerName);
    const QByteArray name = title.toUtf8();
    int count = 0;
    cups_option_t* cupsOptions = nullptr;
    for (const JobOption& option : options)
        count =
            cupsAddOption(option.name.constData(), option.value.constData(), count, &cupsOptions);
    const int job =
        cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), name.constData(), count, cupsOptions);
    cupsFreeOptions(count, cupsOptions);
    if (job == 0)
        return fail(lastCupsError());
    // A job left half sent would wait in the queue for the rest for ever.
    auto cancel = [&](const QString& reason) -> Result<int> {
        cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), job, 0);
        return fail(reason);
    };
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), job, name.constData(),
                          CUPS_FORMAT_PDF, 1) != HTTP_STATUS_CONTINUE)
        return cancel(lastCupsError());
    if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(), static_cast<size_t>(pdf.size())) !=
        HTTP_STATUS_CONTINUE) {
        const QString reason = lastCupsError();
        cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData());
        return cancel(reason);
    }
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) > IPP_STATUS_OK_CONFLICTING)
        return cancel(lastCupsError());
    return job;
}
#endif

} // namespace

QueueStatus queueStatus(const QString& printerName)
{
#ifdef HALCYRA_HAS_CUPS
    return cupsQueueStatus(printerName);
#else
    // Without CUPS the printer list says at least whether the printer is there and whether it
    // is in an error state; jobs cannot be counted.
    QueueStatus status;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (info.isNull()) {
        status.exists = false;
        status.state = QStringLiteral("not found");
        return status;
    }
    status.stopped = info.state() == QPrinter::Aborted || info.state() == QPrinter::Error;
    status.state = status.stopped                     ? QStringLiteral("stopped")
                   : info.state() == QPrinter::Active ? QStringLiteral("printing")
                                                      : QStringLiteral("idle");
    status.lastJob = -1;
    return status;
#endif
}

bool queueTakesPdf(const QString& printerName)
{
#ifdef HALCYRA_HAS_CUPS
    return !printerName.isEmpty() && cupsQueueTakesPdf(printerName);
#else
    Q_UNUSED(printerName);
    return false;
#endif
}

QList<JobOption> pdfJobOptions(const PrinterSettings& settings)
{
    QList<JobOption> options;
    auto add = [&options](const char* name, const QByteArray& value) {
        options.append(JobOption{name, value});
    };
    if (settings.pageSize.isValid())
        add("media", settings.pageSize.key().toUtf8());
    if (settings.copies > 1) {
        add("copies", QByteArray::number(settings.copies));
        add("Collate", settings.collateCopies ? "True" : "False");
    }
    // The report is portrait: "automatic" two-sided printing turns on the long edge.
    add("sides", settings.duplex == QPrinter::DuplexNone        ? "one-sided"
                 : settings.duplex == QPrinter::DuplexShortSide ? "two-sided-short-edge"
                                                                : "two-sided-long-edge");
    if (settings.colorMode == QPrinter::GrayScale)
        add("print-color-mode", "monochrome");
    return options;
}

Result<int> sendPdfToQueue(const QString& printerName, const QByteArray& pdf, const QString& title,
                           const QList<JobOption>& options)
{
#ifdef HALCYRA_HAS_CUPS
    return cupsSendPdf(printerName, pdf, title, options);
#else
    Q_UNUSED(printerName);
    Q_UNUSED(pdf);
    Q_UNUSED(title);
    Q_UNUSED(options);
    return fail(QStringLiteral("there is no print system to send a PDF to"));
#endif
}

std::optional<QString> queueRefusalMessage(const QString& printerName, const QueueStatus& status)
{
    if (!status.known)
        return QStringLiteral("The print system gave no answer about the printer \"%1\" (%2). "
                              "Nothing was printed. Print again in a moment, or choose another "
                              "printer.")
            .arg(printerName, stateWithDetail(status));
    if (!status.exists)
        return QStringLiteral("The printer \"%1\" is no longer installed. Nothing was printed. "
                              "Choose another printer.")
            .arg(printerName);
    if (!status.accepting)
        return QStringLiteral("The printer \"%1\" is %2. Nothing was printed. Choose another "
                              "printer, or print again once it accepts jobs.")
            .arg(printerName, stateWithDetail(status));
    return std::nullopt;
}

std::optional<QString> jobOutcomeMessage(const QString& printerName, const QueueStatus& before,
                                         const QueueStatus& after)
{
    if (jobLost(before, after))
        return QStringLiteral("The job did not reach the printer \"%1\" (%2). Nothing was "
                              "printed. Choose another printer.")
            .arg(printerName, after.known && after.exists && after.lastJobCancelled &&
                                      after.lastJob > before.lastJob
                                  ? QStringLiteral("the print system cancelled it")
                                  : stateWithDetail(after));
    if (after.stopped)
        return QStringLiteral("The printer \"%1\" is stopped (%2). The job waits in its queue "
                              "and prints when the printer is started again.")
            .arg(printerName, stateWithDetail(after));
    return std::nullopt;
}

QString deviceFailureMessage(const QPrinter& printer, const QString& reason)
{
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        // The reason names the file itself.
        if (!reason.isEmpty())
            return reason + QStringLiteral(". Nothing was printed. Choose another file or folder.");
        return QStringLiteral("The file \"%1\" could not be written. Nothing was printed. "
                              "Choose another file or folder.")
            .arg(QDir::toNativeSeparators(printer.outputFileName()));
    }
    return QStringLiteral("The printer \"%1\" could not be started%2. Nothing was printed. "
                          "Choose another printer.")
        .arg(printer.printerName(),
             reason.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(reason));
}

QString jobRefusedMessage(const QString& printerName, const QString& reason)
{
    return QStringLiteral("The printer \"%1\" did not take the report (%2). Nothing was "
                          "printed. Choose another printer.")
        .arg(printerName, reason);
}

bool PrintJobWatch::queueTakesJob(const QPrinter& printer)
{
    m_before.reset();
    if (printer.outputFormat() != QPrinter::NativeFormat || printer.printerName().isEmpty())
        return true;
    m_printerName = printer.printerName();
    const QueueStatus status = queueStatus(m_printerName);
    if (const auto refusal = queueRefusalMessage(m_printerName, status)) {
        warn(*refusal, true);
        return false;
    }
    m_before = status;
    return true;
}

void PrintJobWatch::jobEnded()
{
    if (!m_before)
        return;
    const QueueStatus before = *std::exchange(m_before, std::nullopt);
    const QueueStatus after = queueStatus(m_printerName);
    if (const auto problem = jobOutcomeMessage(m_printerName, before, after))
        // A job waiting in a stopped queue is not lost: nothing for the log.
        warn(*problem, jobLost(before, after));
}

void PrintJobWatch::deviceFailed(const QPrinter& printer, const QString& reason)
{
    m_before.reset();
    warn(deviceFailureMessage(printer, reason), true);
}

void PrintJobWatch::jobRefused(const QString& reason)
{
    m_before.reset();
    warn(jobRefusedMessage(m_printerName, reason), true);
}

void PrintJobWatch::warn(const QString& message, bool lost)
{
    // An expected condition of the printer, not a fault of the program: a plain warning. A job
    // that was lost also goes to the log, for whoever looks into it later.
    if (lost)
        m_reporter.ReportError(QString::number(errors::kPrinterError), message,
                               QStringLiteral("frmMain:Sub PrintDocument"), ErrorReporter::kStyleOk,
                               {}, 0, false);
    m_reporter.prompts().inform(QStringLiteral("Print"), message, UserPrompts::Icon::Warning);
}

} // namespace halcyra
