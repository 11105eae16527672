// The report pages on a recording writer with known text widths: column alignment, nothing
// outside the printable area, page numbers per run, and which runs print at all.

#include "RecordingPageWriter.h"
#include "ReportTestInputs.h"
#include "core/ErrorReporter.h"
#include "core/Settings.h"
#include "core/SettingsKeys.h"
#include "reports/PrintedReport.h"
#include "reports/ReportDocuments.h"
#include "support/ScriptedPrompts.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace halcyra;
using halcyra::test::RecordingPageWriter;
using halcyra::test::ReportFixture;

namespace {

double rightEdge(const RecordingPageWriter::Drawn& item, const QString& part)
{
    return item.x +
           static_cast<double>(part.size()) * item.font.size / 10 * (item.font.bold ? 0.12 : 0.1);
}

// The drawings on the same line as `anchor`, left to right.
QList<RecordingPageWriter::Drawn> lineOf(const RecordingPageWriter& writer, const QString& anchor)
{
    const auto* item = writer.find(anchor);
    QList<RecordingPageWriter::Drawn> line;
    if (!item)
        return line;
    for (const auto& other : writer.drawn)
        if (other.page == item->page && qAbs(other.y - item->y) < 1e-9)
            line << other;
    return line;
}

struct Run
{
    ReportFixture fixture;
    QTemporaryDir noDocuments;
    RecordingPageWriter writer;
    FixedDocuments documents{noDocuments.path()};
    std::unique_ptr<PrintedReport> report;

    void make() { report = std::make_unique<PrintedReport>(fixture.inputs(), documents, writer); }
};

} // namespace

class ReportLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void summaryValuesAlignOnTheirLastDigit()
    {
        Run run;
        run.fixture.setScores({{1, "2"}, {3, "8"}, {9, "24"}, {12, "8"}});
        run.make();
        run.report->PrintDocument(true, section::kSummary);
        run.report->endDoc();

        const auto vitaminA = lineOf(run.writer, QStringLiteral("01. Vitamin A"));
        const auto total = lineOf(run.writer, QStringLiteral("09. Total Vitamin + Mineral"));
        QCOMPARE(vitaminA.size(), 4);
        QCOMPARE(total.size(), 4);
        QCOMPARE(vitaminA[0].text, QStringLiteral("3"));
        QCOMPARE(total[0].text, QStringLiteral("12"));
        QCOMPARE(rightEdge(vitaminA[0], vitaminA[0].text), rightEdge(total[0], total[0].text));
        QCOMPARE(rightEdge(vitaminA[1], vitaminA[1].text), rightEdge(total[1], total[1].text));
        QCOMPARE(vitaminA[2].text, QStringLiteral("2"));
        QCOMPARE(total[2].text, QStringLiteral("24 VH"));
        QCOMPARE(rightEdge(vitaminA[2], QStringLiteral("2")),
                 rightEdge(total[2], QStringLiteral("24")));
        QCOMPARE(vitaminA[3].x, 4.25);

        // The unreachable Very High value reads NOT DETERMINED and stays clear of the score.
        const auto digestion = lineOf(run.writer, QStringLiteral("12. Digestion 1"));
        QCOMPARE(digestion[1].text, QStringLiteral("NOT DETERMINED"));
        QCOMPARE(digestion[2].text, QStringLiteral("8 SA"));
        QVERIFY(digestion[1].x + digestion[1].width < digestion[2].x);
        QVERIFY(!run.writer.find(QStringLiteral("101")));
    }

    void guideNumbersAlignOnTheirLastDigit()
    {
        Run run;
        run.fixture.setScores({{1, "9"}, {3, "12"}});
        run.make();
        run.report->PrintDocument(true, section::kSupplementGuide);
        run.report->endDoc();
        const auto water = lineOf(run.writer, QStringLiteral("Pure Water"));
        const auto vitaminC = lineOf(run.writer, QStringLiteral("Vitamin C"));
        QCOMPARE(water.size(), 5);
        QCOMPARE(vitaminC[1].text, QStringLiteral("12"));
        QCOMPARE(water[1].text, QStringLiteral("6"));
        QCOMPARE(rightEdge(water[1], water[1].text), rightEdge(vitaminC[1], vitaminC[1].text));
        QCOMPARE(water[2].x, vitaminC[2].x);
        QCOMPARE(rightEdge(water[3], water[3].text), rightEdge(vitaminC[3], vitaminC[3].text));
        QCOMPARE(water[4].text, QStringLiteral(" of 5"));
    }

    void everythingStaysOnThePaper()
    {
        Run run;
        // Every row marked, so the Analysis runs over many pages; long adviser details.
        for (int r = 1; r <= 41; ++r)
            run.fixture.profile.scores[static_cast<size_t>(r - 1)] = QStringLiteral("30");
        run.fixture.profile.yesNo = {true, true, true, true, true};
        run.fixture.company[company::kCompanyName] = QString(50, u'W');
        run.fixture.company[company::kEmail] = QString(50, u'e');
        run.fixture.company[company::kFax] = QStringLiteral("555-0144");
        run.make();
        for (int section = 1; section <= 4; ++section)
            run.report->PrintDocument(section == 1, section);
        run.report->endDoc();

        QVERIFY(run.writer.pages > 5);
        for (const auto& item : run.writer.drawn) {
            QVERIFY2(item.x >= 0 && item.x + item.width <= 8.0 + 1e-9, qPrintable(item.text));
            QVERIFY2(item.y >= 0 && item.y + run.writer.measure.lineHeight(item.font) <= 10.5,
                     qPrintable(item.text));
            // Only the footers stand below the bottom limit, half an inch above the paper's.
            QVERIFY2(item.y <= 10.0 + 1e-9 || item.font.size == 8, qPrintable(item.text));
        }
        // The cover's blocks got smaller to fit, the title kept its size.
        QCOMPARE(run.writer.find(QStringLiteral("Halcyra"))->font.size, 32.0);
        QVERIFY(run.writer.find(QStringLiteral("Customized for:"))->font.size < 18);
        // Every page numbered from 1 through the run, out of the run's pages; each Analysis
        // page after its first is headed "Analysis".
        QStringList footers;
        for (const auto& item : run.writer.drawn)
            if (item.text.startsWith(u"Page "))
                footers << item.text;
        QCOMPARE(footers.size(), run.writer.pages);
        for (qsizetype i = 0; i < footers.size(); ++i)
            QCOMPARE(footers[i], QStringLiteral("Page %1 of %2").arg(i + 1).arg(footers.size()));
        const int firstAnalysisPage = run.writer.find(QStringLiteral("Halcyra - Analysis"))->page;
        const int guidePage = run.writer.find(QStringLiteral("Halcyra - Supplement Guide"))->page;
        QVERIFY(guidePage > firstAnalysisPage + 3);
        for (int page = firstAnalysisPage + 1; page < guidePage; ++page) {
            const auto items = run.writer.onPage(page);
            QCOMPARE(items.first().text, QStringLiteral("Analysis"));
            QVERIFY(items.last().text.startsWith(u"Page "));
        }
    }

    void pageNumbersStartAgainWithEachRun()
    {
        Run run;
        run.make();
        run.report->PrintDocument(true, section::kAnalysis);
        run.report->PrintDocument(true, section::kAnalysis);
        run.report->endDoc();
        QStringList footers;
        for (const auto& item : run.writer.drawn)
            if (item.text.startsWith(u"Page "))
                footers << item.text;
        QCOMPARE(footers,
                 QStringList({QStringLiteral("Page 1 of 1"), QStringLiteral("Page 1 of 1")}));
        QCOMPARE(run.writer.pages, 2);
    }

    void sectionsOutsideTheRangePrintNothing()
    {
        Run run;
        run.make();
        for (int section : {0, 11, -1})
            run.report->PrintDocument(true, section);
        QCOMPARE(run.writer.pages, 0);
        QVERIFY(run.writer.drawn.isEmpty());
        QVERIFY(run.report->problems().isEmpty());
    }

    void cancelledPrinterChoiceSkipsTheWholeRun()
    {
        Run run;
        run.make();
        int asked = 0;
        bool answer = false;
        run.report->setChoosePrinter([&] {
            ++asked;
            return answer;
        });
        QStringList shown;
        run.report->setShowPrinting([&](const QString& name) { shown << name; });
        run.report->PrintDocument(true, section::kSummary);
        run.report->PrintDocument(false, section::kAnalysis);
        QCOMPARE(asked, 1);
        QVERIFY(run.report->skipped());
        QVERIFY(run.writer.drawn.isEmpty());
        QVERIFY(shown.isEmpty());

        answer = true;
        run.report->PrintDocument(true, section::kSummary);
        run.report->PrintDocument(false, section::kSupplementGuide);
        run.report->endDoc();
        QCOMPARE(asked, 2);
        QCOMPARE(shown,
                 QStringList({QStringLiteral("Summary"), QStringLiteral("Supplement Guide")}));
        QVERIFY(run.writer.find(QStringLiteral("Halcyra - Summary")));
        QVERIFY(run.writer.find(QStringLiteral("Halcyra - Supplement Guide")));
        QVERIFY(!run.writer.find(QStringLiteral("Halcyra - Analysis")));
    }

    void missingDocumentIsReportedAndEndsOnlyItsSection()
    {
        Run run;
        QTemporaryDir logFolder;
        halcyra::test::ScriptedPrompts prompts;
        ErrorReporter reporter(logFolder.path(), prompts);
        run.make();
        run.report->setErrorReporter(&reporter);
        run.report->PrintDocument(true, section::kReferences);
        run.report->PrintDocument(false, section::kSummary);
        run.report->endDoc();
        QCOMPARE(run.report->problems().size(), 1);
        QVERIFY(run.report->problems()[0].contains(u"References.pdf"));
        QCOMPARE(prompts.shown().size(), 1);
        QVERIFY(prompts.shown()[0].text.contains(u"frmMain:Sub PrintDocument"));
        QVERIFY(prompts.shown()[0].text.contains(u"References.pdf"));
        QFile log(reporter.logPath());
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains("frmMain:Sub PrintDocument"));
        QVERIFY(run.writer.find(QStringLiteral("Halcyra - Summary")));
    }

    void headerOptionsFromTheSettings()
    {
        QTemporaryDir folder;
        SettingsStore settings(folder.path());
        HeaderOptions options = HeaderOptions::fromSettings(settings);
        QCOMPARE(options.names, HeaderOptions::Names::Both);
        QVERIFY(options.fax && options.email);

        settings.save(keys::includeInPageHeader(), QStringLiteral("Company Name Only"));
        settings.save(keys::includeFax(), QStringLiteral("0"));
        QCOMPARE(HeaderOptions::fromSettings(settings).names, HeaderOptions::Names::CompanyOnly);
        QVERIFY(!HeaderOptions::fromSettings(settings).fax);
        settings.save(keys::includeInPageHeader(), QStringLiteral("First and Last Name Only"));
        settings.save(keys::includeEmail(), QStringLiteral("True"));
        QCOMPARE(HeaderOptions::fromSettings(settings).names, HeaderOptions::Names::PersonOnly);
        QVERIFY(!HeaderOptions::fromSettings(settings).email); // only 1 means include
        settings.save(keys::includeInPageHeader(), QStringLiteral("nonsense"));
        QCOMPARE(HeaderOptions::fromSettings(settings).names, HeaderOptions::Names::Both);
    }

    void adviserBlockNamesAndPhones()
    {
        ReportFixture fixture;
        fixture.company[company::kPhone2] = QStringLiteral("555-0199");
        HeaderOptions options;
        options.fax = false;
        QCOMPARE(
            adviserBlockLines(fixture.company, options),
            QStringList({QStringLiteral("Greenleaf Wellness"), QStringLiteral("Dana Morrow"),
                         QStringLiteral("42 Linden Street"), QStringLiteral("Fairview, OR 97024"),
                         QStringLiteral("Phone: 555-0142 or 555-0199"),
                         QStringLiteral("E-mail: dana@greenleaf.example")}));
        options.names = HeaderOptions::Names::CompanyOnly;
        QVERIFY(!adviserBlockLines(fixture.company, options).contains(u"Dana Morrow"));
        options.names = HeaderOptions::Names::PersonOnly;
        QVERIFY(!adviserBlockLines(fixture.company, options).contains(u"Greenleaf Wellness"));
    }
};

QTEST_MAIN(ReportLayoutTest)
#include "tst_report_layout.moc"
