// Printing to a real print system: a cupsd of the test's own, with a cups-pdf queue. A full
// report printed from Print > Halcyra arrives as a PDF of as many pages as the report has; a
// queue that rejects jobs, a stopped queue and a printer removed after it was chosen each get
// a plain warning that names the printer and says what became of the job; the paper chosen in
// the Print dialog's properties is kept for the next print.

#include "reports/PrintQueue.h"
#include "reports/windows/frmPrnDialog.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPdfDocument>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace halcyra;
using halcyra::test::MainWindowHarness;
using halcyra::test::whenModalShows;

namespace {

const QString kQueue = QStringLiteral("halcyra-test");
const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
const QString kBackend = QStringLiteral("/usr/lib/cups/backend/cups-pdf");

bool writeText(const QString& path, const QString& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) >= 0;
}

int pageCount(const QString& path)
{
    QPdfDocument pdf;
    return pdf.load(path) == QPdfDocument::Error::None ? pdf.pageCount() : 0;
}

// Where cups-pdf puts its files: the "Out" folder of its configuration.
QString cupsPdfFolder()
{
    QString out = QStringLiteral("/var/spool/cups-pdf/${USER}");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly))
        for (const QString& line : QString::fromUtf8(conf.readAll()).split(u'\n'))
            if (line.startsWith(u"Out "))
                out = line.mid(4).trimmed();
    return out.replace(QStringLiteral("${HOME}"), QDir::homePath())
        .replace(QStringLiteral("${USER}"), qEnvironmentVariable("USER", QStringLiteral("root")));
}

// Ticks the five report documents, presses Print, and in the Print dialog picks `printer`
// (the queue's name, or a file name for the PDF writer) and presses OK.
void printFullReportTo(QObject* context, const QString& printer, bool toFile)
{
    whenModalShows(context, [=](QWidget* options) {
        for (int n = 1; n <= 5; ++n)
            if (auto* box = options->findChild<QCheckBox*>(QStringLiteral("Check1_%1").arg(n)))
                box->setChecked(true);
        whenModalShows(context, [=](QWidget* modal) {
            auto* dialog = qobject_cast<QPrintDialog*>(modal);
            auto* printers = modal->findChild<QComboBox*>(QStringLiteral("printers"));
            QVERIFY(dialog && printers);
            if (toFile) {
                printers->setCurrentIndex(
                    printers->findText(QStringLiteral("Print to File (PDF)")));
                modal->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(printer);
            } else {
                printers->setCurrentIndex(printers->findText(printer));
            }
            dialog->accept();
        });
        options->findChild<QPushButton*>(QStringLiteral("cmdPrint"))->click();
    });
}

} // namespace

class PrintSystemTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_cups;
    QProcess m_cupsd;

    bool admin(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(30000) || process.exitCode() != 0) {
            qWarning().noquote() << program << arguments << process.readAllStandardError();
            return false;
        }
        return true;
    }

    // Prints the full report of a client from the main window.
    void printReport(MainWindowHarness& h, const QString& printer, bool toFile)
    {
        frmMain& window = h.window();
        printFullReportTo(&window, printer, toFile);
        window.menuEntry(QStringLiteral("mnuPrintWell"))->trigger();
    }

    static void openWithDocuments(MainWindowHarness& h)
    {
        h.addClient(QStringLiteral("Galloway"), QStringLiteral("Elena"));
        const QDir documents(QStringLiteral(HALCYRA_DOCUMENTS_DIR));
        for (const QString& file : documents.entryList({QStringLiteral("*.pdf")}, QDir::Files))
            QFile::copy(documents.filePath(file), h.folder.path(file));
        h.open();
    }

