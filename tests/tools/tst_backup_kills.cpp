// BuRest stopped dead at random moments: the database and the backups stay whole.

#include "BackupStore.h"
#include "support/TempProgramFolder.h"
#include "tst_backup_helpers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QtTest>

using namespace halcyra;
using namespace halcyra::burest;
using namespace halcyra::test;

namespace {

constexpr int kKills = 100;

// Starts BuRest and kills it after a random time up to `longestMs`; true when it ended on its
// own first. What it printed is in `out`.
bool runAndKill(const QStringList& arguments, int longestMs, QString* out = nullptr)
{
    QProcess burest;
    burest.start(QStringLiteral(HALCYRA_BUREST_PATH), arguments);
    if (!burest.waitForStarted())
        qFatal("BuRest does not start");
    const int after = static_cast<int>(QRandomGenerator::global()->bounded(longestMs + 1));
    const bool ended = burest.waitForFinished(after);
    if (!ended) {
        burest.kill();
        burest.waitForFinished(10000);
    }
    if (out)
        *out = QString::fromUtf8(burest.readAllStandardOutput());
    return ended && burest.exitStatus() == QProcess::NormalExit && burest.exitCode() == 0;
}

int millisecondsOf(const QStringList& arguments)
{
    QElapsedTimer timer;
    timer.start();
    const BuRestRun run = runBuRest(arguments);
    if (run.exitCode != 0)
        qFatal("BuRest: %s", qPrintable(run.err));
    return static_cast<int>(timer.elapsed());
}

QStringList regularBackups(const QString& folder)
{
    QStringList names;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.db")}, QDir::Files))
        if (QRegularExpression(QStringLiteral("^HCY300-\\d{4}-\\d{2}-\\d{2}-\\d{6}(-\\d+)?\\.db$"))
                .match(name)
                .hasMatch())
            names << name;
    return names;
}

// Newest first by the date in the name, then the number after it.
QString newestOf(QStringList names)
{
    const auto key = [](const QString& name) {
        const QString stem = name.chopped(3).mid(7);
        const QString stamp = stem.left(17);
        const int n = stem.size() > 17 ? stem.mid(18).toInt() : 1;
        return stamp + QString::number(n).rightJustified(6, u'0');
    };
    std::sort(names.begin(), names.end(),
              [&key](const QString& a, const QString& b) { return key(a) > key(b); });
    return names.value(0);
}

} // namespace

