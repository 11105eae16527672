// Earlier assessments: filing one for a new visit, comparing it with the current one, and the
// progress page of the report.

#include "ReportTestInputs.h"
#include "records/AssessmentHistory.h"
#include "records/ClientDataSource.h"
#include "records/DatabaseFile.h"
#include "reports/ClientProgress.h"
#include "reports/ProfileFromRecord.h"
#include "reports/ReportDocuments.h"
#include "reports/ReportPdf.h"
#include "support/TempProgramFolder.h"

#include <QPdfDocument>
#include <QPdfSelection>
#include <QSqlQuery>
#include <QtTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

class ProgressTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void twoVisitsGiveTheChangesAndMarks();
    void aSecondAssessmentUnderTheSameDateIsRefused();
    void progressPageOnlyWithHistory();

private:
    QSqlDatabase db() const { return QSqlDatabase::database(u"progress"_s); }
    ClientRecord stored() const;
    void setScores(std::initializer_list<std::pair<int, int>> scores, const QString& date);

    std::unique_ptr<test::TempProgramFolder> m_folder;
    test::ReportFixture m_fixture;
};

void ProgressTest::init()
{
    m_folder = std::make_unique<test::TempProgramFolder>();
    m_folder->createDatabase();
    const Status opened = openDatabase(m_folder->path(u"HCY300.db"_s), u"progress"_s);
    QVERIFY2(opened, qPrintable(opened.error()));
    QVERIFY(QSqlQuery(db()).exec(
        u"INSERT INTO Customers (LastName, FirstName, Sex, Age) VALUES ('Rowe', 'Ada', 'F', '44')"_s));
}

void ProgressTest::cleanup()
{
    QSqlDatabase::database(u"progress"_s).close();
    QSqlDatabase::removeDatabase(u"progress"_s);
}

ClientRecord ProgressTest::stored() const
{
    const Result<ClientRecord> record = loadClientRecord(db(), 1);
    if (!record)
        qWarning() << record.error();
    return record ? *record : ClientRecord();
}

void ProgressTest::setScores(std::initializer_list<std::pair<int, int>> scores, const QString& date)
{
    QSqlQuery query(db());
    for (auto [box, value] : scores)
        QVERIFY(query.exec(u"UPDATE Customers SET Field%1 = %2"_s.arg(box).arg(value)));
    query.prepare(u"UPDATE Customers SET Date = ?"_s);
    query.addBindValue(date);
    QVERIFY(query.exec());
}

void ProgressTest::twoVisitsGiveTheChangesAndMarks()
{
    const auto& tables = m_fixture.tables;
    // Iron (row 5): Very High, then nothing. Vitamin A (row 1): nothing, then Very High.
    // Zinc (row 7): High, then Very High. Colon (row 11): the same mark both times.
    setScores({{5, int(tables.veryHigh[5])},
               {1, 0},
               {7, int(tables.high[7])},
               {11, int(tables.veryHigh[11])}},
              u"2026-03-01"_s); // as an older import stored it: shown in the program's form
    QSqlDatabase database = db();
    QVERIFY(startNewAssessment(database, stored(), u"9/1/2026"_s));
    const ClientRecord afterFiling = stored();
    QCOMPARE(afterFiling.text(columns::detail(16)), u"9/1/2026"_s);
    QVERIFY(afterFiling.score(5).isEmpty());
    QCOMPARE(afterFiling.text(columns::detail(14)), u"44"_s); // details stay

    setScores({{5, 1},
               {1, int(tables.veryHigh[1])},
               {7, int(tables.veryHigh[7])},
               {11, int(tables.veryHigh[11]) + 1}},
              u"9/1/2026"_s);
    const auto progress = progressOfClient(db(), stored(), m_fixture.catalogue, tables);
    QVERIFY2(progress, qPrintable(progress.error()));
    QVERIFY(progress->has_value());
    const Progress& p = **progress;
    QCOMPARE(p.earlierDate, u"3/1/2026"_s);
    QCOMPARE(p.currentDate, u"9/1/2026"_s);
    auto row = [&](int r) {
        for (const SectionProgress& s : p.sections)
            if (s.row == r)
                return s;
        return SectionProgress{};
    };
    QCOMPARE(row(5).change(), 1 - tables.veryHigh[5]);
    QCOMPARE(markChangeNote(row(5).earlierMark, row(5).currentMark),
             u"No longer marked Very High"_s);
    QCOMPARE(markChangeNote(row(1).earlierMark, row(1).currentMark), u"Now marked Very High"_s);
    QCOMPARE(markChangeNote(row(7).earlierMark, row(7).currentMark),
             u"Now marked Very High, was High"_s);
    QCOMPARE(row(11).change(), 1.0);
    QCOMPARE(markChangeNote(row(11).earlierMark, row(11).currentMark), QString());
    // Sub-sections are counted in their sums, not listed; the rows past the Summary are.
    QCOMPARE(row(13).row, 0);
    QCOMPARE(row(33).name, u"30. NEED A PICK UP"_s);

    // A deleted client takes its history along.
    QVERIFY(QSqlQuery(db()).exec(u"DELETE FROM Customers"_s));
    QSqlQuery count(u"SELECT count(*) FROM Assessments"_s, db());
    QVERIFY(count.next());
    QCOMPARE(count.value(0).toInt(), 0);
}

