// Print > Halcyra in the main window: the record on screen is saved, the adviser chooses the
// printer, and the report documents chosen in the options print while the notice names them.

#include "reports/windows/PrintWellCommand.h"
#include "reports/windows/frmPrinting.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"
#include "support/OptionsAnswers.h"
#include "support/PdfText.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPdfDocument>
#include <QPrintDialog>
#include <QPushButton>
#include <QtTest>

using halcyra::test::pdfText;
using namespace halcyra;
using halcyra::test::MainWindowHarness;
using halcyra::test::whenModalShows;

namespace {

// Picks the PDF writer's file in the next Print dialog and presses OK, or cancels it.
void answerNextPrintDialog(QObject* context, const QString& file, bool& shown)
{
    whenModalShows(context, [file, &shown](QWidget* modal) {
        auto* dialog = qobject_cast<QPrintDialog*>(modal);
        shown = dialog != nullptr;
        auto* fileName = modal->findChild<QLineEdit*>(QStringLiteral("filename"));
        if (!dialog || file.isEmpty() || !fileName) {
            qobject_cast<QDialog*>(modal)->reject();
            return;
        }
        fileName->setText(file);
        dialog->accept();
    });
}

// Ticks the report documents `chosen` (1..5) in the options dialog and presses Print, which
// leads to the Print dialog.
void printFromNextOptionsDialog(QObject* context, const QList<int>& chosen, const QString& file,
                                bool& printDialogShown, QString& mode)
{
    whenModalShows(context, [=, &printDialogShown, &mode](QWidget* modal) {
        mode = modal->objectName();
        for (int n = 1; n <= 5; ++n)
            if (auto* box = modal->findChild<QCheckBox*>(QStringLiteral("Check1_%1").arg(n)))
                box->setChecked(chosen.contains(n));
        answerNextPrintDialog(context, file, printDialogShown);
        if (auto* print = modal->findChild<QPushButton*>(QStringLiteral("cmdPrint")))
            print->click();
    });
}

} // namespace

class PrintWellTest : public QObject
{
    Q_OBJECT

private slots:
    void printsTheChosenDocumentsOfTheRecordOnScreen()
    {
        MainWindowHarness h;
        h.addClient({{columns::detail(1), QStringLiteral("Galloway")},
                     {columns::detail(2), QStringLiteral("Elena")},
                     {columns::score(5), QStringLiteral("4")}});
        h.state.CompanyInfoLines[0] = QStringLiteral("Greenleaf Wellness");
        frmMain& window = h.open();

        // A score typed but not yet saved goes into the report, and into the file.
        auto* iron = h.child<QLineEdit>(QStringLiteral("txtScore_5"));
        MainWindowHarness::focus(iron);
        MainWindowHarness::type(iron, QStringLiteral("5"));

        const QString file = h.folder.path(QStringLiteral("printed.pdf"));
        QVERIFY(QFile::copy(QStringLiteral(HALCYRA_DOCUMENTS_DIR "/References.pdf"),
                            h.folder.path(QStringLiteral("References.pdf"))));
        bool shown = false;
        QString options;
        printFromNextOptionsDialog(&window, {2, 4, 5}, file, shown, options);
        window.menuEntry(QStringLiteral("mnuPrintWell"))->trigger();

        QCOMPARE(options, QStringLiteral("frmOptions"));
        QCOMPARE(h.state.OptionsMode, QStringLiteral("P-Well"));
        QVERIFY(shown);
        QCOMPARE(h.stored(1, columns::score(5)).toString(), QStringLiteral("5"));
        const QString text = pdfText(file);
        QVERIFY2(text.contains(u"Halcyra - Summary"), qPrintable(text));
        QVERIFY(text.contains(u"Halcyra - Supplement Guide"));
        QVERIFY(!text.contains(u"Halcyra - Analysis"));
        QVERIFY(text.contains(u"Elena Galloway"));
        QVERIFY(text.contains(u"Greenleaf Wellness"));
        QVERIFY(text.contains(QRegularExpression(QStringLiteral("5 VH\\s+05\\. Iron"))));
        // Printed to a file, the references are the document's own text, numbered with the rest.
        QPdfDocument printed;
        QCOMPARE(printed.load(file), QPdfDocument::Error::None);
        const int last = printed.pageCount() - 1;
        QVERIFY(printed.getAllText(last).text().contains(
            QStringLiteral("Page %1 of %1").arg(printed.pageCount())));
        QVERIFY(printed.getAllText(last - 1).text().contains(u"References"));
        QCOMPARE(QFile::permissions(file) & (QFile::ReadGroup | QFile::ReadOther),
                 QFile::Permissions());

        // The notice named each section as it printed, and is gone afterwards.
        auto* notice = window.findChild<frmPrinting*>(QStringLiteral("frmPrinting"));
        QVERIFY(notice);
        QCOMPARE(notice->windowTitle(), QStringLiteral("Printing"));
        QCOMPARE(notice->Label1->text(), QStringLiteral("References"));
        QCOMPARE(notice->Label2->text(), QStringLiteral("Printing"));
        QVERIFY(!notice->isVisible());
        QVERIFY(!h.prompts.busy() && !h.prompts.busyUnderflow());
        QVERIFY(h.prompts.shown().isEmpty());
    }

    // The command acts on the answers alone: a printer choice cancelled prints nothing and says
    // nothing; no document chosen asks for no printer.
    void printsWhatTheAnswersSay_data()
    {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<bool>("printerChosen");
        QTest::addColumn<bool>("printerAsked");
        QTest::newRow("printer choice cancelled") << QList<int>{2, 4} << false << true;
        QTest::newRow("nothing chosen") << QList<int>{} << true << false;
    }
    void printsWhatTheAnswersSay()
    {
        QFETCH(QList<int>, chosen);
        QFETCH(bool, printerChosen);
        QFETCH(bool, printerAsked);
        MainWindowHarness h;
        h.addClient(QStringLiteral("Galloway"), QStringLiteral("Elena"));
        frmMain& window = h.open();
        QList<OptionsMode> asked;
        window.printWell().setOptionsChooser([&](OptionsMode mode, QWidget*) {
            asked << mode;
            return test::printAnswer(chosen);
        });
        bool printerShown = false;
        window.printWell().setPrinterChooser([&](QPrinter&, QWidget*) {
            printerShown = true;
            return printerChosen;
        });
        window.menuEntry(QStringLiteral("mnuPrintWell"))->trigger();

        QVERIFY(asked == QList<OptionsMode>{OptionsMode::PrintWell});
        QCOMPARE(h.state.OptionsMode, QStringLiteral("P-Well"));
        QCOMPARE(printerShown, printerAsked);
        QVERIFY(!h.state.SkipPrinting);
        QVERIFY(!window.findChild<frmPrinting*>(QStringLiteral("frmPrinting")));
        QVERIFY(h.prompts.shown().isEmpty());
        QVERIFY(!h.prompts.busy() && !h.prompts.busyUnderflow());
        QCOMPARE(window.menuEntry(QStringLiteral("mnuPrintWell"))->shortcut(),
                 QKeySequence(QStringLiteral("Ctrl+W")));
    }
};

QTEST_MAIN(PrintWellTest)
#include "tst_print_well.moc"
