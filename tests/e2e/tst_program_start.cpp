// Starts the real program in a temporary program folder.

#include "records/CompanyRecord.h"
#include "support/CompanyRow.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QtTest>

using halcyra::test::TempProgramFolder;

class ProgramStart : public QObject
{
    Q_OBJECT

private:
    // Settings that keep the tutorial prompt and the tips from waiting for a click.
    static void quietSettings(const TempProgramFolder& folder)
    {
        QSettings exe(folder.settingsFolder() + QStringLiteral("/HCY.ini"), QSettings::IniFormat);
        exe.setValue(QStringLiteral("Options/Tutorial"), QStringLiteral("True"));
        QSettings title(folder.settingsFolder() + QStringLiteral("/Halcyra 6.3.ini"),
                        QSettings::IniFormat);
        title.setValue(QStringLiteral("Options/Show Tips at Startup"), QStringLiteral("0"));
    }

    // Complete company details, so the company window does not open at start-up.
    static void companyDetails(const TempProgramFolder& folder)
    {
        QVERIFY(halcyra::saveCompanyRow(folder.path(QStringLiteral("HCY300.db")),
                                        halcyra::test::fullCompanyRow()));
    }

    static QProcessEnvironment environmentFor(const TempProgramFolder& folder)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HALCYRA_CONFIG_DIR"), folder.settingsFolder());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        return env;
    }

private slots:
    void startsToTheMainWindowAndRecordsTheFolder()
    {
        TempProgramFolder folder;
        folder.createDatabase();
        companyDetails(folder);
        quietSettings(folder);

        QProcess program;
        program.setWorkingDirectory(folder.folder());
        program.setProcessEnvironment(environmentFor(folder));
        program.start(QStringLiteral(HALCYRA_APP_PATH),
                      {QStringLiteral("--splash-seconds"), QStringLiteral("0"),
                       QStringLiteral("--exit-after-start")});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);
        QVERIFY2(program.readAllStandardOutput().contains("Main window shown after"),
                 "the program did not reach its main window");

        QSettings exe(folder.settingsFolder() + QStringLiteral("/HCY.ini"), QSettings::IniFormat);
        QCOMPARE(exe.value(QStringLiteral("Database/DBPath")).toString(), folder.folder());
    }

    void splashStaysForItsMinimumTime()
    {
        TempProgramFolder folder;
        folder.createDatabase();
        companyDetails(folder);
        quietSettings(folder);

        QProcess program;
        program.setWorkingDirectory(folder.folder());
        program.setProcessEnvironment(environmentFor(folder));
        QElapsedTimer timer;
        timer.start();
        program.start(QStringLiteral(HALCYRA_APP_PATH),
                      {QStringLiteral("--splash-seconds"), QStringLiteral("1"),
                       QStringLiteral("--exit-after-start")});
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(timer.elapsed() >= 1000);
    }

    void missingDatabaseEndsWithTheErrorLog()
    {
        TempProgramFolder folder;
        quietSettings(folder);
        // A program folder in use that has lost its database: start-up says so, and makes no
        // new one in its place.
        QVERIFY(QDir(folder.folder()).mkdir(QStringLiteral("Backups")));
        // No display can answer the error box here; the offscreen box would wait forever, so
        // the program is ended once the report is in the log.
        QProcess program;
        program.setWorkingDirectory(folder.folder());
        QProcessEnvironment environment = environmentFor(folder);
        environment.insert(QStringLiteral("HALCYRA_HOME"), folder.folder());
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(HALCYRA_APP_PATH),
                      {QStringLiteral("--splash-seconds"), QStringLiteral("0"),
                       QStringLiteral("--exit-after-start")});
        QVERIFY(program.waitForStarted());
        // The log exists from the moment it is opened, before the report is in it.
        const auto logText = [&folder] {
            QFile log(folder.path(QStringLiteral("ErrHCY.log")));
            return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
        };
        QTRY_VERIFY_WITH_TIMEOUT(logText().contains(QStringLiteral("This program will terminate.")),
                                 20000);
        program.kill();
        program.waitForFinished();

        const QString text = logText();
        QVERIFY(text.contains(QStringLiteral("erNum = 53")));
        QVERIFY(text.contains(QStringLiteral("This program will terminate.")));
        QVERIFY(!QFile::exists(folder.path(QStringLiteral("HCY300.db"))));
    }
};

QTEST_GUILESS_MAIN(ProgramStart)
#include "tst_program_start.moc"
