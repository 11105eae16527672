#pragma once

// What the backup tests share: real client databases, what they hold, and BuRest run as a
// program.

#include "records/DatabaseFile.h"
#include "records/DemoClients.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariantList>

namespace halcyra::test {

// Runs `work` on a connection of its own to `path`, closed again afterwards.
template <typename Work> auto withDatabase(const QString& path, Work work)
{
    static int counter = 0;
    const QString name = QStringLiteral("backup-test-%1").arg(++counter);
    if (const Status opened = openDatabase(path, name); !opened)
        qFatal("open %s: %s", qPrintable(path), qPrintable(opened.error()));
    struct Remove
    {
        QString name;
        ~Remove() { QSqlDatabase::removeDatabase(name); }
    } remove{name};
    QSqlDatabase db = QSqlDatabase::database(name);
    auto result = work(db);
    db.close();
    return result;
}

inline void addClients(const QString& path, int count, quint32 seed = 5)
{
    withDatabase(path, [count, seed](QSqlDatabase& db) {
        if (const Result<int> added = addDemoClients(db, count, seed); !added)
            qFatal("demo clients: %s", qPrintable(added.error()));
        return 0;
    });
}

// Every stored value of every client on an open connection, in record-number order.
inline QList<QVariantList> dumpOf(QSqlDatabase& db)
{
    QList<QVariantList> rows;
    QSqlQuery query(db);
    query.exec(QStringLiteral("SELECT * FROM \"Customers\" ORDER BY \"CustomerID\""));
    while (query.next()) {
        QVariantList row;
        for (int c = 0; c < query.record().count(); ++c)
            row << query.value(c);
        rows << row;
    }
    return rows;
}

inline QList<QVariantList> dump(const QString& path)
{
    return withDatabase(path, [](QSqlDatabase& db) { return dumpOf(db); });
}

inline int scalar(const QString& path, const QString& sql)
{
    return withDatabase(path, [&sql](QSqlDatabase& db) {
        QSqlQuery query(db);
        return query.exec(sql) && query.next() ? query.value(0).toInt() : -1;
    });
}

// Runs statements on a plain connection, without the program's checks: for files the program
// must refuse.
inline bool execPlain(const QString& path, const QStringList& statements)
{
    bool ok = true;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("plain"));
        db.setDatabaseName(path);
        ok = db.open();
        for (const QString& statement : statements)
            ok = ok && QSqlQuery(db).exec(statement);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("plain"));
    return ok;
}

inline QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray fileHash(const QString& path)
{
    return QCryptographicHash::hash(fileBytes(path), QCryptographicHash::Sha256);
}

inline bool ownerOnly(const QString& path, bool folder)
{
    const auto owner =
        QFile::ReadOwner | QFile::WriteOwner | (folder ? QFile::ExeOwner : QFile::Permissions());
    const auto others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther |
                        QFile::WriteOther | QFile::ExeOther;
    const auto permissions = QFile::permissions(path);
    return (permissions & owner) == owner && !(permissions & others);
}

struct BuRestRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

inline BuRestRun runBuRest(const QStringList& arguments, const QString& workingFolder = {})
{
    QProcess burest;
    if (!workingFolder.isEmpty())
        burest.setWorkingDirectory(workingFolder);
    burest.start(QStringLiteral(HALCYRA_BUREST_PATH), arguments);
    BuRestRun run;
    if (!burest.waitForFinished(60000))
        return run;
    run.exitCode = burest.exitStatus() == QProcess::NormalExit ? burest.exitCode() : -1;
    run.out = QString::fromUtf8(burest.readAllStandardOutput());
    run.err = QString::fromUtf8(burest.readAllStandardError());
    return run;
}

} // namespace halcyra::test
