#include "records/CompanyRecord.h"
#include "records/DatabaseFile.h"
#include "support/FileLocks.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

namespace {

QStringList locksHeldOn(const QString& path)
{
    return halcyra::test::locksHeldOn(path, QCoreApplication::applicationPid());
}

} // namespace

class DatabaseLockTest : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void theOpenConnectionKeepsItsLocks_data();
    void theOpenConnectionKeepsItsLocks();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void DatabaseLockTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QCOMPARE(createDatabaseIfMissing(m_dir.path()).value(), CreateResult::Created);
    m_path = m_dir.filePath(u"HCY300.db"_s);
    // The window's connection, open for the whole test as it is for the program's whole run.
    QVERIFY(openClientDatabase(m_path, u"window"_s, DatabaseAccess::ReadWrite).ok());
    QSqlQuery read(QSqlDatabase::database(u"window"_s));
    QVERIFY(read.exec(u"SELECT COUNT(*) FROM Customers"_s) && read.next());
}

void DatabaseLockTest::cleanupTestCase()
{
    closeClientDatabase(u"window"_s);
}

void DatabaseLockTest::theOpenConnectionKeepsItsLocks_data()
{
    QTest::addColumn<QString>("action");
    QTest::newRow("second connection, read-only") << u"read-only"_s;
    QTest::newRow("second connection, read-write") << u"read-write"_s;
    QTest::newRow("company row read") << u"company read"_s;
    QTest::newRow("company row saved") << u"company save"_s;
}

void DatabaseLockTest::theOpenConnectionKeepsItsLocks()
{
    QFETCH(QString, action);
    const QStringList onFile = locksHeldOn(m_path);
    const QStringList onShm = locksHeldOn(m_path + u"-shm"_s);
    QVERIFY2(!onFile.isEmpty() || !onShm.isEmpty(), "the open connection holds no lock");

    if (action == u"read-only" || action == u"read-write") {
        const auto access =
            action == u"read-only" ? DatabaseAccess::ReadOnly : DatabaseAccess::ReadWrite;
        const Status opened = openClientDatabase(m_path, u"second"_s, access);
        QVERIFY2(opened.ok(), qPrintable(opened.error()));
        QSqlQuery read(QSqlDatabase::database(u"second"_s));
        QVERIFY(read.exec(u"SELECT COUNT(*) FROM Customers"_s) && read.next());
        read.finish();
        closeClientDatabase(u"second"_s);
    } else if (action == u"company read") {
        QVERIFY(readCompanyRow(m_path).ok());
    } else {
        const CompanyInfo info{u"Lock Test Wellness"_s};
        const Status saved = saveCompanyRow(m_path, info);
        QVERIFY2(saved.ok(), qPrintable(saved.error()));
    }

    for (const QString& lock : onFile)
        QVERIFY2(locksHeldOn(m_path).contains(lock), qPrintable(u"lost on the file: "_s + lock));
    for (const QString& lock : onShm)
        QVERIFY2(locksHeldOn(m_path + u"-shm"_s).contains(lock),
                 qPrintable(u"lost on -shm: "_s + lock));
    QVERIFY(QFile::exists(m_path + u"-wal"_s));
    QVERIFY(QFile::exists(m_path + u"-shm"_s));
}

QTEST_GUILESS_MAIN(DatabaseLockTest)
#include "tst_database_lock.moc"
