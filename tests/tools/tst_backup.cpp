// BuRest: a backup taken while the program writes, backup and restore round trip, and restores
// that must be refused.

#include "BackupStore.h"
#include "support/TempProgramFolder.h"
#include "tst_backup_helpers.h"

#include <QRegularExpression>
#include <QtTest>

using namespace halcyra;
using namespace halcyra::burest;
using namespace halcyra::test;

class BackupTest : public QObject
{
    Q_OBJECT

private slots:
    void backupWhileTheProgramWrites()
    {
        TempProgramFolder folder;
        folder.createDatabase();
        const QString database = folder.path(QStringLiteral("HCY300.db"));
        addClients(database, 3000);

        // Another process saves clients in a loop until told to stop.
        QProcess writer;
        writer.setWorkingDirectory(folder.folder());
        writer.start(QStringLiteral("sh"),
                     {QStringLiteral("-c"),
                      QStringLiteral("while [ ! -e stop ]; do \"$0\" demo --add --clients 20 "
                                     "--folder . >/dev/null 2>>writer.err; done"),
                      QStringLiteral(HALCYRA_CLI_PATH)});
        QVERIFY(writer.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(scalar(database, QStringLiteral("SELECT count(*) FROM "
                                                                 "\"Customers\"")) > 3040,
                                 20000);
        // Read as one snapshot: the writer may commit between two separate queries.
        const int lastCommitted =
            scalar(database, QStringLiteral("SELECT max(\"CustomerID\") FROM \"Customers\""));
        const int committed = scalar(database, QStringLiteral("SELECT count(*) FROM \"Customers\" "
                                                              "WHERE \"CustomerID\" <= %1")
                                                   .arg(lastCommitted));

        QProcess burest;
        burest.start(QStringLiteral(HALCYRA_BUREST_PATH),
                     {QStringLiteral("backup"), QStringLiteral("--database"), database});
        QVERIFY(burest.waitForFinished(60000));
        const QString said = QString::fromUtf8(burest.readAllStandardOutput());
        folder.writeFile(QStringLiteral("stop"), {});
        QVERIFY(writer.waitForFinished(30000));
        QVERIFY2(burest.exitCode() == 0, burest.readAllStandardError().constData());
        QVERIFY(scalar(database, QStringLiteral("SELECT count(*) FROM \"Customers\"")) > committed);

        const auto where =
            QRegularExpression(QStringLiteral("written to (.+)$")).match(said.trimmed());
        QVERIFY2(where.hasMatch(), qPrintable(said));
        const QString backup = where.captured(1);
        QVERIFY(backup.startsWith(folder.path(QStringLiteral("Backups"))));
        const auto checked = checkClientDatabase(backup);
        QVERIFY2(checked, qPrintable(checked.error()));
        QVERIFY(*checked >= committed);
        QCOMPARE(scalar(backup, QStringLiteral("SELECT count(*) FROM \"Customers\" WHERE "
                                               "\"CustomerID\" <= %1")
                                    .arg(lastCommitted)),
                 committed);
        QVERIFY(ownerOnly(backup, false));
        QVERIFY(ownerOnly(folder.path(QStringLiteral("Backups")), true));
    }

    void backupThenRestoreRoundTrips()
    {
        TempProgramFolder folder;
        folder.createDatabase();
        const QString database = folder.path(QStringLiteral("HCY300.db"));
        const QString backups = folder.path(QStringLiteral("Backups"));
        addClients(database, 400);
        const QList<QVariantList> original = dump(database);

        const auto backup = makeBackup(database, backups, kDefaultKeep);
        QVERIFY2(backup, qPrintable(backup.error()));
        QCOMPARE(backup->clients, 400);
        QCOMPARE(listBackups(backups).size(), size_t(1));

        // Work goes on after the backup; restoring goes back to the backup's records.
        withDatabase(database, [](QSqlDatabase& db) {
            QSqlQuery query(db);
            query.exec(QStringLiteral("DELETE FROM \"Customers\" WHERE \"CustomerID\" % 7 = 0"));
            query.exec(QStringLiteral("UPDATE \"Customers\" SET \"LastName\" = 'Changed'"));
            return 0;
        });
        addClients(database, 10);
        const QList<QVariantList> changed = dump(database);

        int percent = -1;
        const auto restored =
            restoreBackup(backup->path, database, backups, [&percent](int p) { percent = p; });
        QVERIFY2(restored, qPrintable(restored.error()));
        QCOMPARE(percent, 100);
        QCOMPARE(dump(database), original);
        QCOMPARE(dump(restored->keptCopy), changed);
        QVERIFY(ownerOnly(restored->keptCopy, false));

        // Only the newest backups stay; the copy kept before a restore is not one of them.
        for (int i = 0; i < 3; ++i)
            QVERIFY(makeBackup(database, backups, 2));
        QCOMPARE(listBackups(backups).size(), size_t(3));
    }

    void restoreRefusesAnythingButAWholeClientDatabase()
    {
        TempProgramFolder folder;
        folder.createDatabase();
        const QString database = folder.path(QStringLiteral("HCY300.db"));
        const QString backups = folder.path(QStringLiteral("Backups"));
        addClients(database, 200);
        const auto backup = makeBackup(database, backups, kDefaultKeep);
        QVERIFY(backup);

        QFile whole(backup->path);
        QVERIFY(whole.open(QIODevice::ReadOnly));
        folder.writeFile(QStringLiteral("truncated.db"), whole.read(whole.size() / 2));
        folder.writeFile(QStringLiteral("notes.db"), "Client notes, not a database\n");
        {
            QSqlDatabase other =
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            other.setDatabaseName(folder.path(QStringLiteral("other.db")));
            QVERIFY(other.open());
            QVERIFY(QSqlQuery(other).exec(
                QStringLiteral("CREATE TABLE \"Customers\" (\"Name\" TEXT)")));
            other.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));

        const QByteArray before = fileHash(database);
        const struct
        {
            const char* file;
            const char* reason;
        } refused[] = {{"notes.db", "is not a Halcyra database"},
                       {"truncated.db", "is truncated"},
                       {"other.db", "is not a Halcyra database"},
                       {"missing.db", "There is no database"}};
        for (const auto& each : refused) {
            const auto restored =
                restoreBackup(folder.path(QString::fromLatin1(each.file)), database, backups);
            QVERIFY2(!restored, each.file);
            QVERIFY2(restored.error().startsWith(QStringLiteral("Nothing was restored.")),
                     qPrintable(restored.error()));
            QVERIFY2(restored.error().contains(QString::fromUtf8(each.reason)),
                     qPrintable(restored.error()));
        }
        QCOMPARE(fileHash(database), before);
        QCOMPARE(listBackups(backups).size(), size_t(1)); // no copy kept for nothing
    }
};

QTEST_GUILESS_MAIN(BackupTest)
#include "tst_backup.moc"
