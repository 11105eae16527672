#include "core/ErrorReporter.h"
#include "core/ProgramState.h"
#include "core/Settings.h"
#include "core/Startup.h"
#include "records/DatabaseFile.h"
#include "support/HandMovedClock.h"
#include "support/RecordingStartupWindows.h"
#include "support/ScriptedPrompts.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace halcyra::test;
using namespace Qt::StringLiterals;

namespace {

// One start-up in a temporary program folder with its own settings.
struct StartupRun
{
    explicit StartupRun(double clockStart = 36000, bool withDatabase = true) : clock(clockStart)
    {
        if (withDatabase)
            program.createDatabase();
        options.workingFolder = QDir::cleanPath(program.folder());
    }

    bool run() { return Main(options, state, settings, reporter, windows, clock); }

    QStringList errorBoxes() const
    {
        QStringList texts;
        for (const auto& shown : prompts.shown())
            if (shown.title == u"Error Handler")
                texts << shown.text;
        return texts;
    }

    // Seconds the recorder's clock moved between two steps, never wrapped.
    double secondsBetween(const QString& first, const QString& second) const
    {
        return windows.clockAt(second) - windows.clockAt(first);
    }

    TempProgramFolder program;
    SettingsStore settings{program.settingsFolder()};
    ScriptedPrompts prompts;
    ErrorReporter reporter{program.folder(), prompts};
    HandMovedClock clock;
    RecordingStartupWindows windows{clock};
    ProgramState state;
    StartupOptions options;
};

const QString kTutorialText = u"Would you like to run the tutorial now.  The tutorial illustrates "
                              u"the features of the program and how to use the program "_s;

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void stepsRunInOrder();
    void programStateIsFixed();
    void tutorialPrompt_data();
    void tutorialPrompt();
    void showTips_data();
    void showTips();
    void databaseFolderIsStoredBeforeCompanyInfo();
    void splashStaysThreeSeconds_data();
    void splashStaysThreeSeconds();
    void slowTipsAddNoFurtherWait();
    void companyInfoWindow_data();
    void companyInfoWindow();
    void devStudioFolderUsesTheInstalledCopy();
    void missingDatabaseEndsStartup();
    void verifyDatabaseTriesTheFallbackFolder();
    void unreadableDatabaseIsReportedAndStartupGoesOn();
    void failingStepIsReportedAndStartupGoesOn_data();
    void failingStepIsReportedAndStartupGoesOn();
    void elapsedSecondsCountAcrossMidnight();
};

void StartupTest::stepsRunInOrder()
{
    StartupRun run;
    QVERIFY(run.run());
    QCOMPARE(run.windows.steps(),
             QStringList({u"createMainWindow"_s, u"ShowMsg"_s, u"showSplash"_s, u"showTips"_s,
                          u"processEvents"_s, u"loadCompanyInfo"_s, u"closeSplash"_s,
                          u"showMainWindow"_s}));
    QVERIFY(run.prompts.shown().isEmpty());
    QCOMPARE(run.reporter.CurrentProcedureLabel(), QString());
}

void StartupTest::programStateIsFixed()
{
    StartupRun run;
    run.state.DatabaseConnect = u"left over"_s;
    QVERIFY(run.run());
    QCOMPARE(run.state.DatabaseFolder, run.program.folder());
    QVERIFY(run.state.DatabaseFolder.endsWith(QDir::separator()));
    QCOMPARE(run.state.DatabaseFullPath, run.program.folder() + u"HCY300.db"_s);
    QVERIFY(run.state.DatabaseConnect.isEmpty());
    for (size_t i = 0; i < 11; ++i)
        QCOMPARE(run.state.CompanyInfoLines[i], run.windows.companyInfo[i]);
    QVERIFY(!run.state.CompanyInfoOpenedAtStart);
    // Reports of later procedures go to the log in the database folder.
    QCOMPARE(run.reporter.logPath(), run.program.path(u"ErrHCY.log"_s));
}

