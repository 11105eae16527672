// The main window's New Assessment and Assessment History: what the window shows afterwards.
// The rules themselves (filing, comparing) are tested in the logic.

#include "records/ClientRecord.h"
#include "records/DetailRules.h"
#include "support/MainWindowHarness.h"

#include <QAction>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

using namespace halcyra;
using halcyra::test::MainWindowHarness;
using Answer = UserPrompts::Answer;

class FrmMainHistoryTest : public QObject
{
    Q_OBJECT
private slots:
    void newAssessmentClearsTheScoresForToday();
};

void FrmMainHistoryTest::newAssessmentClearsTheScoresForToday()
{
    MainWindowHarness h;
    const qint64 id = h.addClient({{columns::detail(1), QStringLiteral("Rowe")},
                                   {columns::detail(15), QStringLiteral("F")},
                                   {columns::detail(16), QStringLiteral("3/1/2026")},
                                   {columns::score(5), 4}});
    frmMain& window = h.open();
    QAction* newAssessment = window.menuEntry(QStringLiteral("mnuFileNewAssessment"));
    auto* score5 = h.child<QLineEdit>(QStringLiteral("txtScore_5"));
    auto* date = h.child<QLineEdit>(QStringLiteral("txtFields_16"));
    QVERIFY(newAssessment && score5 && date);

    // "No" changes nothing.
    h.prompts.setNextAnswers({Answer::No});
    newAssessment->trigger();
    MainWindowHarness::settle();
    QCOMPARE(score5->text(), QStringLiteral("4"));

    h.prompts.setNextAnswers({Answer::Yes});
    newAssessment->trigger();
    MainWindowHarness::settle();
    QCOMPARE(score5->text(), QString());
    QCOMPARE(date->text(), todayText(QDate::currentDate()));
    QCOMPARE(h.stored(id, columns::detail(16)).toString(), todayText(QDate::currentDate()));

    window.menuEntry(QStringLiteral("mnuViewHistory"))->trigger();
    MainWindowHarness::settle();
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("grdAssessments"));
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("3/1/2026"));
    QCOMPARE(table->item(1, 0)->text(), todayText(QDate::currentDate()));
}

QTEST_MAIN(FrmMainHistoryTest)
#include "tst_frmmain_history.moc"
