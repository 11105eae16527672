// halcyra-cli under faults: broken database files, read-only media, a full disk, outputs that
// are not files, a second writer, hostile arguments. The commands run in-process.

#include "cli/Command.h"
#include "core/Settings.h"
#include "records/ClientRecord.h"
#include "records/DatabaseFile.h"
#include "records/DemoClients.h"
#include "support/ScratchMount.h"
#include "support/TempProgramFolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace halcyra;
using halcyra::test::ScratchMount;
using halcyra::test::TempProgramFolder;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run cliRun(const QStringList& arguments)
{
    Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.exitCode = cli::run(QStringList{QStringLiteral("halcyra-cli")} + arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// The files of a folder but SQLite's own -wal and -shm, which reading a WAL database in a
// writable folder makes and the next writer removes.
QStringList filesBeside(const QString& folder)
{
    QStringList files = filesIn(folder);
    files.removeIf(
        [](const QString& name) { return name.endsWith(u"-wal") || name.endsWith(u"-shm"); });
    return files;
}

// Runs SQL on the file with a plain connection.
bool execute(const QString& path, const QStringList& statements)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("x"));
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        for (const QString& statement : statements)
            ok = ok && query.exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("x"));
    return ok;
}

unsigned modeOf(const QString& path)
{
    struct stat info = {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
}

QString documents()
{
    return QStringLiteral(HALCYRA_DOCUMENTS_DIR);
}

} // namespace