void StartupTest::tutorialPrompt_data()
{
    QTest::addColumn<QString>("stored"); // null: no key at all
    QTest::addColumn<bool>("shown");
    QTest::newRow("absent") << QString() << true;
    QTest::newRow("True") << u"True"_s << false;
    QTest::newRow("true") << u"true"_s << false;
    QTest::newRow("-1") << u"-1"_s << false;
    QTest::newRow("0") << u"0"_s << true;
    QTest::newRow("1") << u"1"_s << true;
    QTest::newRow("False") << u"False"_s << true;
}

void StartupTest::tutorialPrompt()
{
    QFETCH(QString, stored);
    QFETCH(bool, shown);
    StartupRun run;
    if (!stored.isNull())
        run.settings.setValue(u"HCY"_s, u"Options"_s, u"Tutorial"_s, stored);
    QVERIFY(run.run());
    QCOMPARE(run.windows.steps().contains(u"ShowMsg"_s), shown);
    if (shown) {
        QCOMPARE(run.windows.messages().size(), 1);
        QCOMPARE(run.windows.messages().first().title, u"Tutorial"_s);
        QCOMPARE(run.windows.messages().first().text, kTutorialText);
        QCOMPARE(run.windows.steps().indexOf(u"ShowMsg"_s), 1); // after the main window exists
    }
}

void StartupTest::showTips_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("shown");
    QTest::newRow("absent") << QString() << true;
    QTest::newRow("1") << u"1"_s << true;
    QTest::newRow("True") << u"True"_s << true;
    QTest::newRow("0") << u"0"_s << false;
    QTest::newRow("False") << u"False"_s << false;
}

void StartupTest::showTips()
{
    QFETCH(QString, stored);
    QFETCH(bool, shown);
    StartupRun run;
    if (!stored.isNull())
        run.settings.setValue(u"Halcyra 6.3"_s, u"Options"_s, u"Show Tips at Startup"_s, stored);
    // The same key under the executable's name must not count.
    run.settings.setValue(u"HCY"_s, u"Options"_s, u"Show Tips at Startup"_s,
                          shown ? u"0"_s : u"1"_s);
    QVERIFY(run.run());
    QCOMPARE(run.windows.steps().contains(u"showTips"_s), shown);
}

void StartupTest::databaseFolderIsStoredBeforeCompanyInfo()
{
    StartupRun run;
    run.settings.setValue(u"HCY"_s, u"Database"_s, u"DBPath"_s, u"/old/place/"_s);
    QString storedWhenCompanyLoads;
    run.windows.onStep(u"loadCompanyInfo"_s, [&] {
        storedWhenCompanyLoads = run.settings.value(u"HCY"_s, u"Database"_s, u"DBPath"_s);
    });
    QVERIFY(run.run());
    QCOMPARE(storedWhenCompanyLoads, run.program.folder());
    SettingsStore reread(run.program.settingsFolder());
    QCOMPARE(reread.value(u"HCY"_s, u"Database"_s, u"DBPath"_s), run.program.folder());
}

void StartupTest::splashStaysThreeSeconds_data()
{
    QTest::addColumn<double>("clockStart");
    QTest::newRow("morning") << 36000.0;
    QTest::newRow("last second of the day") << 86399.0;
    QTest::newRow("half a second before midnight") << 86399.5;
    QTest::newRow("midnight falls in the second wait") << 86397.5;
    QTest::newRow("midnight") << 0.0;
}

void StartupTest::splashStaysThreeSeconds()
{
    QFETCH(double, clockStart);
    StartupRun run(clockStart);
    // The tips close at once: only the waits keep the splash up.
    QVERIFY(run.run());
    QVERIFY(run.prompts.shown().isEmpty());

    const double shownFor = run.secondsBetween(u"showSplash"_s, u"closeSplash"_s);
    QVERIFY2(shownFor > 3.0, qPrintable(QString::number(shownFor)));
    QVERIFY2(shownFor < 3.2, qPrintable(QString::number(shownFor)));
    // The hourglass keeps the tips back for more than a second.
    QVERIFY(run.secondsBetween(u"showSplash"_s, u"showTips"_s) > 1.0);

    // The waits go through waitFor in small steps, never a spin on the clock.
    QVERIFY(!run.windows.waits().isEmpty());
    QVERIFY(run.windows.waits().size() <= 200);
    for (int ms : run.windows.waits())
        QVERIFY2(ms > 0 && ms <= 100, qPrintable(QString::number(ms)));
}