class BackupKillsTest : public QObject
{
    Q_OBJECT

private slots:
    void restoreKilledAtRandomMoments()
    {
        TempProgramFolder folder;
        folder.createDatabase();
        const QString database = folder.path(QStringLiteral("HCY300.db"));
        const QString backups = folder.path(QStringLiteral("Backups"));
        addClients(database, 300);
        const auto first = makeBackup(database, backups, kDefaultKeep);
        QVERIFY2(first, qPrintable(first.error()));
        withDatabase(database, [](QSqlDatabase& db) {
            return QSqlQuery(db).exec(
                QStringLiteral("UPDATE \"Customers\" SET \"LastName\" = 'Second'"));
        });
        addClients(database, 40, 11);
        const auto second = makeBackup(database, backups, kDefaultKeep);
        QVERIFY2(second, qPrintable(second.error()));
        const QList<QList<QVariantList>> states = {dump(first->path), dump(second->path)};
        const QStringList paths = {first->path, second->path};

        // Another program has the database open all the while.
        const Status opened = openDatabase(database, QStringLiteral("holder"));
        QVERIFY2(opened, qPrintable(opened.error()));
        QSqlDatabase holder = QSqlDatabase::database(QStringLiteral("holder"));
        int now = dumpOf(holder) == states[0] ? 0 : 1;
        QCOMPARE(dumpOf(holder), states[now]);

        const auto restoreOf = [&](int state) {
            return QStringList{QStringLiteral("restore"), paths[state],
                               QStringLiteral("--database"), database};
        };
        const int longest = millisecondsOf(restoreOf(1 - now)) * 3 / 2;
        now = 1 - now;
        for (int kill = 0; kill < kKills; ++kill) {
            const int wanted = 1 - now;
            runAndKill(restoreOf(wanted), longest);
            QSqlQuery check(holder);
            QVERIFY(check.exec(QStringLiteral("PRAGMA integrity_check")) && check.next());
            QCOMPARE(check.value(0).toString(), QStringLiteral("ok"));
            check.finish();
            const QList<QVariantList> seen = dumpOf(holder);
            QVERIFY2(
                seen == states[0] || seen == states[1],
                qPrintable(
                    QStringLiteral("a mix of %1 rows after kill %2").arg(seen.size()).arg(kill)));
            now = seen == states[0] ? 0 : 1;
        }
        holder.close();
        holder = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));

        // A run to its end clears what the stopped ones left; every named copy is whole.
        const BuRestRun last = runBuRest(restoreOf(1 - now));
        QVERIFY2(last.exitCode == 0, qPrintable(last.err + last.out));
        QCOMPARE(QDir(backups).entryList({QStringLiteral("*.part*")}, QDir::Files), QStringList());
        QCOMPARE(QDir(folder.folder()).entryList({QStringLiteral("*.part*")}, QDir::Files),
                 QStringList());
        for (const QString& name : QDir(backups).entryList({QStringLiteral("*.db")}, QDir::Files)) {
            const auto whole = checkClientDatabase(QDir(backups).filePath(name));
            QVERIFY2(whole, qPrintable(whole.error()));
        }
    }

    void backupKilledAtRandomMoments()
    {
        TempProgramFolder folder;
        folder.createDatabase();
        const QString database = folder.path(QStringLiteral("HCY300.db"));
        const QString backups = folder.path(QStringLiteral("Backups"));
        addClients(database, 300);
        const auto made = makeBackup(database, backups, kDefaultKeep);
        QVERIFY2(made, qPrintable(made.error()));
        // Older backups that file times call newer.
        const QDateTime later(QDate(2099, 1, 1), QTime(12, 0));
        for (const char* name : {"HCY300-2020-01-01-120000.db", "HCY300-2020-01-02-120000.db",
                                 "HCY300-2020-01-03-120000.db"}) {
            const QString path = QDir(backups).filePath(QString::fromLatin1(name));
            QVERIFY(QFile::copy(made->path, path));
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.setFileTime(later, QFileDevice::FileModificationTime));
        }
        QVERIFY(QFile::remove(made->path));

        const QStringList arguments = {QStringLiteral("backup"), QStringLiteral("--keep"),
                                       QStringLiteral("3"), QStringLiteral("--database"), database};
        const int longest = millisecondsOf(arguments) * 3 / 2;
        QString newest = newestOf(regularBackups(backups));
        int finished = 0;
        for (int kill = 0; kill < kKills; ++kill) {
            QString out;
            if (runAndKill(arguments, longest, &out)) {
                ++finished;
                const auto where =
                    QRegularExpression(QStringLiteral("written to (.+)$")).match(out.trimmed());
                QVERIFY2(where.hasMatch(), qPrintable(out));
                QVERIFY2(QFileInfo(where.captured(1)).isFile(),
                         qPrintable(QStringLiteral("reported but gone: ") + where.captured(1)));
            }
            const QStringList present = regularBackups(backups);
            QVERIFY2(present.contains(newest),
                     qPrintable(QStringLiteral("the newest backup %1 was lost at kill %2")
                                    .arg(newest)
                                    .arg(kill)));
            for (const QString& name : present) {
                const auto whole = checkClientDatabase(QDir(backups).filePath(name));
                QVERIFY2(whole, qPrintable(whole.error()));
                QCOMPARE(*whole, 300);
            }
            newest = newestOf(present);
        }
        QVERIFY2(finished > 0, "no run ended on its own");
    }
};

QTEST_GUILESS_MAIN(BackupKillsTest)
#include "tst_backup_kills.moc"