private slots:
    void initTestCase()
    {
        if (geteuid() != 0)
            QSKIP("The print system test starts cupsd, whose cups-pdf backend must run as root.");
        for (const QString& needed : {QStringLiteral("/usr/sbin/cupsd"),
                                      QStringLiteral("/usr/sbin/lpadmin"), kPpd, kBackend})
            if (!QFileInfo::exists(needed))
                QSKIP(qPrintable(QStringLiteral("No print system to test with: %1 is missing "
                                                "(Debian's cups and printer-driver-cups-pdf).")
                                     .arg(needed)));
        // The filters run as the print system's own user and must reach the spool.
        QFile::setPermissions(m_cups.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                 QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                                 QFileDevice::ExeGroup);
        const QString root = m_cups.path();
        const QString socket = m_cups.filePath(QStringLiteral("cups.sock"));
        for (const char* folder : {"spool", "cache", "state", "tmp", "log"})
            QVERIFY(QDir(root).mkpath(QString::fromLatin1(folder)));
        // The filters write their temporary files here as the print system's user.
        QCOMPARE(
            ::chmod(QFile::encodeName(m_cups.filePath(QStringLiteral("tmp"))).constData(), 01777),
            0);
        QVERIFY(writeText(m_cups.filePath(QStringLiteral("cupsd.conf")),
                          QStringLiteral("Listen %1\nPrintcap %2/printcap\nWebInterface No\n"
                                         "Browsing Off\nLogLevel info\n<Location />\n"
                                         "  Order allow,deny\n  Allow all\n</Location>\n")
                              .arg(socket, root)));
        QVERIFY(writeText(m_cups.filePath(QStringLiteral("cups-files.conf")),
                          QStringLiteral("ServerRoot %1\nRequestRoot %1/spool\nCacheDir %1/cache\n"
                                         "StateDir %1/state\nTempDir %1/tmp\n"
                                         "ErrorLog %1/log/error_log\nAccessLog %1/log/access_log\n"
                                         "PageLog %1/log/page_log\n")
                              .arg(root)));
        m_cupsd.start(QStringLiteral("/usr/sbin/cupsd"),
                      {QStringLiteral("-f"), QStringLiteral("-c"),
                       m_cups.filePath(QStringLiteral("cupsd.conf")), QStringLiteral("-s"),
                       m_cups.filePath(QStringLiteral("cups-files.conf"))});
        QVERIFY(m_cupsd.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(socket), 10000);
        // Before anything in this process asks the print system, so every part asks this one.
        qputenv("CUPS_SERVER", QFile::encodeName(socket));
        QVERIFY(admin(QStringLiteral("/usr/sbin/lpadmin"),
                      {QStringLiteral("-p"), kQueue, QStringLiteral("-E"), QStringLiteral("-v"),
                       QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), kPpd}));
        QVERIFY(admin(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-d"), kQueue}));
    }

    void cleanupTestCase()
    {
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            m_cupsd.waitForFinished(10000);
        }
    }

    void fullReportArrivesWhole()
    {
        MainWindowHarness h;
        openWithDocuments(h);
        const QDir out(cupsPdfFolder());
        const QStringList earlier = out.entryList({QStringLiteral("*.pdf")}, QDir::Files);
        const int jobsBefore = queueStatus(kQueue).lastJob;
        printReport(h, kQueue, false);
        QVERIFY2(h.prompts.shown().isEmpty(), qPrintable(h.prompts.shown().value(0).text));
        const int job = queueStatus(kQueue).lastJob;
        QVERIFY(job > jobsBefore);

        // The same report as a file, on the paper the queue printed on (kept from that print).
        const QString file = h.folder.path(QStringLiteral("report.pdf"));
        printReport(h, file, true);
        const int expected = pageCount(file);
        QVERIFY(expected > 4);

        // cups-pdf names its files by user and job number: a file left by an earlier print
        // system of the same name is not this job's.
        const auto jobFile = [&] {
            for (const QString& name :
                 out.entryList({QStringLiteral("*job_%1.pdf").arg(job)}, QDir::Files))
                if (!earlier.contains(name))
                    return out.filePath(name);
            return QString();
        };
        QTRY_VERIFY_WITH_TIMEOUT(!jobFile().isEmpty() && queueStatus(kQueue).state == u"idle",
                                 90000);
        const QString printed = jobFile();
        QTRY_COMPARE_WITH_TIMEOUT(pageCount(printed), expected, 10000);
        QFile::remove(printed);
    }

    void rejectingQueueLosesNothingSilently()
    {
        MainWindowHarness h;
        openWithDocuments(h);
        QVERIFY(admin(QStringLiteral("/usr/sbin/cupsreject"), {kQueue}));
        const int jobsBefore = queueStatus(kQueue).lastJob;
        printReport(h, kQueue, false);
        QVERIFY(admin(QStringLiteral("/usr/sbin/cupsaccept"), {kQueue}));

        QCOMPARE(queueStatus(kQueue).lastJob, jobsBefore);
        QCOMPARE(h.prompts.shown().size(), 1);
        const auto& shown = h.prompts.shown().first();
        const QString message = shown.text;
        QVERIFY2(message.contains(QStringLiteral("\"%1\"").arg(kQueue)) &&
                     message.contains(u"rejecting jobs") &&
                     message.contains(u"Nothing was printed") &&
                     message.contains(u"Choose another printer"),
                 qPrintable(message));
        // An expected condition: a warning, not the box of a program fault.
        QCOMPARE(shown.title, QStringLiteral("Print"));
        QCOMPARE(shown.icon, UserPrompts::Icon::Warning);
        QFile log(h.reporter.logPath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(log.readAll()).contains(u"rejecting jobs"));
    }

    void stoppedQueueKeepsTheJob()
    {
        MainWindowHarness h;
        frmMain& window = h.open();
        window.programPrinter().setPrinterName(kQueue);
        QVERIFY(admin(QStringLiteral("/usr/sbin/cupsdisable"), {kQueue}));
        const auto restart = qScopeGuard([&] {
            admin(QStringLiteral("/usr/bin/cancel"), {QStringLiteral("-a"), kQueue});
            admin(QStringLiteral("/usr/sbin/cupsenable"), {kQueue});
        });
        const int jobsBefore = queueStatus(kQueue).lastJob;
        window.menuEntry(QStringLiteral("mnuPrintQ"))->trigger();

        QVERIFY(queueStatus(kQueue).lastJob > jobsBefore);
        QCOMPARE(h.prompts.shown().size(), 1);
        const auto& shown = h.prompts.shown().first();
        QVERIFY2(shown.text.contains(QStringLiteral("\"%1\" is stopped").arg(kQueue)) &&
                     shown.text.contains(u"The job waits in its queue") &&
                     !shown.text.contains(u"Nothing was printed"),
                 qPrintable(shown.text));
        QCOMPARE(shown.title, QStringLiteral("Print"));
        QCOMPARE(shown.icon, UserPrompts::Icon::Warning);
        // Not an error: nothing for the error log.
        QVERIFY(!QFile::exists(h.reporter.logPath()));
    }

    void printerRemovedAfterItWasChosen()
    {
        const QString gone = QStringLiteral("halcyra-gone");
        QVERIFY(admin(QStringLiteral("/usr/sbin/lpadmin"),
                      {QStringLiteral("-p"), gone, QStringLiteral("-E"), QStringLiteral("-v"),
                       QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), kPpd}));
        MainWindowHarness h;
        frmMain& window = h.open();
        window.programPrinter().setPrinterName(gone);
        QCOMPARE(window.programPrinter().printerName(), gone);
        QVERIFY(admin(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-x"), gone}));
        window.menuEntry(QStringLiteral("mnuPrintQ"))->trigger();

        QCOMPARE(h.prompts.shown().size(), 1);
        const auto& shown = h.prompts.shown().first();
        QVERIFY2(shown.text.contains(QStringLiteral("\"%1\"").arg(gone)) &&
                     shown.text.contains(u"Nothing was printed"),
                 qPrintable(shown.text));
        QCOMPARE(shown.title, QStringLiteral("Print"));
        QCOMPARE(shown.icon, UserPrompts::Icon::Warning);
    }

    void paperChosenInPropertiesIsKept()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(kQueue);
        MainWindowHarness h;
        QWidget parent;
        // First the adviser picks A5 in the dialog's properties; then prints again without
        // looking at the paper.
        whenModalShows(&parent, [&](QWidget* modal) {
            whenModalShows(&parent, [](QWidget* properties) {
                auto* sizes = properties->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"));
                QVERIFY(sizes);
                sizes->setCurrentIndex(sizes->findText(QStringLiteral("A5")));
                qobject_cast<QDialog*>(properties)->accept();
            });
            modal->findChild<QPushButton*>(QStringLiteral("properties"))->click();
            qobject_cast<QDialog*>(modal)->accept();
        });
        mnuFilePageSetup_Click(printer, h.prompts, &parent);
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A5);

        whenModalShows(&parent, [](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); });
        mnuFilePageSetup_Click(printer, h.prompts, &parent);
        QCOMPARE(printer.pageLayout().pageSize().id(), QPageSize::A5);
    }
};

QTEST_MAIN(PrintSystemTest)
#include "tst_print_system.moc"
