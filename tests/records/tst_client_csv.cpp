// Clients out to CSV and back: the round trip, and what each kind of hostile file gives.

#include "core/Catalogue.h"
#include "records/AssessmentHistory.h"
#include "records/ClientCsv.h"
#include "records/ClientDataSource.h"
#include "records/Csv.h"
#include "records/DatabaseFile.h"
#include "records/DemoClients.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A database of its own in a folder of the test's temporary folder.
class Database
{
public:
    Database(const QTemporaryDir& dir, const QString& name) : m_name(name)
    {
        const QString folder = dir.filePath(name);
        QString error;
        createDatabaseIfMissing(folder, &error);
        if (!openDatabase(QDir(folder).filePath(u"HCY300.db"_s), name, &error))
            qWarning() << error;
    }
    ~Database()
    {
        QSqlDatabase::database(m_name).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name); }
    int count(const QString& table) const
    {
        QSqlQuery query(u"SELECT count(*) FROM \"%1\""_s.arg(table), db());
        return query.next() ? query.value(0).toInt() : -1;
    }

private:
    QString m_name;
};

const Catalogue& catalogue()
{
    static const Catalogue builtIn = Catalogue::builtIn();
    return builtIn;
}

ImportOptions options(bool skipBad = false)
{
    ImportOptions o;
    o.skipBad = skipBad;
    o.today = QDate(2026, 12, 8);
    return o;
}

} // namespace

class ClientCsvTest : public QObject
{
    Q_OBJECT
private slots:
    void roundTripKeepsEveryField();
    void hostileFiles_data();
    void hostileFiles();
    void spreadsheetGuardComesOffAlone_data();
    void spreadsheetGuardComesOffAlone();
};

void ClientCsvTest::roundTripKeepsEveryField()
{
    QTemporaryDir dir;
    Database source(dir, u"source"_s);
    QSqlDatabase db = source.db();
    QString error;
    QCOMPARE(addDemoClients(db, 1000, 3, &error), 1000);
    // Values a CSV file has to quote, and one a spreadsheet would run.
    QSqlQuery query(db);
    QVERIFY(query.exec(u"UPDATE Customers SET Notes = 'says \"hi\", then\r\nleaves', "
                       "Medications = '=CMD()', Address = ' Ünter den Linden 4 ', "
                       "Field1 = '7abc', Field4 = 7 + Field2 + Field3, "
                       "Field9 = 7 + Field2 + Field3 + Field8 WHERE CustomerID = 2"_s));
    for (qint64 id : {5, 6}) {
        ClientRecord record;
        QVERIFY(loadClientRecord(db, id, &record, &error));
        QVERIFY(startNewAssessment(db, record, u"12/1/2026"_s));
        // The new visit's first score, with the sums the window works out when it is typed.
        QVERIFY(query.exec(u"UPDATE Customers SET Field2 = 3, Field4 = 3, Field8 = 0, Field9 = 3, "
                           "Field14 = 0, Field16 = 0, Field25 = 0, Field27 = 0 "
                           "WHERE CustomerID = %1"_s.arg(id)));
    }

    const QString first = dir.filePath(u"first.csv"_s);
    const auto exported = exportClientsCsv(db, first, catalogue(), true);
    QVERIFY2(exported, qPrintable(exported.error()));
    QCOMPARE(exported->clients, 1000);
    QCOMPARE(exported->earlierAssessments, 2);
    QCOMPARE(QFile::permissions(first) & 0x0077, QFileDevice::Permissions());
    QVERIFY(readBytes(first).contains(",'=CMD(),"));

    Database target(dir, u"target"_s);
    QSqlDatabase targetDb = target.db();
    const auto imported = importClientsCsv(targetDb, first, catalogue(), options());
    QVERIFY2(imported, qPrintable(imported.error()));
    QVERIFY2(imported->refused.empty(),
             qPrintable(importReportLines(*imported, options()).join(u'\n')));
    QCOMPARE(imported->imported, 1000);
    QCOMPARE(imported->earlierAssessments, 2);

    // The records get the same numbers in an empty database, so the files agree byte for byte.
    const QString second = dir.filePath(u"second.csv"_s);
    QVERIFY(exportClientsCsv(targetDb, second, catalogue(), true));
    const QList<QByteArray> firstLines = readBytes(first).split('\n');
    const QList<QByteArray> secondLines = readBytes(second).split('\n');
    QCOMPARE(secondLines.size(), firstLines.size());
    for (qsizetype i = 0; i < firstLines.size(); ++i)
        QCOMPARE(secondLines[i], firstLines[i]);

    // The same file again adds nobody.
    const auto again = importClientsCsv(targetDb, first, catalogue(), options());
    QVERIFY(again);
    QCOMPARE(again->duplicates.size(), size_t(1000));
    QCOMPARE(target.count(u"Customers"_s), 1000);
}

