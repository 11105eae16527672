#include "records/ClientDataSource.h"
#include "records/DatabaseFile.h"
#include "support/TempProgramFolder.h"

#include <QSqlQuery>
#include <QtTest>

using namespace halcyra;
using halcyra::test::TempProgramFolder;

namespace {

ClientRecord client(const QString& lastName, const QString& firstName)
{
    ClientRecord record;
    record.setText(columns::detail(1), lastName);
    record.setText(columns::detail(2), firstName);
    for (int i = 0; i < columns::kYesNoCount; ++i)
        record.setYesNo(i, false);
    return record;
}

QVariant storedValue(const QSqlDatabase& db, qint64 id, const QString& column)
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT \"%1\" FROM \"Customers Query\" WHERE \"CustomerID\" = ?")
                      .arg(column));
    query.addBindValue(id);
    if (!query.exec() || !query.next())
        return {};
    return query.value(0);
}

} // namespace

class ClientDataSourceTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgramFolder> m_folder;
    QString m_connection = QStringLiteral("test");

    QSqlDatabase db() const { return QSqlDatabase::database(m_connection); }

    // A data source over a database holding the given clients, in that order.
    std::unique_ptr<ClientDataSource> sourceWith(const QStringList& lastNames)
    {
        auto source = std::make_unique<ClientDataSource>(db());
        QString error;
        if (!source->open(&error))
            qFatal("open: %s", qPrintable(error));
        for (const QString& name : lastNames) {
            source->AddNew();
            if (!source->Update(client(name, QStringLiteral("Pat")), &error))
                qFatal("update: %s", qPrintable(error));
        }
        return source;
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        m_folder->createDatabase();
        QString error;
        QVERIFY2(openDatabase(m_folder->path(QStringLiteral("HCY300.db")), m_connection, &error),
                 qPrintable(error));
    }

    void cleanup()
    {
        QSqlDatabase::database(m_connection).close();
        QSqlDatabase::removeDatabase(m_connection);
        m_folder.reset();
    }

    void emptyDatabaseAndNewRecords()
    {
        auto source = sourceWith({});
        QVERIFY(source->isEmpty());
        QCOMPARE(source->AbsolutePosition(), -1);

        QString error;
        source->AddNew();
        QVERIFY(source->isNewRecord());
        QVERIFY(source->Update(client(QStringLiteral("Moss"), QStringLiteral("Ada")), &error));
        QVERIFY(!source->isNewRecord());
        QCOMPARE(source->RecordCount(), 1);
        QCOMPARE(source->AbsolutePosition(), 0);
        QVERIFY(source->current().customerId() > 0);
        QCOMPARE(storedValue(db(), source->current().customerId(), QStringLiteral("LastName")),
                 QVariant(QStringLiteral("Moss")));
    }

    void movingAndPositions()
    {
        auto source = sourceWith({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        QString error;
        QVERIFY(source->MoveFirst(&error));
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("A"));
        QVERIFY(source->MoveNext(&error));
        QVERIFY(source->MoveNext(&error));
        QCOMPARE(source->AbsolutePosition(), 2);
        QVERIFY(source->MoveNext(&error)); // past the end stays on the last
        QCOMPARE(source->AbsolutePosition(), 2);
        QVERIFY(source->MovePrevious(&error));
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("B"));

        // Leaving a new record without saving goes back to where the source was.
        source->AddNew();
        QVERIFY(source->CancelNew(&error));
        QCOMPARE(source->AbsolutePosition(), 1);
    }

    void scoresKeepTheirColumnsAndTypedText()
    {
        auto source = sourceWith({QStringLiteral("A")});
        ClientRecord edited = source->current();
        edited.setScore(25, QStringLiteral("6")); // section 23
        edited.setScore(42, QStringLiteral("2")); // section 39
        edited.setScore(13, QStringLiteral("7abc"));
        edited.setYesNo(2, true);
        QString error;
        QVERIFY(source->Update(edited, &error));

        const qint64 id = source->current().customerId();
        QCOMPARE(storedValue(db(), id, QStringLiteral("Field25")).toInt(), 6);
        QCOMPARE(storedValue(db(), id, QStringLiteral("Field42")).toInt(), 2);
        QCOMPARE(storedValue(db(), id, QStringLiteral("Field13")).toString(),
                 QStringLiteral("7abc"));
        QCOMPARE(storedValue(db(), id, QStringLiteral("ckYesNo( 2)")).toInt(), 1);

        // Read back through a fresh source, as the next start of the program would.
        ClientDataSource again(db());
        QVERIFY(again.open(&error));
        QCOMPARE(again.current().score(25), QStringLiteral("6"));
        QCOMPARE(again.current().score(13), QStringLiteral("7abc"));
        QVERIFY(again.current().yesNo(2));
    }

    void aFailedSaveChangesNothing()
    {
        auto source = sourceWith({QStringLiteral("A"), QStringLiteral("B")});
        QString error;
        QVERIFY(source->MoveFirst(&error));
        const ClientRecord before = source->current();
        QSqlQuery(db()).exec(
            QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON \"Customers\" "
                           "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));

        ClientRecord edited = before;
        edited.setText(columns::detail(1), QStringLiteral("Changed"));
        QVERIFY(!source->Update(edited, &error));
        QVERIFY(error.contains(QStringLiteral("refused by the test")));
        QCOMPARE(source->current(), before);
        QCOMPARE(source->AbsolutePosition(), 0);
        QCOMPARE(storedValue(db(), before.customerId(), QStringLiteral("LastName")),
                 QVariant(QStringLiteral("A")));
    }

    void deleteMovesToTheNextOrTheLast()
    {
        auto source = sourceWith({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        QString error;
        QVERIFY(source->moveTo(1, &error));
        QVERIFY(source->Delete(&error));
        QCOMPARE(source->RecordCount(), 2);
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("C"));
        QVERIFY(source->Delete(&error)); // the last one: back to the new last
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("A"));
        QCOMPARE(source->AbsolutePosition(), 0);
    }

    void orderAndFilter()
    {
        auto source =
            sourceWith({QStringLiteral("Cole"), QStringLiteral("Abel"), QStringLiteral("Baker")});
        QString error;
        QVERIFY(source->moveTo(2, &error)); // Baker
        QVERIFY(
            source->setOrderAndFilter({*parseFilter({}), *parseSort(QStringLiteral("LastName"))}));
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("Baker"));
        QCOMPARE(source->AbsolutePosition(), 1);

        QVERIFY(source->setOrderAndFilter({*parseFilter(QStringLiteral("LastName <> 'Baker'")),
                                           *parseSort(QStringLiteral("[LastName] DESC"))}));
        QCOMPARE(source->RecordCount(), 2);
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("Cole"));
        QCOMPARE(source->query().sort.text, QStringLiteral("[LastName] DESC"));
    }
};

QTEST_GUILESS_MAIN(ClientDataSourceTest)
#include "tst_client_data_source.moc"
