// Marks, Summary rows and the choice and order of the Analysis paragraphs.

#include "core/CatalogueIds.h"
#include "reports/Evaluation.h"
#include "reports/ProfileTestCatalogue.h"
#include "reports/ReferenceTables.h"

#include <QtTest>

using namespace halcyra;
using halcyra::test::TestClient;

namespace {

struct Evaluated
{
    Catalogue catalogue = test::profileTestCatalogue();
    Evaluation evaluation;

    explicit Evaluated(const TestClient& client)
    {
        const ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);
        evaluation = evaluateProfile(prepareProfile(client.input(), tables), tables);
    }

    QStringList titles() const
    {
        QStringList result;
        for (const AnalysisParagraph& paragraph : evaluation.analysis())
            result.append(printedTitle(paragraph, catalogue));
        return result;
    }

    const AnalysisParagraph* paragraphOfRow(int r) const
    {
        for (const AnalysisParagraph& paragraph : evaluation.analysis())
            if (paragraph.row == r)
                return &paragraph;
        return nullptr;
    }
};

QList<int> textsOf(const AnalysisParagraph& paragraph)
{
    return {paragraph.texts().begin(), paragraph.texts().end()};
}

} // namespace

class EvaluationTest : public QObject
{
    Q_OBJECT

private slots:
    void markOfARow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("score");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<QString>("summarySuffix");

