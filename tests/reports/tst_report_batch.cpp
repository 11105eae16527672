// `halcyra-cli report --all` on several threads: which clients --clients chooses, a failing
// client named while the others are written, and the same reports whatever the thread count.

#include "cli/ReportCommand.h"
#include "records/DatabaseFile.h"
#include "records/DemoClients.h"
#include "support/CommandRun.h"
#include "support/PdfText.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QPdfDocument>
#include <QSqlDatabase>
#include <QtTest>

using namespace halcyra;
using halcyra::test::TempProgramFolder;

using halcyra::test::CommandRun;

class ReportBatchTest : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_program;
    QTemporaryDir m_out;

    CommandRun report(const QString& outDir, const QStringList& arguments)
    {
        const QStringList all = QStringList{QStringLiteral("--all"),
                                            QStringLiteral("--folder"),
                                            m_program.folder(),
                                            QStringLiteral("--documents"),
                                            QStringLiteral(HALCYRA_DOCUMENTS_DIR),
                                            QStringLiteral("--out-dir"),
                                            m_out.filePath(outDir)} +
                                arguments;
        return test::captureCommand([&](QTextStream& out, QTextStream& err) {
            return cli::ReportCommand().execute(all, out, err);
        });
    }
    QStringList filesIn(const QString& outDir) const
    {
        return QDir(m_out.filePath(outDir)).entryList(QDir::Files, QDir::Name);
    }

private slots:
    void initTestCase()
    {
        qputenv("HALCYRA_CONFIG_DIR", QFile::encodeName(m_program.settingsFolder()));
        m_program.createDatabase();
        {
            QVERIFY(
                openDatabase(m_program.path(QStringLiteral("HCY300.db")), QStringLiteral("setup")));
            QSqlDatabase db = QSqlDatabase::database(QStringLiteral("setup"));
            QCOMPARE(addDemoClients(db, 6, 11).value(), 6);
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("setup"));
    }

    void clientsChosen_data()
    {
        QTest::addColumn<QString>("clients");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("written"); // leading numbers of the files
        QTest::addColumn<QString>("said");
        QTest::newRow("range and number")
            << QStringLiteral("1-2,4") << 0 << QStringLiteral("1 2 4") << QStringLiteral("");
        QTest::newRow("missing number named") << QStringLiteral("2,9") << 1 << QStringLiteral("2")
                                              << QStringLiteral("no client with the number 9");
        QTest::newRow("none of the database") << QStringLiteral("8-20") << 1 << QStringLiteral("")
                                              << QStringLiteral("chooses no client");
        for (const char* wrong : {"", "0", "2-x", "1-", "-5", "5-3", "1,,2", "1,", " 1", "1 - 2",
                                  "1-2-3", "+4", "99999999999999999999"})
            QTest::addRow("refused '%s'", wrong) << QString::fromLatin1(wrong) << 2 << QString()
                                                 << QStringLiteral("--clients takes");
    }

    void clientsChosen()
    {
        QFETCH(QString, clients);
        QFETCH(int, exitCode);
        QFETCH(QString, written);
        QFETCH(QString, said);
        const QString dir =
            QStringLiteral("chosen %1").arg(QString::fromLatin1(QTest::currentDataTag()));
        const CommandRun run = report(dir, {QStringLiteral("--sections"), QStringLiteral("2"),
                                            QStringLiteral("--clients"), clients});
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.err.contains(said), qPrintable(run.err));
        QStringList numbers;
        for (const QString& file : filesIn(dir))
            numbers << file.section(u' ', 0, 0);
        QCOMPARE(numbers.join(u' '), written);
    }

    // Each report of a batch is written by one worker from start to end: more workers give
    // the same reports, and a failing one does not stop the others.
    void workersWriteTheSameReports()
    {
        const QStringList full{QStringLiteral("--sections"), QStringLiteral("1,2,3,4,5")};
        const CommandRun one =
            report(QStringLiteral("one"),
                   full + QStringList{QStringLiteral("--jobs"), QStringLiteral("1")});
        QCOMPARE(one.exitCode, 0);
        QVERIFY(one.out.contains(u"Wrote 6 of 6 reports"));
        const QStringList files = filesIn(QStringLiteral("one"));
        QCOMPARE(files.size(), 6);

        // The second client's file cannot be written: a folder is in its place.
        QVERIFY(QDir(m_out.path()).mkpath(QStringLiteral("three/") + files[1]));
        const CommandRun three =
            report(QStringLiteral("three"),
                   full + QStringList{QStringLiteral("--jobs"), QStringLiteral("3")});
        QCOMPARE(three.exitCode, 1);
        QVERIFY2(three.err.contains(u"client 2: "), qPrintable(three.err));
        QVERIFY(three.err.contains(u"not written in full: client 2\n"));
        QVERIFY(three.out.contains(u"Wrote 5 of 6 reports"));
        for (const QString& file : files) {
            if (file == files[1])
                continue;
            const QStringList pages =
                test::pdfPageTexts(m_out.filePath(QStringLiteral("three/") + file));
            QVERIFY2(!pages.isEmpty(), qPrintable(file));
            QCOMPARE(pages, test::pdfPageTexts(m_out.filePath(QStringLiteral("one/") + file)));
        }
    }

    // When a batch returns, its threads have ended completely, thread-local objects and all:
    // the program may exit right after, and a thread still ending then brought it down.
    void noThreadOutlivesTheBatch()
    {
        const auto threadCount = [] {
            return QDir(QStringLiteral("/proc/self/task"))
                .entryList(QDir::Dirs | QDir::NoDotAndDotDot)
                .size();
        };
        const QStringList jobs{QStringLiteral("--jobs"), QStringLiteral("3")};
        QCOMPARE(report(QStringLiteral("warm"), jobs).exitCode, 0); // Qt's own threads start
        for (int round = 0; round < 15; ++round) {
            const qsizetype before = threadCount();
            QCOMPARE(report(QStringLiteral("round%1").arg(round), jobs).exitCode, 0);
            QCOMPARE(threadCount(), before);
        }
    }
};

QTEST_MAIN(ReportBatchTest)
#include "tst_report_batch.moc"
