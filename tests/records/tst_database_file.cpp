#include "records/CompanyRecord.h"
#include "records/DatabaseFile.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

namespace {

// Runs `body` with a plain connection to the file, closed again afterwards.
template <typename Body> void withConnection(const QString& path, Body body)
{
    const QString name = u"test-connection"_s;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        body(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

QStringList columnsOf(QSqlDatabase& db, const QString& table)
{
    QStringList names;
    QSqlQuery query(db);
    if (!query.exec(u"PRAGMA table_info(\"%1\")"_s.arg(table)))
        return names;
    while (query.next())
        names << query.value(1).toString();
    return names;
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList expectedClientColumns()
{
    QStringList columns = {
        u"CustomerID"_s, u"LastName"_s, u"FirstName"_s,   u"Address"_s,       u"City"_s,
        u"State"_s,      u"ZipCode"_s,  u"Phone"_s,       u"BloodPressure"_s, u"TotalCholesterol"_s,
        u"HDL"_s,        u"LDL"_s,      u"Height"_s,      u"Weight"_s,        u"Age"_s,
        u"Sex"_s,        u"Date"_s,     u"Medications"_s, u"Notes"_s};
    for (int n = 1; n <= 42; ++n)
        columns << u"Field%1"_s.arg(n);
    for (int n = 0; n <= 4; ++n)
        columns << u"ckYesNo( %1)"_s.arg(n);
    return columns;
}

const QStringList kCompanyColumns = {u"CoName"_s, u"LastName"_s, u"FirstName"_s, u"Address"_s,
                                     u"City"_s,   u"State"_s,    u"ZipCode"_s,   u"Phone1"_s,
                                     u"Phone2"_s, u"Fax"_s,      u"E-mail"_s};

} // namespace

class DatabaseFileTest : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void createsTheClientTablesAndView();
    void companyInfoHasOneEmptyRow();
    void existingDatabaseIsNeverTouched();
    void existingFileThatIsNoDatabaseIsLeftAlone();
    void folderIsMadeWhenMissing();
    void folderThatCannotBeMadeFails();
    void noTemporaryFileIsLeftBehind();
    void readCompanyInfoReadsTheRow();
    void readCompanyInfoOfMissingFileCreatesNothing();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString databasePath() const { return m_dir->filePath(u"HCY300.db"_s); }
    void create()
    {
        const Result<CreateResult> created = createDatabaseIfMissing(m_dir->path());
        QVERIFY2(created, qPrintable(created.error()));
        QCOMPARE(*created, CreateResult::Created);
    }
};

void DatabaseFileTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void DatabaseFileTest::createsTheClientTablesAndView()
{
    create();
    withConnection(databasePath(), [](QSqlDatabase& db) {
        QCOMPARE(columnsOf(db, u"Customers"_s), expectedClientColumns());
        QCOMPARE(columnsOf(db, u"Customers Query"_s), expectedClientColumns());
        QVERIFY(db.tables(QSql::Views).contains(u"Customers Query"_s));

        // A client saved through the view's table reads back with its yes/no answers off.
        QSqlQuery query(db);
        QVERIFY(query.exec(u"INSERT INTO \"Customers\" (\"LastName\", \"Field7\") "
                           u"VALUES ('Marsh', 12)"_s));
        QVERIFY(query.exec(u"SELECT \"LastName\", \"Field7\", \"ckYesNo( 3)\" "
                           u"FROM \"Customers Query\""_s));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), u"Marsh"_s);
        QCOMPARE(query.value(1).toInt(), 12);
        QCOMPARE(query.value(2).toInt(), 0);
    });
}

void DatabaseFileTest::companyInfoHasOneEmptyRow()
{
    create();
    withConnection(databasePath(), [](QSqlDatabase& db) {
        QStringList columns = columnsOf(db, u"Company Info"_s);
        columns.removeAll(u"ID"_s); // the key that keeps it to one row
        QCOMPARE(columns, kCompanyColumns);
        QSqlQuery query(db);
        QVERIFY(query.exec(u"SELECT COUNT(*) FROM \"Company Info\""_s));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toInt(), 1);
        // A second row is refused.
        QVERIFY(!query.exec(u"INSERT INTO \"Company Info\" (\"ID\") VALUES (2)"_s));
    });
}