        QTest::newRow("Iron below High") << 5 << 1 << ""
                                         << "";
        QTest::newRow("Iron at High") << 5 << 2 << "H"
                                      << "  H";
        QTest::newRow("Iron between") << 5 << 4 << "H"
                                      << "  H";
        QTest::newRow("Iron at Very High") << 5 << 5 << "VH"
                                           << " VH";
        QTest::newRow("Digestion 1 below High") << 12 << 1 << ""
                                                << "";
        QTest::newRow("Digestion 1 at High") << 12 << 2 << "SA"
                                             << " SA";
        QTest::newRow("Digestion 1 past Very High") << 12 << 150 << "SA"
                                                    << " SA";
        QTest::newRow("Heart Health 2 equal values") << 25 << 10 << "VH"
                                                     << " VH";
        QTest::newRow("Heart Health 3 below") << 27 << 14 << ""
                                              << "";
        QTest::newRow("Heart Health 3 equal values") << 27 << 15 << "VH"
                                                     << " VH";
        QTest::newRow("Hair at High") << 40 << 1 << "H"
                                      << "  H";
        QTest::newRow("Hair at Very High") << 40 << 3 << "VH"
                                           << " VH";
    }

    void markOfARow()
    {
        QFETCH(int, row);
        QFETCH(int, score);
        QFETCH(QString, mark);
        QFETCH(QString, summarySuffix);

        const Evaluated result(TestClient::withScores({{row, score}}));
        const RowResult& rowResult = result.evaluation.row(row);
        QCOMPARE(rowResult.row, row);
        QCOMPARE(rowResult.score, score);
        QCOMPARE(markText(rowResult.mark), mark);
        QCOMPARE(summaryMarkSuffix(rowResult.mark), summarySuffix);
    }

    void scoresAreReadAsTyped()
    {
        const Catalogue catalogue = test::profileTestCatalogue();
        const ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);
        ProfileInput input;
        input.scores[0] = QStringLiteral("7abc");
        input.scores[1] = QStringLiteral(" 1 2");
        input.scores[2] = QStringLiteral("abc");
        input.scores[3] = QStringLiteral("2.5");
        const PreparedProfile prepared = prepareProfile(input, tables);
        QCOMPARE(prepared.boxScore[1], 7.0);
        QCOMPARE(prepared.boxScore[2], 12.0);
        QCOMPARE(prepared.boxScore[3], 0.0);
        QCOMPARE(prepared.boxScore[4], 2.5);
        QCOMPARE(prepared.boxScore[5], 0.0);
    }

    void summaryCoversTheNamedRowsUpToItsCount()
    {
        const Evaluated result{TestClient()};
        const auto rows = result.evaluation.summaryRows();
        QList<int> expected;
        for (int r = 1; r <= 32; ++r)
            if (r != 13 && r != 24 && r != 26)
                expected.append(r);
        QCOMPARE(QList<int>(rows.begin(), rows.end()), expected);
    }

    void onlyAnUnreachableVeryHighIsNotDetermined()
    {
        const Evaluated result(TestClient::withScores({{12, 3}}));
        for (const RowResult& row : result.evaluation.rows())
            QCOMPARE(veryHighNotDetermined(row), row.row == 12);
        QCOMPARE(result.evaluation.row(12).veryHigh, 101.0);
        QCOMPARE(markText(result.evaluation.row(12).mark), QStringLiteral("SA"));
    }

    void countsComeFromTheCatalogue()
    {
        const Catalogue catalogue = test::profileTestCatalogue({{1500, QStringLiteral("5")},
                                                                {4000, QStringLiteral("3")},
                                                                {5003, QStringLiteral("99")}});
        const ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);
        QCOMPARE(tables.summaryRowCount, 5);
        QCOMPARE(tables.analysisRowCount, 3);
        QCOMPARE(tables.supplementCount, kGuideSupplementCount); // never past the table
        QCOMPARE(tables.scoredRowCount, 41);

        ProfileInput input;
        input.scores[2] = QStringLiteral("5"); // row 3, inside the Analysis
        input.scores[4] = QStringLiteral("5"); // row 5, outside it
        const Evaluation evaluation = evaluateProfile(prepareProfile(input, tables), tables);
        QCOMPARE(evaluation.summaryRows().size(), size_t(5));
        QCOMPARE(evaluation.analysis().size(), size_t(1));
        QCOMPARE(evaluation.analysis()[0].row, 3);
        QCOMPARE(markText(evaluation.row(5).mark), QStringLiteral("VH")); // still marked
    }

    void highAndVeryHighParagraphs()
    {
        const Evaluated high(TestClient::withScores({{5, 4}}));
        QCOMPARE(high.titles(), QStringList{QStringLiteral("5.   IRON: H")});
        const AnalysisParagraph& plain = high.evaluation.analysis()[0];
        QCOMPARE(plain.kind, ParagraphKind::High);
        QCOMPARE(plain.style, TitleStyle::Plain);
        QCOMPARE(textsOf(plain), QList<int>{ids::analysisText(5)});

        const Evaluated veryHigh(TestClient::withScores({{5, 5}}));
        QCOMPARE(veryHigh.titles(), QStringList{QStringLiteral("5.   IRON: VH")});
        QCOMPARE(veryHigh.evaluation.analysis()[0].style, TitleStyle::Emphasised);
    }

    void digestionOneIsHighInTheAnalysis()
    {
        const Evaluated result(TestClient::withScores({{12, 3}}));
        QCOMPARE(result.titles(), QStringList{QStringLiteral("12.  DIGESTION 1: H")});
    }

    void rowsWithEqualValuesPrintVeryHigh()
    {
        const Evaluated result(TestClient::withScores({{36, 1}, {33, 2}, {41, 2}}));
        QCOMPARE(result.titles(), (QStringList{QStringLiteral("33.  LIVER BUILDER: VH"),
                                               QStringLiteral("38.  PURE AIR: H")}));
    }

    void paragraphsFollowTheRowOrder()
    {
        const Evaluated result(TestClient::withScores({{31, 9}, {2, 5}, {16, 9}, {1, 3}}));
        const QStringList titles = result.titles();
        QCOMPARE(titles.size(), 4);
        QVERIFY(titles[0].startsWith(QStringLiteral("1.")));
        QVERIFY(titles[1].startsWith(QStringLiteral("2.")));
        QVERIFY(titles[2].startsWith(QStringLiteral("15.")));
        QVERIFY(titles[3].startsWith(QStringLiteral("28.")));
    }

    void subSectionRowsGiveNoParagraph()
    {
        // Rows 13, 24 and 26 carry scores but have no name of their own.
        const Evaluated result(TestClient::withScores({{13, 99}, {24, 99}, {26, 99}}));
        QVERIFY(result.evaluation.analysis().empty());
        QCOMPARE(markText(result.evaluation.row(24).mark), QStringLiteral("VH"));
    }

    void thymusHasItsContinuation()
    {
        const Evaluated result(TestClient::withScores({{29, 3}}));
        QCOMPARE(textsOf(result.evaluation.analysis()[0]),
                 (QList<int>{ids::analysisText(29), ids::analysisContinuation(29)}));
    }

    void firstHeartHealthRowBringsTheTwoFurtherTexts()
    {
        const Evaluated result(TestClient::withScores({{23, 4}}));
        const AnalysisParagraph* paragraph = result.paragraphOfRow(23);
        QVERIFY(paragraph);
        QCOMPARE(printedTitle(*paragraph, result.catalogue),
                 QStringLiteral("22.  BASIC HEART HEALTH 1: H"));
        QCOMPARE(textsOf(*paragraph), (QList<int>{4231, 4240, 4241}));
    }

    void maleGlandPrecaution_data()
    {
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("age");
        QTest::addColumn<int>("score");
        QTest::addColumn<QString>("title");

        const QString precaution =
            QStringLiteral("19.  MALE GLAND:  ---  Precautionary due to age");
        QTest::newRow("man of 45") << "M"
                                   << "45" << 0 << precaution;
        QTest::newRow("man of 40") << "M"
                                   << "40" << 3 << precaution;
        QTest::newRow("man of 39") << "M"
                                   << "39" << 3 << "";
        QTest::newRow("lower-case m") << "m"
                                      << "45" << 0 << "";
        QTest::newRow("woman of 45") << "F"
                                     << "45" << 0 << "";
        QTest::newRow("man of 45 at High") << "M"
                                           << "45" << 4 << "19.  MALE GLAND: H";
    }

    void maleGlandPrecaution()
    {
        QFETCH(QString, sex);
        QFETCH(QString, age);
        QFETCH(int, score);
        QFETCH(QString, title);

        const Evaluated result(TestClient::withScores({{20, score}}).withSex(sex).withAge(age));
        const AnalysisParagraph* paragraph = result.paragraphOfRow(20);
        QCOMPARE(paragraph ? printedTitle(*paragraph, result.catalogue) : QString(), title);
        if (paragraph) {
            QCOMPARE(textsOf(*paragraph), QList<int>{ids::analysisText(20)});
            QCOMPARE(paragraph->style, TitleStyle::Plain);
        }
    }

    void heartHealthPrecaution_data()
    {
        QTest::addColumn<QString>("age");
        QTest::addColumn<bool>("expected");
        QTest::newRow("49") << "49" << false;
        QTest::newRow("50") << "50" << true;
        QTest::newRow("72 years") << "72 years" << true;
    }

    void heartHealthPrecaution()
    {
        QFETCH(QString, age);
        QFETCH(bool, expected);

        const Evaluated result(TestClient::withScores({{23, 3}}).withSex(u"").withAge(age));
        const AnalysisParagraph* paragraph = result.paragraphOfRow(23);
        QCOMPARE(paragraph != nullptr, expected);
        if (!paragraph)
            return;
        QCOMPARE(paragraph->kind, ParagraphKind::HeartHealthPrecaution);
        QCOMPARE(printedTitle(*paragraph, result.catalogue),
                 QStringLiteral("BASIC HEART HEALTH   ---   Precautionary due to age"));
        QCOMPARE(textsOf(*paragraph), (QList<int>{4240, 4241})); // not the row's own text
    }

    void vitaminEFollowsAHighTriggerRow_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("score");
        QTest::addColumn<bool>("expected");
        QTest::newRow("liver at High") << 10 << 6 << true;
        QTest::newRow("liver below") << 10 << 5 << false;
        QTest::newRow("female gland") << 19 << 4 << true;
        QTest::newRow("male gland") << 20 << 8 << true;
        QTest::newRow("heart health 1") << 23 << 4 << true;
        QTest::newRow("heart health 2") << 25 << 10 << true;
        QTest::newRow("heart health 2 below") << 25 << 9 << false;
        QTest::newRow("heart health 3 is no trigger") << 27 << 15 << false;
        QTest::newRow("iron is no trigger") << 5 << 5 << false;
    }

    void vitaminEFollowsAHighTriggerRow()
    {
        QFETCH(int, row);
        QFETCH(int, score);
        QFETCH(bool, expected);

        for (bool highBloodPressure : {false, true}) {
            TestClient client = TestClient::withScores({{row, score}});
            if (highBloodPressure)
                client = client.withYes(kYesNoHighBloodPressure);
            const Evaluated result(client);
            const auto analysis = result.evaluation.analysis();
            const bool present = !analysis.empty() && analysis.back().row == 42;
            QCOMPARE(present, expected);
        }
    }

    void vitaminEVariants()
    {
        const TestClient client = TestClient::withScores({{10, 6}, {25, 10}});
        const Evaluated plain(client);
        const AnalysisParagraph& last = plain.evaluation.analysis().back();
        QCOMPARE(printedTitle(last, plain.catalogue), QStringLiteral("39.  VITAMIN-E:"));
        QCOMPARE(last.style, TitleStyle::Emphasised);
        QCOMPARE(textsOf(last), QList<int>{ids::kVitaminEText});
        QCOMPARE(plain.evaluation.analysis().size(), size_t(3)); // printed once

        const Evaluated pressure(client.withYes(kYesNoHighBloodPressure));
        const AnalysisParagraph& variant = pressure.evaluation.analysis().back();
        QCOMPARE(printedTitle(variant, pressure.catalogue),
                 QStringLiteral("39.  VITAMIN-E and Hypertension (High Blood Pressure):"));
        QCOMPARE(textsOf(variant), QList<int>{ids::kVitaminEHighPressureText});
    }

    void agePrecautionsDoNotCallForVitaminE()
    {
        const Evaluated result(TestClient::withScores({{20, 1}, {23, 1}}).withAge(u"60"));
        QCOMPARE(
            result.titles(),
            (QStringList{QStringLiteral("19.  MALE GLAND:  ---  Precautionary due to age"),
                         QStringLiteral("BASIC HEART HEALTH   ---   Precautionary due to age")}));
    }

    void smokerAdditionStaysOutOfTheEvaluation()
    {
        const TestClient client =
            TestClient::withScores({{3, 1}, {27, 13}, {28, 3}, {36, 0}}).withYes(kYesNoSmoker);
        const Evaluated result(client);
        QCOMPARE(result.evaluation.row(3).score, 1.0);
        QCOMPARE(result.evaluation.row(3).mark, Mark::None);
        QCOMPARE(result.evaluation.row(27).mark, Mark::None);
        QVERIFY(result.evaluation.analysis().empty());

        const ReferenceTables tables = ReferenceTables::fromCatalogue(result.catalogue);
        const PreparedProfile prepared = prepareProfile(client.input(), tables);
        QCOMPARE(prepared.guideScore[3], 3);
        QCOMPARE(prepared.guideScore[27], 15);
        QCOMPARE(prepared.guideScore[28], 5);
        QCOMPARE(prepared.guideScore[36], 2);
        QCOMPARE(prepared.guideScore[4], 0); // only those four rows
    }

    void guideScoresAreWholeNumbersOfTheScoredRows()
    {
        const Catalogue catalogue = test::profileTestCatalogue({{7900, QStringLiteral("37")}});
        const ReferenceTables tables = ReferenceTables::fromCatalogue(catalogue);
        ProfileInput input;
        input.scores[0] = QStringLiteral("2.5");
        input.scores[1] = QStringLiteral("3.5");
        input.scores[2] = QStringLiteral("99999");
        input.scores[40] = QStringLiteral("4");
        const PreparedProfile prepared = prepareProfile(input, tables);
        QCOMPARE(prepared.guideScore[1], 2); // to the nearest, ties to even
        QCOMPARE(prepared.guideScore[2], 4);
        QCOMPARE(prepared.guideScore[3], 32767);
        QCOMPARE(prepared.guideScore[41], 0); // beyond the 3 + 37 scored rows
        QCOMPARE(prepared.boxScore[41], 4.0);
    }
};

QTEST_GUILESS_MAIN(EvaluationTest)
#include "tst_evaluation.moc"
