// halcyra-cli under faults: broken database files, read-only media, a full disk, outputs that
// are not files, a second writer, hostile arguments. The commands run in-process.

#include "cli/Command.h"
#include "core/OutputFile.h"
#include "core/Settings.h"
#include "records/ClientRecord.h"
#include "records/DatabaseFile.h"
#include "records/DemoClients.h"
#include "support/CommandRun.h"
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
using namespace Qt::StringLiterals;
using halcyra::test::ScratchMount;
using halcyra::test::TempProgramFolder;

namespace {

using halcyra::test::CommandRun;

CommandRun cliRun(const QStringList& arguments)
{
    return test::captureCommand([&](QTextStream& out, QTextStream& err) {
        return cli::run(QStringList{u"halcyra-cli"_s} + arguments, out, err);
    });
}

QStringList words(const char* text)
{
    return QString::fromUtf8(text).split(u' ');
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

// Runs SQL on the file with a plain connection.
bool execute(const QString& path, const QStringList& statements)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"x"_s);
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        for (const QString& statement : statements)
            ok = ok && query.exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase(u"x"_s);
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
        QFile file(QDir(folder).filePath(u"HCY300.db"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(m_goodDatabase) > 0);
    }

private slots:
    void initTestCase()
    {
        qputenv("HALCYRA_CONFIG_DIR", QFile::encodeName(m_program.settingsFolder()));
        QCOMPARE(cliRun({u"demo"_s, u"--clients"_s, u"30"_s, u"--folder"_s, m_program.folder()})
                     .exitCode,
                 0);
        m_goodDatabase = contentsOf(m_program.path(u"HCY300.db"_s));
        QVERIFY(m_goodDatabase.size() > 16384);
    }

    // Each kind of broken file through each command: a clear message, exit 1, and the file and
    // its folder left exactly as they were.
    // A file brought in from outside that would run statements of its own when the program
    // writes, or that holds more than the program knows of.
    static QStringList foreignObjects(const QString& kind)
    {
        if (kind == u"foreign trigger")
            return {u"CREATE TRIGGER wipe AFTER INSERT ON \"Customers\" BEGIN DELETE FROM "
                    "\"Customers\" WHERE \"CustomerID\" <> new.\"CustomerID\"; END"_s};
        if (kind == u"foreign view")
            return {u"CREATE VIEW peek AS SELECT \"LastName\" FROM \"Customers\""_s};
        if (kind == u"foreign table")
            return {u"CREATE TABLE \"Elsewhere\" (x)"_s};
        if (kind == u"our trigger's name on another")
            return {u"DROP TRIGGER \"Assessments go with their client\""_s,
                    u"CREATE TRIGGER \"Assessments go with their client\" AFTER DELETE ON "
                    "\"Customers\" BEGIN DELETE FROM \"Customers\"; END"_s};
        if (kind == u"newer schema")
            return {u"PRAGMA user_version = 99"_s};
        return {};
    }