void ClientCsvTest::hostileFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("skipBad");
    QTest::addColumn<QString>("error"); // part of the refusal of the whole file
    QTest::addColumn<int>("imported");
    QTest::addColumn<QStringList>("problems"); // part of each reported line, in order

    const QByteArray header = "Last Name,First Name,Phone,Sex (M/F),Age,Field  1,Notes\n";
    QTest::newRow("unknown column")
        << QByteArray("Surname,Sex\nRowe,F\n") << false
        << u"column \"Surname\" that the program does not know"_s << 0 << QStringList();
    QTest::newRow("column twice") << QByteArray("Last Name,LastName\nRowe,Rowe\n") << false
                                  << u"names the column \"LastName\" twice"_s << 0 << QStringList();
    QTest::newRow("no last name") << QByteArray("Sex\nF\n") << false << u"no \"Last Name\""_s << 0
                                  << QStringList();
    QTest::newRow("empty file") << QByteArray("\xEF\xBB\xBF") << false << u"empty"_s << 0
                                << QStringList();
    QTest::newRow("NUL byte") << header + QByteArray("Rowe,Ada,1,F,4\0,0,\n", 19) << false
                              << u"Line 2: the file holds a NUL byte"_s << 0 << QStringList();
    QTest::newRow("not UTF-8") << header + "R\xF6we,Ada,1,F,4,0,\n"
                               << false << u"not UTF-8"_s << 0 << QStringList();
    QTest::newRow("unbalanced quote")
        << header + "Rowe,Ada,1,F,4,0,ok\n\"Lee,Bo,2,M,5,0,\n"
        << false << u"Line 3: a quoted field is never closed"_s << 0 << QStringList();
    QTest::newRow("text after a closing quote")
        << header + "\"Rowe\"x,Ada,1,F,4,0,\n"
        << false << u"Line 2: text after the closing quote"_s << 0 << QStringList();
    QTest::newRow("10 MB field") << header + "Rowe,Ada,1,F,4,0,\"" + QByteArray(10 << 20, 'x') +
                                        "\"\n"
                                 << false << u"Line 2: a field longer than"_s << 0 << QStringList();
    QTest::newRow("short and long rows refuse the file")
        << header + "Rowe,Ada,1,F,4,0,\nLee,Bo\nKim,Al,3,M,5,0,,extra\n"
        << false << QString() << 0
        << QStringList{u"Line 3: 2 fields where the header has 7"_s,
                       u"Line 4: 8 fields where the header has 7"_s, u"Nothing was added"_s};
    QTest::newRow("values the window refuses")
        << header + "Rowe,Ada,1,x,4,0,\nLee,Bo,2,M,200,0,\nKim,Al,3,F,5,50,\n" +
               QByteArray(61, 'L') + ",Al,4,F,5,0,\n"
        << false << QString() << 0
        << QStringList{u"Line 2, Sex (M/F) \"x\": Enter either M or F"_s,
                       u"Line 3, Age \"200\": Enter an age from 0 to 120"_s,
                       u"Line 4, Field 1 \"50\": a score runs from 0 to 45"_s,
                       u"Line 5, Last Name \"LLLL"_s, u"4 client rows read, 4 refused values"_s};
    QTest::newRow("terminal escapes and a line break in a name")
        << header + "\"Ro\x1b[2J\nwe\",Ada,1,F,4,0,\n"
        << false << QString() << 0
        << QStringList{
               u"Line 2, Last Name \"Ro\\x1b[2J\\nwe\": The Last Name field holds a line break"_s,
               u"Nothing was added"_s};
    QTest::newRow("a sum that disagrees with its sections")
        << QByteArray("Last Name,Sex,Field  1,Field  2,Field  3,Field  4\nRowe,F,1,2,3,7\n")
        << false << QString() << 0
        << QStringList{u"Line 2, Field 4 \"7\": the window works this box out from the others: 6"_s,
                       u"Nothing was added"_s};
    QTest::newRow("good rows only, when asked")
        << header + "Rowe,Ada,1,x,4,0,\nLee,Bo,2,m,44,3,\n"
        << true << QString() << 1 << QStringList{u"Line 2, Sex"_s, u"Added 1 clients"_s};
    QTest::newRow("duplicates are reported, not added")
        << header + "Rowe,Ada,1,F,4,0,\nrowe, ada ,1,F,4,0,\n"
        << false << QString() << 1 << QStringList{u"already present"_s, u"Added 1 clients"_s};
    QTest::newRow("formula-like cell, semicolons, BOM, CRLF, line breaks in a field")
        << QByteArray("\xEF\xBB\xBFLast Name;Sex;Notes;Medications\r\n\"Rowe; Jr\";F;\"a\r\nb\";"
                      "=CMD()\r\n\r\n")
        << false << QString() << 1 << QStringList{u"Added 1 clients"_s};
    QTest::newRow("earlier assessment without its client")
        << QByteArray("Assessment,Last Name,Sex,Date\nearlier,Rowe,F,1/1/2026\n") << false
        << QString() << 0
        << QStringList{u"Line 2, Assessment \"earlier\": an earlier assessment must follow"_s,
                       u"Nothing was added"_s};
}

