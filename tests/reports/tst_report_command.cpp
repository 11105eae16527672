// `halcyra-cli report`: one client or all of them as PDF files, and what it says and returns
// when a client, a file or a fixed document is not there. In-process, and the real program.

#include "cli/ReportCommand.h"
#include "records/ClientDataSource.h"
#include "records/DatabaseFile.h"
#include "records/DemoClients.h"
#include "support/CommandRun.h"
#include "support/PdfText.h"
#include "support/TempProgramFolder.h"

#include <QDir>
#include <QPdfDocument>
#include <QProcess>
#include <QSqlDatabase>
#include <QtTest>

using halcyra::test::pdfText;
using namespace halcyra;
using halcyra::test::TempProgramFolder;

namespace {

using halcyra::test::CommandRun;

CommandRun report(const QStringList& arguments)
{
    return test::captureCommand([&](QTextStream& out, QTextStream& err) {
        return cli::ReportCommand().execute(arguments, out, err);
    });
}

QString documentsFolder()
{
    return QStringLiteral(HALCYRA_DOCUMENTS_DIR);
}

} // namespace

class ReportCommandTest : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_program;
    QTemporaryDir m_out;
    ClientRecord m_first;

    QStringList base() const
    {
        return {QStringLiteral("--folder"), m_program.folder(), QStringLiteral("--documents"),
                documentsFolder()};
    }
    QString out(const QString& name) const { return m_out.filePath(name); }

