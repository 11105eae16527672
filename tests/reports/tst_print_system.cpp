// Printing to a real print system: a cupsd of the test's own, with a cups-pdf queue. A full
// report printed from Print > Halcyra arrives as a PDF of as many pages as the report has; the
// queue, which takes PDF, is sent the report's own PDF, so the fixed documents' pages are
// their text at their size and place, and the job is the size of the PDF file; a queue that
// rejects jobs, a stopped queue and a printer removed after it was chosen each get a plain
// warning that names the printer and says what became of the job; the paper chosen in the
// Print dialog's properties is kept for the next print.

#include "print/PrintQueue.h"
#include "reports/windows/frmPrnDialog.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"
#include "support/PageInk.h"
#include "support/PdfText.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPdfDocument>
#include <QPdfSelection>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace halcyra;
using halcyra::test::inkBox;
using halcyra::test::MainWindowHarness;
using halcyra::test::pageSeen;
using halcyra::test::pdfPageTexts;
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

QString compact(QString text)
{
    return text.remove(QRegularExpression(QStringLiteral("\\s")));
}

// What fixes a page's place on the paper: its size, and where its first words stand (in points
// from the top left).
struct PageLook
{
    QSizeF size;
    QRectF firstWords;
};

QList<PageLook> pageLooks(const QString& path)
{
    QPdfDocument pdf;
    if (pdf.load(path) != QPdfDocument::Error::None)
        return {};
    QList<PageLook> pages;
    for (int page = 0; page < pdf.pageCount(); ++page) {
        const QString text = pdf.getAllText(page).text();
        const qsizetype first = text.indexOf(QRegularExpression(QStringLiteral("\\S")));
        pages.append(
            {pdf.pagePointSize(page),
             first < 0
                 ? QRectF()
                 : pdf.getSelectionAtIndex(page, static_cast<int>(first), 12).boundingRectangle()});
    }
    return pages;
}

bool near(QPointF a, QPointF b, double points)
{
    return qAbs(a.x() - b.x()) <= points && qAbs(a.y() - b.y()) <= points;
}

bool near(QSizeF a, QSizeF b, double points)
{
    return near(QPointF(a.width(), a.height()), QPointF(b.width(), b.height()), points);
}

QString corners(const QRect& box)
{
    return QStringLiteral("%1,%2 to %3,%4")
        .arg(box.left())
        .arg(box.top())
        .arg(box.right())
        .arg(box.bottom());
}

// The PDF files in a folder, with when each was last written.
using FolderState = QHash<QString, QDateTime>;

FolderState filesIn(const QDir& folder)
{
    FolderState files;
    for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
        files.insert(file.fileName(), file.lastModified());
    return files;
}

