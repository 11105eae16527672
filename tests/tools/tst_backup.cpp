// BuRest: a backup taken while the program writes, backup and restore round trip, and restores
// that must be refused.

#include "BackupStore.h"
#include "records/ClientRecord.h"
#include "records/DatabaseFile.h"
#include "records/DemoClients.h"
#include "support/TempProgramFolder.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

using namespace halcyra;
using namespace halcyra::burest;
using halcyra::test::TempProgramFolder;

namespace {

// Runs `work` on a connection of its own to `path`, closed again afterwards.
template <typename Work> auto withDatabase(const QString& path, Work work)
{
    static int counter = 0;
    const QString name = QStringLiteral("backup-test-%1").arg(++counter);
    QString error;
    if (!openDatabase(path, name, &error))
        qFatal("open %s: %s", qPrintable(path), qPrintable(error));
    struct Remove
    {
        QString name;
        ~Remove() { QSqlDatabase::removeDatabase(name); }
    } remove{name};
    QSqlDatabase db = QSqlDatabase::database(name);
    auto result = work(db);
    db.close();
    return result;
}

void addClients(const QString& path, int count)
{
    withDatabase(path, [count](QSqlDatabase& db) {
        QString error;
        if (addDemoClients(db, count, 5, &error) < 0)
            qFatal("demo clients: %s", qPrintable(error));
        return 0;
    });
}

// Every stored value of every client, in record-number order.
QList<QVariantList> dump(const QString& path)
{
    return withDatabase(path, [](QSqlDatabase& db) {
        QList<QVariantList> rows;
        QSqlQuery query(db);
        query.exec(QStringLiteral("SELECT * FROM \"Customers\" ORDER BY \"CustomerID\""));
        while (query.next()) {
            QVariantList row;
            for (int c = 0; c < query.record().count(); ++c)
                row << query.value(c);
            rows << row;
        }
        return rows;
    });
}

int scalar(const QString& path, const QString& sql)
{
    return withDatabase(path, [&sql](QSqlDatabase& db) {
        QSqlQuery query(db);
        return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
    });
}

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

bool ownerOnly(const QString& path, bool folder)
{
    const auto owner =
        QFile::ReadOwner | QFile::WriteOwner | (folder ? QFile::ExeOwner : QFile::Permissions());
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                        QFile::WriteOther | QFile::ExeOther;
    const auto permissions = QFile::permissions(path);
    return (permissions & owner) == owner && !(permissions & others);
}

} // namespace

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
        const int committed =
            scalar(database, QStringLiteral("SELECT count(*) FROM \"Customers\""));
        const int lastCommitted =
            scalar(database, QStringLiteral("SELECT max(\"CustomerID\") FROM \"Customers\""));

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
                       {"truncated.db", "is incomplete"},
                       {"other.db", "has no column \"CustomerID\""},
                       {"missing.db", "Cannot read"}};
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