void ClientCsvTest::hostileFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, skipBad);
    QFETCH(QString, error);
    QFETCH(int, imported);
    QFETCH(QStringList, problems);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"in.csv"_s);
    {
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(file);
    }
    Database database(dir, u"db"_s);
    QSqlDatabase db = database.db();
    const auto report = importClientsCsv(db, path, catalogue(), options(skipBad));
    if (!error.isEmpty()) {
        QVERIFY(!report);
        QVERIFY2(report.error().contains(error), qPrintable(report.error()));
    } else {
        QVERIFY2(report, qPrintable(report.error()));
        const QStringList lines = importReportLines(*report, options(skipBad));
        QCOMPARE(lines.size(), problems.size());
        for (qsizetype i = 0; i < problems.size(); ++i)
            QVERIFY2(lines[i].contains(problems[i]), qPrintable(lines.join(u'\n')));
    }
    QCOMPARE(database.count(u"Customers"_s), imported);

    if (QTest::currentDataTag() == QByteArray("formula-like cell, semicolons, BOM, CRLF, line "
                                              "breaks in a field")) {
        QSqlQuery row(u"SELECT LastName, Notes, Medications FROM Customers"_s, db);
        QVERIFY(row.next());
        QCOMPARE(row.value(0).toString(), u"Rowe; Jr"_s);
        QCOMPARE(row.value(1).toString(), u"a\r\nb"_s);
        QCOMPARE(row.value(2).toString(), u"=CMD()"_s);
        QVERIFY(exportClientsCsv(db, dir.filePath(u"out.csv"_s), catalogue(), false));
        QVERIFY(readBytes(dir.filePath(u"out.csv"_s)).contains(",'=CMD(),\"a\r\nb\""));
    }
}

void ClientCsvTest::spreadsheetGuardComesOffAlone_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("read");
    QTest::newRow("a name's own apostrophe") << u"'t Hooft"_s << u"'t Hooft"_s;
    QTest::newRow("apostrophe alone") << u"'"_s << u"'"_s;
    QTest::newRow("inside a name") << u"O'Brien"_s << u"O'Brien"_s;
    QTest::newRow("guarded formula") << u"'=1+2"_s << u"=1+2"_s;
    QTest::newRow("guarded minus") << u"'-5 mg"_s << u"-5 mg"_s;
    QTest::newRow("guarded at sign") << u"'@home"_s << u"@home"_s;
    QTest::newRow("guarded apostrophe") << u"''t Hooft"_s << u"'t Hooft"_s;
}

void ClientCsvTest::spreadsheetGuardComesOffAlone()
{
    QFETCH(QString, cell);
    QFETCH(QString, read);
    QCOMPARE(fromSpreadsheetSafe(cell), read);
    // Whatever is stored comes back from the exported cell as it was.
    QCOMPARE(fromSpreadsheetSafe(spreadsheetSafe(read)), read);

    QTemporaryDir dir;
    Database target(dir, u"target"_s);
    QSqlDatabase db = target.db();
    const QString csv = dir.filePath(u"in.csv"_s);
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Last Name,Notes\nRowe,\"" + cell.toUtf8() + "\"\n");
    file.close();
    const auto imported = importClientsCsv(db, csv, catalogue(), options());
    QVERIFY2(imported && imported->imported == 1, qPrintable(imported.error()));
    QSqlQuery query(db);
    QVERIFY(query.exec(u"SELECT Notes FROM Customers"_s) && query.next());
    QCOMPARE(query.value(0).toString(), read);
}

QTEST_GUILESS_MAIN(ClientCsvTest)
#include "tst_client_csv.moc"
