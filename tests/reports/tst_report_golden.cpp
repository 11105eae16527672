// A demo client's whole printed report, as `halcyra-cli report` writes it, compared page by page
// with the text kept in tests/reports/golden/ for each paper. Set HALCYRA_UPDATE_GOLDEN=1 to
// write the kept text anew (and read the difference before committing it).

#include "cli/Command.h"
#include "cli/DemoCommand.h"
#include "cli/ReportCommand.h"
#include "support/CommandRun.h"
#include "support/PdfText.h"
#include "support/TempProgramFolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace halcyra;
using halcyra::test::CommandRun;
using halcyra::test::TempProgramFolder;

namespace {

template <typename Command> CommandRun run(const QStringList& arguments)
{
    return test::captureCommand(
        [&](QTextStream& out, QTextStream& err) { return Command().execute(arguments, out, err); });
}

// The pages' texts, each under a line naming the page, so a difference points at its page.
QString pagesAsText(const QStringList& pages)
{
    QString text;
    for (qsizetype page = 0; page < pages.size(); ++page) {
        text += QStringLiteral("=== page %1 of %2\n").arg(page + 1).arg(pages.size());
        QString content = pages[page];
        content.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        text += content;
        if (!content.endsWith(u'\n'))
            text += u'\n';
    }
    return text;
}

// The first line where two texts part, with a line of each, for the failure message.
QString firstDifference(const QString& written, const QString& kept)
{
    const QStringList a = written.split(u'\n');
    const QStringList b = kept.split(u'\n');
    for (qsizetype line = 0; line < std::max(a.size(), b.size()); ++line) {
        const QString left = line < a.size() ? a[line] : QStringLiteral("(end)");
        const QString right = line < b.size() ? b[line] : QStringLiteral("(end)");
        if (left != right)
            return QStringLiteral("line %1:\n  written: %2\n  kept:    %3")
                .arg(line + 1)
                .arg(left, right);
    }
    return {};
}

} // namespace

class ReportGoldenTest : public QObject
{
    Q_OBJECT

private:
    TempProgramFolder m_program;
    QTemporaryDir m_out;

private slots:
    void initTestCase()
    {
        // Default header options: no settings of the machine's own adviser.
        qputenv("HALCYRA_CONFIG_DIR", QFile::encodeName(m_program.settingsFolder()));
        m_program.createDatabase();
        // A fixed seed: the same clients, scores and dates on every run.
        const CommandRun demo = run<cli::DemoCommand>(
            {QStringLiteral("--clients"), QStringLiteral("3"), QStringLiteral("--seed"),
             QStringLiteral("11"), QStringLiteral("--folder"), m_program.folder()});
        QVERIFY2(demo.exitCode == cli::kExitOk, qPrintable(demo.err));
    }

    void wholeReportAsKept_data()
    {
        QTest::addColumn<QString>("paper");
        QTest::addColumn<QString>("golden");
        QTest::newRow("Letter") << QStringLiteral("letter")
                                << QStringLiteral("demo_report_letter.txt");
        QTest::newRow("A4") << QStringLiteral("a4") << QStringLiteral("demo_report_a4.txt");
    }

    void wholeReportAsKept()
    {
        QFETCH(QString, paper);
        QFETCH(QString, golden);
        const QString pdf = m_out.filePath(paper + QStringLiteral(".pdf"));
        const CommandRun report = run<cli::ReportCommand>(
            {QStringLiteral("--folder"), m_program.folder(), QStringLiteral("--documents"),
             QStringLiteral(HALCYRA_DOCUMENTS_DIR), QStringLiteral("--client"), QStringLiteral("2"),
             QStringLiteral("--paper"), paper, QStringLiteral("--out"), pdf});
        QVERIFY2(report.exitCode == cli::kExitOk, qPrintable(report.err));
        QVERIFY2(report.err.isEmpty(), qPrintable(report.err));

        const QString text = pagesAsText(test::pdfPageTexts(pdf));
        QVERIFY(!text.isEmpty());
        const QString path = QStringLiteral(HALCYRA_SOURCE_DIR "/tests/reports/golden/") + golden;
        if (qEnvironmentVariableIsSet("HALCYRA_UPDATE_GOLDEN")) {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            QCOMPARE(out.write(text.toUtf8()), text.toUtf8().size());
        }
        QFile kept(path);
        QVERIFY2(kept.open(QIODevice::ReadOnly), qPrintable(path));
        const QString expected = QString::fromUtf8(kept.readAll());
        QVERIFY2(text == expected, qPrintable(firstDifference(text, expected)));
    }

    // The two papers lay the same report out differently: a kept text that fits both would
    // not be checking the paper.
    void papersDiffer()
    {
        QFile letter(
            QStringLiteral(HALCYRA_SOURCE_DIR "/tests/reports/golden/demo_report_letter.txt"));
        QFile a4(QStringLiteral(HALCYRA_SOURCE_DIR "/tests/reports/golden/demo_report_a4.txt"));
        QVERIFY(letter.open(QIODevice::ReadOnly) && a4.open(QIODevice::ReadOnly));
        QVERIFY(letter.readAll() != a4.readAll());
    }
};

QTEST_MAIN(ReportGoldenTest)
#include "tst_report_golden.moc"
