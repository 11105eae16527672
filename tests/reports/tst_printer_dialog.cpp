// The printer choice with its dialogs, driven as the adviser would: OK, Cancel, a printer busy
// with a job, the page setup, and File > Page Setup of the main window.

#include "reports/windows/frmPrnDialog.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace halcyra;
using halcyra::test::ScriptedPrompts;
using halcyra::test::whenModalShows;

namespace {

// The dialog that showed, before the test's stand-in closed it; null when none showed.
struct SeenDialog
{
    QPointer<QWidget> modal;
    bool printDialog = false;
    bool pageSetupDialog = false;
};

void rejectNextDialog(QObject* context, SeenDialog& seen)
{
    whenModalShows(context, [&seen](QWidget* modal) {
        seen.modal = modal;
        seen.printDialog = qobject_cast<QPrintDialog*>(modal) != nullptr;
        seen.pageSetupDialog = qobject_cast<QPageSetupDialog*>(modal) != nullptr;
        qobject_cast<QDialog*>(modal)->reject();
    });
}

// Picks the PDF writer's file and a copy count in the Print dialog and presses OK.
void printToFileInNextDialog(QObject* context, const QString& file, int copies, bool& shown)
{
    whenModalShows(context, [file, copies, &shown](QWidget* modal) {
        shown = qobject_cast<QPrintDialog*>(modal) != nullptr;
        auto* fileName = modal->findChild<QLineEdit*>(QStringLiteral("filename"));
        auto* copyCount = modal->findChild<QSpinBox*>(QStringLiteral("copies"));
        if (fileName && copyCount) {
            fileName->setText(file);
            copyCount->setValue(copies);
        } else {
            shown = false;
        }
        qobject_cast<QDialog*>(modal)->accept();
    });
}

void usePdfWriter(QPrinter& printer, const QString& file)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setCopyCount(2);
}

} // namespace

class PrinterDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void cancelLeavesThePrinterAndSkipsPrinting()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("before.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        usePdfWriter(printer, file);
        ScriptedPrompts prompts;

        QObject context;
        SeenDialog seen;
        rejectNextDialog(&context, seen);
        // Not chosen is the run's SkipPrinting.
        QVERIFY(!frmPrnDialog(prompts).Command2_Click(printer));

        QVERIFY(seen.printDialog);
        QVERIFY(prompts.shown().isEmpty());
        QCOMPARE(printer.outputFileName(), file);
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
        QCOMPARE(printer.copyCount(), 2);
    }

    void okHandsTheChoiceToTheProgramPrinter()
    {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        usePdfWriter(printer, dir.filePath(QStringLiteral("before.pdf")));
        ScriptedPrompts prompts;

        const QString chosenFile = dir.filePath(QStringLiteral("chosen.pdf"));
        QObject context;
        bool shown = false;
        printToFileInNextDialog(&context, chosenFile, 3, shown);
        QVERIFY(frmPrnDialog(prompts).Command2_Click(printer));

        QVERIFY(shown);
        QVERIFY(prompts.shown().isEmpty());
        QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat);
        QCOMPARE(printer.outputFileName(), chosenFile);
        QCOMPARE(printer.copyCount(), 3);
        // The dialog opened on the printer's own settings, so untouched ones survive OK.
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);

        {
            QPainter painter(&printer);
            QVERIFY(painter.isActive());
            painter.drawText(QPointF(100, 100), QStringLiteral("Halcyra"));
        }
        QVERIFY(QFileInfo(chosenFile).size() > 0);
    }

    void aPrinterBusyWithAJobIsNotChanged()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("job.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        usePdfWriter(printer, file);
        QPainter job(&printer);
        QVERIFY(job.isActive());
        ScriptedPrompts prompts;

        QObject context;
        SeenDialog seen;
        rejectNextDialog(&context, seen);
        // Not chosen is the run's SkipPrinting.
        QVERIFY(!frmPrnDialog(prompts).Command2_Click(printer));

        QVERIFY2(!seen.modal, "no dialog may offer to change a printer in the middle of a job");
        QCOMPARE(prompts.shown().size(), 1);
        QCOMPARE(prompts.shown().first().text, QStringLiteral("PrintDialog failed\n65535"));
        QCOMPARE(printer.outputFileName(), file);
        job.end();
    }

    void cancelledPageSetupSaysSo()
    {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        usePdfWriter(printer, dir.filePath(QStringLiteral("setup.pdf")));
        ScriptedPrompts prompts;

        QObject context;
        SeenDialog seen;
        rejectNextDialog(&context, seen);
        QVERIFY(!frmPrnDialog(prompts).ShowPageSetup(printer));

        QVERIFY(seen.pageSetupDialog);
        QCOMPARE(prompts.shown().size(), 1);
        QCOMPARE(prompts.shown().first().text, QStringLiteral("Dialog canceled"));
        QCOMPARE(printer.pageLayout().orientation(), QPageLayout::Landscape);
    }

    void pageSetupMenuChoosesTheProgramPrinter()
    {
        test::MainWindowHarness h;
        frmMain& window = h.open();
        const QString chosenFile = h.folder.path(QStringLiteral("menu.pdf"));

        bool shown = false;
        printToFileInNextDialog(&window, chosenFile, 2, shown);
        window.menuEntry(QStringLiteral("mnuFilePageSetup"))->trigger();

        QVERIFY(shown);
        QVERIFY(h.prompts.shown().isEmpty());
        // The choice stays with the session's printer for the reports that follow.
        QCOMPARE(window.programPrinter().outputFileName(), chosenFile);
        QCOMPARE(window.programPrinter().copyCount(), 2);
    }
};

QTEST_MAIN(PrinterDialogTest)
#include "tst_printer_dialog.moc"
