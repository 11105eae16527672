// Filter and sort texts of the client list: what each accepted text selects, in what order,
// and that a refused text is refused with its reason and runs nothing.

#include "cli/Command.h"
#include "records/ClientDataSource.h"
#include "records/DatabaseFile.h"
#include "records/FilterExpression.h"
#include "support/TempProgramFolder.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QtTest>

using namespace halcyra;
using namespace Qt::StringLiterals;
using halcyra::test::TempProgramFolder;

namespace {

struct Client
{
    const char* lastName;
    const char* city; // nullptr: no city
    const char* age;
    const char* date;
    int field1;
    bool smoker;
};

// Record numbers 1 to 6, in this order.
const Client kClients[] = {
    {"Smith", "Boston", "42", "3/15/2026", 5, true},
    {"Smythe", "Salem", "7", "12/1/2025", 0, false},
    {"Jones", "boston", "65", "1/2/2026", 2, false},
    {"O'Brien", "Lynn", "30", "2026-02-20", 1, false},
    {"Sm_th", "Salem", "", "", 0, false},
    {"Adams", nullptr, "", "", 0, false},
};

QByteArray fileHash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

} // namespace

class FilterExpressionTest : public QObject
{
    Q_OBJECT

    TempProgramFolder m_folder;
    QString m_connection = QStringLiteral("filter");

private slots:
    void initTestCase()
    {
        m_folder.createDatabase();
        QVERIFY(openDatabase(m_folder.path(QStringLiteral("HCY300.db")), m_connection));
        ClientDataSource source(QSqlDatabase::database(m_connection));
        QVERIFY(source.open());
        for (const Client& c : kClients) {
            source.addNew();
            ClientRecord record = source.current();
            record.setText(columns::detail(1), QString::fromUtf8(c.lastName));
            if (c.city)
                record.setText(columns::detail(4), QString::fromUtf8(c.city));
            record.setText(columns::detail(14), QString::fromUtf8(c.age));
            record.setText(columns::detail(16), QString::fromUtf8(c.date));
            record.values[columns::score(1)] = c.field1;
            record.setYesNo(2, c.smoker);
            const Status stored = source.update(record);
            QVERIFY2(stored, qPrintable(stored.error()));
        }
    }

    void cleanupTestCase() { QSqlDatabase::removeDatabase(m_connection); }

    void acceptedTextsSelect_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("selected"); // last names in the order listed