void StartupTest::slowTipsAddNoFurtherWait()
{
    StartupRun run;
    run.windows.onStep(u"showTips"_s, [&] { run.clock.advance(10); });
    QVERIFY(run.run());
    QCOMPARE(run.secondsBetween(u"showTips"_s, u"closeSplash"_s), 10.0);
}

void StartupTest::companyInfoWindow_data()
{
    QTest::addColumn<QList<int>>("emptyFields");
    QTest::addColumn<bool>("opens");
    QTest::newRow("all filled") << QList<int>{} << false;
    QTest::newRow("company name empty") << QList<int>{0} << false;
    QTest::newRow("phone 2 and fax empty") << QList<int>{8, 9} << false;
    // The same fields the company window marks and insists on.
    QTest::newRow("e-mail empty") << QList<int>{10} << true;
    QTest::newRow("last name empty") << QList<int>{1} << true;
    QTest::newRow("address empty") << QList<int>{3} << true;
    QTest::newRow("city empty") << QList<int>{4} << true;
    QTest::newRow("phone 1 empty") << QList<int>{7} << true;
    QTest::newRow("several empty") << QList<int>{2, 5, 6} << true;
    QTest::newRow("everything empty") << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << true;
}

void StartupTest::companyInfoWindow()
{
    QFETCH(QList<int>, emptyFields);
    QFETCH(bool, opens);
    StartupRun run;
    for (int field : emptyFields)
        run.windows.companyInfo[field] = QStringLiteral(" "); // blank counts as empty
    bool flagSetWhenShown = false;
    run.windows.onStep(u"showCompanyInfo"_s,
                       [&] { flagSetWhenShown = run.state.CompanyInfoOpenedAtStart; });
    QVERIFY(run.run());

    const QStringList& steps = run.windows.steps();
    QCOMPARE(steps.count(u"showCompanyInfo"_s), opens ? 1 : 0);
    QCOMPARE(run.state.CompanyInfoOpenedAtStart, opens);
    if (opens) {
        QVERIFY(flagSetWhenShown);
        QVERIFY(steps.indexOf(u"closeSplash"_s) < steps.indexOf(u"showCompanyInfo"_s));
        QCOMPARE(steps.indexOf(u"showCompanyInfo"_s) + 1, steps.indexOf(u"showMainWindow"_s));
    }
}

void StartupTest::devStudioFolderUsesTheInstalledCopy()
{
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    auto restoreHome = qScopeGuard([&] { qputenv("HOME", oldHome); });
    const QString installed =
        QDir::toNativeSeparators(home.filePath(u"Halcyra"_s)) + QDir::separator();
    QCOMPARE(createDatabaseIfMissing(installed).value(), CreateResult::Created);

    StartupRun run(36000, false); // the working folder itself has no database
    run.options.workingFolder = home.filePath(u"work/devSTUDIO/proj"_s);
    QVERIFY(run.run());
    QCOMPARE(run.state.DatabaseFolder, installed);
    QCOMPARE(run.state.DatabaseFullPath, installed + u"HCY300.db"_s);
    QCOMPARE(run.settings.value(u"HCY"_s, u"Database"_s, u"DBPath"_s), installed);
    QVERIFY(run.prompts.shown().isEmpty());
}

