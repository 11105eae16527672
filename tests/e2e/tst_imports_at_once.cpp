// Two imports of one file into one database at the same time, one of them killed at a random
// moment: every client of the file must end up there exactly once.

#include "support/TempProgramFolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>
#include <csignal>

using halcyra::test::TempProgramFolder;
using namespace Qt::StringLiterals;

namespace {

constexpr int kRounds = 100;
constexpr int kInFile = 120;
constexpr int kAlreadyThere = 20;

struct Counts
{
    QString integrity;
    int clients = -1;
    int distinct = -1;
};

Counts countsOf(const QString& path)
{
    Counts counts;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"check"_s);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(u"PRAGMA integrity_check"_s) && query.next())
                counts.integrity = query.value(0).toString();
            if (query.exec(u"SELECT COUNT(*) FROM Customers"_s) && query.next())
                counts.clients = query.value(0).toInt();
            if (query.exec(u"SELECT COUNT(*) FROM (SELECT DISTINCT LastName, FirstName, Phone "
                           "FROM Customers)"_s) &&
                query.next())
                counts.distinct = query.value(0).toInt();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(u"check"_s);
    return counts;
}

QProcess* startImport(const QString& csv, const QString& folder, QObject* parent)
{
    auto* process = new QProcess(parent);
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->start(QStringLiteral(HALCYRA_CLI_PATH), {u"import"_s, csv, u"--folder"_s, folder});
    process->waitForStarted();
    return process;
}

} // namespace

class ImportsAtOnce : public QObject
{
    Q_OBJECT

private slots:
    void everyClientOnceWhateverIsKilled()
    {
        TempProgramFolder base;
        const QString cli = QStringLiteral(HALCYRA_CLI_PATH);
        QCOMPARE(QProcess::execute(cli, {u"demo"_s, u"--clients"_s, QString::number(kAlreadyThere),
                                         u"--folder"_s, base.folder()}),
                 0);
        QByteArray csv = "Last Name,First Name,Phone\n";
        for (int i = 0; i < kInFile; ++i)
            csv += u"Twice%1,Ida,555-%2\n"_s.arg(i).arg(i, 4, 10, QChar(u'0')).toUtf8();
        base.writeFile(u"clients.csv"_s, csv);
        const QString csvPath = base.path(u"clients.csv"_s);
        QFile baseDb(base.path(u"HCY300.db"_s));

        int killedMidway = 0;
        // Kills fall within the time an import takes here, measured by the rounds that are not
        // killed (the first among them), so they meet imports at work on a fast machine or a
        // slow one.
        qint64 killWindowMs = 120;
        for (int round = 0; round < kRounds; ++round) {
            QTemporaryDir roundDir;
            const QString db = roundDir.filePath(u"HCY300.db"_s);
            QVERIFY(baseDb.copy(db));
            QObject owner;
            QElapsedTimer clock;
            clock.start();
            QProcess* first = startImport(csvPath, roundDir.path(), &owner);
            QProcess* second = startImport(csvPath, roundDir.path(), &owner);
            QVERIFY(first->processId() > 0 && second->processId() > 0);
            // One round in ten lets both run to their end.
            const bool kill = round % 10 != 0;
            if (kill) {
                QTest::qWait(static_cast<int>(QRandomGenerator::global()->bounded(killWindowMs)));
                // A process that has ended has no id any more, and kill(0) would hit this test.
                if (const qint64 pid = first->processId(); pid > 0)
                    ::kill(static_cast<pid_t>(pid), SIGKILL);
            }
            first->waitForFinished(60000);
            if (!kill)
                killWindowMs = std::max<qint64>(10, clock.elapsed());
            second->waitForFinished(60000);
            QVERIFY(first->state() == QProcess::NotRunning &&
                    second->state() == QProcess::NotRunning);
            if (kill && first->exitStatus() == QProcess::CrashExit)
                ++killedMidway;
            else
                QVERIFY2(first->exitCode() == 0, first->readAll().constData());
            QVERIFY2(second->exitStatus() == QProcess::NormalExit && second->exitCode() == 0,
                     second->readAll().constData());

            const Counts counts = countsOf(db);
            QCOMPARE(counts.integrity, u"ok"_s);
            QVERIFY2(counts.clients == kAlreadyThere + kInFile,
                     qPrintable(u"round %1: %2 clients"_s.arg(round).arg(counts.clients)));
            QCOMPARE(counts.distinct, counts.clients);
        }
        // The kills must have met imports at work, or the test showed nothing.
        QVERIFY2(killedMidway > kRounds / 4, qPrintable(u"%1 kills"_s.arg(killedMidway)));
    }
};

QTEST_GUILESS_MAIN(ImportsAtOnce)
#include "tst_imports_at_once.moc"
