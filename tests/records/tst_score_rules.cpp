#include "records/ScoreRules.h"

#include <QtTest>

using namespace halcyra;

class ScoreRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void leavingABox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("above the limit") << "50"
                                         << "45";
        QTest::newRow("the limit") << "45"
                                   << "45";
        QTest::newRow("negative") << "-3"
                                  << "0";
        QTest::newRow("empty") << ""
                               << "0";
        QTest::newRow("no number") << "abc"
                                   << "0";
        QTest::newRow("text after a number") << "7abc"
                                             << "7abc";
        QTest::newRow("plain") << "12"
                               << "12";
        QTest::newRow("45 and text") << "46 points"
                                     << "45";
    }
    void leavingABox()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(scoreTextOnLeaving(typed), kept);
    }

    void sumsUseTheNewValuesInOrder()
    {
        ScoreBoxes boxes;
        boxes.fill(QStringLiteral("0"));
        boxes[1] = QStringLiteral("4");
        boxes[2] = QStringLiteral("5");
        boxes[3] = QStringLiteral("6");
        boxes[5] = boxes[6] = boxes[7] = QStringLiteral("1");
        boxes[9] = QStringLiteral("99"); // a stale sum is replaced
        recomputeAutomaticScores(boxes);
        QCOMPARE(boxes[4], QStringLiteral("15"));
        QCOMPARE(boxes[8], QStringLiteral("3"));
        QCOMPARE(boxes[9], QStringLiteral("18"));

        boxes[10] = QStringLiteral("2");
        boxes[11] = QStringLiteral("3");
        boxes[12] = QStringLiteral("4");
        boxes[13] = QStringLiteral("7abc"); // counts by its leading number
        boxes[15] = QStringLiteral("1");
        boxes[16] = QStringLiteral("40"); // typed into an automatic box
        boxes[23] = QStringLiteral("2");
        boxes[24] = QStringLiteral("3");
        boxes[26] = QStringLiteral("4");
        recomputeAutomaticScores(boxes);
        QCOMPARE(boxes[14], QStringLiteral("11"));
        QCOMPARE(boxes[16], QStringLiteral("17")); // 2 + 3 + 11 + 1
        QCOMPARE(boxes[25], QStringLiteral("5"));
        QCOMPARE(boxes[27], QStringLiteral("9"));
    }

    void hairAndScalpFollowsTheHeartAndRespiratoryBoxes()
    {
        ScoreBoxes boxes;
        boxes.fill(QStringLiteral("0"));
        recomputeAutomaticScores(boxes);
        QCOMPARE(boxes[40], QStringLiteral("0"));

        boxes[28] = QStringLiteral("2");
        recomputeAutomaticScores(boxes);
        QCOMPARE(boxes[40], QStringLiteral("1"));

        boxes[40] = QStringLiteral("3");
        recomputeAutomaticScores(boxes);
        QCOMPARE(boxes[40], QStringLiteral("3"));

        // Box 27 is a sum: a value reaching it through 25 and 26 counts as well.
        boxes.fill(QStringLiteral("0"));
        boxes[26] = QStringLiteral("1");
        recomputeAutomaticScores(boxes);
        QCOMPARE(boxes[40], QStringLiteral("1"));
    }

    void helpTextsAndVisibility()
    {
        QCOMPARE(scoreHelpText(1, QStringLiteral("Field  1")),
                 QStringLiteral("Enter total score for group   1"));
        QCOMPARE(scoreHelpText(13, QStringLiteral("Field 12A")),
                 QStringLiteral("Enter total score for group  12A"));
        QCOMPARE(scoreHelpText(16, QStringLiteral("Field 15")),
                 QStringLiteral("Score in this field is automatically calculated"));
        QCOMPARE(scoreHelpText(40, QStringLiteral("Field 37")),
                 QStringLiteral("Score in this field is affected by other field scores."));

        QVERIFY(isScoreBoxShown(QStringLiteral("Field 38"), 38));
        QVERIFY(!isScoreBoxShown(QStringLiteral("Field 39"), 38));
        QVERIFY(isScoreBoxShown(QStringLiteral("Field 39"), 39));
        QVERIFY(isScoreBoxShown(QStringLiteral("Field 22B"), 38));
        QVERIFY(isScoreBoxShown(QStringLiteral("Field  9"), 38));

        QCOMPARE(scoreBoxAt(1, 1), 1);
        QCOMPARE(scoreBoxAt(1, 7), 7);
        QCOMPARE(scoreBoxAt(2, 1), 8);
        QCOMPARE(scoreBoxAt(6, 7), 42);
        for (int box : {4, 8, 9, 14, 16, 25, 27})
            QVERIFY(isAutomaticScoreBox(box));
        QVERIFY(!isAutomaticScoreBox(13));
        QVERIFY(!isAutomaticScoreBox(26));
    }
};

QTEST_GUILESS_MAIN(ScoreRulesTest)
#include "tst_score_rules.moc"
