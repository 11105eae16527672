#include "records/DatabaseFile.h"
#include "records/DemoClients.h"
#include "records/SchemaMigration.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace halcyra;
using namespace Qt::StringLiterals;

namespace {

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every stored value of every client and of the company row, as SQLite quotes it (so a
// text "7" and a number 7 differ), plus the schema version.
QStringList dump(QSqlDatabase& db)
{
    QStringList rows;
    QSqlQuery query(db);
    query.exec(u"PRAGMA user_version"_s);
    query.next();
    rows << u"version %1"_s.arg(query.value(0).toInt());
    for (const QString& table : {u"Customers"_s, u"Company Info"_s}) {
        QStringList quotedColumns;
        query.exec(u"PRAGMA table_info(\"%1\")"_s.arg(table));
        while (query.next())
            quotedColumns << u"quote(\"%1\")"_s.arg(query.value(1).toString());
        query.exec(
            u"SELECT %1 FROM \"%2\" ORDER BY 1"_s.arg(quotedColumns.join(u" || '|' || "), table));
        while (query.next())
            rows << query.value(0).toString();
    }
    return rows;
}

QStringList schemaOf(QSqlDatabase& db, const QString& like)
{
    QStringList sql;
    QSqlQuery query(db);
    query.exec(u"SELECT sql FROM sqlite_master WHERE name LIKE '%1' ORDER BY name"_s.arg(like));
    while (query.next())
        sql << query.value(0).toString();
    return sql;
}

template <typename Body> void withFile(const QString& path, Body body)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"plain"_s);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        body(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(u"plain"_s);
}

// A database as the version 1 schema made it, with demo clients and a few awkward values.
void makeVersion1(const QString& path, int userVersion)
{
    withFile(path, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        const QString script =
            readText(QStringLiteral(HALCYRA_SOURCE_DIR "/tests/records/data/schema-version1.sql"));
        for (QString statement : script.split(u";\n"_s)) {
            QStringList lines = statement.split(u'\n');
            lines.removeIf([](const QString& line) { return line.startsWith(u"--"_s); });
            statement = lines.join(u'\n').trimmed();
            if (!statement.isEmpty())
                QVERIFY2(query.exec(statement), qPrintable(statement));
        }
        QCOMPARE(addDemoClients(db, 25, 7).value(), 25);
        QVERIFY(query.exec(u"INSERT INTO Customers (LastName, Field1, Field2, Notes) "
                           "VALUES ('Ünal, \"Jo\"', '7abc', NULL, 'two\nlines')"_s));
        QVERIFY(query.exec(u"PRAGMA user_version = %1"_s.arg(userVersion)));
    });
}

} // namespace

class SchemaMigrationTest : public QObject
{
    Q_OBJECT
private slots:
    void opening_data();
    void opening();
    void freshAndUpgradedSchemasAgree();
    void twoUpgradesAtOnceKeepOneCopy();
    void leftoversOfKilledUpgradesGo();
};

void SchemaMigrationTest::opening_data()
{
    QTest::addColumn<int>("storedVersion");
    QTest::addColumn<bool>("failHalfWay");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("versionAfter");
    QTest::addColumn<bool>("copyKept");

    QTest::newRow("made by the previous schema") << 1 << false << true << kSchemaVersion << true;
    QTest::newRow("from before versions were kept") << 0 << false << true << kSchemaVersion << true;
    QTest::newRow("already current") << kSchemaVersion << false << true << kSchemaVersion << false;
    QTest::newRow("newer than the program")
        << kSchemaVersion + 1 << false << false << kSchemaVersion + 1 << false;
    QTest::newRow("failure half-way") << 1 << true << false << 1 << true;
}

void SchemaMigrationTest::opening()
{
    QFETCH(int, storedVersion);
    QFETCH(bool, failHalfWay);
    QFETCH(bool, opens);
    QFETCH(int, versionAfter);
    QFETCH(bool, copyKept);

    QTemporaryDir dir;
    const QString path = dir.filePath(u"HCY300.db"_s);
    makeVersion1(path, storedVersion);
    if (storedVersion == kSchemaVersion)
        withFile(path, [](QSqlDatabase& db) {
            for (const QString& statement : assessmentSchemaStatements())
                QVERIFY(QSqlQuery(db).exec(statement));
        });
    QStringList before;
    withFile(path, [&](QSqlDatabase& db) { before = dump(db); });
    const QByteArray bytesBefore = readBytes(path);

    bool opened = false;
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"upgrade"_s);
        db.setDatabaseName(path);
        QVERIFY(db.open());
        if (failHalfWay) {
            // The new table is made, then a statement fails: all of it must roll back.
            std::vector<MigrationStep> steps = schemaMigrations();
            steps.back().statements << u"INSERT INTO \"No such table\" VALUES (1)"_s;
            const auto upgraded = upgradeSchema(db, path, steps);
            opened = upgraded.ok();
            error = upgraded.error();
        } else {
            db.close();
            const Status status = openDatabase(path, u"opened"_s);
            opened = status.ok();
            error = status.error();
            QSqlDatabase::database(u"opened"_s, false).close();
            QSqlDatabase::removeDatabase(u"opened"_s);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(u"upgrade"_s);
    QCOMPARE(opened, opens);
    QCOMPARE(error.isEmpty(), opens);
    if (storedVersion > kSchemaVersion) {
        QVERIFY2(error.contains(u"newer version"_s), qPrintable(error));
        QCOMPARE(readBytes(path), bytesBefore);
    }

    QStringList after;
    withFile(path, [&](QSqlDatabase& db) {
        after = dump(db);
        QCOMPARE(schemaOf(db, u"Assessments"_s).size(), versionAfter == kSchemaVersion ? 1 : 0);
    });
    // Every client is kept exactly; only the version line may differ.
    QCOMPARE(after.mid(1), before.mid(1));
    QCOMPARE(after.first(), u"version %1"_s.arg(versionAfter));

    const QStringList copies =
        QDir(dir.path()).entryList({u"HCY300 before schema*.db"_s}, QDir::Files);
    QCOMPARE(copies.size(), copyKept ? 1 : 0);
    QCOMPARE(QDir(dir.path()).entryList({u"*.part"_s}, QDir::Files), QStringList());
    if (copyKept) {
        const QString copy = dir.filePath(copies.first());
        QCOMPARE(QFile::permissions(copy) & 0x0077, QFileDevice::Permissions());
        QStringList kept;
        withFile(copy, [&](QSqlDatabase& db) { kept = dump(db); });
        QCOMPARE(kept, before);
    }
}