void DatabaseFileTest::existingDatabaseIsNeverTouched()
{
    create();
    withConnection(databasePath(), [](QSqlDatabase& db) {
        QSqlQuery query(db);
        QVERIFY(query.exec(u"INSERT INTO \"Customers\" (\"LastName\") VALUES ('Keep')"_s));
    });
    const QByteArray before = contentsOf(databasePath());
    QVERIFY(!before.isEmpty());

    const Result<CreateResult> created = createDatabaseIfMissing(m_dir->path());
    QVERIFY2(created, qPrintable(created.error()));
    QCOMPARE(*created, CreateResult::AlreadyPresent);
    QCOMPARE(contentsOf(databasePath()), before);
    withConnection(databasePath(), [](QSqlDatabase& db) {
        QSqlQuery query(db);
        QVERIFY(query.exec(u"SELECT \"LastName\" FROM \"Customers\""_s));
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toString(), u"Keep"_s);
    });
}

void DatabaseFileTest::existingFileThatIsNoDatabaseIsLeftAlone()
{
    QFile file(databasePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a database, but somebody's file");
    file.close();
    const Result<CreateResult> created = createDatabaseIfMissing(m_dir->path());
    QVERIFY(!created);
    QVERIFY2(created.error().contains(u"not a Halcyra database"_s), qPrintable(created.error()));
    QCOMPARE(contentsOf(databasePath()), QByteArray("not a database, but somebody's file"));
}

void DatabaseFileTest::folderIsMadeWhenMissing()
{
    const QString folder = m_dir->filePath(u"new/program folder"_s);
    const Result<CreateResult> created = createDatabaseIfMissing(folder);
    QVERIFY2(created, qPrintable(created.error()));
    QCOMPARE(*created, CreateResult::Created);
    QVERIFY(QFile::exists(QDir(folder).filePath(u"HCY300.db"_s)));
}

void DatabaseFileTest::folderThatCannotBeMadeFails()
{
    // A file stands where a folder would have to be made: fails even for root.
    QFile blocker(m_dir->filePath(u"blocker"_s));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString folder = m_dir->filePath(u"blocker/program"_s);
    const Result<CreateResult> created = createDatabaseIfMissing(folder);
    QVERIFY(!created);
    QVERIFY(!created.error().isEmpty());
    QVERIFY2(created.error().contains(folder), qPrintable(created.error()));
}

void DatabaseFileTest::noTemporaryFileIsLeftBehind()
{
    create();
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{u"HCY300.db"_s});
    QVERIFY(createDatabaseIfMissing(m_dir->path()));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{u"HCY300.db"_s});
}

void DatabaseFileTest::readCompanyInfoReadsTheRow()
{
    create();
    QCOMPARE(readCompanyRow(databasePath()).value(), CompanyInfo());

    withConnection(databasePath(), [](QSqlDatabase& db) {
        QSqlQuery query(db);
        QStringList sets;
        for (const QString& column : kCompanyColumns)
            sets << u"\"%1\" = 'value of %1'"_s.arg(column);
        QVERIFY(query.exec(u"UPDATE \"Company Info\" SET "_s + sets.join(u", "_s)));
    });
    const Result<CompanyInfo> fields = readCompanyRow(databasePath());
    QVERIFY2(fields, qPrintable(fields.error()));
    for (int i = 0; i < 11; ++i)
        QCOMPARE(fields.value()[i], u"value of "_s + kCompanyColumns[i]);
}

void DatabaseFileTest::readCompanyInfoOfMissingFileCreatesNothing()
{
    QVERIFY(!readCompanyRow(databasePath()).error().isEmpty());
    QVERIFY(!QFile::exists(databasePath()));
}

QTEST_GUILESS_MAIN(DatabaseFileTest)
#include "tst_database_file.moc"
