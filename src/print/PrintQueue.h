#pragma once

#include "core/Result.h"
#include "print/PrinterSettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace halcyra {

class ErrorReporter;

// What the print system says of a printer's queue, asked just before a job and after it: a
// queue can refuse a job, or stop, without the job's sender being told.
struct QueueStatus
{
    bool known = true;     // false: the print system could not be asked
    bool exists = true;    // false: no such queue (any more)
    bool accepting = true; // takes new jobs
    bool stopped = false;  // keeps its jobs but prints none
    QString state;         // "idle", "printing", "stopped", ...
    QString detail;        // the print system's own words on why, when it gives them
    int lastJob = 0;       // this user's highest job number on the queue (0 none, -1 not counted)
    bool lastJobCancelled = false; // that job was cancelled or aborted, not printed

    bool operator==(const QueueStatus&) const = default;
};

// Asks the print system about the queue of the printer named as QPrinter names it.
QueueStatus queueStatus(const QString& printerName);

// Whether the printer's queue takes a PDF document as it is (a CUPS queue whose driver takes
// application/pdf: a driverless queue, a PostScript or PDF printer's). Such a queue is sent
// the report's own PDF; any other printer gets the report drawn onto it.
bool queueTakesPdf(const QString& printerName);

// One option of a print job, as the print system names it ("media", "sides", ...).
struct JobOption
{
    QByteArray name;
    QByteArray value;

    bool operator==(const JobOption&) const = default;
};

// The job options for a PDF sent to a queue with the printer's settings: the paper, copies
// and their collation, two-sided printing and colour, as the print system names them.
QList<JobOption> pdfJobOptions(const PrinterSettings& settings);

// Sends `pdf` to the printer's queue as one job named `title`, with `options`. The job number,
// or why the queue did not take it.
Result<int> sendPdfToQueue(const QString& printerName, const QByteArray& pdf, const QString& title,
                           const QList<JobOption>& options);

// The message when a job sent now would be lost: the queue is gone, refuses jobs or cannot be
// asked. Nothing when the job can go (a stopped queue keeps it: see jobOutcomeMessage).
std::optional<QString> queueRefusalMessage(const QString& printerName, const QueueStatus& status);

// The message after a job, from the queue's status before and after it: the job never reached
// the queue, or it waits in a stopped one. Nothing when it is on its way.
std::optional<QString> jobOutcomeMessage(const QString& printerName, const QueueStatus& before,
                                         const QueueStatus& after);

// The message when the job could not even begin: the printer (or the PDF file) named, and
// that nothing was printed; `reason` is added when there is one.
QString deviceFailureMessage(const QPrinter& printer, const QString& reason = {});

// The message when the queue would not take the report's PDF.
QString jobRefusedMessage(const QString& printerName, const QString& reason);

// The queue check around one job on a printer (a PDF file has no queue and is not checked).
// Each problem is an expected condition, not a fault: a warning names the printer and what
// became of the job; a job lost is also written to the error log.
class PrintJobWatch
{
public:
    explicit PrintJobWatch(ErrorReporter& reporter) : m_reporter(reporter) {}

    // Before the job: false, reported, when the queue would lose it; it must not be sent then.
    bool queueTakesJob(const QPrinter& printer);
    // After the job: reports a job that did not arrive or waits in a stopped queue.
    void jobEnded();
    // The job could not begin on the printer (gone since it was chosen, or the file cannot be
    // written): says so, instead of any check after it.
    void deviceFailed(const QPrinter& printer, const QString& reason = {});
    // The queue would not take the job sent to it.
    void jobRefused(const QString& reason);

private:
    void warn(const QString& message, bool lost);

    ErrorReporter& m_reporter;
    QString m_printerName;
    std::optional<QueueStatus> m_before;
};

} // namespace halcyra
