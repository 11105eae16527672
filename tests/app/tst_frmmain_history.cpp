// The main window's New Assessment and Assessment History: what the window shows afterwards.
// The rules themselves (filing, comparing) are tested in the logic.

#include "records/ClientRecord.h"
#include "records/DetailRules.h"
#include "support/MainWindowHarness.h"

#include <QAction>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableWidget>
#include <QtTest>

using namespace halcyra;
using halcyra::test::MainWindowHarness;
using Answer = UserPrompts::Answer;
using namespace Qt::StringLiterals;

class FrmMainHistoryTest : public QObject
{
    Q_OBJECT
private slots:
    void newAssessmentClearsTheScoresForToday();
    void historyShowsEveryDateInOneForm();
    void importOfAWindowsSpreadsheetFile();
    void exportProposesANameAndAddsCsv();
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
    QVERIFY(
        QRegularExpression(u"^[0-9]{1,2}/[0-9]{1,2}/[0-9]{4}$"_s).match(date->text()).hasMatch());
    QCOMPARE(h.stored(id, columns::detail(16)).toString(), todayText(QDate::currentDate()));

    window.menuEntry(QStringLiteral("mnuViewHistory"))->trigger();
    MainWindowHarness::settle();
    auto* table = window.findChild<QTableWidget*>(QStringLiteral("grdAssessments"));
    QVERIFY(table);
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->item(0, 0)->text(), QStringLiteral("3/1/2026"));
    QCOMPARE(table->item(1, 0)->text(), todayText(QDate::currentDate()));
}

// Older records and imports hold dates in other forms; the table and the chart's axis show
// each in the program's one, in the order the visits were filed.
void FrmMainHistoryTest::historyShowsEveryDateInOneForm()
{
    MainWindowHarness h;
    const qint64 id = h.addClient({{columns::detail(1), u"Rowe"_s},
                                   {columns::detail(15), u"F"_s},
                                   {columns::detail(16), u"2026-04-01"_s},
                                   {columns::score(5), 4}});
    for (const char* date : {"9 Dec 2025", "02/08/2026", "no date kept"})
        h.execute(
            u"INSERT INTO Assessments (CustomerID, Date, Field5) VALUES (%1, '%2', 2)"_s.arg(id)
                .arg(QString::fromLatin1(date)));
    frmMain& window = h.open();
    window.menuEntry(u"mnuViewHistory"_s)->trigger();
    MainWindowHarness::settle();
    auto* table = window.findChild<QTableWidget*>(u"grdAssessments"_s);
    auto* chart = window.findChild<QChartView*>(u"chtHistory"_s);
    QVERIFY(table && chart);
    const QStringList shown = {u"12/9/2025"_s, u"2/8/2026"_s, u"no date kept"_s, u"4/1/2026"_s};
    QCOMPARE(table->rowCount(), 4);
    for (int row = 0; row < 4; ++row)
        QCOMPARE(table->item(row, 0)->text(), shown[row]);
    const auto axes = chart->chart()->axes(Qt::Horizontal);
    QCOMPARE(axes.size(), 1);
    auto* dates = qobject_cast<QCategoryAxis*>(axes.first());
    QVERIFY(dates);
    QCOMPARE(dates->categoriesLabels(), shown);
    // Shown, not rewritten.
    QCOMPARE(h.stored(id, columns::detail(16)).toString(), u"2026-04-01"_s);
}

// A spreadsheet's plain CSV from Windows: the adviser says how it was written, sees what the
// import would do, and gets every name whole.
void FrmMainHistoryTest::importOfAWindowsSpreadsheetFile()
{
    MainWindowHarness h;
    h.addClient(u"Moss"_s, u"Ada"_s);
    frmMain& window = h.open();
    const QString path = h.folder.path(u"clients.csv"_s);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Last Name;First Name;State;Date\r\nM\xFCller;Ren\xE9"
               "e;ca;2026-04-01\r\n");
    file.close();

    h.prompts.setNextFiles({path});
    h.prompts.setNextItems({0}); // Windows-1252
    h.prompts.setNextAnswers({Answer::Yes});
    window.menuEntry(u"mnuFileImport"_s)->trigger();
    MainWindowHarness::settle();

    QCOMPARE(
        h.prompts.listsOffered(),
        QStringList{u"The file is not UTF-8 text. Which encoding did the program that wrote "
                    "it use?: [Windows-1252 (spreadsheets on Windows)]|Latin-1 (ISO 8859-1)"_s});
    const auto& shown = h.prompts.shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].text,
             u"Row 2, State \"ca\": stored as \"CA\", in capitals, as the window keeps it.\n"
             "Row 2, Date \"2026-04-01\": stored as \"4/1/2026\", the program's form of a date "
             "(month/day/year).\n\n"
             "Read as Windows-1252: 1 client row, 0 refused values, 2 values changed or filled "
             "in, 0 already present. Checked only; 1 client would be added.\n\n"
             "Add 1 client?"_s);
    QCOMPARE(shown[1].text,
             u"Read as Windows-1252: 1 client row, 0 refused values, 2 values changed or filled "
             "in, 0 already present. Added 1 client and 0 earlier assessments."_s);
    QCOMPARE(h.storedCount(), 2);
    QCOMPARE(h.stored(2, columns::detail(1)).toString(), u"Müller"_s);
    QCOMPARE(h.stored(2, columns::detail(2)).toString(), u"Renée"_s);
    QCOMPARE(h.stored(2, columns::detail(16)).toString(), u"4/1/2026"_s);
}

void FrmMainHistoryTest::exportProposesANameAndAddsCsv()
{
    MainWindowHarness h;
    h.addClient(u"Moss"_s, u"Ada"_s);
    frmMain& window = h.open();
    QAction* exportClients = window.menuEntry(u"mnuFileExport"_s);
    const QString typed = h.folder.path(u"clients"_s);
    const QString written = typed + u".csv"_s;

    h.prompts.setNextFiles({typed});
    exportClients->trigger();
    MainWindowHarness::settle();
    QCOMPARE(h.prompts.namesProposed(), QStringList{u"Halcyra clients %1.csv"_s.arg(
                                            QDate::currentDate().toString(Qt::ISODate))});
    QVERIFY(QFileInfo::exists(written));
    QVERIFY(!QFileInfo::exists(typed));
    QCOMPARE(h.prompts.shown().last().text,
             u"Wrote 1 client and 0 earlier assessments to %1."_s.arg(
                 QDir::toNativeSeparators(written)));

    // The dialog asked about "clients", not "clients.csv": replacing that is asked here.
    QFile kept(written);
    QVERIFY(kept.open(QIODevice::WriteOnly));
    kept.write("kept");
    kept.close();
    h.prompts.setNextFiles({typed});
    h.prompts.setNextAnswers({Answer::No});
    exportClients->trigger();
    MainWindowHarness::settle();
    QVERIFY(
        h.prompts.shown().last().text.endsWith(u"already exists. Do you want to replace it?"_s));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("kept"));
}

QTEST_MAIN(FrmMainHistoryTest)
#include "tst_frmmain_history.moc"