// The file cups-pdf made of `job`: it names its files by user and job number, and a print
// system of an earlier run numbered its jobs from 1 as well, so a file of that name is this
// job's only when it was not there before, or has been written since.
QString jobFile(const QDir& out, const FolderState& before, int job)
{
    for (const QFileInfo& file :
         out.entryInfoList({QStringLiteral("*job_%1.pdf").arg(job)}, QDir::Files))
        if (before.value(file.fileName()) != file.lastModified())
            return file.filePath();
    return {};
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
                          // Each job's document is kept in the spool, to see what was sent.
                          QStringLiteral("Listen %1\nPrintcap %2/printcap\nWebInterface No\n"
                                         "Browsing Off\nLogLevel info\nPreserveJobFiles Yes\n"
                                         "<Location />\n"
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
        const FolderState earlier = filesIn(out);
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

        QTRY_VERIFY_WITH_TIMEOUT(
            !jobFile(out, earlier, job).isEmpty() && queueStatus(kQueue).state == u"idle", 90000);
        const QString printed = jobFile(out, earlier, job);
        QTRY_COMPARE_WITH_TIMEOUT(pageCount(printed), expected, 10000);
        QFile::remove(printed);
    }

    void documentPagesPrintAsInThePdfFile_data()
    {
        QTest::addColumn<int>("paper");
        QTest::newRow("Letter") << int(QPageSize::Letter);
        QTest::newRow("A4") << int(QPageSize::A4);
    }

    // The queue takes PDF, so it is sent the report's own PDF: page for page what a PDF file of
    // the report holds, the documents' pages as their text at their natural size and place,
    // and a job of the file's size, not megabytes of pictures. It also arrives so on paper.
    void documentPagesPrintAsInThePdfFile()
    {
        QFETCH(int, paper);
        const QSizeF points =
            QPageSize(static_cast<QPageSize::PageSizeId>(paper)).size(QPageSize::Point);
        MainWindowHarness h;
        openWithDocuments(h);
        QPrinter& printer = h.window().programPrinter();
        printer.setPrinterName(kQueue);
        printer.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(paper)));
        const QDir out(cupsPdfFolder());
        const FolderState earlier = filesIn(out);
        const int jobsBefore = queueStatus(kQueue).lastJob;
        printReport(h, kQueue, false);
        QVERIFY2(h.prompts.shown().isEmpty(), qPrintable(h.prompts.shown().value(0).text));
        const int job = queueStatus(kQueue).lastJob;
        QVERIFY(job > jobsBefore);
        const QString file = h.folder.path(QStringLiteral("report.pdf"));
        printReport(h, file, true);
        QVERIFY(h.prompts.shown().isEmpty());

        // What the queue was sent.
        const QString sent =
            m_cups.filePath(QStringLiteral("spool/d%1-001").arg(job, 5, 10, QLatin1Char('0')));
        const qint64 sentSize = QFileInfo(sent).size();
        const qint64 fileSize = QFileInfo(file).size();
        qInfo("job %lld bytes, PDF file %lld bytes", sentSize, fileSize);
        QVERIFY(fileSize > 0);
        QVERIFY2(sentSize > 0 && sentSize < fileSize * 3 / 2,
                 qPrintable(
                     QStringLiteral("%1 bytes sent for a file of %2").arg(sentSize).arg(fileSize)));

        // Page for page what the file holds: the documents' pages as their own text.
        const QList<PageLook> expected = pageLooks(file);
        const QList<PageLook> sentPages = pageLooks(sent);
        const QStringList expectedTexts = pdfPageTexts(file);
        const QStringList sentTexts = pdfPageTexts(sent);
        QVERIFY(expected.size() > 4);
        QCOMPARE(sentPages.size(), expected.size());
        QCOMPARE(sentTexts.size(), expected.size());
        // The introduction follows the cover as its own text.
        const QStringList intro = pdfPageTexts(h.folder.path(QStringLiteral("Intro.pdf")));
        QVERIFY(!intro.isEmpty() && !compact(intro.first()).isEmpty());
        QVERIFY(compact(sentTexts[1]).contains(compact(intro.first()).left(200)));
        for (qsizetype page = 0; page < expected.size(); ++page) {
            const QString where = QStringLiteral("page %1").arg(page + 1);
            QVERIFY2(near(expected[page].size, points, 0.5), qPrintable(where));
            QVERIFY2(near(sentPages[page].size, points, 0.5), qPrintable(where));
            QCOMPARE(compact(sentTexts[page]), compact(expectedTexts[page]));
            QVERIFY2(near(sentPages[page].firstWords.topLeft(), expected[page].firstWords.topLeft(),
                          0.5),
                     qPrintable(where));
        }

        // On paper (cups-pdf makes its PDF through the filters): the same pages on the same
        // paper, with their ink where the file has it.
        QTRY_VERIFY_WITH_TIMEOUT(
            !jobFile(out, earlier, job).isEmpty() && queueStatus(kQueue).state == u"idle", 90000);
        const QString printed = jobFile(out, earlier, job);
        QTRY_COMPARE_WITH_TIMEOUT(pageLooks(printed).size(), expected.size(), 10000);
        // The filters set the text anew, without its letters' meaning: compared as seen.
        QPdfDocument fromFile;
        QPdfDocument onPaper;
        QCOMPARE(fromFile.load(file), QPdfDocument::Error::None);
        QCOMPARE(onPaper.load(printed), QPdfDocument::Error::None);
        for (int page = 0; page < fromFile.pageCount(); ++page) {
            QVERIFY2(near(onPaper.pagePointSize(page), points, 1),
                     qPrintable(QStringLiteral("printed page %1").arg(page + 1)));
            // The same ink at the same place, give or take a pixel of the filters' own type.
            const QRect expectedInk = inkBox(pageSeen(fromFile, page));
            const QRect printedInk = inkBox(pageSeen(onPaper, page));
            QVERIFY2(near(expectedInk.topLeft(), printedInk.topLeft(), 2) &&
                         near(expectedInk.bottomRight(), printedInk.bottomRight(), 2),
                     qPrintable(QStringLiteral("printed page %1: ink at %2 instead of %3")
                                    .arg(page + 1)
                                    .arg(corners(printedInk), corners(expectedInk))));
        }
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

    // A text-only printer takes no PDF: the pages go to it drawn, which the print system then
    // refuses and cancels. The adviser is told, not left to wait for paper.
    void queueThatCannotPrintTheReportSaysSo()
    {
        const QString text = QStringLiteral("halcyra-text");
        if (!admin(QStringLiteral("/usr/sbin/lpadmin"),
                   {QStringLiteral("-p"), text, QStringLiteral("-E"), QStringLiteral("-v"),
                    QStringLiteral("cups-pdf:/"), QStringLiteral("-m"),
                    QStringLiteral("drv:///cupsfilters.drv/textonly.ppd")}))
            QSKIP("No text-only printer driver (Debian's cups-filters) to test with.");
        const auto removed = qScopeGuard([&] {
            admin(QStringLiteral("/usr/sbin/lpadmin"), {QStringLiteral("-x"), text});
        });
        QVERIFY(!queueTakesPdf(text));
        QVERIFY(queueTakesPdf(kQueue));
        MainWindowHarness h;
        openWithDocuments(h);
        h.window().programPrinter().setPrinterName(text);
        printReport(h, text, false);

        QCOMPARE(h.prompts.shown().size(), 1);
        const auto& shown = h.prompts.shown().first();
        QVERIFY2(
            shown.text.contains(QStringLiteral("did not reach the printer \"%1\"").arg(text)) &&
                shown.text.contains(u"Nothing was printed"),
            qPrintable(shown.text));
        QCOMPARE(shown.title, QStringLiteral("Print"));
        QCOMPARE(shown.icon, UserPrompts::Icon::Warning);
        QFile log(h.reporter.logPath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(QString::fromUtf8(log.readAll()).contains(text));
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
