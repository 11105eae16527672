// What a report sent as PDF tells the print system, and what the adviser is told when the
// print system does not take a job.

#include "print/PrintQueue.h"

#include <QtTest>

using namespace halcyra;

namespace {

QString joined(const QList<JobOption>& options)
{
    QStringList parts;
    for (const JobOption& option : options)
        parts << QString::fromUtf8(option.name + '=' + option.value);
    return parts.join(u' ');
}

} // namespace

Q_DECLARE_METATYPE(halcyra::PrinterSettings)
Q_DECLARE_METATYPE(halcyra::QueueStatus)

class PrintQueueTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // No print system answers here: nothing of the adviser's own is asked or printed.
        qputenv("CUPS_SERVER", QFile::encodeName(m_dir.filePath(QStringLiteral("none.sock"))));
    }

    void jobOptionsFollowThePrinterSettings_data()
    {
        QTest::addColumn<PrinterSettings>("settings");
        QTest::addColumn<QString>("options");
        const PrinterSettings plain;
        QTest::newRow("one Letter copy") << plain << "media=Letter sides=one-sided";
        PrinterSettings copies = plain;
        copies.pageSize = QPageSize(QPageSize::A4);
        copies.copies = 3;
        copies.duplex = QPrinter::DuplexAuto; // the report is portrait: the long edge
        QTest::newRow("A4, collated copies, two-sided")
            << copies << "media=A4 copies=3 Collate=True sides=two-sided-long-edge";
        copies.collateCopies = false;
        copies.duplex = QPrinter::DuplexShortSide;
        copies.colorMode = QPrinter::GrayScale;
        QTest::newRow("copies not collated, short edge, grey")
            << copies
            << "media=A4 copies=3 Collate=False sides=two-sided-short-edge "
               "print-color-mode=monochrome";
    }

    void jobOptionsFollowThePrinterSettings()
    {
        QFETCH(PrinterSettings, settings);
        QFETCH(QString, options);
        QCOMPARE(joined(pdfJobOptions(settings)), options);
    }

    // What the adviser is told after a job, from the queue before and after it.
    void jobOutcome_data()
    {
        QTest::addColumn<QueueStatus>("before");
        QTest::addColumn<QueueStatus>("after");
        QTest::addColumn<QString>("message"); // a part of it; empty: nothing is said

        QueueStatus idle;
        idle.state = QStringLiteral("idle");
        idle.lastJob = 7;
        QueueStatus next = idle;
        next.lastJob = 8;
        QTest::newRow("on its way") << idle << next << "";
        QTest::newRow("never arrived")
            << idle << idle << "did not reach the printer \"Desk\" (idle)";
        QueueStatus cancelled = next;
        cancelled.lastJobCancelled = true;
        QTest::newRow("cancelled by the print system")
            << idle << cancelled
            << "did not reach the printer \"Desk\" (the print system cancelled it). Nothing was "
               "printed.";
        QueueStatus earlierCancelled = idle;
        earlierCancelled.lastJobCancelled = true;
        QTest::newRow("an earlier job cancelled, this one never arrived")
            << idle << earlierCancelled << "did not reach";
        QueueStatus stopped = next;
        stopped.stopped = true;
        stopped.state = QStringLiteral("stopped");
        QTest::newRow("waits in a stopped queue") << idle << stopped << "waits in its queue";
        QueueStatus gone;
        gone.exists = false;
        gone.state = QStringLiteral("not found");
        QTest::newRow("queue gone")
            << idle << gone << "did not reach the printer \"Desk\" (not found)";
        QueueStatus uncounted = idle;
        uncounted.lastJob = -1;
        QTest::newRow("jobs not counted") << uncounted << uncounted << "";
    }

    void jobOutcome()
    {
        QFETCH(QueueStatus, before);
        QFETCH(QueueStatus, after);
        QFETCH(QString, message);
        const std::optional<QString> outcome =
            jobOutcomeMessage(QStringLiteral("Desk"), before, after);
        QCOMPARE(outcome.has_value(), !message.isEmpty());
        if (outcome)
            QVERIFY2(outcome->contains(message), qPrintable(*outcome));
    }

    // A queue that cannot be reached takes no PDF, and a job sent to it fails in words.
    void unreachableQueue()
    {
        QVERIFY(!queueTakesPdf(QString()));
        QVERIFY(!queueTakesPdf(QStringLiteral("halcyra-nowhere")));
        const Result<int> sent =
            sendPdfToQueue(QStringLiteral("halcyra-nowhere"), QByteArray("%PDF-1.4\n%%EOF\n"),
                           QStringLiteral("Halcyra"), {});
        QVERIFY(!sent);
        QVERIFY(!sent.error().isEmpty());
        const QString message = jobRefusedMessage(QStringLiteral("halcyra-nowhere"), sent.error());
        QVERIFY2(message.contains(u"\"halcyra-nowhere\"") && message.contains(sent.error()) &&
                     message.contains(u"Nothing was printed"),
                 qPrintable(message));
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(PrintQueueTest)
#include "tst_print_queue.moc"
