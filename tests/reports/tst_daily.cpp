// View and Print > Daily Intake Sheets: the options dialog on its daily-sheets page, the chosen
// sheets queued for the reader (whatever the letter case of their files) or printed as report
// documents 6 to 10.

#include "core/SettingsKeys.h"
#include "flyers/ReaderQueue.h"
#include "reports/windows/DailyCommand.h"
#include "support/MainWindowHarness.h"
#include "support/ModalDriver.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPdfDocument>
#include <QPrintDialog>
#include <QPushButton>
#include <QtTest>

using namespace halcyra;
using halcyra::test::MainWindowHarness;
using halcyra::test::whenModalShows;

namespace {

const QStringList kSheets = {QStringLiteral("P1.pdf"), QStringLiteral("P2.pdf"),
                             QStringLiteral("P3.pdf"), QStringLiteral("P4.pdf"),
                             QStringLiteral("NSG.pdf")};

// The sheets as the installer leaves them; one in lower case, as a copied folder may have it.
void installSheets(const MainWindowHarness& h)
{
    for (const QString& sheet : kSheets) {
        const QString name = sheet == u"P3.pdf" ? sheet.toLower() : sheet;
        QVERIFY(
            QFile::copy(QStringLiteral(HALCYRA_DOCUMENTS_DIR "/") + sheet, h.folder.path(name)));
    }
}

int pageCount(const QString& path)
{
    QPdfDocument pdf;
    return pdf.load(path) == QPdfDocument::Error::None ? pdf.pageCount() : -1;
}

// Ticks the sheets `chosen` (1..5) and presses `button`; a Print dialog after it writes `file`.
void chooseInNextOptionsDialog(QObject* context, const QList<int>& chosen, const char* button,
                               const QString& file, QString& caption)
{
    whenModalShows(context, [=, &caption](QWidget* modal) {
        caption = modal->windowTitle();
        for (int n = 1; n <= 5; ++n)
            modal->findChild<QCheckBox*>(QStringLiteral("Check2_%1").arg(n))
                ->setChecked(chosen.contains(n));
        whenModalShows(context, [file](QWidget* printDialog) {
            auto* name = printDialog->findChild<QLineEdit*>(QStringLiteral("filename"));
            if (!qobject_cast<QPrintDialog*>(printDialog) || file.isEmpty() || !name) {
                qobject_cast<QDialog*>(printDialog)->reject();
                return;
            }
            name->setText(file);
            qobject_cast<QDialog*>(printDialog)->accept();
        });
        modal->findChild<QPushButton*>(QString::fromLatin1(button))->click();
    });
}

} // namespace