class CliFaults : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_program;
    QByteArray m_goodDatabase;

    // A program folder on `folder` with the demo database.
    void putDatabase(const QString& folder) const
    {
        QFile file(QDir(folder).filePath(QStringLiteral("HCY300.db")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(m_goodDatabase) > 0);
    }

private slots:
    void initTestCase()
    {
        qputenv("HALCYRA_CONFIG_DIR", QFile::encodeName(m_program.settingsFolder()));
        QCOMPARE(cliRun({QStringLiteral("demo"), QStringLiteral("--clients"), QStringLiteral("30"),
                         QStringLiteral("--folder"), m_program.folder()})
                     .exitCode,
                 0);
        m_goodDatabase = contentsOf(m_program.path(QStringLiteral("HCY300.db")));
        QVERIFY(m_goodDatabase.size() > 16384);
    }

    // Each kind of broken file through each command: a clear message, exit 1, and the file and
    // its folder left exactly as they were.
    void brokenDatabase_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("message");
        const QStringList kinds = {
            QStringLiteral("missing"),         QStringLiteral("empty"),
            QStringLiteral("random bytes"),    QStringLiteral("truncated"),
            QStringLiteral("no client table"), QStringLiteral("no LastName column"),
            QStringLiteral("no Field1 column")};
        const QStringList messages = {QStringLiteral("There is no database"),
                                      QStringLiteral("the file is empty"),
                                      QStringLiteral("not an SQLite database"),
                                      QStringLiteral("truncated"),
                                      QStringLiteral("table \"Customers\" is missing"),
                                      QStringLiteral("lacks the column \"LastName\""),
                                      QStringLiteral("lacks the column \"Field1\"")};
        const QList<QStringList> commands = {
            {QStringLiteral("init")},
            {QStringLiteral("demo"), QStringLiteral("--clients"), QStringLiteral("2"),
             QStringLiteral("--add")},
            {QStringLiteral("profile"), QStringLiteral("--client"), QStringLiteral("1")},
            {QStringLiteral("report"), QStringLiteral("--client"), QStringLiteral("1"),
             QStringLiteral("--out"), QStringLiteral("r.pdf")},
            {QStringLiteral("report"), QStringLiteral("--all"), QStringLiteral("--out-dir"),
             QStringLiteral("all")}};
        for (qsizetype k = 0; k < kinds.size(); ++k)
            for (const QStringList& command : commands) {
                // Where there is no database, init and demo make one: that is their job.
                if (k == 0 && (command[0] == u"init" || command[0] == u"demo"))
                    continue;
                QTest::addRow("%s, %s", qPrintable(kinds[k]), qPrintable(command.join(u' ')))
                    << kinds[k] << command << messages[k];
            }
    }

    void brokenDatabase()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, command);
        QFETCH(QString, message);
        QTemporaryDir folder;
        QTemporaryDir outputs;
        const QString path = folder.filePath(QStringLiteral("HCY300.db"));
        if (kind != u"missing")
            putDatabase(folder.path());
        QByteArray broken = m_goodDatabase;
        if (kind == u"empty")
            broken.clear();
        else if (kind == u"random bytes")
            for (char& byte : broken)
                byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
        else if (kind == u"truncated")
            broken.truncate(broken.size() / 2);
        else if (kind == u"no client table")
            QVERIFY(execute(path, {QStringLiteral("DROP TABLE \"Customers\"")}));
        else if (kind.startsWith(u"no ")) {
            const QString column = kind.section(u' ', 1, 1);
            QVERIFY(execute(
                path,
                {QStringLiteral("DROP INDEX \"Customers by name\""),
                 QStringLiteral("ALTER TABLE \"Customers\" DROP COLUMN \"%1\"").arg(column)}));
        }
        if (kind == u"empty" || kind == u"random bytes" || kind == u"truncated") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(file.write(broken), broken.size());
        }
        const QByteArray before = contentsOf(path);
        const QStringList filesBefore = filesBeside(folder.path());

        QStringList arguments = command;
        for (QString& argument : arguments)
            if (argument == u"r.pdf" || argument == u"all")
                argument = outputs.filePath(argument);
        const Run run = cliRun(arguments + QStringList{QStringLiteral("--folder"), folder.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY2(!run.err.contains(u"Parameter count mismatch"), qPrintable(run.err));
        QCOMPARE(filesBeside(folder.path()), filesBefore);
        QCOMPARE(contentsOf(path), before);
        QVERIFY(!QFile::exists(outputs.filePath(QStringLiteral("r.pdf"))));
    }

    // A backup disc or a write-protected copy can be read and reported, not written.
    void readOnlyMedia()
    {
        ScratchMount media(1 << 20);
        SKIP_UNLESS_MOUNTED(media);
        putDatabase(media.path());
        QVERIFY(media.makeReadOnly());
        QTemporaryDir outputs;
        const QStringList folder = {QStringLiteral("--folder"), media.path()};

        const Run profile = cliRun(QStringList{QStringLiteral("profile"),
                                               QStringLiteral("--client"), QStringLiteral("2")} +
                                   folder);
        QVERIFY2(profile.exitCode == 0, qPrintable(profile.err));
        const Run report = cliRun(QStringList{QStringLiteral("report"), QStringLiteral("--client"),
                                              QStringLiteral("2"), QStringLiteral("--sections"),
                                              QStringLiteral("2"), QStringLiteral("--out"),
                                              outputs.filePath(QStringLiteral("r.pdf")),
                                              QStringLiteral("--documents"), documents()} +
                                  folder);
        QVERIFY2(report.exitCode == 0, qPrintable(report.err));

        const Run demo = cliRun(QStringList{QStringLiteral("demo"), QStringLiteral("--clients"),
                                            QStringLiteral("1"), QStringLiteral("--add")} +
                                folder);
        QCOMPARE(demo.exitCode, 1);
        QVERIFY2(demo.err.contains(u"read-only") || demo.err.contains(u"readonly"),
                 qPrintable(demo.err));
        QCOMPARE(filesIn(media.path()), QStringList{QStringLiteral("HCY300.db")});
    }

    // A report that does not fit is an error and leaves the good one it would have replaced.
    void fullDisk()
    {
        ScratchMount disk(8 << 20);
        SKIP_UNLESS_MOUNTED(disk);
        const QStringList common = {QStringLiteral("--folder"), m_program.folder(),
                                    QStringLiteral("--documents"), documents()};
        const QString target = disk.filePath(QStringLiteral("r.pdf"));
        const QStringList one = QStringList{QStringLiteral("report"), QStringLiteral("--client"),
                                            QStringLiteral("1"), QStringLiteral("--out"), target} +
                                common;
        QCOMPARE(cliRun(one).exitCode, 0);
        const QByteArray good = contentsOf(target);
        QVERIFY(good.size() > 8192);
        QVERIFY(disk.fill(good.size() / 2));

        const Run full = cliRun(one);
        QCOMPARE(full.exitCode, 1);
        QVERIFY2(full.err.contains(target) && full.err.contains(u"No space left on device"),
                 qPrintable(full.err));
        QVERIFY(!full.out.contains(u"Wrote"));
        QCOMPARE(contentsOf(target), good);

        const Run all = cliRun(QStringList{QStringLiteral("report"), QStringLiteral("--all"),
                                           QStringLiteral("--out-dir"), disk.path()} +
                               common);
        QCOMPARE(all.exitCode, 1);
        QVERIFY(all.out.contains(u"Wrote 0 of 30"));
        QCOMPARE(contentsOf(target), good);
        QCOMPARE(filesIn(disk.path()),
                 (QStringList{QStringLiteral("filler"), QStringLiteral("r.pdf")}));
    }

    // Outputs replace files, never what is not one; a link to a file writes the file.
    void outputThatIsNotAFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("pipe") << QStringLiteral("pipe");
        QTest::newRow("folder") << QStringLiteral("folder");
        QTest::newRow("device") << QStringLiteral("device");
    }

    void outputThatIsNotAFile()
    {
        QFETCH(QString, kind);
        QTemporaryDir outputs;
        QString target = outputs.filePath(kind);
        if (kind == u"pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        else if (kind == u"folder")
            QVERIFY(QDir().mkdir(target));
        // A null device of the test's own: a fault here must not replace the system's.
        else if (::mknod(QFile::encodeName(target).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            QSKIP("making a device needs root");
        const unsigned mode = modeOf(target);
        const Run run =
            cliRun({QStringLiteral("report"), QStringLiteral("--client"), QStringLiteral("1"),
                    QStringLiteral("--sections"), QStringLiteral("2"), QStringLiteral("--out"),
                    target, QStringLiteral("--folder"), m_program.folder()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(u"not a regular file") || run.err.contains(u"folder"),
                 qPrintable(run.err));
        struct stat info = {};
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &info), 0);
        QVERIFY(!S_ISREG(info.st_mode));
        QCOMPARE(modeOf(target), mode);
    }

    // Under the usual umask, what holds client data is still for the owner alone; a replaced
    // file keeps the mode it had.
    void ownerOnlyFiles()
    {
        const mode_t oldMask = ::umask(022);
        QTemporaryDir base;
        const QString folder = base.filePath(QStringLiteral("new/program"));
        const QString settings = base.filePath(QStringLiteral("settings"));
        qputenv("HALCYRA_CONFIG_DIR", QFile::encodeName(settings));
        const Run demo = cliRun({QStringLiteral("demo"), QStringLiteral("--clients"),
                                 QStringLiteral("2"), QStringLiteral("--folder"), folder});
        const QString report = base.filePath(QStringLiteral("reports/one.pdf"));
        const QStringList write = {QStringLiteral("report"),
                                   QStringLiteral("--client"),
                                   QStringLiteral("1"),
                                   QStringLiteral("--sections"),
                                   QStringLiteral("2"),
                                   QStringLiteral("--folder"),
                                   folder,
                                   QStringLiteral("--out")};
        QDir().mkpath(base.filePath(QStringLiteral("reports")));
        const Run second = cliRun(write + QStringList{report});
        const Run all =
            cliRun({QStringLiteral("report"), QStringLiteral("--all"), QStringLiteral("--sections"),
                    QStringLiteral("2"), QStringLiteral("--folder"), folder,
                    QStringLiteral("--out-dir"), base.filePath(QStringLiteral("all"))});
        const unsigned created = modeOf(report);
        SettingsStore(settings).SaveSetting(QStringLiteral("HCY"), QStringLiteral("Options"),
                                            QStringLiteral("Key"), QStringLiteral("1"));
        QFile::setPermissions(report, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
        const Run replaced = cliRun(write + QStringList{report});
        ::umask(oldMask);
        qputenv("HALCYRA_CONFIG_DIR", QFile::encodeName(m_program.settingsFolder()));

        QCOMPARE(demo.exitCode, 0);
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(all.exitCode, 0);
        QCOMPARE(replaced.exitCode, 0);
        QCOMPARE(modeOf(base.filePath(QStringLiteral("new"))), 0700u);
        QCOMPARE(modeOf(folder), 0700u);
        QCOMPARE(modeOf(QDir(folder).filePath(QStringLiteral("HCY300.db"))), 0600u);
        QCOMPARE(modeOf(base.filePath(QStringLiteral("all"))), 0700u);
        for (const QString& name : filesIn(base.filePath(QStringLiteral("all"))))
            QCOMPARE(modeOf(base.filePath(QStringLiteral("all/") + name)), 0600u);
        QCOMPARE(created, 0600u);
        QCOMPARE(modeOf(settings), 0700u);
        QCOMPARE(modeOf(settings + QStringLiteral("/HCY.ini")), 0600u);
        QCOMPARE(modeOf(report), 0640u);
    }

    // A second writer waits for the first instead of failing at once.
    void secondWriterWaitsItsTurn()
    {
        QTemporaryDir folder;
        putDatabase(folder.path());
        const QString path = folder.filePath(QStringLiteral("HCY300.db"));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("w"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("BEGIN IMMEDIATE")));
        QProcess second;
        second.start(QStringLiteral(HALCYRA_CLI_PATH),
                     {QStringLiteral("demo"), QStringLiteral("--clients"), QStringLiteral("1"),
                      QStringLiteral("--add"), QStringLiteral("--folder"), folder.path()});
        QVERIFY(second.waitForStarted());
        QTest::qWait(700);
        QVERIFY(query.exec(QStringLiteral("COMMIT")));
        QVERIFY(second.state() == QProcess::NotRunning || second.waitForFinished(30000));
        const QString err = QString::fromUtf8(second.readAllStandardError());
        QVERIFY2(second.exitCode() == 0, qPrintable(err));
        QVERIFY(query.exec(QStringLiteral("SELECT COUNT(*) FROM \"Customers\"")) && query.next());
        QCOMPARE(query.value(0).toInt(), 31);
        query.finish();
        db.close();
        db = {};
        QSqlDatabase::removeDatabase(QStringLiteral("w"));
    }

    // Stray arguments and values that are not what an option takes stop with exit 2 and say
    // what was wrong, before anything is touched.
    void argumentEdges_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* name, QStringList arguments, const char* message) {
            QTest::newRow(name) << arguments << QString::fromUtf8(message);
        };
        const QString clients = QStringLiteral("--clients");
        row("init extra", {QStringLiteral("init"), QStringLiteral("extra")}, "'extra'");
        row("demo extra",
            {QStringLiteral("demo"), clients, QStringLiteral("3"), QStringLiteral("--add"),
             QStringLiteral("extra")},
            "'extra'");
        row("seed text",
            {QStringLiteral("demo"), clients, QStringLiteral("3"), QStringLiteral("--seed"),
             QStringLiteral("xyz")},
            "--seed");
        row("seed negative",
            {QStringLiteral("demo"), clients, QStringLiteral("3"), QStringLiteral("--seed"),
             QStringLiteral("-1")},
            "--seed");
        row("flag with value",
            {QStringLiteral("demo"), clients, QStringLiteral("3"), QStringLiteral("--add=yes")},
            "--add takes no value");
        row("profile client text",
            {QStringLiteral("profile"), QStringLiteral("--client"), QStringLiteral("x")},
            "--client");
        row("profile client zero",
            {QStringLiteral("profile"), QStringLiteral("--client"), QStringLiteral("0")},
            "--client");
        row("report client negative",
            {QStringLiteral("report"), QStringLiteral("--client"), QStringLiteral("-4"),
             QStringLiteral("--out"), QStringLiteral("x.pdf")},
            "--client");
    }

    void argumentEdges()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QTemporaryDir folder;
        const Run run = cliRun(arguments + QStringList{QStringLiteral("--folder"), folder.path()});
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(filesIn(folder.path()).isEmpty());
    }

    // A name longer than the file system takes is shortened, the client number first.
    void longNamesAreShortened()
    {
        QTemporaryDir folder;
        putDatabase(folder.path());
        const QString longName = QString(200, QChar(0x00C4));
        QVERIFY(execute(folder.filePath(QStringLiteral("HCY300.db")),
                        {QStringLiteral("UPDATE \"Customers\" SET \"LastName\" = '%1', "
                                        "\"FirstName\" = '%1' WHERE \"CustomerID\" = 7")
                             .arg(longName)}));
        QTemporaryDir outputs;
        const Run run =
            cliRun({QStringLiteral("report"), QStringLiteral("--all"), QStringLiteral("--sections"),
                    QStringLiteral("2"), QStringLiteral("--folder"), folder.path(),
                    QStringLiteral("--out-dir"), outputs.path()});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QStringList names = filesIn(outputs.path()).filter(QStringLiteral("07 "));
        QCOMPARE(names.size(), 1);
        QVERIFY(names[0].startsWith(QStringLiteral("07 ") + QChar(0x00C4)));
        QVERIFY(names[0].endsWith(QStringLiteral(".pdf")));
        QVERIFY(QFile::encodeName(names[0]).size() <= 255);
    }

    // A score beyond any number is still printed as a number.
    void hugeScoreIsANumber()
    {
        const Run run = cliRun({QStringLiteral("profile"), QStringLiteral("--json"),
                                QStringLiteral("--scores"), QStringLiteral("1e999,-1e999")});
        QCOMPARE(run.exitCode, 0);
        const QJsonArray rows =
            QJsonDocument::fromJson(run.out.toUtf8()).object()[QStringLiteral("rows")].toArray();
        QVERIFY(rows.size() > 2);
        QVERIFY(rows[0].toObject()[QStringLiteral("score")].toDouble() > 1e300);
        QVERIFY(rows[1].toObject()[QStringLiteral("score")].toDouble() < -1e300);
    }
};

QTEST_MAIN(CliFaults)
#include "tst_cli_faults.moc"
