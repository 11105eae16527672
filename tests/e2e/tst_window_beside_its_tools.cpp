// The program's window open on a database while its own tools work on the same folder, as an
// adviser runs them: the window must keep its hold on the database throughout, its saves must
// reach the file, and a kill of the window must lose nothing that was saved.

#include "records/CompanyRecord.h"
#include "support/CompanyRow.h"
#include "support/FileLocks.h"
#include "support/RealDesktop.h"
#include "support/TempProgramFolder.h"

#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <csignal>

using halcyra::test::RealDesktop;
using halcyra::test::TempProgramFolder;
using namespace Qt::StringLiterals;

namespace {

constexpr int kImported = 300;

struct Tool
{
    int exitCode = -1;
    QString output;
};

Tool runTool(const QString& program, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    Tool tool;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        tool.output = u"did not finish"_s;
        return tool;
    }
    tool.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    tool.output = QString::fromLocal8Bit(process.readAll());
    return tool;
}

QString importFile(const TempProgramFolder& folder)
{
    QByteArray csv = "Last Name,First Name,Phone\n";
    for (int i = 0; i < kImported; ++i)
        csv += QStringLiteral("Beside%1,Ann,555-%2\n").arg(i).arg(i, 4, 10, QChar(u'0')).toUtf8();
    folder.writeFile(u"beside.csv"_s, csv);
    return folder.path(u"beside.csv"_s);
}

// One answer from the database file, read by a connection of this test alone.
QVariant queryFile(const QString& path, const QString& sql)
{
    QVariant answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"check"_s);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql) && query.next())
                answer = query.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(u"check"_s);
    return answer;
}

} // namespace

class WindowBesideItsTools : public QObject
{
    Q_OBJECT

private slots:
    void theWindowKeepsItsDatabaseWhileTheToolsRun()
    {
        RealDesktop desktop;
        if (!desktop.unavailableBecause().isEmpty())
            QSKIP(qPrintable(desktop.unavailableBecause()));
        TempProgramFolder folder;
        const QString cli = QStringLiteral(HALCYRA_CLI_PATH);
        const QString db = folder.path(u"HCY300.db"_s);
        QCOMPARE(runTool(cli, {u"demo"_s, u"--clients"_s, u"50"_s, u"--folder"_s, folder.folder()},
                         folder.folder())
                     .exitCode,
                 0);
        QVERIFY(halcyra::saveCompanyRow(db, halcyra::test::fullCompanyRow()));
        // The fixed documents the reports take in, as the install puts them beside the program.
        const QDir documents(QStringLiteral(HALCYRA_DOCUMENTS_DIR));
        for (const QString& name : documents.entryList({u"*.pdf"_s}, QDir::Files))
            QVERIFY(QFile::copy(documents.filePath(name), folder.path(name)));
        {
            QSettings exe(folder.settingsFolder() + u"/HCY.ini"_s, QSettings::IniFormat);
            exe.setValue(u"Options/Tutorial"_s, u"True"_s);
            QSettings title(folder.settingsFolder() + u"/Halcyra 6.3.ini"_s, QSettings::IniFormat);
            title.setValue(u"Options/Show Tips at Startup"_s, u"0"_s);
        }

        QProcess program;
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.setWorkingDirectory(folder.folder());
        QProcessEnvironment env = desktop.environment();
        env.insert(u"HALCYRA_CONFIG_DIR"_s, folder.settingsFolder());
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(HALCYRA_APP_PATH), {u"--splash-seconds"_s, u"0"_s});
        const QString main = desktop.windowOnceShown(u"Halcyra Data Entry"_s);
        QVERIFY2(!main.isEmpty(), qPrintable(u"the main window never showed: "_s +
                                             QString::fromLocal8Bit(program.readAll())));
        const qint64 pid = program.processId();
        const QStringList onFile = halcyra::test::locksHeldOn(db, pid);
        const QStringList onShm = halcyra::test::locksHeldOn(db + u"-shm"_s, pid);
        QVERIFY2(!onFile.isEmpty() || !onShm.isEmpty(), "the window holds no lock on the database");