void SchemaMigrationTest::freshAndUpgradedSchemasAgree()
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(u"fresh"_s));
    QCOMPARE(createDatabaseIfMissing(dir.filePath(u"fresh"_s)).value(), CreateResult::Created);
    makeVersion1(dir.filePath(u"HCY300.db"_s), 1);
    QVERIFY(openDatabase(dir.filePath(u"HCY300.db"_s), u"up"_s));
    QSqlDatabase::database(u"up"_s).close();
    QSqlDatabase::removeDatabase(u"up"_s);

    QStringList fresh, upgraded;
    withFile(dir.filePath(u"fresh/HCY300.db"_s), [&](QSqlDatabase& db) {
        fresh = schemaOf(db, u"%"_s);
        QCOMPARE(dump(db).first(), u"version %1"_s.arg(kSchemaVersion));
    });
    withFile(dir.filePath(u"HCY300.db"_s),
             [&](QSqlDatabase& db) { upgraded = schemaOf(db, u"%"_s); });
    QCOMPARE(upgraded, fresh);
}

void SchemaMigrationTest::twoUpgradesAtOnceKeepOneCopy()
{
    for (int round = 0; round < 8; ++round) {
        QTemporaryDir dir;
        makeVersion1(dir.filePath(u"HCY300.db"_s), 1);
        // An import of no clients: a command that opens the database for writing.
        QFile csv(dir.filePath(u"none.csv"_s));
        QVERIFY(csv.open(QIODevice::WriteOnly) && csv.write("Last Name,First Name\n") > 0);
        csv.close();
        QProcess first;
        QProcess second;
        for (QProcess* program : {&first, &second}) {
            program->setProcessChannelMode(QProcess::MergedChannels);
            program->start(QStringLiteral(HALCYRA_CLI_PATH),
                           {u"import"_s, csv.fileName(), u"--folder"_s, dir.path()});
        }
        for (QProcess* program : {&first, &second}) {
            QVERIFY(program->waitForFinished(30000));
            QVERIFY2(program->exitCode() == 0, program->readAll().constData());
        }
        // One of them upgraded and kept its copy; the other found the work done.
        const QStringList copies =
            QDir(dir.path()).entryList({u"HCY300 before schema*"_s}, QDir::Files);
        QCOMPARE(copies.size(), 1);
        withFile(dir.filePath(copies.first()), [](QSqlDatabase& db) {
            QSqlQuery query(db);
            QVERIFY(query.exec(u"SELECT COUNT(*) FROM Customers"_s) && query.next());
            QCOMPARE(query.value(0).toInt(), 26);
        });
    }
}

void SchemaMigrationTest::leftoversOfKilledUpgradesGo()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"HCY300.db"_s);
    makeVersion1(path, 1);
    QProcess ended;
    ended.start(u"true"_s);
    QVERIFY(ended.waitForStarted());
    const qint64 gone = ended.processId();
    QVERIFY(ended.waitForFinished());
    const qint64 running = QCoreApplication::applicationPid();
    const auto leftover = [&](qint64 pid, const QString& end) {
        return u"HCY300 before schema 2 20261201-101500-%1%2"_s.arg(pid).arg(end);
    };
    const QStringList stale = {leftover(gone, u".db.part"_s), leftover(gone, u"-1.db.part"_s),
                               leftover(gone, u".db.part-journal"_s)};
    const QStringList kept = {leftover(running, u".db.part"_s), leftover(gone, u".db"_s),
                              u"HCY300 before schema 2 notes.db.part"_s};
    for (const QString& name : stale + kept) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const Status opened = openDatabase(path, u"opened"_s);
    QVERIFY2(opened, qPrintable(opened.error()));
    QSqlDatabase::database(u"opened"_s, false).close();
    QSqlDatabase::removeDatabase(u"opened"_s);
    const QStringList left = QDir(dir.path()).entryList(QDir::Files);
    for (const QString& name : stale)
        QVERIFY2(!left.contains(name), qPrintable(name));
    for (const QString& name : kept)
        QVERIFY2(left.contains(name), qPrintable(name));
}

QTEST_GUILESS_MAIN(SchemaMigrationTest)
#include "tst_schema_migration.moc"