void ProgressTest::aSecondAssessmentUnderTheSameDateIsRefused()
{
    setScores({{1, 3}}, u"3/1/2026"_s);
    QSqlDatabase database = db();
    QVERIFY(startNewAssessment(database, stored(), u"3/1/2026"_s));
    setScores({{1, 4}}, u"3/1/2026"_s);
    const ClientRecord before = stored();
    const Status again = startNewAssessment(database, before, u"4/1/2026"_s);
    QVERIFY(!again);
    QVERIFY2(again.error().contains(u"already has an assessment dated 3/1/2026"_s),
             qPrintable(again.error()));
    QCOMPARE(stored(), before);
    const auto earlier = readEarlierAssessments(db(), before);
    QVERIFY(earlier);
    QCOMPARE(earlier->size(), size_t(1));
    QCOMPARE(earlier->front().score(1), u"3"_s);
}

void ProgressTest::progressPageOnlyWithHistory()
{
    QTemporaryDir dir;
    FixedDocuments documents(QStringLiteral(HALCYRA_DOCUMENTS_DIR));
    m_fixture.setScores({{5, "5"}});
    ProfileInput earlier = m_fixture.profile;
    earlier.scores[4] = u"2"_s;
    earlier.scores[0] = u"9"_s;
    for (bool withHistory : {false, true}) {
        PrintedReport::Inputs inputs = m_fixture.inputs();
        if (withHistory)
            inputs.progress =
                compareAssessments(earlier, u"1/5/2026"_s, m_fixture.profile, u"3/14/2026"_s,
                                   m_fixture.catalogue, m_fixture.tables);
        const QString path = dir.filePath(withHistory ? u"with.pdf"_s : u"without.pdf"_s);
        const Result<ReportPdfWritten> written = writeReportPdf(path, inputs, {2, 3}, documents);
        QVERIFY2(written, qPrintable(written.error()));
        QPdfDocument pdf;
        QCOMPARE(pdf.load(path), QPdfDocument::Error::None);
        QStringList pages;
        for (int page = 0; page < pdf.pageCount(); ++page)
            pages << pdf.getAllText(page).text();
        qsizetype progressPage = -1;
        for (qsizetype page = 0; page < pages.size() && progressPage < 0; ++page)
            if (pages[page].contains(u"Progress since"_s))
                progressPage = page;
        if (!withHistory) {
            QCOMPARE(progressPage, -1);
            continue;
        }
        // Right after the Summary, before the Analysis.
        QCOMPARE(progressPage, 1);
        const QString text = pages[1].simplified();
        QVERIFY2(text.contains(u"Progress since 1/5/2026"_s), qPrintable(text));
        QVERIFY(text.contains(u"Elena Galloway"_s));
        QVERIFY2(text.contains(u"05. Iron 2 5 +3 Now marked Very High, was High"_s),
                 qPrintable(text));
        QVERIFY(text.contains(u"01. Vitamin A 9 0 -9 No longer marked"_s));
    }
}

QTEST_MAIN(ProgressTest)
#include "tst_progress.moc"