    void brokenDatabase_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("command");
        QTest::addColumn<QString>("message");
        const QStringList kinds = {u"missing"_s,
                                   u"empty"_s,
                                   u"random bytes"_s,
                                   u"truncated"_s,
                                   u"no client table"_s,
                                   u"no LastName column"_s,
                                   u"no Field1 column"_s,
                                   u"foreign trigger"_s,
                                   u"foreign view"_s,
                                   u"foreign table"_s,
                                   u"our trigger's name on another"_s,
                                   u"newer schema"_s};
        const QStringList messages = {
            u"There is no database"_s,
            u"the file is empty"_s,
            u"not an SQLite database"_s,
            u"truncated"_s,
            u"table \"Customers\" is missing"_s,
            u"lacks the column \"LastName\""_s,
            u"lacks the column \"Field1\""_s,
            u"holds the trigger \"wipe\", which is not part of the program's schema"_s,
            u"holds the view \"peek\""_s,
            u"holds the table \"Elsewhere\""_s,
            u"its trigger \"Assessments go with their client\" is not the program's own"_s,
            u"made by a newer version of Halcyra (schema 99"_s};
        const QList<QStringList> commands = {{u"init"_s},
                                             words("demo --clients 2 --add"),
                                             words("profile --client 1"),
                                             words("report --client 1 --out r.pdf"),
                                             words("report --all --out-dir all")};
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
        const QString path = folder.filePath(u"HCY300.db"_s);
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
            QVERIFY(execute(path, {u"DROP TABLE \"Customers\""_s}));
        else if (const QStringList statements = foreignObjects(kind); !statements.isEmpty())
            QVERIFY(execute(path, statements));
        else if (kind.startsWith(u"no ")) {
            const QString column = kind.section(u' ', 1, 1);
            // The indexes on the column go first; SQLite keeps a column an index uses.
            QVERIFY(execute(path, {u"DROP INDEX \"Customers by name\""_s,
                                   u"DROP INDEX IF EXISTS \"Customers by last name\""_s,
                                   u"ALTER TABLE \"Customers\" DROP COLUMN \"%1\""_s.arg(column)}));
        }
        if (kind == u"empty" || kind == u"random bytes" || kind == u"truncated") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            QCOMPARE(file.write(broken), broken.size());
        }
        const QByteArray before = contentsOf(path);
        const QStringList filesBefore = filesIn(folder.path());

        QStringList arguments = command;
        for (QString& argument : arguments)
            if (argument == u"r.pdf" || argument == u"all")
                argument = outputs.filePath(argument);
        const CommandRun run = cliRun(arguments + QStringList{u"--folder"_s, folder.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY2(!run.err.contains(u"Parameter count mismatch"), qPrintable(run.err));
        // The adviser is shown the file's path, not SQLite's address for it.
        QVERIFY2(!run.err.contains(u"file://"), qPrintable(run.err));
        QCOMPARE(filesIn(folder.path()), filesBefore);
        QCOMPARE(contentsOf(path), before);
        QVERIFY(!QFile::exists(outputs.filePath(u"r.pdf"_s)));
    }

    // A backup disc or a write-protected copy can be read and reported, not written.
    void readOnlyMedia()
    {
        ScratchMount media(1 << 20);
        SKIP_UNLESS_MOUNTED(media);
        putDatabase(media.path());
        QVERIFY(media.makeReadOnly());
        QTemporaryDir outputs;
        const QStringList folder = {u"--folder"_s, media.path()};

        const CommandRun profile = cliRun(words("profile --client 2") + folder);
        QVERIFY2(profile.exitCode == 0, qPrintable(profile.err));
        const CommandRun report = cliRun(
            QStringList{u"report"_s, u"--client"_s, u"2"_s, u"--sections"_s, u"2"_s, u"--out"_s,
                        outputs.filePath(u"r.pdf"_s), u"--documents"_s, documents()} +
            folder);
        QVERIFY2(report.exitCode == 0, qPrintable(report.err));

        const CommandRun demo = cliRun(words("demo --clients 1 --add") + folder);
        QCOMPARE(demo.exitCode, 1);
        QVERIFY2(demo.err.contains(u"read-only") || demo.err.contains(u"readonly"),
                 qPrintable(demo.err));
        QCOMPARE(filesIn(media.path()), QStringList{u"HCY300.db"_s});
    }

    // A report that does not fit is an error and leaves the good one it would have replaced.
    void fullDisk()
    {
        ScratchMount disk(8 << 20);
        SKIP_UNLESS_MOUNTED(disk);
        const QStringList common = {u"--folder"_s, m_program.folder(), u"--documents"_s,
                                    documents()};
        const QString target = disk.filePath(u"r.pdf"_s);
        const QStringList one =
            QStringList{u"report"_s, u"--client"_s, u"1"_s, u"--out"_s, target} + common;
        QCOMPARE(cliRun(one).exitCode, 0);
        const QByteArray good = contentsOf(target);
        QVERIFY(good.size() > 8192);
        QVERIFY(disk.fill(good.size() / 2));

        const CommandRun full = cliRun(one);
        QCOMPARE(full.exitCode, 1);
        QVERIFY2(full.err.contains(target) && full.err.contains(u"No space left on device"),
                 qPrintable(full.err));
        QVERIFY(!full.out.contains(u"Wrote"));
        QCOMPARE(contentsOf(target), good);

        const CommandRun all =
            cliRun(QStringList{u"report"_s, u"--all"_s, u"--out-dir"_s, disk.path()} + common);
        QCOMPARE(all.exitCode, 1);
        QVERIFY(all.out.contains(u"Wrote 0 of 30"));
        QCOMPARE(contentsOf(target), good);
        QCOMPARE(filesIn(disk.path()), (words("filler r.pdf")));

        // A database on the full disk: reading works, a save says so once and leaves no
        // journal files behind.
        const QString database = disk.filePath(u"db"_s);
        QVERIFY(QDir().mkdir(database));
        putDatabase(database);
        QVERIFY(disk.fill(0));
        const CommandRun exported =
            cliRun(QStringList{u"export"_s, u"--out"_s, disk.filePath(u"all.csv"_s), u"--folder"_s,
                               m_program.folder()});
        QCOMPARE(exported.exitCode, 1);
        QVERIFY2(exported.err.contains(u"No space left on device"), qPrintable(exported.err));
        QVERIFY(!QFile::exists(disk.filePath(u"all.csv"_s)));
        const QStringList onDisk = {u"--folder"_s, database};
        const CommandRun read = cliRun(words("profile --client 4") + onDisk);
        QVERIFY2(read.exitCode == 0, qPrintable(read.err));
        const CommandRun save = cliRun(words("demo --clients 5 --add") + onDisk);
        QCOMPARE(save.exitCode, 1);
        QVERIFY2(save.err.contains(u"the disk is full"), qPrintable(save.err));
        QCOMPARE(filesIn(database), QStringList{u"HCY300.db"_s});
    }

    // Outputs replace files, never what is not one; a link to a file writes the file.
    void outputThatIsNotAFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("pipe") << u"pipe"_s;
        QTest::newRow("folder") << u"folder"_s;
        QTest::newRow("device") << u"device"_s;
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
        const CommandRun run = cliRun(words("report --client 1 --sections 2 --folder") +
                                      QStringList{m_program.folder(), u"--out"_s, target});
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
        const QString folder = base.filePath(u"new/program"_s);
        const QString settings = base.filePath(u"settings"_s);
        qputenv("HALCYRA_CONFIG_DIR", QFile::encodeName(settings));
        const CommandRun demo = cliRun(words("demo --clients 2 --folder") << folder);
        const QString report = base.filePath(u"reports/one.pdf"_s);
        const QStringList write =
            words("report --client 1 --sections 2 --folder") + QStringList{folder, u"--out"_s};
        QDir().mkpath(base.filePath(u"reports"_s));
        const CommandRun second = cliRun(write + QStringList{report});
        const CommandRun all = cliRun(words("report --all --sections 2 --folder") +
                                      QStringList{folder, u"--out-dir"_s, base.filePath(u"all"_s)});
        const unsigned created = modeOf(report);
        SettingsStore(settings).setValue(u"HCY"_s, u"Options"_s, u"Key"_s, u"1"_s);
        // A report written over a file readable by others, or over a link planted where a
        // report goes, is a new owner-only file: the old mode is not kept, the link's target is
        // not touched.
        QFile::setPermissions(report, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                          QFile::ReadOther);
        const CommandRun replaced = cliRun(write + QStringList{report});
        const QString victim = base.filePath(u"victim.txt"_s);
        QVERIFY(writeFileWhole(victim, "not a report"));
        const QString linked = base.filePath(u"linked.pdf"_s);
        QVERIFY(QFile::link(victim, linked));
        const CommandRun throughLink = cliRun(write + QStringList{linked});
        const QString planted =
            base.filePath(u"all/"_s + filesIn(base.filePath(u"all"_s)).value(0));
        QVERIFY(QFile::remove(planted) && QFile::link(victim, planted));
        const CommandRun allAgain =
            cliRun(words("report --all --sections 2 --folder") +
                   QStringList{folder, u"--out-dir"_s, base.filePath(u"all"_s)});
        ::umask(oldMask);
        qputenv("HALCYRA_CONFIG_DIR", QFile::encodeName(m_program.settingsFolder()));

        QCOMPARE(demo.exitCode, 0);
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(all.exitCode, 0);
        QCOMPARE(replaced.exitCode, 0);
        QCOMPARE(throughLink.exitCode, 0);
        QCOMPARE(allAgain.exitCode, 0);
        QCOMPARE(contentsOf(victim), QByteArray("not a report"));
        for (const QString& written : {linked, planted}) {
            QVERIFY2(!QFileInfo(written).isSymLink(), qPrintable(written));
            QCOMPARE(modeOf(written), 0600u);
        }
        QCOMPARE(modeOf(base.filePath(u"new"_s)), 0700u);
        QCOMPARE(modeOf(folder), 0700u);
        QCOMPARE(modeOf(QDir(folder).filePath(u"HCY300.db"_s)), 0600u);
        // The reports read the database and leave nothing beside it.
        QCOMPARE(filesIn(folder), QStringList{u"HCY300.db"_s});
        QCOMPARE(modeOf(base.filePath(u"all"_s)), 0700u);
        for (const QString& name : filesIn(base.filePath(u"all"_s)))
            QCOMPARE(modeOf(base.filePath(u"all/"_s + name)), 0600u);
        QCOMPARE(created, 0600u);
        QCOMPARE(modeOf(settings), 0700u);
        QCOMPARE(modeOf(settings + u"/HCY.ini"_s), 0600u);
        QCOMPARE(modeOf(report), 0600u);
    }

    // A second writer waits for the first instead of failing at once.
    void secondWriterWaitsItsTurn()
    {
        QTemporaryDir folder;
        putDatabase(folder.path());
        const QString path = folder.filePath(u"HCY300.db"_s);
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"w"_s);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(u"BEGIN IMMEDIATE"_s));
        QProcess second;
        second.start(QStringLiteral(HALCYRA_CLI_PATH), words("demo --clients 1 --add --folder")
                                                           << folder.path());
        QVERIFY(second.waitForStarted());
        QTest::qWait(700);
        QVERIFY(query.exec(u"COMMIT"_s));
        QVERIFY(second.state() == QProcess::NotRunning || second.waitForFinished(30000));
        const QString err = QString::fromUtf8(second.readAllStandardError());
        QVERIFY2(second.exitCode() == 0, qPrintable(err));
        QVERIFY(query.exec(u"SELECT COUNT(*) FROM \"Customers\""_s) && query.next());
        QCOMPARE(query.value(0).toInt(), 31);
        query.finish();
        db.close();
        db = {};
        QSqlDatabase::removeDatabase(u"w"_s);
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
        row("init extra", words("init extra"), "'extra'");
        row("demo extra", words("demo --clients 3 --add extra"), "'extra'");
        row("seed text", words("demo --clients 3 --seed xyz"), "--seed");
        row("seed negative", words("demo --clients 3 --seed -1"), "--seed");
        row("flag with value", words("demo --clients 3 --add=yes"),
            "Unexpected value after '--add'");
        row("profile client text", words("profile --client x"), "--client");
        row("profile client zero", words("profile --client 0"), "--client");
        row("report client negative", words("report --client -4 --out x.pdf"), "--client");
    }

    void argumentEdges()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        QTemporaryDir folder;
        const CommandRun run = cliRun(arguments + QStringList{u"--folder"_s, folder.path()});
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
        QVERIFY(execute(folder.filePath(u"HCY300.db"_s),
                        {QStringLiteral("UPDATE \"Customers\" SET \"LastName\" = '%1', "
                                        "\"FirstName\" = '%1' WHERE \"CustomerID\" = 7")
                             .arg(longName)}));
        QTemporaryDir outputs;
        const CommandRun run =
            cliRun({u"report"_s, u"--all"_s, u"--sections"_s, u"2"_s, u"--folder"_s, folder.path(),
                    u"--out-dir"_s, outputs.path()});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const QStringList names = filesIn(outputs.path()).filter(u"07 "_s);
        QCOMPARE(names.size(), 1);
        QVERIFY(names[0].startsWith(u"07 "_s + QChar(0x00C4)));
        QVERIFY(names[0].endsWith(u".pdf"_s));
        QVERIFY(QFile::encodeName(names[0]).size() <= 255);
    }

    // A score beyond any number is still printed as a number.
    void hugeScoreIsANumber()
    {
        const CommandRun run =
            cliRun({u"profile"_s, u"--json"_s, u"--scores"_s, u"1e999,-1e999"_s});
        QCOMPARE(run.exitCode, 0);
        const QJsonArray rows =
            QJsonDocument::fromJson(run.out.toUtf8()).object()[u"rows"_s].toArray();
        QVERIFY(rows.size() > 2);
        QVERIFY(rows[0].toObject()[u"score"_s].toDouble() > 1e300);
        QVERIFY(rows[1].toObject()[u"score"_s].toDouble() < -1e300);
    }
};

QTEST_MAIN(CliFaults)
#include "tst_cli_faults.moc"
