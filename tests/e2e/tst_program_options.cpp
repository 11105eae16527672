// Every program answers --help and --version on the terminal and ends, with no display at all.

#include "core/Version.h"

#include <QProcess>
#include <QtTest>

class ProgramOptions : public QObject
{
    Q_OBJECT

private slots:
    void answersWithoutADisplay_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("name");
        const QList<std::pair<const char*, const char*>> programs = {
            {HALCYRA_APP_PATH, "halcyra"},
            {HALCYRA_CLI_PATH, "halcyra-cli"},
            {HALCYRA_BUREST_PATH, "BuRest"},
            {HALCYRA_OPENACRD_PATH, "OpenAcRd"}};
        for (const auto& [path, name] : programs)
            QTest::newRow(name) << QString::fromUtf8(path) << QString::fromUtf8(name);
    }
    void answersWithoutADisplay()
    {
        QFETCH(QString, program);
        QFETCH(QString, name);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(display));
        for (const QString& option : {QStringLiteral("--version"), QStringLiteral("--help")}) {
            QProcess run;
            run.setProcessEnvironment(environment);
            run.start(program, {option});
            QVERIFY2(run.waitForFinished(20000), qPrintable(name + u' ' + option));
            const QString out = QString::fromUtf8(run.readAllStandardOutput());
            const QString err = QString::fromUtf8(run.readAllStandardError());
            QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0,
                     qPrintable(name + u' ' + option + u'\n' + err));
            QVERIFY2(err.isEmpty(), qPrintable(err));
            if (option == u"--version")
                QCOMPARE(out, name + u' ' + halcyra::versionNumber() + u'\n');
            else
                QVERIFY2(out.startsWith(u"Usage: ") && out.contains(u"--version"), qPrintable(out));
        }
    }

    // A command's own options come after it; --version there is the command line's too.
    void commandsKeepTheirOptions()
    {
        QProcess run;
        run.start(QStringLiteral(HALCYRA_CLI_PATH),
                  {QStringLiteral("list"), QStringLiteral("--help")});
        QVERIFY(run.waitForFinished(20000));
        QCOMPARE(run.exitCode(), 0);
        QVERIFY(
            QString::fromUtf8(run.readAllStandardOutput()).startsWith(u"Usage: halcyra-cli list "));
        run.start(QStringLiteral(HALCYRA_CLI_PATH), {QStringLiteral("--bogus")});
        QVERIFY(run.waitForFinished(20000));
        QCOMPARE(run.exitCode(), 2);
        QVERIFY(QString::fromUtf8(run.readAllStandardError()).contains(u"bogus"));
        run.start(QStringLiteral(HALCYRA_BUREST_PATH),
                  {QStringLiteral("backup"), QStringLiteral("--bogus")});
        QVERIFY(run.waitForFinished(20000));
        QCOMPARE(run.exitCode(), 2);
        QVERIFY(QString::fromUtf8(run.readAllStandardError()).contains(u"unknown option --bogus"));
    }
};

QTEST_GUILESS_MAIN(ProgramOptions)
#include "tst_program_options.moc"