private slots:
    void initTestCase()
    {
        qputenv("HALCYRA_CONFIG_DIR", QFile::encodeName(m_program.settingsFolder()));
        m_program.createDatabase();
        {
            QVERIFY(
                openDatabase(m_program.path(QStringLiteral("HCY300.db")), QStringLiteral("setup")));
            QSqlDatabase db = QSqlDatabase::database(QStringLiteral("setup"));
            QCOMPARE(addDemoClients(db, 3, 7).value(), 3);
            const Result<ClientRecord> first = loadClientRecord(db, 1);
            QVERIFY(first);
            m_first = *first;
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("setup"));
    }

    void writesOneClientsReport()
    {
        const CommandRun run =
            report(base() + QStringList{QStringLiteral("--client"), QStringLiteral("1"),
                                        QStringLiteral("--sections"), QStringLiteral("2,4"),
                                        QStringLiteral("--out"), out(QStringLiteral("one.pdf"))});
        QCOMPARE(run.exitCode, cli::kExitOk);
        QVERIFY(run.err.isEmpty());
        QVERIFY(run.out.startsWith(u"Wrote "));
        const QString text = pdfText(out(QStringLiteral("one.pdf")));
        // Only the sections asked for; the pages' whole text is kept in tst_report_golden.
        QVERIFY(text.contains(u"Halcyra - Summary"));
        QVERIFY(text.contains(u"Halcyra - Supplement Guide"));
        QVERIFY(!text.contains(u"Halcyra - Analysis"));
    }

    void unknownClientWritesNothing()
    {
        const CommandRun run =
            report(base() + QStringList{QStringLiteral("--client"), QStringLiteral("99"),
                                        QStringLiteral("--out"), out(QStringLiteral("none.pdf"))});
        QCOMPARE(run.exitCode, cli::kExitFailed);
        QVERIFY(run.err.contains(u"There is no client with the number 99."));
        QVERIFY(!QFile::exists(out(QStringLiteral("none.pdf"))));
    }

    void unwritableFileIsAFailure()
    {
        const CommandRun run =
            report(base() + QStringList{QStringLiteral("--client"), QStringLiteral("1"),
                                        QStringLiteral("--out"),
                                        out(QStringLiteral("missing/dir/r.pdf"))});
        QCOMPARE(run.exitCode, cli::kExitFailed);
        QVERIFY(run.err.contains(u"cannot be written"));
    }

    void missingDocumentStillWritesTheRest()
    {
        QTemporaryDir empty;
        const CommandRun run =
            report({QStringLiteral("--folder"), m_program.folder(), QStringLiteral("--documents"),
                    empty.path(), QStringLiteral("--client"), QStringLiteral("1"),
                    QStringLiteral("--out"), out(QStringLiteral("partial.pdf"))});
        QCOMPARE(run.exitCode, cli::kExitFailed);
        QVERIFY(run.err.contains(u"\"Intro.pdf\" was not found"));
        QVERIFY(run.err.contains(u"\"References.pdf\" was not found"));
        QVERIFY(run.out.contains(u"(incomplete)"));
        const QString text = pdfText(out(QStringLiteral("partial.pdf")));
        QVERIFY(text.contains(u"Halcyra - Summary"));
        QVERIFY(text.contains(u"Halcyra - Analysis"));
    }

    // When no section prints, every section that could not be printed is still named, each on
    // its own line for the client, before the reason nothing was written.
    void onlyMissingDocumentsWriteNothing()
    {
        QTemporaryDir empty;
        const CommandRun run =
            report({QStringLiteral("--folder"), m_program.folder(), QStringLiteral("--documents"),
                    empty.path(), QStringLiteral("--client"), QStringLiteral("1"),
                    QStringLiteral("--sections"), QStringLiteral("5,10"), QStringLiteral("--out"),
                    out(QStringLiteral("nothing.pdf"))});
        QCOMPARE(run.exitCode, cli::kExitFailed);
        const QString folder = QDir::toNativeSeparators(empty.path());
        const QString prefix = QStringLiteral("halcyra-cli report: client 1: ");
        QCOMPARE(
            run.err.split(u'\n', Qt::SkipEmptyParts),
            (QStringList{
                prefix + QStringLiteral("The document \"References.pdf\" was not found in %1.")
                             .arg(folder),
                prefix +
                    QStringLiteral("The document \"NSG.pdf\" was not found in %1.").arg(folder),
                prefix + QStringLiteral("nothing was printed")}));
        QVERIFY(run.out.isEmpty());
        QVERIFY(!QFile::exists(out(QStringLiteral("nothing.pdf"))));
    }

    void everyClientOneFileEach()
    {
        const QString folder = out(QStringLiteral("all"));
        const CommandRun run =
            report(base() + QStringList{QStringLiteral("--all"), QStringLiteral("--sections"),
                                        QStringLiteral("2"), QStringLiteral("--out-dir"), folder});
        QCOMPARE(run.exitCode, cli::kExitOk);
        QVERIFY(run.out.contains(u"Wrote 3 of 3 reports"));
        // The progress line is for a terminal only.
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 3);
        QCOMPARE(files[0],
                 QStringLiteral("1 %1 %2.pdf")
                     .arg(m_first.text(columns::detail(1)), m_first.text(columns::detail(2))));
        for (const QString& file : files)
            QVERIFY(pdfText(QDir(folder).filePath(file)).contains(u"Halcyra - Summary"));
    }

    void wrongOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no output") << QStringList{QStringLiteral("--client"), QStringLiteral("1")};
        QTest::newRow("client and all")
            << QStringList{QStringLiteral("--client"), QStringLiteral("1"), QStringLiteral("--all"),
                           QStringLiteral("--out"), QStringLiteral("x.pdf")};
        QTest::newRow("section 0") << QStringList{
            QStringLiteral("--client"), QStringLiteral("1"),     QStringLiteral("--sections"),
            QStringLiteral("0"),        QStringLiteral("--out"), QStringLiteral("x.pdf")};
        QTest::newRow("client not a number")
            << QStringList{QStringLiteral("--client"), QStringLiteral("one"),
                           QStringLiteral("--out"), QStringLiteral("x.pdf")};
    }

    void wrongOptions()
    {
        QFETCH(QStringList, arguments);
        const CommandRun run = report(arguments);
        QCOMPARE(run.exitCode, cli::kExitUsage);
        QVERIFY(!run.err.isEmpty());
    }

    void helpSaysWhatAMissingDocumentDoes()
    {
        const CommandRun run = report({QStringLiteral("--help")});
        QCOMPARE(run.exitCode, cli::kExitOk);
        QVERIFY(run.out.contains(u"still written without that\ndocument"));
    }

    void theRealProgramWritesAReport()
    {
        QProcess cli;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(HALCYRA_CLI_PATH),
                  QStringList{QStringLiteral("report")} + base() +
                      QStringList{QStringLiteral("--client"), QStringLiteral("2"),
                                  QStringLiteral("--out"), out(QStringLiteral("real.pdf"))});
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 0);
        QVERIFY(pdfText(out(QStringLiteral("real.pdf"))).contains(u"Halcyra - Analysis"));
    }
};

QTEST_MAIN(ReportCommandTest)
#include "tst_report_command.moc"