class DailyTest : public QObject
{
    Q_OBJECT

private slots:
    // The command acts on the options' answer alone: the sheets stored as chosen are queued
    // after View, nothing after Cancel, and a cancel left over from earlier stops nothing.
    void viewFollowsTheOptionsAnswer_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<bool>("earlierCancel");
        QTest::addColumn<int>("launches");
        QTest::addColumn<QStringList>("queued");
        const QStringList chosen = {QStringLiteral("P2.pdf"), QStringLiteral("NSG.pdf")};
        QTest::newRow("View") << int(OptionsButton::View) << false << 1 << chosen;
        QTest::newRow("View after a cancel") << int(OptionsButton::View) << true << 1 << chosen;
        QTest::newRow("Cancel") << int(OptionsButton::Cancel) << false << 0 << QStringList{};
    }
    void viewFollowsTheOptionsAnswer()
    {
        QFETCH(int, button);
        QFETCH(bool, earlierCancel);
        QFETCH(int, launches);
        QFETCH(QStringList, queued);
        MainWindowHarness h;
        installSheets(h);
        for (int n = 1; n <= 5; ++n)
            h.settings.save(keys::dailySheet(n),
                            n == 2 || n == 5 ? QStringLiteral("1") : QStringLiteral("0"));
        frmMain& window = h.open();
        int launched = 0;
        window.daily().setLauncher([&](const QString&) {
            ++launched;
            return Status();
        });
        QList<OptionsMode> asked;
        window.daily().setOptionsChooser([&](OptionsMode mode, QWidget*) {
            asked << mode;
            OptionsResult answer;
            answer.button = static_cast<OptionsButton>(button);
            return answer;
        });
        h.state.OptionsCancelled = earlierCancel;
        window.menuEntry(QStringLiteral("mnuViewDaily"))->trigger();

        QVERIFY(asked == QList<OptionsMode>{OptionsMode::ViewDaily});
        QCOMPARE(h.state.OptionsMode, QStringLiteral("V-Daily"));
        QCOMPARE(h.state.OptionsCancelled, button == int(OptionsButton::Cancel));
        QCOMPARE(launched, launches);
        QStringList expected;
        for (const QString& name : queued)
            expected << h.state.DatabaseFolder + name;
        const auto taken = takeReaderQueue(h.state.DatabaseFolder);
        QVERIFY(taken);
        QCOMPARE(*taken, expected);
        QVERIFY(h.prompts.shown().isEmpty());
    }

    void viewQueuesTheChosenSheets_data()
    {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QStringList>("queued");
        QTest::newRow("none") << QList<int>{} << QStringList{};
        QTest::newRow("guidelines") << QList<int>{5} << QStringList{QStringLiteral("NSG.pdf")};
        QTest::newRow("phases, one file in lower case")
            << QList<int>{1, 3, 4}
            << QStringList{QStringLiteral("P1.pdf"), QStringLiteral("p3.pdf"),
                           QStringLiteral("P4.pdf")};
    }
    void viewQueuesTheChosenSheets()
    {
        QFETCH(QList<int>, chosen);
        QFETCH(QStringList, queued);
        MainWindowHarness h;
        installSheets(h);
        frmMain& window = h.open();
        int launches = 0;
        window.daily().setLauncher([&](const QString& folder) {
            ++launches;
            return folder == h.state.DatabaseFolder ? Status() : fail(QStringLiteral("folder"));
        });
        QString caption;
        chooseInNextOptionsDialog(&window, chosen, "cmdView", {}, caption);
        window.menuEntry(QStringLiteral("mnuViewDaily"))->trigger();

        QCOMPARE(h.state.OptionsMode, QStringLiteral("V-Daily"));
        // The launcher starts even with nothing to open.
        QCOMPARE(launches, 1);
        QStringList expected;
        for (const QString& name : queued)
            expected << h.state.DatabaseFolder + name;
        const auto taken = takeReaderQueue(h.state.DatabaseFolder);
        QVERIFY(taken);
        QCOMPARE(*taken, expected);
        QVERIFY(h.prompts.shown().isEmpty());
        QVERIFY(!h.prompts.busy());
    }

    void failedLauncherReportsThePrintQueue()
    {
        MainWindowHarness h;
        installSheets(h);
        frmMain& window = h.open();
        window.daily().setLauncher([](const QString&) { return fail(QStringLiteral("no")); });
        QString caption;
        chooseInNextOptionsDialog(&window, {2, 5}, "cmdView", {}, caption);
        window.menuEntry(QStringLiteral("mnuViewDaily"))->trigger();
        QFile log(h.reporter.logPath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString logged = QString::fromUtf8(log.readAll());
        QVERIFY2(logged.contains(u"frmMain:Sub mnuViewDaily_Click()"), qPrintable(logged));
        QVERIFY(logged.contains(u"PrintQue = P2.pdf NSG.pdf"));
    }

    void printPrintsTheChosenSheetsAsDocuments()
    {
        MainWindowHarness h;
        installSheets(h);
        frmMain& window = h.open();
        const QString file = h.folder.path(QStringLiteral("daily.pdf"));
        QString caption;
        chooseInNextOptionsDialog(&window, {2, 5}, "cmdPrint", file, caption);
        window.menuEntry(QStringLiteral("mnuPrintDaily"))->trigger();

        QCOMPARE(caption, QStringLiteral("Daily Intake Sheets"));
        QCOMPARE(h.state.OptionsMode, QStringLiteral("P-Daily"));
        QCOMPARE(h.state.SelectedDocs, QStringLiteral("01001"));
        const int expected = pageCount(h.folder.path(QStringLiteral("P2.pdf"))) +
                             pageCount(h.folder.path(QStringLiteral("NSG.pdf")));
        QVERIFY(expected >= 2);
        QCOMPARE(pageCount(file), expected);
        QVERIFY(h.prompts.shown().isEmpty());
        QVERIFY(!h.prompts.busy() && !h.prompts.busyUnderflow());
    }
};

QTEST_MAIN(DailyTest)
#include "tst_daily.moc"
