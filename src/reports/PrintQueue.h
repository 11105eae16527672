#pragma once

#include <QString>
#include <optional>

class QPrinter;

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

    bool operator==(const QueueStatus&) const = default;
};

// Asks the print system about the queue of the printer named as QPrinter names it.
QueueStatus queueStatus(const QString& printerName);

// The message when a job sent now would be lost: the queue is gone, refuses jobs or cannot be
// asked. Nothing when the job can go (a stopped queue keeps it: see jobOutcomeMessage).
std::optional<QString> queueRefusalMessage(const QString& printerName, const QueueStatus& status);

// The message after a job, from the queue's status before and after it: the job never reached
// the queue, or it waits in a stopped one. Nothing when it is on its way.
std::optional<QString> jobOutcomeMessage(const QString& printerName, const QueueStatus& before,
                                         const QueueStatus& after);

// The message when the job could not even begin: the printer (or the PDF file) named, and
// that nothing was printed.
QString deviceFailureMessage(const QPrinter& printer);

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
    void deviceFailed(const QPrinter& printer);

private:
    void warn(const QString& message, bool lost);

    ErrorReporter& m_reporter;
    QString m_printerName;
    std::optional<QueueStatus> m_before;
};

} // namespace halcyra
