// Start-up with the program's real windows: the company window opens, modally and before the
// main window, only when a required detail is missing; Setup > Company Info. opens it later.

#include "app/AppStartupWindows.h"
#include "app/windows/frmMain.h"
#include "core/Catalogue.h"
#include "core/ErrorReporter.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "core/SystemTimeOfDay.h"
#include "records/CompanyRecord.h"
#include "setup/CompanyInfo.h"
#include "setup/windows/frmCompanyInfo.h"
#include "support/CompanyRow.h"
#include "support/ModalDriver.h"
#include "support/ScriptedPrompts.h"
#include "support/TempProgramFolder.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTime>
#include <QtTest>

using namespace halcyra;
using namespace halcyra::test;

namespace {

using halcyra::test::fullCompanyRow;

// One start of the program in a folder of its own, with the real windows.
struct ProgramRun
{
    explicit ProgramRun(const CompanyInfo& row)
        : settings(folder.settingsFolder()), reporter(folder.folder(), prompts),
          windows(catalogue, settings, state, reporter)
    {
        folder.createDatabase();
        if (!saveCompanyRow(folder.path(ProgramState::DatabaseFileName()), row))
            qFatal("the company row could not be stored");
        settings.save(keys::tutorial(), QStringLiteral("True"));
        settings.save(keys::showTipsAtStartup(), QStringLiteral("0"));
        settings.save(keys::doNotShow(QStringLiteral("Save Confirmation")), QStringLiteral("1"));
    }

    bool start()
    {
        StartupOptions options;
        options.workingFolder = folder.folder();
        options.splashSeconds = 0;
        return Main(options, state, settings, reporter, windows, clock);
    }

    TempProgramFolder folder;
    ScriptedPrompts prompts;
    SettingsStore settings;
    ErrorReporter reporter;
    ProgramState state;
    Catalogue catalogue = Catalogue::builtIn();
    SystemTimeOfDay clock;
    AppStartupWindows windows;
};

QLineEdit* field(QWidget* window, int index)
{
    return window->findChild<QLineEdit*>(QStringLiteral("txtFields_%1").arg(index));
}

void click(QWidget* window, const char* button)
{
    window->findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

} // namespace

class StartupCompanyWindow : public QObject
{
    Q_OBJECT

private slots:
    void missingCityOpensTheWindowBeforeTheMainWindow()
    {
        CompanyInfo row = fullCompanyRow();
        row[4].clear();
        ProgramRun run(row);

        QObject watch;
        QString opened;
        bool mainShown = true;
        bool flagged = false;
        whenModalShows(&watch, [&](QWidget* modal) {
            opened = modal->objectName();
            mainShown = run.windows.mainWindow()->isVisible();
            flagged = run.state.CompanyInfoOpenedAtStart;
            field(modal, 4)->setText(QStringLiteral("Portland"));
            click(modal, "cmdSave");
            click(modal, "cmdClose");
        });
        QVERIFY(run.start());

        QCOMPARE(opened, QStringLiteral("frmCompanyInfo"));
        QVERIFY(!mainShown);
        QVERIFY(flagged);
        QVERIFY(!run.state.CompanyInfoOpenedAtStart);
        QCOMPARE(run.state.CompanyInfoLines[4], QStringLiteral("Portland"));
        QCOMPARE(readCompanyRow(run.state.DatabaseFullPath).value()[4], QStringLiteral("Portland"));
        QVERIFY(run.windows.mainWindow()->isVisible());
        QVERIFY(run.prompts.shown().isEmpty());
    }

    void emptyCompanyNameAloneDoesNotOpenIt()
    {
        CompanyInfo row = fullCompanyRow();
        row[0].clear();
        ProgramRun run(row);
        QVERIFY(run.start());

        QVERIFY(run.windows.mainWindow()->isVisible());
        QVERIFY(!run.windows.companyWindow().isVisible());
        QVERIFY(!run.state.CompanyInfoOpenedAtStart);
        QCOMPARE(run.state.CompanyInfoLines[1], QStringLiteral("Smith"));
        QCOMPARE(run.state.CompanyInfoLines[10], QStringLiteral("jane@example.com"));

        // Setup > Company Info. opens the same window modally; closing it offers My Website
        // once an address of the adviser's own is stored.
        frmMain& main = *run.windows.mainWindow();
        QAction* myWebsite = main.menuEntry(QStringLiteral("mnuViewBrowserMy"));
        QVERIFY(!myWebsite->isEnabled());
        QObject watch;
        QWidget* opened = nullptr;
        whenModalShows(&watch, [&](QWidget* modal) {
            opened = modal;
            modal->findChild<QLineEdit*>(QStringLiteral("txtWeb"))
                ->setText(QStringLiteral("www.mine.com"));
            click(modal, "cmdClose");
        });
        main.menuEntry(QStringLiteral("mnuSetupCoInfo"))->trigger();
        QCOMPARE(opened, &run.windows.companyWindow());
        QCOMPARE(run.settings.get(keys::webAddress()), QStringLiteral("http://www.mine.com"));
        QVERIFY(myWebsite->isEnabled());
        QVERIFY(run.prompts.shown().isEmpty());
    }

    void exitProgramAtStartEndsWithoutTheMainWindow()
    {
        CompanyInfo row = fullCompanyRow();
        row[1].clear();
        ProgramRun run(row);
        QObject watch;
        whenModalShows(&watch, [&](QWidget* modal) {
            modal->findChild<QAction*>(QStringLiteral("mnuFileExit"))->trigger();
        });
        QVERIFY(run.start());

        // Close asked for the missing name; the program ends all the same.
        QCOMPARE(run.prompts.shown().last().text,
                 QStringLiteral("Some required fields are empty."));
        QVERIFY(!run.windows.companyWindow().isVisible());
        QVERIFY(!run.windows.mainWindow()->isVisible());
        // The quit is waiting for the event loop the program enters next.
        QEventLoop programLoop;
        QTimer::singleShot(2000, &programLoop, [&] { programLoop.exit(1); });
        QCOMPARE(programLoop.exec(), 0);
    }
};

QTEST_MAIN(StartupCompanyWindow)
#include "tst_startup_company_window.moc"