        const QString burest = QStringLiteral(HALCYRA_BUREST_PATH);
        const QString csv = importFile(folder);
        const QString out = folder.folder();
        const QList<std::pair<QString, QStringList>> tools = {
            {cli, {u"list"_s, u"--folder"_s, out}},
            {cli, {u"profile"_s, u"--client"_s, u"3"_s, u"--folder"_s, out}},
            {cli, {u"pages"_s, u"--client"_s, u"3"_s, u"--page"_s, u"2"_s, u"--folder"_s, out}},
            {cli,
             {u"report"_s, u"--client"_s, u"3"_s, u"--out"_s, out + u"r.pdf"_s, u"--folder"_s,
              out}},
            {cli,
             {u"report"_s, u"--all"_s, u"--out-dir"_s, out + u"reports"_s, u"--jobs"_s, u"2"_s,
              u"--clients"_s, u"1-6"_s, u"--folder"_s, out}},
            {cli, {u"export"_s, u"--out"_s, out + u"all.csv"_s, u"--folder"_s, out}},
            {cli, {u"import"_s, csv, u"--folder"_s, out}},
            {burest, {u"backup"_s, u"--database"_s, db, u"--to"_s, out + u"bk"_s}},
            {cli, {u"list"_s, u"--folder"_s, out}},
        };
        for (const auto& [tool, arguments] : tools) {
            const QString what = QFileInfo(tool).fileName() + u' ' + arguments.first();
            const Tool run = runTool(tool, arguments, folder.folder());
            QVERIFY2(run.exitCode == 0, qPrintable(what + u": "_s + run.output));
            QVERIFY2(halcyra::test::locksHeldOn(db, pid) == onFile,
                     qPrintable(u"the window lost its lock on the file after "_s + what));
            QVERIFY2(halcyra::test::locksHeldOn(db + u"-shm"_s, pid) == onShm,
                     qPrintable(u"the window lost its lock on -shm after "_s + what));
            const QStringList deleted = halcyra::test::deletedFilesOpenIn(pid);
            QVERIFY2(
                deleted.isEmpty(),
                qPrintable(what + u" removed files the window has open: "_s + deleted.join(u", ")));
        }

        // A save in the window: a new last name for the client on screen, then File > Save.
        desktop.run(u"xdotool"_s, {u"windowactivate"_s, u"--sync"_s, main});
        desktop.run(u"xdotool"_s, {u"key"_s, u"ctrl+a"_s});
        desktop.run(u"xdotool"_s, {u"type"_s, u"--delay"_s, u"20"_s, u"Savedbeside"_s});
        desktop.run(u"xdotool"_s, {u"key"_s, u"ctrl+s"_s});
        QTRY_COMPARE_WITH_TIMEOUT(
            queryFile(db, u"SELECT COUNT(*) FROM Customers WHERE LastName = 'Savedbeside'"_s)
                .toInt(),
            1, 10000);

        ::kill(static_cast<pid_t>(pid), SIGKILL);
        QVERIFY(program.waitForFinished(10000));
        QCOMPARE(queryFile(db, u"PRAGMA integrity_check"_s).toString(), u"ok"_s);
        QCOMPARE(queryFile(db, u"SELECT COUNT(*) FROM Customers WHERE LastName = 'Savedbeside'"_s)
                     .toInt(),
                 1);
        QCOMPARE(queryFile(db, u"SELECT COUNT(*) FROM Customers WHERE LastName LIKE 'Beside%'"_s)
                     .toInt(),
                 kImported);
        QCOMPARE(queryFile(db, u"SELECT COUNT(*) FROM Customers"_s).toInt(), 50 + kImported);
    }
};

QTEST_GUILESS_MAIN(WindowBesideItsTools)
#include "tst_window_beside_its_tools.moc"
