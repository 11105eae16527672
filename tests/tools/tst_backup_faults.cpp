// BuRest against what goes wrong around it: the program open on the database, a current file
// that is damaged or gone, backups the program would refuse, backup dates that file times
// contradict, stopped runs, a full disk and the mode of the folders it makes.

#include "BackupStore.h"
#include "records/CompanyRecord.h"
#include "records/DatabaseFile.h"
#include "support/CompanyRow.h"
#include "support/ScratchMount.h"
#include "support/TempProgramFolder.h"
#include "tst_backup_helpers.h"

#include <QDir>
#include <QLockFile>
#include <QRegularExpression>
#include <QSettings>
#include <QtTest>
#include <sys/stat.h>

using namespace halcyra;
using namespace halcyra::burest;
using namespace halcyra::test;

namespace {

QString backupsOf(const TempProgramFolder& folder)
{
    return folder.path(QStringLiteral("Backups"));
}

// A database of `clients` demo clients in `folder` and a backup of it.
QString databaseWithBackup(const TempProgramFolder& folder, int clients)
{
    folder.createDatabase();
    const QString database = folder.path(QStringLiteral("HCY300.db"));
    addClients(database, clients);
    const auto backup = makeBackup(database, backupsOf(folder), kDefaultKeep);
    if (!backup)
        qFatal("backup: %s", qPrintable(backup.error()));
    return backup->path;
}

// The process that holds the program's lock in the temporary folder, or 0.
bool lockHeldBy(qint64 pid)
{
    const QFileInfoList locks =
        QDir(QDir::tempPath()).entryInfoList({QStringLiteral("halcyra-*.lock")}, QDir::Files);
    for (const QFileInfo& file : locks) {
        qint64 holder = 0;
        QString host;
        QString application;
        if (QLockFile(file.absoluteFilePath()).getLockInfo(&holder, &host, &application) &&
            holder == pid)
            return true;
    }
    return false;
}

QStringList filesIn(const QString& folder)
{
    QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

QStringList partsIn(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("*.part*")}, QDir::Files | QDir::Hidden);
}

} // namespace

class BackupFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void restoreWaitsUntilTheProgramIsClosed()
    {
        TempProgramFolder folder;
        const QString backup = databaseWithBackup(folder, 50);
        const QString database = folder.path(QStringLiteral("HCY300.db"));
        QVERIFY(saveCompanyRow(database, fullCompanyRow()));
        addClients(database, 5, 9);
        const QList<QVariantList> current = dump(database);
        {
            QSettings exe(folder.settingsFolder() + QStringLiteral("/HCY.ini"),
                          QSettings::IniFormat);
            exe.setValue(QStringLiteral("Options/Tutorial"), QStringLiteral("True"));
            QSettings title(folder.settingsFolder() + QStringLiteral("/Halcyra 6.3.ini"),
                            QSettings::IniFormat);
            title.setValue(QStringLiteral("Options/Show Tips at Startup"), QStringLiteral("0"));
        }

        QProcess program;
        program.setWorkingDirectory(folder.folder());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HALCYRA_CONFIG_DIR"), folder.settingsFolder());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(HALCYRA_APP_PATH),
                      {QStringLiteral("--splash-seconds"), QStringLiteral("0")});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(lockHeldBy(program.processId()), 20000);

        // The command line and the window (which calls restoreBackup) both refuse.
        const BuRestRun refused =
            runBuRest({QStringLiteral("restore"), backup, QStringLiteral("--database"), database});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY2(refused.err.contains(QStringLiteral("Halcyra is open on this database")),
                 qPrintable(refused.err));
        const auto inWindow = restoreBackup(backup, database, backupsOf(folder));
        QVERIFY(!inWindow);
        QVERIFY2(inWindow.error().contains(QStringLiteral("must be closed first")),
                 qPrintable(inWindow.error()));
        QCOMPARE(program.state(), QProcess::Running);
        QCOMPARE(dump(database), current);
        QCOMPARE(listBackups(backupsOf(folder)).size(), size_t(1)); // nothing kept for nothing

        program.kill();
        QVERIFY(program.waitForFinished(10000));
        const BuRestRun restored =
            runBuRest({QStringLiteral("restore"), backup, QStringLiteral("--database"), database});
        QVERIFY2(restored.exitCode == 0, qPrintable(restored.err));
        QCOMPARE(dump(database).size(), 50);
    }

    void restoreOverADamagedOrMissingDatabase_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("missing") << QStringLiteral("missing");
        QTest::newRow("truncated") << QStringLiteral("truncated");
        QTest::newRow("malformed pages") << QStringLiteral("malformed");
        QTest::newRow("not a database") << QStringLiteral("text");
    }

    void restoreOverADamagedOrMissingDatabase()
    {
        QFETCH(QString, damage);
        TempProgramFolder folder;
        const QString backup = databaseWithBackup(folder, 120);
        const QString database = folder.path(QStringLiteral("HCY300.db"));
        const QList<QVariantList> backedUp = dump(backup);
        addClients(database, 30, 7);

        QByteArray bytes = fileBytes(database);
        QVERIFY(bytes.size() > 8192);
        if (damage == u"truncated")
            bytes.truncate(bytes.size() / 2);
        else if (damage == u"malformed")
            for (qsizetype at = 4096; at < bytes.size(); at += 7)
                bytes[at] = static_cast<char>(at * 31);
        else if (damage == u"text")
            bytes = "Client notes, not a database\n";
        QFile::remove(database);
        if (damage != u"missing")
            folder.writeFile(QStringLiteral("HCY300.db"), bytes);

        const auto restored = restoreBackup(backup, database, backupsOf(folder));
        QVERIFY2(restored, qPrintable(restored.error()));
        QCOMPARE(restored->clients, 120);
        QCOMPARE(dump(database), backedUp);
        if (damage == u"missing") {
            QVERIFY(restored->keptCopy.isEmpty());
        } else {
            QVERIFY2(QFileInfo(restored->keptCopy).fileName().contains(QStringLiteral("damaged")),
                     qPrintable(restored->keptCopy));
            QCOMPARE(fileBytes(restored->keptCopy), bytes);
            QVERIFY(ownerOnly(restored->keptCopy, false));
        }
        QVERIFY(ownerOnly(database, false));
        QCOMPARE(partsIn(folder.folder()), QStringList());
        QCOMPARE(partsIn(backupsOf(folder)), QStringList());
    }

    void restoreRefusesWhatTheProgramWouldNotOpen_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("named");
        QTest::newRow("newer schema") << QStringLiteral("PRAGMA user_version = 99")
                                      << QStringLiteral("newer version of Halcyra");
        QTest::newRow("trigger")
            << QStringLiteral("CREATE TRIGGER \"Wipe\" AFTER INSERT ON \"Customers\" BEGIN "
                              "DELETE FROM \"Customers\"; END")
            << QStringLiteral("\"Wipe\"");
        QTest::newRow("view") << QStringLiteral("CREATE VIEW \"Peek\" AS SELECT 1")
                              << QStringLiteral("\"Peek\"");
        QTest::newRow("table") << QStringLiteral("CREATE TABLE \"Extra\" (\"x\" TEXT)")
                               << QStringLiteral("\"Extra\"");
    }

    void restoreRefusesWhatTheProgramWouldNotOpen()
    {
        QFETCH(QString, statement);
        QFETCH(QString, named);
        TempProgramFolder folder;
        const QString backup = databaseWithBackup(folder, 60);
        const QString database = folder.path(QStringLiteral("HCY300.db"));
        QVERIFY(execPlain(backup, {statement}));
        addClients(database, 4, 3);
        const QList<QVariantList> before = dump(database);

        const auto restored = restoreBackup(backup, database, backupsOf(folder));
        QVERIFY2(!restored, "restored");
        QVERIFY2(restored.error().startsWith(QStringLiteral("Nothing was restored.")),
                 qPrintable(restored.error()));
        QVERIFY2(restored.error().contains(named), qPrintable(restored.error()));
        QVERIFY2(restored.error().contains(QDir::toNativeSeparators(backup)),
                 qPrintable(restored.error()));
        QVERIFY2(!restored.error().contains(QStringLiteral("file:")), qPrintable(restored.error()));
        QCOMPARE(dump(database), before);
        QCOMPARE(listBackups(backupsOf(folder)).size(), size_t(1));
    }

    void backupsAreKeptByTheDateInTheirNames()
    {
        TempProgramFolder folder;
        const QString first = databaseWithBackup(folder, 30);
        const QString database = folder.path(QStringLiteral("HCY300.db"));
        const QDir backups(backupsOf(folder));
        // Older backups whose file times say they are newer (copied, touched, clock changed).
        const QDateTime later(QDate(2099, 1, 1), QTime(12, 0));
        QStringList old;
        for (const char* name : {"HCY300-2020-01-01-120000.db", "HCY300-2020-01-02-120000.db",
                                 "HCY300-2020-01-02-120000-2.db", "HCY300-2020-01-03-120000.db",
                                 "HCY300-before-restore-2020-01-01-000000.db"}) {
            const QString path = backups.filePath(QString::fromLatin1(name));
            QVERIFY(QFile::copy(first, path));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(later, QFileDevice::FileModificationTime));
            old << QString::fromLatin1(name);
        }
        QVERIFY(QFile::remove(first));

        const BuRestRun run =
            runBuRest({QStringLiteral("backup"), QStringLiteral("--keep"), QStringLiteral("3"),
                       QStringLiteral("--database"), database});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        const auto where =
            QRegularExpression(QStringLiteral("written to (.+)$")).match(run.out.trimmed());
        QVERIFY2(where.hasMatch(), qPrintable(run.out));
        const QString written = where.captured(1);
        QVERIFY2(QFileInfo(written).isFile(), "the backup reported is not there");
        QCOMPARE(filesIn(backups.path()),
                 QStringList({QStringLiteral("HCY300-2020-01-02-120000-2.db"),
                              QStringLiteral("HCY300-2020-01-03-120000.db"),
                              QFileInfo(written).fileName(),
                              QStringLiteral("HCY300-before-restore-2020-01-01-000000.db")}));
        const auto listed = listBackups(backups.path());
        QCOMPARE(QFileInfo(listed.front().path).fileName(), QFileInfo(written).fileName());
    }

    void stoppedRunsLeaveNoCopiesBehind()
    {
        TempProgramFolder folder;
        const QString backup = databaseWithBackup(folder, 20);
        const QString database = folder.path(QStringLiteral("HCY300.db"));
        const QDir backups(backupsOf(folder));
        const QString gone = QStringLiteral("2147483000"); // above any process id
        const QString mine = QString::number(QCoreApplication::applicationPid());
        const QStringList stale = {
            QStringLiteral("HCY300-2021-01-01-000000.db.%1.part").arg(gone),
            QStringLiteral("HCY300-2021-01-01-000000.db.%1.part-journal").arg(gone),
            QStringLiteral("HCY300-before-restore-2021-01-02-000000.db.%1.part").arg(gone),
            QStringLiteral("HCY300-2021-01-03-000000.db.part")};
        const QString running = QStringLiteral("HCY300-2021-01-04-000000.db.%1.part").arg(mine);
        for (const QString& name : stale + QStringList{running})
            QVERIFY(QFile(backups.filePath(name)).open(QIODevice::WriteOnly));
        {
            QFile unnamed(backups.filePath(stale.last()));
            QVERIFY(unnamed.open(QIODevice::ReadWrite));
            QVERIFY(unnamed.setFileTime(QDateTime(QDate(2021, 1, 3), QTime(0, 0)),
                                        QFileDevice::FileModificationTime));
        }
        const QString beside = QStringLiteral("HCY300.db.%1.part").arg(gone);
        folder.writeFile(beside, "half a database");

        const BuRestRun listed =
            runBuRest({QStringLiteral("list"), QStringLiteral("--database"), database});
        QCOMPARE(listed.exitCode, 0);
        for (const QString& name : stale)
            QVERIFY2(listed.out.contains(name), qPrintable(listed.out));
        QVERIFY2(!listed.out.contains(running), qPrintable(listed.out));

        QCOMPARE(
            runBuRest({QStringLiteral("backup"), QStringLiteral("--database"), database}).exitCode,
            0);
        QCOMPARE(partsIn(backups.path()), QStringList{running});
        QCOMPARE(
            runBuRest({QStringLiteral("restore"), backup, QStringLiteral("--database"), database})
                .exitCode,
            0);
        QCOMPARE(partsIn(folder.folder()), QStringList());
    }

    void fullDiskBackupSaysSoAndLeavesNothing()
    {
        ScratchMount mount(24 << 20);
        SKIP_UNLESS_MOUNTED(mount);
        const auto created = createDatabaseIfMissing(mount.path());
        QVERIFY2(created && *created == CreateResult::Created, qPrintable(created.error()));
        const QString database = mount.filePath(QStringLiteral("HCY300.db"));
        addClients(database, 1500);
        const qint64 size = QFileInfo(database).size();
        QVERIFY2(size > (256 << 10), qPrintable(QString::number(size)));
        QVERIFY(mount.fill(size / 4));
        const QStringList before = filesIn(mount.path());
        QCOMPARE(before, QStringList({QStringLiteral("HCY300.db"), QStringLiteral("filler")}));

        const BuRestRun run =
            runBuRest({QStringLiteral("backup"), QStringLiteral("--database"), database});
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.contains(QStringLiteral("No space left on device")), qPrintable(run.err));
        QVERIFY2(!run.err.contains(QStringLiteral("disk I/O error")), qPrintable(run.err));
        QCOMPARE(filesIn(mount.path()), before);
    }

    void foldersItMakesAreOwnerOnly()
    {
        TempProgramFolder folder;
        folder.createDatabase();
        const QString database = folder.path(QStringLiteral("HCY300.db"));
        const mode_t previous = ::umask(022);
        const BuRestRun run =
            runBuRest({QStringLiteral("backup"), QStringLiteral("--to"), QStringLiteral("bk/x"),
                       QStringLiteral("--database"), database},
                      folder.folder());
        ::umask(previous);
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QVERIFY(ownerOnly(folder.path(QStringLiteral("bk")), true));
        QVERIFY(ownerOnly(folder.path(QStringLiteral("bk/x")), true));
    }
};

QTEST_GUILESS_MAIN(BackupFaultsTest)
#include "tst_backup_faults.moc"
