// Kills a process in the middle of a burst of saves, many times, and checks that the database
// is intact and holds every save the process had finished.

#include "records/ClientDataSource.h"
#include "records/DatabaseFile.h"
#include "support/TempProgramFolder.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QtTest>
#include <csignal>
#include <cstdio>

using namespace halcyra;
using halcyra::test::TempProgramFolder;

namespace {

const char kWriterFlag[] = "--save-burst";

// The writer: adds clients one save at a time and prints each finished save's record number
// and name, until it is killed.
int runWriter(const QString& databasePath)
{
    if (const Status opened = openDatabase(databasePath, QStringLiteral("writer")); !opened) {
        std::fprintf(stderr, "%s\n", qPrintable(opened.error()));
        return 1;
    }
    ClientDataSource source(QSqlDatabase::database(QStringLiteral("writer")));
    if (!source.open())
        return 1;
    for (int i = 0;; ++i) {
        ClientRecord record;
        const QString name = QStringLiteral("Burst%1").arg(i);
        record.setText(columns::detail(1), name);
        record.setText(columns::detail(18), QString(2000, u'x')); // a longer note per save
        for (int box = 1; box <= columns::kScoreCount; ++box)
            record.setScore(box, QString::number(i % 45));
        for (int y = 0; y < columns::kYesNoCount; ++y)
            record.setYesNo(y, false);
        source.addNew();
        if (const Status stored = source.update(record); !stored) {
            std::fprintf(stderr, "%s\n", qPrintable(stored.error()));
            return 1;
        }
        std::printf("%lld %s\n", source.current().customerId(), qPrintable(name));
        std::fflush(stdout);
    }
}

} // namespace

class SavesSurviveAKill : public QObject
{
    Q_OBJECT

private slots:
    void killedManyTimes()
    {
        TempProgramFolder folder;
        folder.createDatabase();
        const QString databasePath = folder.path(QStringLiteral("HCY300.db"));
        QHash<qint64, QString> finished;

        for (int round = 0; round < 12; ++round) {
            QProcess writer;
            writer.start(QCoreApplication::applicationFilePath(),
                         {QString::fromLatin1(kWriterFlag), databasePath});
            QVERIFY(writer.waitForStarted());
            QTRY_VERIFY_WITH_TIMEOUT(writer.bytesAvailable() > 0, 20000);
            QTest::qWait(20 + static_cast<int>(QRandomGenerator::global()->bounded(60)));
            ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
            QVERIFY(writer.waitForFinished());
            const QStringList lines =
                QString::fromUtf8(writer.readAllStandardOutput()).split(u'\n');
            for (const QString& line : lines) {
                // A line cut by the kill was never finished.
                const QStringList parts = line.split(u' ');
                if (parts.size() == 2 && parts[1].startsWith(QStringLiteral("Burst")))
                    finished.insert(parts[0].toLongLong(), parts[1]);
            }
        }
        QVERIFY(finished.size() > 12);

        const QString connection = QStringLiteral("check");
        {
            const Status opened = openDatabase(databasePath, connection);
            QVERIFY2(opened, qPrintable(opened.error()));
            QSqlQuery query(QSqlDatabase::database(connection));
            QVERIFY(query.exec(QStringLiteral("PRAGMA integrity_check")) && query.next());
            QCOMPARE(query.value(0).toString(), QStringLiteral("ok"));
            for (auto it = finished.cbegin(); it != finished.cend(); ++it) {
                query.prepare(QStringLiteral(
                    "SELECT \"LastName\" FROM \"Customers\" WHERE \"CustomerID\" = ?"));
                query.addBindValue(it.key());
                QVERIFY(query.exec());
                QVERIFY2(query.next(), qPrintable(it.value()));
                QCOMPARE(query.value(0).toString(), it.value());
            }
        }
        QSqlDatabase::database(connection).close();
        QSqlDatabase::removeDatabase(connection);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], kWriterFlag) == 0)
        return runWriter(QString::fromLocal8Bit(argv[2]));
    SavesSurviveAKill test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_saves_survive_a_kill.moc"
