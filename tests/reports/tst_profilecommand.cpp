// `halcyra-cli profile`: in-process on the test catalogue, and the real program on the
// built-in one.

#include "cli/ProfileCommand.h"
#include "reports/ProfileTestCatalogue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QtTest>

using namespace halcyra;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;

    QJsonObject json() const
    {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            qWarning() << "not a JSON object:" << error.errorString() << out;
        return document.object();
    }
};

Run runInProcess(const QStringList& arguments)
{
    Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    cli::ProfileCommand command(test::profileTestCatalogue());
    run.exitCode = command.execute(arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

Run runProgram(const QStringList& arguments)
{
    QProcess cli;
    cli.start(QStringLiteral(HALCYRA_CLI_PATH), QStringList{QStringLiteral("profile")} + arguments);
    Run run;
    if (!cli.waitForFinished(30000))
        return run;
    run.exitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
    run.out = QString::fromUtf8(cli.readAllStandardOutput());
    run.err = QString::fromUtf8(cli.readAllStandardError());
    return run;
}

// Scores for rows 1..n as one --scores value.
QString scoreList(const std::map<int, int>& scores, int rows = kReportRowCount)
{
    QStringList texts;
    for (int r = 1; r <= rows; ++r)
        texts.append(scores.contains(r) ? QString::number(scores.at(r)) : QString());
    return texts.join(u',');
}

QJsonObject findIndex(const QJsonArray& array, int index)
{
    for (const QJsonValue value : array)
        if (value[QStringLiteral("index")].toInt() == index)
            return value.toObject();
    return {};
}

QStringList keysOf(const QJsonValue& value)
{
    QStringList keys = value.toObject().keys();
    keys.sort();
    return keys;
}

} // namespace

class ProfileCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void jsonHasTheStatedShape()
    {
        const Run run = runInProcess(
            {QStringLiteral("--scores"), scoreList({{5, 4}}), QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(run.err.isEmpty());
        const QJsonObject json = run.json();
        QCOMPARE(keysOf(json), (QStringList{QStringLiteral("analysis"), QStringLiteral("guide"),
                                            QStringLiteral("listed"), QStringLiteral("rows")}));

        const QJsonArray rows = json[QStringLiteral("rows")].toArray();
        QCOMPARE(rows.size(), 41);
        for (qsizetype i = 0; i < rows.size(); ++i) {
            QCOMPARE(keysOf(rows[i]), (QStringList{QStringLiteral("high"), QStringLiteral("mark"),
                                                   QStringLiteral("row"), QStringLiteral("score"),
                                                   QStringLiteral("veryHigh")}));
            QCOMPARE(rows[i][QStringLiteral("row")].toInt(), i + 1);
        }
        QCOMPARE(rows[4][QStringLiteral("score")].toDouble(), 4.0);
        QCOMPARE(rows[4][QStringLiteral("high")].toDouble(), 2.0);
        QCOMPARE(rows[4][QStringLiteral("veryHigh")].toDouble(), 5.0);
        QCOMPARE(rows[4][QStringLiteral("mark")].toString(), QStringLiteral("H"));
        QCOMPARE(rows[0][QStringLiteral("mark")].toString(), QString());

        QCOMPARE(json[QStringLiteral("analysis")].toArray(),
                 QJsonArray{QStringLiteral("5.   IRON: H")});

        const QJsonArray guide = json[QStringLiteral("guide")].toArray();
        QCOMPARE(guide.size(), 40);
        for (qsizetype i = 0; i < guide.size(); ++i) {
            QCOMPARE(keysOf(guide[i]),
                     (QStringList{QStringLiteral("index"), QStringLiteral("name"),
                                  QStringLiteral("possible"), QStringLiteral("quantity"),
                                  QStringLiteral("references"), QStringLiteral("unit")}));
            QCOMPARE(guide[i][QStringLiteral("index")].toInt(), i + 1);
        }
        const QJsonObject water = guide[3].toObject();
        QCOMPARE(water[QStringLiteral("name")].toString(), QStringLiteral("Pure Water"));
        QCOMPARE(water[QStringLiteral("quantity")].toInt(), 6);
        QCOMPARE(water[QStringLiteral("references")].toInt(), 1);
        QCOMPARE(water[QStringLiteral("possible")].toString(), QStringLiteral("5"));
        QCOMPARE(water[QStringLiteral("unit")].toString(), QStringLiteral("- 8 glasses per day"));

        const QJsonArray listed = json[QStringLiteral("listed")].toArray();
        QCOMPARE(listed.size(), 8);
        QCOMPARE(keysOf(listed[0]),
                 (QStringList{QStringLiteral("index"), QStringLiteral("quantity"),
                              QStringLiteral("references"), QStringLiteral("unit")}));
        QCOMPARE(listed[0][QStringLiteral("index")].toInt(), 4);
        QCOMPARE(listed[0][QStringLiteral("quantity")].toString(), QStringLiteral("6"));
        QCOMPARE(listed[0][QStringLiteral("references")].toString(), QStringLiteral("1 of 5"));
    }

    void guideIsBeforeAndListingAfterTheAdjustments()
    {
        const Run run = runInProcess({QStringLiteral("--scores"), scoreList({{21, 6}, {3, 1}}),
                                      QStringLiteral("--yes-no"), QStringLiteral("1,1,1,0,0"),
                                      QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject json = run.json();
        const QJsonArray guide = json[QStringLiteral("guide")].toArray();
        QCOMPARE(findIndex(guide, 9)[QStringLiteral("unit")].toString(),
                 QStringLiteral("Tabs or Caps"));
        QCOMPARE(findIndex(guide, 35)[QStringLiteral("quantity")].toInt(), 1);
        QCOMPARE(findIndex(guide, 8)[QStringLiteral("quantity")].toInt(), 3); // smoker: 1 + 2

        const QJsonArray listed = json[QStringLiteral("listed")].toArray();
        const QJsonObject vitaminE = findIndex(listed, 9);
        QCOMPARE(vitaminE[QStringLiteral("quantity")].toString(), QStringLiteral("1"));
        QCOMPARE(vitaminE[QStringLiteral("unit")].toString(),
                 QStringLiteral(" - High Blood Pressure"));
        const QJsonObject insulin = findIndex(listed, 35);
        QCOMPARE(insulin[QStringLiteral("quantity")].toString(), QStringLiteral("0"));
        QCOMPARE(insulin[QStringLiteral("unit")].toString(),
                 QStringLiteral(" - Reactive Hypoglycemia"));
        QCOMPARE(insulin[QStringLiteral("references")].toString(), QStringLiteral("1 of 2"));

        // The smoker's addition is not in the rows.
        QCOMPARE(json[QStringLiteral("rows")][2][QStringLiteral("score")].toDouble(), 1.0);
    }

    void detailsReachTheEvaluation()
    {
        const Run run =
            runInProcess({QStringLiteral("--scores=,,,,,,,,,6"), QStringLiteral("--age"),
                          QStringLiteral("56"), QStringLiteral("--sex"), QStringLiteral("M"),
                          QStringLiteral("--total-cholesterol"), QStringLiteral("201"),
                          QStringLiteral("--hdl"), QStringLiteral("0"), QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject json = run.json();
        QCOMPARE(json[QStringLiteral("analysis")].toArray(),
                 (QJsonArray{QStringLiteral("10.  LIVER/GALL BLADDER: H"),
                             QStringLiteral("19.  MALE GLAND:  ---  Precautionary due to age"),
                             QStringLiteral("BASIC HEART HEALTH   ---   Precautionary due to age"),
                             QStringLiteral("39.  VITAMIN-E:")}));
        const QJsonArray guide = json[QStringLiteral("guide")].toArray();
        QCOMPARE(findIndex(guide, 19)[QStringLiteral("quantity")].toInt(), 1);   // cholesterol
        QCOMPARE(findIndex(guide, 29)[QStringLiteral("quantity")].toInt(), 2);   // man past 40
        QCOMPARE(findIndex(guide, 33)[QStringLiteral("references")].toInt(), 1); // past 50
    }

    void missingTrailingScoresAreEmpty()
    {
        const Run run = runInProcess(
            {QStringLiteral("--scores"), QStringLiteral("3"), QStringLiteral("--json")});
        QCOMPARE(run.exitCode, 0);
        const QJsonArray rows = run.json()[QStringLiteral("rows")].toArray();
        QCOMPARE(rows[0][QStringLiteral("mark")].toString(), QStringLiteral("H"));
        for (qsizetype i = 1; i < rows.size(); ++i)
            QCOMPARE(rows[i][QStringLiteral("score")].toDouble(), 0.0);
    }

    void readableText()
    {
        const Run run = runInProcess({QStringLiteral("--scores"), scoreList({{12, 3}, {5, 5}})});
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(u'\n');
        QVERIFY(lines.contains(QStringLiteral("5.   IRON: VH  (bold)")));
        QVERIFY(lines.contains(QStringLiteral("12.  DIGESTION 1: H")));
        const auto digestion = std::find_if(lines.begin(), lines.end(), [](const QString& line) {
            return line.endsWith(QStringLiteral("12. Digestion 1"));
        });
        QVERIFY(digestion != lines.end());
        QVERIFY(digestion->contains(QStringLiteral("NOT DETERMINED")));
        QVERIFY(digestion->contains(QStringLiteral("3 SA")));
        QVERIFY(!run.out.contains(QStringLiteral("30.  NEED A PICK UP")));
        QVERIFY(std::any_of(lines.begin(), lines.end(), [](const QString& line) {
            return line.startsWith(QStringLiteral("Pure Water")) &&
                   line.endsWith(QStringLiteral(" 1 of 5"));
        }));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("42 scores")
            << QStringList{QStringLiteral("--scores"), scoreList({}, 42)} << "at most 41";
        QTest::newRow("no scores") << QStringList{QStringLiteral("--json")} << "--scores";
        QTest::newRow("four answers")
            << QStringList{QStringLiteral("--scores=1"), QStringLiteral("--yes-no=1,0,0,0")}
            << "--yes-no";
        QTest::newRow("answer 2") << QStringList{QStringLiteral("--scores=1"),
                                                 QStringLiteral("--yes-no=1,0,0,0,2")}
                                  << "--yes-no";
        QTest::newRow("answer yes")
            << QStringList{QStringLiteral("--scores=1"), QStringLiteral("--yes-no=1,0,yes,0,0")}
            << "--yes-no";
        QTest::newRow("stray argument")
            << QStringList{QStringLiteral("--scores=1"), QStringLiteral("extra")} << "extra";
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("--scores=1"), QStringLiteral("--client=3")}
            << "--client";
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run run = runInProcess(arguments);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }

    void realProgramGivesJsonAndErrors()
    {
        const Run ok =
            runProgram({QStringLiteral("--scores"), scoreList({}), QStringLiteral("--json")});
        QCOMPARE(ok.exitCode, 0);
        const QJsonObject json = ok.json();
        QCOMPARE(json[QStringLiteral("rows")].toArray().size(), 41);
        QCOMPARE(json[QStringLiteral("guide")].toArray().size(), 40);
        QCOMPARE(json[QStringLiteral("analysis")].toArray().size(), 0);
        QStringList listedNames;
        for (const QJsonValue line : json[QStringLiteral("listed")].toArray())
            listedNames.append(
                findIndex(json[QStringLiteral("guide")].toArray(),
                          line[QStringLiteral("index")].toInt())[QStringLiteral("name")]
                    .toString());
        QCOMPARE(listedNames,
                 (QStringList{QStringLiteral("Pure Water"), QStringLiteral("Multi-Vitamin/Mineral"),
                              QStringLiteral("Soy Protein"), QStringLiteral("B-Complex"),
                              QStringLiteral("Vitamin C"), QStringLiteral("Vitamin E"),
                              QStringLiteral("Clean Indoor Air"),
                              QStringLiteral("Interferon Enhancer")}));

        const Run tooMany = runProgram({QStringLiteral("--scores"), scoreList({}, 42)});
        QCOMPARE(tooMany.exitCode, 2);
        const Run badAnswers =
            runProgram({QStringLiteral("--scores=1"), QStringLiteral("--yes-no=1,1")});
        QCOMPARE(badAnswers.exitCode, 2);
        QVERIFY(badAnswers.out.isEmpty());
    }

    void builtInCatalogueHoldsTheReferenceValues()
    {
        // Every rule fires for this man of 51; the built-in catalogue must give what the
        // reference values give.
        std::map<int, int> scores;
        for (int r = 1; r <= kReportRowCount; ++r)
            scores[r] = 45;
        const QStringList arguments{QStringLiteral("--scores"),
                                    scoreList(scores),
                                    QStringLiteral("--sex=M"),
                                    QStringLiteral("--age=51"),
                                    QStringLiteral("--total-cholesterol=300"),
                                    QStringLiteral("--hdl=50"),
                                    QStringLiteral("--yes-no=0,0,0,0,1"),
                                    QStringLiteral("--json")};
        const Run builtIn = runProgram(arguments);
        QCOMPARE(builtIn.exitCode, 0);
        const QJsonObject json = builtIn.json();
        const QJsonObject reference = runInProcess(arguments).json();
        for (const QString& key : {QStringLiteral("rows"), QStringLiteral("guide"),
                                   QStringLiteral("listed"), QStringLiteral("analysis")})
            QCOMPARE(json[key], reference[key]);

        // Rows 13, 24 and 26 have no paragraph; the Vitamin E paragraph closes the Analysis.
        const QJsonArray analysis = json[QStringLiteral("analysis")].toArray();
        QCOMPARE(analysis.size(), 41 - 3 + 1);
        QCOMPARE(analysis.last().toString(), QStringLiteral("39.  VITAMIN-E:"));
        QCOMPARE(json[QStringLiteral("listed")].toArray().size(), 39); // all but menopause herbs
    }
};

QTEST_GUILESS_MAIN(ProfileCommandTest)
#include "tst_profilecommand.moc"