void StartupTest::missingDatabaseEndsStartup()
{
    StartupRun run(36000, false);
    QVERIFY(!run.run());

    QCOMPARE(run.prompts.shown().size(), 1);
    const ScriptedPrompts::Shown& box = run.prompts.shown().first();
    QCOMPARE(box.title, u"Error Handler"_s);
    QCOMPARE(box.icon, UserPrompts::Icon::Critical);
    QVERIFY2(box.text.startsWith(u"erNum = 53"_s), qPrintable(box.text));
    QVERIFY(box.text.contains(u"Module1:Sub Main()\nContinuous Loop in Module1: Main: "
                              u"HostDirectory Error.\n\nFor help: Call Veltrin - Software "
                              u"Division.\n\nThis program will terminate."_s));

    QFile log(run.program.path(u"ErrHCY.log"_s));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString logged = QString::fromUtf8(log.readAll());
    QCOMPARE(logged.count(u"erNum = "_s), 1);
    QVERIFY(logged.contains(u"\nerNum = 53\n"_s));
    QVERIFY(logged.contains(u"This program will terminate."_s));

    // Nothing else happened: no window, no wait, no setting written.
    QVERIFY(run.windows.steps().isEmpty());
    QVERIFY(run.windows.waits().isEmpty());
    QVERIFY(!run.settings.contains(u"HCY"_s, u"Database"_s, u"DBPath"_s));
    QVERIFY(!QFile::exists(run.program.path(u"HCY300.db"_s)));
}

void StartupTest::verifyDatabaseTriesTheFallbackFolder()
{
    TempProgramFolder withDatabase;
    withDatabase.createDatabase();
    TempProgramFolder without;
    ScriptedPrompts prompts;
    ErrorReporter reporter(without.folder(), prompts);

    QVERIFY(VerifyDatabase(without.folder(), withDatabase.folder(), reporter));
    QVERIFY(VerifyDatabase(withDatabase.folder(), without.folder(), reporter));
    QVERIFY(prompts.shown().isEmpty());

    TempProgramFolder alsoWithout;
    QVERIFY(!VerifyDatabase(without.folder(), alsoWithout.folder(), reporter));
    QCOMPARE(prompts.shown().size(), 1);

    // The fallback serves the check only: start-up keeps the working folder.
    StartupRun run(36000, false);
    run.options.fallbackFolder = withDatabase.folder();
    QVERIFY(run.run());
    QCOMPARE(run.state.DatabaseFolder, run.program.folder());
}

void StartupTest::unreadableDatabaseIsReportedAndStartupGoesOn()
{
    StartupRun run(36000, false);
    // A folder by the database's name exists but cannot be opened as a file.
    QVERIFY(QDir(run.program.folder()).mkdir(u"HCY300.db"_s));
    QVERIFY(run.run());
    const QStringList boxes = run.errorBoxes();
    QVERIFY(!boxes.isEmpty());
    QVERIFY2(boxes.first().startsWith(u"erNum = 75\n"_s), qPrintable(boxes.first()));
    QVERIFY(run.windows.steps().contains(u"showMainWindow"_s));
}

void StartupTest::failingStepIsReportedAndStartupGoesOn_data()
{
    QTest::addColumn<QString>("step");
    for (const char* step : {"createMainWindow", "ShowMsg", "showSplash", "showTips",
                             "processEvents", "loadCompanyInfo", "closeSplash", "showMainWindow"})
        QTest::newRow(step) << QString::fromLatin1(step);
}

void StartupTest::failingStepIsReportedAndStartupGoesOn()
{
    QFETCH(QString, step);
    StartupRun run;
    run.windows.failAt(step);
    QVERIFY(run.run());

    const QStringList boxes = run.errorBoxes();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first(),
             u"erNum = 5\nerDesc = Invalid procedure call or argument\nModule1:Sub Main()"_s);
    QCOMPARE(run.prompts.shown().first().icon, UserPrompts::Icon::None);
    QVERIFY(run.windows.steps().contains(u"closeSplash"_s));
    QCOMPARE(run.windows.steps().last(), u"showMainWindow"_s);
    // The splash still stays its time when a step around it fails.
    QVERIFY(run.secondsBetween(u"showSplash"_s, u"closeSplash"_s) > 3.0);
}

void StartupTest::elapsedSecondsCountAcrossMidnight()
{
    QCOMPARE(elapsedSecondsSince(100, 103.5), 3.5);
    QCOMPARE(elapsedSecondsSince(86399, 2), 3.0);
    QCOMPARE(elapsedSecondsSince(86000, 86000), 0.0);
    QCOMPARE(elapsedSecondsSince(0, 86399), 86399.0);
}

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"
