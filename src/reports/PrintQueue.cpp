#include "reports/PrintQueue.h"

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
    return !after.known || !after.exists || (counted && after.lastJob <= before.lastJob);
}

#ifdef HALCYRA_HAS_CUPS
QString option(const cups_dest_t& dest, const char* name)
{
    return QString::fromUtf8(cupsGetOption(name, dest.num_options, dest.options));
}

QueueStatus cupsQueueStatus(const QString& printerName)
{
    QueueStatus status;
    // QPrinter names an instance of a queue "queue/instance".
    const QByteArray queue = printerName.section(u'/', 0, 0).toUtf8();
    const QByteArray instance = printerName.section(u'/', 1).toUtf8();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(),
                                         instance.isEmpty() ? nullptr : instance.constData());
    if (!dest) {
        const ipp_status_t error = cupsLastError();
        if (error == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE || error == IPP_STATUS_ERROR_INTERNAL) {
            status.known = false;
            status.state = QStringLiteral("no answer from the print system");
            status.detail = QString::fromUtf8(cupsLastErrorString());
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
        status.lastJob = std::max(status.lastJob, jobs[i].id);
    cupsFreeJobs(count, jobs);
    return status;
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
            .arg(printerName, stateWithDetail(after));
    if (after.stopped)
        return QStringLiteral("The printer \"%1\" is stopped (%2). The job waits in its queue "
                              "and prints when the printer is started again.")
            .arg(printerName, stateWithDetail(after));
    return std::nullopt;
}

QString deviceFailureMessage(const QPrinter& printer)
{
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QStringLiteral("The file \"%1\" could not be written. Nothing was printed. "
                              "Choose another file or folder.")
            .arg(QDir::toNativeSeparators(printer.outputFileName()));
    return QStringLiteral("The printer \"%1\" could not be started. Nothing was printed. Choose "
                          "another printer.")
        .arg(printer.printerName());
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

void PrintJobWatch::deviceFailed(const QPrinter& printer)
{
    m_before.reset();
    warn(deviceFailureMessage(printer), true);
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
