// Clients out to CSV and back: the round trip, and what each kind of hostile file gives.

#include "core/Catalogue.h"
#include "core/Conversions.h"
#include "records/AssessmentHistory.h"
#include "records/ClientCsv.h"
#include "records/ClientDataSource.h"
#include "records/Csv.h"
#include "records/DatabaseFile.h"
#include "records/DemoClients.h"
#include "records/DetailRules.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

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
        (void)createDatabaseIfMissing(folder);
        if (const Status opened = openDatabase(QDir(folder).filePath(u"HCY300.db"_s), name);
            !opened)
            qWarning() << opened.error();
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
    void importTellsWhatItStores_data();
    void importTellsWhatItStores();
    void summaryOfALongFile();
    void encodings_data();
    void encodings();
    void everyWriterWritesOneDateForm_data();
    void everyWriterWritesOneDateForm();
    void exportNames_data();
    void exportNames();
};

void ClientCsvTest::roundTripKeepsEveryField()
{
    QTemporaryDir dir;
    Database source(dir, u"source"_s);
    QSqlDatabase db = source.db();
    QCOMPARE(addDemoClients(db, 1000, 3).value(), 1000);
    // Values a CSV file has to quote, and one a spreadsheet would run.
    QSqlQuery query(db);
    QVERIFY(query.exec(u"UPDATE Customers SET Notes = 'says \"hi\", then\r\nleaves', "
                       "Medications = '=CMD()', Address = ' Ünter den Linden 4 ', "
                       "Field1 = '7abc', Field4 = 7 + Field2 + Field3, "
                       "Field9 = 7 + Field2 + Field3 + Field8 WHERE CustomerID = 2"_s));
    for (qint64 id : {5, 6}) {
        const Result<ClientRecord> record = loadClientRecord(db, id);
        QVERIFY(record);
        QVERIFY(startNewAssessment(db, *record, u"12/1/2026"_s));
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
    QVERIFY2(imported->refused.empty() && imported->changed.empty() &&
                 imported->workedOut.isEmpty(),
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
                              << u"Line 2: the file holds a NUL character"_s << 0 << QStringList();
    QTest::newRow("a UTF-8 mark before bytes that are not")
        << "\xEF\xBB\xBF" + header + "R\xF6we,Ada,1,F,4,0,\n"
        << false << u"not UTF-8 text: line 2"_s << 0 << QStringList();
    QTest::newRow("unbalanced quote")
        << header + "Rowe,Ada,1,F,4,0,ok\n\"Lee,Bo,2,M,5,0,\n"
        << false << u"Row 3: a quoted field is never closed"_s << 0 << QStringList();
    QTest::newRow("unbalanced quote after a cell of three lines")
        << header + "Rowe,Ada,1,F,4,0,\"one\ntwo\nthree\"\n\"Lee,Bo,2,M,5,0,\n"
        << false << u"Row 3 (line 5 of the file): a quoted field is never closed"_s << 0
        << QStringList();
    QTest::newRow("text after a closing quote")
        << header + "\"Rowe\"x,Ada,1,F,4,0,\n"
        << false << u"Row 2: text after the closing quote"_s << 0 << QStringList();
    QTest::newRow("10 MB field") << header + "Rowe,Ada,1,F,4,0,\"" + QByteArray(10 << 20, 'x') +
                                        "\"\n"
                                 << false << u"Row 2: a field longer than"_s << 0 << QStringList();
    QTest::newRow("short and long rows refuse the file")
        << header + "Rowe,Ada,1,F,4,,\nLee,Bo\nKim,Al,3,M,5,0,,extra\n"
        << false << QString() << 0
        << QStringList{u"Row 3: 2 fields where the header has 7"_s,
                       u"Row 4: 8 fields where the header has 7"_s, u"Nothing was added"_s};
    QTest::newRow("values the window refuses")
        << header + "Rowe,Ada,1,x,4,0,\nLee,Bo,2,M,200,0,\nKim,Al,3,F,5,50,\n" +
               QByteArray(61, 'L') + ",Al,4,F,5,0,\n"
        << false << QString() << 0
        << QStringList{u"Row 2, Sex (M/F) \"x\": Enter either M or F"_s,
                       u"Row 3, Age \"200\": Enter an age from 0 to 120"_s,
                       u"Row 4, Field 1 \"50\": a score runs from 0 to 45"_s,
                       u"Row 5, Last Name \"LLLL"_s,
                       u"Read as UTF-8: 4 client rows, 4 refused values, 0 values changed"_s};
    QTest::newRow("rows, not lines, after cells of several lines")
        << header + "Rowe,Ada,1,F,4,,\"one\ntwo\nthree\"\n\nLee,Bo,2,x,5,,\n"
        << false << QString() << 0
        << QStringList{u"Row 4, Sex (M/F) \"x\""_s, u"Nothing was added"_s};
    QTest::newRow("terminal escapes and a line break in a name")
        << header + "\"Ro\x1b[2J\nwe\",Ada,1,F,4,,\n"
        << false << QString() << 0
        << QStringList{
               u"Row 2, Last Name \"Ro\\x1b[2J\\nwe\": The Last Name field holds a line break"_s,
               u"Nothing was added"_s};
    // A sum the file has wrong is worked out anew and told, not a reason to refuse the file.
    QTest::newRow("a sum that disagrees with its sections")
        << QByteArray("Last Name,Sex,Field  1,Field  2,Field  3,Field  4\nRowe,F,1,2,3,7\n")
        << false << QString() << 1
        << QStringList{u"Row 2, Field 4 \"7\": stored as \"6\", the sum of its sections"_s,
                       u"Not in the file, so worked out from the sections as the window does: "
                       "Field 8, Field 9, Field 13, Field 15, Field 23, Field 24."_s,
                       u"Added 1 client and 0 earlier assessments."_s};
    QTest::newRow("good rows only, when asked")
        << header + "Rowe,Ada,1,x,4,,\nLee,Bo,2,m,44,,\n"
        << true << QString() << 1
        << QStringList{u"Row 2, Sex"_s,
                       u"Row 3, Sex (M/F) \"m\": stored as \"M\", in capitals, as the window "
                       "keeps it."_s,
                       u"1 refused value, 1 value changed or filled in, 0 already present. Added "
                       "1 client and"_s};
    QTest::newRow("duplicates are reported, not added")
        << header + "Rowe,Ada,1,F,4,,\nrowe, ada ,1,F,4,,\n"
        << false << QString() << 1
        << QStringList{u"Row 3:  ada  rowe, 1 is already present"_s,
                       u"1 already present. Added 1 client"_s};
    QTest::newRow("formula-like cell, semicolons, BOM, CRLF, line breaks in a field")
        << QByteArray("\xEF\xBB\xBFLast Name;Sex;Notes;Medications\r\n\"Rowe; Jr\";F;\"a\r\nb\";"
                      "=CMD()\r\n\r\n")
        << false << QString() << 1 << QStringList{u"Added 1 client and"_s};
    QTest::newRow("earlier assessment without its client")
        << QByteArray("Assessment,Last Name,Sex,Date\nearlier,Rowe,F,1/1/2026\n") << false
        << QString() << 0
        << QStringList{u"Row 2, Assessment \"earlier\": an earlier assessment must follow"_s,
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

namespace {

// Imports `file` into a fresh database: the report and the stored value of `column` of the
// first client ("<no client>" when none was added).
struct Imported
{
    Result<ImportReport> report = fail(QString());
    QStringList lines;
    QVariant stored;
};

Imported importBytes(const QByteArray& file, int column = columns::detail(1),
                     const ImportOptions& how = options())
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"in.csv"_s);
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(file);
    out.close();
    Database database(dir, u"db"_s);
    QSqlDatabase db = database.db();
    Imported result;
    result.report = importClientsCsv(db, path, catalogue(), how);
    if (result.report)
        result.lines = importReportLines(*result.report, how);
    QSqlQuery query(db);
    result.stored = query.exec(u"SELECT \"%1\" FROM Customers ORDER BY CustomerID"_s.arg(
                        columns::name(column))) &&
                            query.next()
                        ? query.value(0)
                        : QVariant(u"<no client>"_s);
    return result;
}

} // namespace

// Empty and odd cells: what is stored, and the summary's word on each change. Nothing is made
// up, and nothing changes unsaid.
void ClientCsvTest::importTellsWhatItStores_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("column");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QStringList>("lines"); // the whole report

    const QString added = u"Added 1 client and 0 earlier assessments."_s;
    const auto summary = [&](int changed) {
        return u"Read as UTF-8: 1 client row, 0 refused values, %1, 0 already present. "_s.arg(
                   changed == 1 ? u"1 value changed or filled in"_s
                                : u"%1 values changed or filled in"_s.arg(changed)) +
               added;
    };
    const QVariant empty; // NULL: nothing stored
    const auto row = [&](const char* name, const char* header, const char* cells, int column,
                         const QVariant& stored, QStringList notes) {
        const int changed =
            static_cast<int>(std::count_if(notes.begin(), notes.end(), [](const QString& note) {
                return note.startsWith(u"Row ");
            }));
        notes << summary(changed);
        QTest::newRow(name) << QByteArray(header) + "\n" + cells + "\n"
                            << column << stored << notes;
    };
    const int date = columns::detail(16);
    const int sums = columns::score(4);
    const QString sumsWorkedOut = u"Not in the file, so worked out from the sections as the "
                                  "window does: Field 8, Field 9, Field 13, Field 15, Field 23, "
                                  "Field 24."_s;

    row("empty date stays empty", "Last Name,Date", "Rowe,", date, empty, {});
    row("empty cholesterol stays empty", "Last Name,Total Cholesterol", "Rowe,", columns::detail(9),
        empty, {});
    row("empty LDL and age stay empty", "Last Name,LDL,Age", "Rowe,,", columns::detail(14), empty,
        {});
    row("the program's own date", "Last Name,Date", "Rowe,2/8/2026", date, u"2/8/2026"_s, {});
    row("ISO date", "Last Name,Date", "Rowe,2026-04-01", date, u"4/1/2026"_s,
        {u"Row 2, Date \"2026-04-01\": stored as \"4/1/2026\", the program's form of a date "
         "(month/day/year)."_s});
    row("C-locale date", "Last Name,Date", "Rowe,9 Dec 2026", date, u"12/9/2026"_s,
        {u"Row 2, Date \"9 Dec 2026\": stored as \"12/9/2026\", the program's form of a date "
         "(month/day/year)."_s});
    row("leading zeros", "Last Name,Date", "Rowe,02/08/2026", date, u"2/8/2026"_s,
        {u"Row 2, Date \"02/08/2026\": stored as \"2/8/2026\", the program's form of a date "
         "(month/day/year)."_s});
    row("state in small letters", "Last Name,State", "Rowe,ca", columns::detail(5), u"CA"_s,
        {u"Row 2, State \"ca\": stored as \"CA\", in capitals, as the window keeps it."_s});
    row("sex in small letters", "Last Name,Sex", "Rowe,f", columns::detail(15), u"F"_s,
        {u"Row 2, Sex \"f\": stored as \"F\", in capitals, as the window keeps it."_s});
    row("LDL without a number", "Last Name,LDL", "Rowe,n/a", columns::detail(11), u"0"_s,
        {u"Row 2, LDL \"n/a\": stored as \"0\", as the window keeps a value that reads as 0."_s});
    row("cholesterol 0.0", "Last Name,Total Cholesterol", "Rowe,0.0", columns::detail(9), u"0"_s,
        {u"Row 2, Total Cholesterol \"0.0\": stored as \"0\", as the window keeps a value that "
         "reads as 0."_s});
    row("a sum the file has wrong", "Last Name,Field 1,Field 2,Field 3,Field 4", "Rowe,1,2,3,7",
        sums, u"6"_s,
        {u"Row 2, Field 4 \"7\": stored as \"6\", the sum of its sections, as the window works "
         "it out."_s,
         sumsWorkedOut});
    row("a sum the file leaves empty", "Last Name,Field 1,Field 2,Field 3,Field 4", "Rowe,1,2,3,",
        sums, u"6"_s,
        {u"Row 2, Field 4 \"\": stored as \"6\", the sum of its sections, as the window works it "
         "out."_s,
         sumsWorkedOut});
    row("a sum that is no number", "Last Name,Field 1,Field 2,Field 3,Field 4",
        "Rowe,1,2,3,about 6", sums, u"6"_s,
        {u"Row 2, Field 4 \"about 6\": stored as \"6\", the sum of its sections, as the window "
         "works it out."_s,
         sumsWorkedOut});
    row("a sum that agrees", "Last Name,Field 1,Field 2,Field 3,Field 4", "Rowe,1,2,3,6", sums,
        u"6"_s, {sumsWorkedOut});
    row("section 37 follows section 22", "Last Name,Field 22,Field 37", "Rowe,2,0",
        columns::score(40), u"1"_s,
        {u"Row 2, Field 37 \"0\": stored as \"1\", as the window sets it when section 22, 23, 24 "
         "or 25 has a score above 0."_s,
         u"Not in the file, so worked out from the sections as the window does: Field 4, Field "
         "8, Field 9, Field 13, Field 15, Field 23, Field 24."_s});
}

void ClientCsvTest::importTellsWhatItStores()
{
    QFETCH(QByteArray, file);
    QFETCH(int, column);
    QFETCH(QVariant, stored);
    QFETCH(QStringList, lines);
    const Imported imported = importBytes(file, column);
    QVERIFY2(imported.report, qPrintable(imported.report.error()));
    QCOMPARE(imported.lines, lines);
    QCOMPARE(imported.stored.toString(), stored.toString());
    QCOMPARE(imported.stored.isNull(), stored.isNull());
}

// A spreadsheet's file with a bit of everything, and the whole report on it.
void ClientCsvTest::summaryOfALongFile()
{
    const QString data = QStringLiteral(HALCYRA_SOURCE_DIR "/tests/records/data/");
    const QByteArray file = readBytes(data + u"odd-values.csv"_s);
    QVERIFY(!file.isEmpty());
    for (const bool dryRun : {true, false}) {
        ImportOptions how = options(true);
        how.dryRun = dryRun;
        const Imported imported = importBytes(file, columns::detail(1), how);
        QVERIFY2(imported.report, qPrintable(imported.report.error()));
        const QString golden =
            data + (dryRun ? u"odd-values.checked.txt"_s : u"odd-values.imported.txt"_s);
        const QString text = imported.lines.join(u'\n') + u'\n';
        if (qEnvironmentVariableIsSet("HALCYRA_UPDATE_GOLDEN")) {
            QFile out(golden);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(text.toUtf8());
        }
        QCOMPARE(text, QString::fromUtf8(readBytes(golden)));
    }
}

// The encodings spreadsheets write: each name comes in whole, and the summary says how.
void ClientCsvTest::encodings_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("encoding"); // as the command line takes it; empty: automatic
    QTest::addColumn<QString>("stored");   // the last names, or the refusal of the file
    QTest::addColumn<QString>("read");     // the summary's start

    const QString names = u"Müller Renée O’Neil €uro"_s;
    const QString csv = u"Last Name\r\nMüller\r\nRenée\r\nO’Neil\r\n€uro\r\n"_s;
    const QByteArray windows1252("Last Name\r\nM\xFCller\r\nRen\xE9"
                                 "e\r\nO\x92Neil\r\n\x80uro\r\n");
    QByteArray utf16le("\xFF\xFE");
    QByteArray utf16be("\xFE\xFF");
    for (const QChar c : csv) {
        const char16_t u = c.unicode();
        utf16le += char(u & 0xFF);
        utf16le += char(u >> 8);
        utf16be += char(u >> 8);
        utf16be += char(u & 0xFF);
    }
    QTest::newRow("Windows-1252, found") << windows1252 << QString() << names
                                         << u"Read as Windows-1252, since the file is not UTF-8:"_s;
    QTest::newRow("Windows-1252, asked for")
        << windows1252 << u"windows-1252"_s << names << u"Read as Windows-1252:"_s;
    QTest::newRow("UTF-8 with a byte order mark")
        << "\xEF\xBB\xBF" + csv.toUtf8() << QString() << names << u"Read as UTF-8:"_s;
    QTest::newRow("UTF-8 without one") << csv.toUtf8() << QString() << names << u"Read as UTF-8:"_s;
    QTest::newRow("UTF-8, asked for")
        << "\xEF\xBB\xBF" + csv.toUtf8() << u"UTF8"_s << names << u"Read as UTF-8:"_s;
    QTest::newRow("UTF-16, little-endian") << utf16le << QString() << names << u"Read as UTF-16:"_s;
    QTest::newRow("UTF-16, big-endian") << utf16be << QString() << names << u"Read as UTF-16:"_s;
    QTest::newRow("UTF-16 without its mark, asked for")
        << utf16le.sliced(2) << u"utf-16"_s << names << u"Read as UTF-16:"_s;
    // Latin-1 reads 0x92 as a control character, which a name does not take.
    QTest::newRow("Latin-1, asked for")
        << QByteArray("Last Name\r\nM\xFCller\r\nO\x92Neil\r\n") << u"latin-1"_s << u"Müller"_s
        << u"Read as Latin-1 (ISO 8859-1): 2 client rows, 1 refused value"_s;
    QTest::newRow("UTF-8 asked for, Windows-1252 given")
        << windows1252 << u"utf-8"_s
        << u"The file is not UTF-8 text: line 2 holds a byte UTF-8 does not allow. Import it as "
           "Windows-1252 if a spreadsheet on Windows wrote it."_s
        << QString();
    QTest::newRow("UTF-16 cut in half a character")
        << utf16le.chopped(1) << QString()
        << u"The file is not UTF-16 text: it ends in half a character."_s << QString();
}

