// Printing to the PDF writer from the main window: Print > Questionnaire, which has no Print
// dialog, asks for its file and never writes over the file another print chose; a report on
// paper too small for it says that once and nothing else.

#include "reports/windows/PrintWellCommand.h"
#include "reports/windows/frmPrinting.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"
#include "support/OptionsAnswers.h"
#include "support/PdfText.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPdfDocument>
#include <QPrinter>
#include <QTimer>
#include <QtTest>

using halcyra::test::pdfText;
using namespace halcyra;
using halcyra::test::MainWindowHarness;
using halcyra::test::whenModalShows;

namespace {

const QByteArray kDailySheets = "%PDF-1.4 the daily sheets printed before\n";

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Answers the box a file dialog shows before it replaces a file, once it is up.
void answerReplaceQuestion(QObject* context, bool replace, bool& asked, int pollsLeft = 300)
{
    QTimer::singleShot(10, context, [=, &asked] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            asked = true;
            box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
        } else if (pollsLeft > 0) {
            answerReplaceQuestion(context, replace, asked, pollsLeft - 1);
        }
    });
}

} // namespace

class PrintFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void questionnaireAsksForItsFile_data()
    {
        QTest::addColumn<QString>("lastFile"); // the printer's file before, in the folder
        QTest::addColumn<QString>("answer");   // "proposed", "cancel" or a file to choose
        QTest::addColumn<QString>("written");  // the file the questionnaire is in, or empty
        QTest::newRow("after the daily sheets") << "daily.pdf"
                                                << "proposed"
                                                << "Questionnaire.pdf";
        QTest::newRow("no file before") << ""
                                        << "proposed"
                                        << "Questionnaire.pdf";
        QTest::newRow("a name of the adviser's") << "daily.pdf"
                                                 << "blank form.pdf"
                                                 << "blank form.pdf";
        QTest::newRow("cancelled") << "daily.pdf"
                                   << "cancel"
                                   << "";
        QTest::newRow("the daily file, not replaced") << "daily.pdf"
                                                      << "daily.pdf"
                                                      << "";
    }
    void questionnaireAsksForItsFile()
    {
        QFETCH(QString, lastFile);
        QFETCH(QString, answer);
        QFETCH(QString, written);
        MainWindowHarness h;
        frmMain& window = h.open();
        QPrinter& printer = window.programPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString daily = h.folder.path(QStringLiteral("daily.pdf"));
        h.folder.writeFile(QStringLiteral("daily.pdf"), kDailySheets);
        if (!lastFile.isEmpty())
            printer.setOutputFileName(h.folder.path(lastFile));

        QString proposed;
        bool asked = false;
        whenModalShows(&window, [&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            auto* asDialog = static_cast<QDialog*>(dialog);
            if (!dialog) {
                qobject_cast<QDialog*>(modal)->reject();
                return;
            }
            proposed = dialog->selectedFiles().value(0);
            if (answer == u"cancel") {
                dialog->reject();
                return;
            }
            if (answer != u"proposed")
                dialog->selectFile(h.folder.path(answer));
            if (QFileInfo::exists(h.folder.path(answer))) {
                // The adviser says No to replacing it, and then cancels.
                answerReplaceQuestion(&window, false, asked);
                asDialog->accept();
                dialog->reject();
                return;
            }
            asDialog->accept();
        });
        window.menuEntry(QStringLiteral("mnuPrintQ"))->trigger();

        // Offered in the folder of the last file, or the program's, under a name of its own.
        QCOMPARE(proposed, h.folder.path(QStringLiteral("Questionnaire.pdf")));
        QCOMPARE(contents(daily), kDailySheets);
        QCOMPARE(asked, answer == u"daily.pdf");
        if (written.isEmpty()) {
            QVERIFY(!QFile::exists(h.folder.path(QStringLiteral("Questionnaire.pdf"))));
        } else {
            QVERIFY(pdfText(h.folder.path(written)).simplified().contains(u"Points Section"));
            QCOMPARE(QFile::permissions(h.folder.path(written)) &
                         (QFile::ReadGroup | QFile::ReadOther),
                     QFile::Permissions());
        }
        // Cancel says nothing; the printer keeps the file its Print dialog chose.
        QVERIFY(h.prompts.shown().isEmpty());
        QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
        if (!lastFile.isEmpty())
            QCOMPARE(printer.outputFileName(), h.folder.path(lastFile));
        QVERIFY(!h.prompts.busy() && !h.prompts.busyUnderflow());
    }

    void paperTooSmallSaysOnlyThat()
    {
        MainWindowHarness h;
        h.addClient(QStringLiteral("Galloway"), QStringLiteral("Elena"));
        frmMain& window = h.open();
        const QString file = h.folder.path(QStringLiteral("report.pdf"));
        window.programPrinter().setOutputFormat(QPrinter::PdfFormat);
        window.programPrinter().setOutputFileName(file);
        window.programPrinter().setPageSize(QPageSize(QPageSize::A6));

        window.printWell().setOptionsChooser(
            [](OptionsMode, QWidget*) { return test::printAnswer({2}); });
        window.printWell().setPrinterChooser([](QPrinter&, QWidget*) { return true; });
        window.menuEntry(QStringLiteral("mnuPrintWell"))->trigger();

        QCOMPARE(h.prompts.shown().size(), 1);
        const auto& shown = h.prompts.shown().first();
        QVERIFY2(shown.text.contains(u"does not fit"), qPrintable(shown.text));
        QCOMPARE(shown.icon, UserPrompts::Icon::Warning);
        QVERIFY(!QFile::exists(file));
        QVERIFY(!QFile::exists(h.reporter.logPath()));
    }
};

QTEST_MAIN(PrintFilesTest)
#include "tst_print_files.moc"