        const auto row = [](const char* name, const char* filter, const char* sort,
                            const char* selected) {
            QTest::newRow(name) << QString::fromUtf8(filter) << QString::fromUtf8(sort)
                                << QString::fromUtf8(selected);
        };
        row("everything", "", "", "Smith Smythe Jones O'Brien Sm_th Adams");
        row("like prefix", "LastName Like 'Sm*'", "", "Smith Smythe Sm_th");
        row("like one character, bracketed", "[lastname] LIKE 'sm?th'", "", "Smith Sm_th");
        row("like takes _ literally", "LastName Like 'Sm_th'", "", "Sm_th");
        row("text is case-blind", "City = 'BOSTON'", "", "Smith Jones");
        row("numbers compare as numbers", "Age > 40", "", "Smith Jones");
        row("between numbers", "Age Between 10 And 50", "", "Smith O'Brien");
        row("date literal", "Date >= #1/1/2026#", "", "Smith Jones O'Brien");
        row("between dates", "[Date] Between #2/1/2026# And #3/31/26#", "", "Smith O'Brien");
        row("in", "City In ('Salem', \"Lynn\")", "", "Smythe O'Brien Sm_th");
        QTest::newRow("200 levels of nesting")
            << QString(198, u'(') + u"Not Not LastName Like 'Sm*'"_s + QString(198, u')')
            << QString() << u"Smith Smythe Sm_th"_s;
        row("not in", "City Not In ('Salem', 'Lynn')", "", "Smith Jones");
        row("doubled quote", "LastName = 'O''Brien'", "", "O'Brien");
        row("not, is not null", "Not (City = 'Boston') And City Is Not Null", "",
            "Smythe O'Brien Sm_th");
        row("is null, yes/no true", "City Is Null Or [ckYesNo( 2)] = True", "", "Smith Adams");
        row("score column", "Field1 >= 2", "", "Smith Jones");
        row("and before or", "LastName Like 'S*' And Not LastName = 'Smith' Or Age = 65", "",
            "Smythe Jones Sm_th");
        row("sort descending", "City = 'Salem'", "[LastName] desc", "Smythe Sm_th");
        row("sort by date", "Date Is Not Null And Date <> ''", "Date",
            "Smythe Jones O'Brien Smith");
        row("sort by two columns", "", "City, LastName DESC",
            "Adams Smith Jones O'Brien Smythe Sm_th");
    }

    void acceptedTextsSelect()
    {
        QFETCH(QString, filter);
        QFETCH(QString, sort);
        QFETCH(QString, selected);
        auto parsedFilter = parseFilter(filter);
        QVERIFY2(parsedFilter, qPrintable(parsedFilter.error()));
        auto parsedSort = parseSort(sort);
        QVERIFY2(parsedSort, qPrintable(parsedSort.error()));
        ClientDataSource source(QSqlDatabase::database(m_connection));
        const Status status = source.setOrderAndFilter({*parsedFilter, *parsedSort});
        QVERIFY2(status, qPrintable(status.error()));
        auto records = source.recordsAt(0, source.recordCount());
        QVERIFY(records);
        QStringList names;
        for (const ClientRecord& record : *records)
            names << record.text(columns::detail(1));
        QCOMPARE(names.join(u' '), selected);
    }

    // A database made before the list's indexes gets them, and a last-name prefix filter in
    // last-name order then reads only the matching index entries, without sorting.
    void prefixFilterInNameOrderUsesTheIndex()
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection);
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("DROP INDEX \"Customers by last name\"")));
        QVERIFY(ensureListIndexes(db));
        const SqlFragment where =
            whereCondition(*parseFilter(QStringLiteral("LastName Like 'Sm*'")));
        QVERIFY(query.prepare(QStringLiteral("EXPLAIN QUERY PLAN SELECT \"CustomerID\" FROM "
                                             "\"Customers\" WHERE ") +
                              where.sql + QStringLiteral(" ORDER BY ") +
                              orderByList(*parseSort(QStringLiteral("[LastName]")))));
        for (const QVariant& value : where.values)
            query.addBindValue(value);
        QVERIFY(query.exec());
        QStringList plan;
        while (query.next())
            plan << query.value(3).toString();
        QVERIFY2(plan.join(u'|').contains(QStringLiteral("INDEX Customers by last name (LastName>? "
                                                         "AND LastName<?)")),
                 qPrintable(plan.join(u'|')));
        QVERIFY2(!plan.join(u'|').contains(QStringLiteral("TEMP B-TREE")),
                 qPrintable(plan.join(u'|')));
    }

    void refusedTextsRunNothing_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("reason");
        const auto row = [](const char* option, const char* text, const char* reason) {
            QTest::newRow(text) << QString::fromLatin1(option) << QString::fromUtf8(text)
                                << QString::fromUtf8(reason);
        };
        row("--filter", "1=1; DELETE FROM Customers", "\"1\" (character 1): a column name");
        row("--filter", "LastName = 'x'; DELETE FROM Customers", "\";\" (character 15)");
        row("--filter", "LastName IN (SELECT LastName FROM Customers)", "subqueries");
        row("--filter", "ATTACH 'x' AS y", "\"ATTACH\" (character 1): the client list has no");
        row("--filter", "load_extension('/tmp/x.so')", "function calls are not allowed");
        row("--filter", "Nickname = 'Al'", "\"Nickname\" (character 1): the client list has no");
        row("--filter", "LastName = 'open", "\"'open\"");
        row("--filter", "(LastName = 'x'", "the end of the text: a closing parenthesis");
        row("--filter", "Date > #31/31/2026#", "#31/31/2026#");
        row("--sort", "LastName; DROP TABLE Customers", "\";\" (character 9)");
        row("--sort", "lower(LastName)", "function calls are not allowed");
        row("--sort", "LastName sideways", "a comma, Asc or Desc was expected");
        const QString deeper = u"nest deeper than 200 levels"_s;
        QTest::newRow("Not and 1,606 parentheses")
            << u"--filter"_s << u"Not "_s + QString(1606, u'(') << deeper;
        QTest::newRow("10,000 parentheses")
            << u"--filter"_s << QString(10000, u'(') + u"LastName = 'x'"_s + QString(10000, u')')
            << deeper;
        QTest::newRow("201 times Not")
            << u"--filter"_s << u"Not "_s.repeated(201) + u"LastName = 'x'"_s << deeper;
    }

    void refusedTextsRunNothing()
    {
        QFETCH(QString, option);
        QFETCH(QString, text);
        QFETCH(QString, reason);
        const QString database = m_folder.path(QStringLiteral("HCY300.db"));
        const QByteArray before = fileHash(database);
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        const int exitCode = cli::run({QStringLiteral("halcyra-cli"), QStringLiteral("list"),
                                       option, text, QStringLiteral("--folder"), m_folder.folder()},
                                      outStream, errStream);
        errStream.flush();
        QCOMPARE(exitCode, cli::kExitUsage);
        QVERIFY2(err.contains(reason), qPrintable(err));
        QVERIFY(err.contains(QStringLiteral("was not understood")));
        QVERIFY(out.isEmpty());
        QCOMPARE(fileHash(database), before);
    }
};

QTEST_GUILESS_MAIN(FilterExpressionTest)
#include "tst_filter_expression.moc"