void ClientCsvTest::encodings()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, encoding);
    QFETCH(QString, stored);
    QFETCH(QString, read);
    ImportOptions how = options(true);
    if (!encoding.isEmpty()) {
        const auto chosen = encodingFromName(encoding);
        QVERIFY(chosen);
        how.encoding = *chosen;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(u"in.csv"_s);
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();
    Database database(dir, u"db"_s);
    QSqlDatabase db = database.db();
    const auto report = importClientsCsv(db, path, catalogue(), how);
    if (read.isEmpty()) {
        QVERIFY(!report);
        QCOMPARE(report.error(), stored);
        return;
    }
    QVERIFY2(report, qPrintable(report.error()));
    QVERIFY2(importSummary(*report, how).startsWith(read), qPrintable(importSummary(*report, how)));
    QSqlQuery query(u"SELECT LastName FROM Customers ORDER BY CustomerID"_s, db);
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    QCOMPARE(names.join(u' '), stored);
}

// Whatever writes a date writes it in the one form the record's Date has always had.
void ClientCsvTest::everyWriterWritesOneDateForm_data()
{
    QTest::addColumn<QString>("writer");
    for (const char* writer :
         {"a date box left empty", "New Assessment", "import of an ISO date",
          "import of a C-locale date", "import with leading zeros", "demo clients"})
        QTest::newRow(writer) << QString::fromLatin1(writer);
}

