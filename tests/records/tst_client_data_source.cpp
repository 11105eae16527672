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
        if (const Status opened = source->open(); !opened)
            qFatal("open: %s", qPrintable(opened.error()));
        for (const QString& name : lastNames) {
            source->addNew();
            if (const Status stored = source->update(client(name, QStringLiteral("Pat"))); !stored)
                qFatal("update: %s", qPrintable(stored.error()));
        }
        return source;
    }

private slots:
    void init()
    {
        m_folder = std::make_unique<TempProgramFolder>();
        m_folder->createDatabase();
        const Status opened =
            openDatabase(m_folder->path(QStringLiteral("HCY300.db")), m_connection);
        QVERIFY2(opened, qPrintable(opened.error()));
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
        QCOMPARE(source->absolutePosition(), -1);

        source->addNew();
        QVERIFY(source->isNewRecord());
        QVERIFY(source->update(client(QStringLiteral("Moss"), QStringLiteral("Ada"))));
        QVERIFY(!source->isNewRecord());
        QCOMPARE(source->recordCount(), 1);
        QCOMPARE(source->absolutePosition(), 0);
        QVERIFY(source->current().customerId() > 0);
        QCOMPARE(storedValue(db(), source->current().customerId(), QStringLiteral("LastName")),
                 QVariant(QStringLiteral("Moss")));
    }

    void movingAndPositions()
    {
        auto source = sourceWith({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        QVERIFY(source->moveFirst());
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("A"));
        QVERIFY(source->moveNext());
        QVERIFY(source->moveNext());
        QCOMPARE(source->absolutePosition(), 2);
        QVERIFY(source->moveNext()); // past the end stays on the last
        QCOMPARE(source->absolutePosition(), 2);
        QVERIFY(source->movePrevious());
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("B"));

        // Leaving a new record without saving goes back to where the source was.
        source->addNew();
        QVERIFY(source->cancelNew());
        QCOMPARE(source->absolutePosition(), 1);
    }

    void scoresKeepTheirColumnsAndTypedText()
    {
        auto source = sourceWith({QStringLiteral("A")});
        ClientRecord edited = source->current();
        edited.setScore(25, QStringLiteral("6")); // section 23
        edited.setScore(42, QStringLiteral("2")); // section 39
        edited.setScore(13, QStringLiteral("7abc"));
        edited.setYesNo(2, true);
        QVERIFY(source->update(edited));

        const qint64 id = source->current().customerId();
        QCOMPARE(storedValue(db(), id, QStringLiteral("Field25")).toInt(), 6);
        QCOMPARE(storedValue(db(), id, QStringLiteral("Field42")).toInt(), 2);
        QCOMPARE(storedValue(db(), id, QStringLiteral("Field13")).toString(),
                 QStringLiteral("7abc"));
        QCOMPARE(storedValue(db(), id, QStringLiteral("ckYesNo( 2)")).toInt(), 1);

        // Read back through a fresh source, as the next start of the program would.
        ClientDataSource again(db());
        QVERIFY(again.open());
        QCOMPARE(again.current().score(25), QStringLiteral("6"));
        QCOMPARE(again.current().score(13), QStringLiteral("7abc"));
        QVERIFY(again.current().yesNo(2));
    }

    void aFailedSaveChangesNothing()
    {
        auto source = sourceWith({QStringLiteral("A"), QStringLiteral("B")});
        QVERIFY(source->moveFirst());
        const ClientRecord before = source->current();
        QSqlQuery(db()).exec(
            QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON \"Customers\" "
                           "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END"));

        ClientRecord edited = before;
        edited.setText(columns::detail(1), QStringLiteral("Changed"));
        const Status stored = source->update(edited);
        QVERIFY(!stored);
        QVERIFY(stored.error().contains(QStringLiteral("refused by the test")));
        QCOMPARE(source->current(), before);
        QCOMPARE(source->absolutePosition(), 0);
        QCOMPARE(storedValue(db(), before.customerId(), QStringLiteral("LastName")),
                 QVariant(QStringLiteral("A")));
    }

    void deleteMovesToTheNextOrTheLast()
    {
        auto source = sourceWith({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        QVERIFY(source->moveTo(1));
        QVERIFY(source->remove());
        QCOMPARE(source->recordCount(), 2);
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("C"));
        QVERIFY(source->remove()); // the last one: back to the new last
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("A"));
        QCOMPARE(source->absolutePosition(), 0);
    }

    // A record read by position: the one there, an empty one off the list, and a failure that
    // names the number when someone else deleted it meanwhile; moving there fails the same way
    // and leaves the current record as it was.
    void readingByPosition_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("lastName"); // empty: an empty record
        QTest::addColumn<bool>("deletedElsewhere");
        QTest::newRow("first") << 0 << QStringLiteral("A") << false;
        QTest::newRow("last") << 2 << QStringLiteral("C") << false;
        QTest::newRow("before the list") << -1 << QString() << false;
        QTest::newRow("after the list") << 3 << QString() << false;
        QTest::newRow("deleted elsewhere") << 1 << QString() << true;
    }

    void readingByPosition()
    {
        QFETCH(int, position);
        QFETCH(QString, lastName);
        QFETCH(bool, deletedElsewhere);
        auto source = sourceWith({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        const qint64 id = source->idAt(position);
        if (deletedElsewhere) {
            QSqlQuery query(db());
            QVERIFY(query.exec(
                QStringLiteral("DELETE FROM \"Customers\" WHERE \"CustomerID\" = %1").arg(id)));
        }
        const Result<ClientRecord> record = source->recordAt(position);
        QCOMPARE(record.ok(), !deletedElsewhere);
        if (!deletedElsewhere) {
            QCOMPARE(record->text(columns::detail(1)), lastName);
            QCOMPARE(record->customerId() > 0, !lastName.isEmpty());
            return;
        }
        const QString missing = QStringLiteral("There is no client with the number %1.").arg(id);
        QCOMPARE(record.error(), missing);
        QVERIFY(source->moveFirst());
        const Status moved = source->moveTo(position);
        QCOMPARE(moved.error(), missing);
        QCOMPARE(source->absolutePosition(), 0);
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("A"));
        QCOMPARE(loadClientRecord(db(), id).error(), missing);
    }

    void orderAndFilter()
    {
        auto source =
            sourceWith({QStringLiteral("Cole"), QStringLiteral("Abel"), QStringLiteral("Baker")});
        QVERIFY(source->moveTo(2)); // Baker
        QVERIFY(
            source->setOrderAndFilter({*parseFilter({}), *parseSort(QStringLiteral("LastName"))}));
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("Baker"));
        QCOMPARE(source->absolutePosition(), 1);

        QVERIFY(source->setOrderAndFilter({*parseFilter(QStringLiteral("LastName <> 'Baker'")),
                                           *parseSort(QStringLiteral("[LastName] DESC"))}));
        QCOMPARE(source->recordCount(), 2);
        QCOMPARE(source->current().text(columns::detail(1)), QStringLiteral("Cole"));
        QCOMPARE(source->query().sort.text, QStringLiteral("[LastName] DESC"));
    }
};

QTEST_GUILESS_MAIN(ClientDataSourceTest)
#include "tst_client_data_source.moc"