void ClientCsvTest::everyWriterWritesOneDateForm()
{
    QFETCH(QString, writer);
    const QDate today(2026, 12, 8);
    QTemporaryDir dir;
    Database database(dir, u"db"_s);
    QSqlDatabase db = database.db();
    QStringList written;
    QDate expected;
    auto importDate = [&](const char* date) {
        const QString path = dir.filePath(u"in.csv"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Last Name,Date\nRowe," + QByteArray(date) + "\n");
        file.close();
        QVERIFY(importClientsCsv(db, path, catalogue(), options()));
    };
    if (writer == u"a date box left empty") {
        written << leaveDetailBox(16, QString(), today).text;
        expected = today;
    } else if (writer == u"New Assessment") {
        importDate("11/30/2026");
        const Result<ClientRecord> record = loadClientRecord(db, 1);
        QVERIFY(record);
        QVERIFY(startNewAssessment(db, *record, todayText(today)));
        expected = today;
    } else if (writer == u"import of an ISO date") {
        importDate("2026-04-01");
        expected = QDate(2026, 4, 1);
    } else if (writer == u"import of a C-locale date") {
        importDate("9 Dec 2026");
        expected = QDate(2026, 12, 9);
    } else if (writer == u"import with leading zeros") {
        importDate("02/08/2026");
        expected = QDate(2026, 2, 8);
    } else {
        QCOMPARE(addDemoClients(db, 200, 7).value(), 200);
    }
    QSqlQuery query(u"SELECT Date FROM Customers"_s, db);
    while (query.next())
        written << query.value(0).toString();
    QVERIFY(!written.isEmpty());
    const QRegularExpression form(u"^(1[0-2]|[1-9])/(3[01]|[12][0-9]|[1-9])/20[0-9]{2}$"_s);
    for (const QString& text : written) {
        QVERIFY2(form.match(text).hasMatch(), qPrintable(text));
        QVERIFY(readDate(text).isValid());
        if (expected.isValid())
            QCOMPARE(readDate(text), expected);
    }
}

void ClientCsvTest::exportNames_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");
    QTest::newRow("no extension") << u"/home/ada/clients"_s << u"/home/ada/clients.csv"_s;
    QTest::newRow("a dot at the end") << u"/home/ada/clients."_s << u"/home/ada/clients.csv"_s;
    QTest::newRow("a folder with a dot")
        << u"/home/ada/2026.d/clients"_s << u"/home/ada/2026.d/clients.csv"_s;
    QTest::newRow(".csv already") << u"/home/ada/clients.csv"_s << u"/home/ada/clients.csv"_s;
    QTest::newRow("another extension kept")
        << u"/home/ada/clients.txt"_s << u"/home/ada/clients.txt"_s;
    QTest::newRow("the proposed name")
        << proposedExportName(QDate(2026, 12, 8)) << u"Halcyra clients 2026-12-08.csv"_s;
}

void ClientCsvTest::exportNames()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);
    QCOMPARE(withCsvExtension(typed), written);
}

QTEST_GUILESS_MAIN(ClientCsvTest)
#include "tst_client_csv.moc"
