#include "records/ClientDataSource.h"

#include "records/DatabaseFile.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>

namespace halcyra {
namespace {

const QString kTable = QStringLiteral("\"Customers\"");

QString quoted(const QString& name)
{
    return u'"' + name + u'"';
}

QString columnList()
{
    QStringList names;
    for (int column = 0; column < columns::kCount; ++column)
        names << quoted(columns::name(column));
    return names.join(u',');
}

// Runs `work` inside one transaction; rolls back when it fails.
template <typename Work> Status inTransaction(QSqlDatabase& db, Work work)
{
    if (const Status begun = beginWrite(db); !begun)
        return begun;
    Status done = work();
    if (done && !db.commit())
        done = fail(db.lastError().text());
    if (!done) {
        db.rollback();
        return done;
    }
    return {};
}

} // namespace

Result<ClientRecord> loadClientRecord(const QSqlDatabase& db, qint64 customerId)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT ") + columnList() + QStringLiteral(" FROM ") +
                       kTable + QStringLiteral(" WHERE \"CustomerID\" = ?")))
        return fail(query.lastError().text());
    query.addBindValue(customerId);
    if (!query.exec())
        return fail(query.lastError().text());
    if (!query.next())
        return fail(QStringLiteral("There is no client with the number %1.").arg(customerId));
    ClientRecord record;
    for (int column = 0; column < columns::kCount; ++column)
        record.values[static_cast<size_t>(column)] = query.value(column);
    return record;
}

ClientDataSource::ClientDataSource(QSqlDatabase database) : m_db(database)
{
    m_current = emptyRecord();
    // Without it a date order or a #date# filter fails with its own message when used.
    if (m_db.isOpen())
        (void)registerListFunctions(m_db);
}

ClientRecord ClientDataSource::emptyRecord() const
{
    ClientRecord record;
    for (int i = 0; i < columns::kYesNoCount; ++i)
        record.setYesNo(i, false);
    return record;
}

Result<std::vector<qint64>> ClientDataSource::readIds(const RecordQuery& recordQuery) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    const SqlFragment where = whereCondition(recordQuery.filter);
    QString sql = QStringLiteral("SELECT \"CustomerID\" FROM ") + kTable;
    if (!where.sql.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.sql;
    sql += QStringLiteral(" ORDER BY ") + orderByList(recordQuery.sort);
    if (!query.prepare(sql))
        return fail(query.lastError().text());
    for (const QVariant& value : where.values)
        query.addBindValue(value);
    if (!query.exec())
        return fail(query.lastError().text());
    std::vector<qint64> ids;
    while (query.next())
        ids.push_back(query.value(0).toLongLong());
    if (query.lastError().isValid())
        return fail(query.lastError().text());
    return ids;
}

Result<std::vector<ClientRecord>> ClientDataSource::recordsAt(int first, int count) const
{
    std::vector<ClientRecord> records;
    first = std::max(first, 0);
    count = std::min(count, recordCount() - first);
    if (count <= 0)
        return records;
    QStringList marks;
    for (int i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT ") + columnList() + QStringLiteral(" FROM ") +
                       kTable + QStringLiteral(" WHERE \"CustomerID\" IN (") + marks.join(u',') +
                       u')'))
        return fail(query.lastError().text());
    for (int i = 0; i < count; ++i)
        query.addBindValue(m_ids[static_cast<size_t>(first) + static_cast<size_t>(i)]);
    if (!query.exec())
        return fail(query.lastError().text());
    // The rows come in the table's order; put them in the list's.
    QHash<qint64, ClientRecord> byId;
    while (query.next()) {
        ClientRecord record;
        for (int column = 0; column < columns::kCount; ++column)
            record.values[static_cast<size_t>(column)] = query.value(column);
        byId.insert(record.customerId(), record);
    }
    records.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const qint64 id = m_ids[static_cast<size_t>(first) + static_cast<size_t>(i)];
        // A record deleted by someone else meanwhile shows as an empty row until the next re-read.
        ClientRecord record = byId.value(id, emptyRecord());
        records.push_back(std::move(record));
    }
    return records;
}

Result<ClientRecord> ClientDataSource::readRecord(qint64 id) const
{
    return loadClientRecord(m_db, id);
}

Result<int> ClientDataSource::allClientsCount() const
{
    QSqlQuery query(m_db);
    if (!query.exec(QStringLiteral("SELECT COUNT(*) FROM \"Customers\"")) || !query.next())
        return fail(query.lastError().text());
    return query.value(0).toInt();
}

Status ClientDataSource::open()
{
    auto ids = readIds(m_query);
    if (!ids)
        return fail(ids.error());
    m_ids = std::move(*ids);
    m_newRecord = false;
    if (m_ids.empty()) {
        m_position = -1;
        m_current = emptyRecord();
        return {};
    }
    return moveTo(0);
}

Status ClientDataSource::setOrderAndFilter(const RecordQuery& query)
{
    auto ids = readIds(query);
    if (!ids)
        return Failure{ids.error()};
    const qint64 currentId = m_position >= 0 ? m_ids[static_cast<size_t>(m_position)] : -1;
    m_query = query;
    m_ids = std::move(*ids);
    m_newRecord = false;
    if (m_ids.empty()) {
        m_position = -1;
        m_current = emptyRecord();
        return {};
    }
    const int position = positionOf(currentId);
    return moveTo(position >= 0 ? position : 0);
}

Status ClientDataSource::moveTo(int position)
{
    if (m_ids.empty())
        return {};
    position = std::clamp(position, 0, recordCount() - 1);
    auto record = readRecord(m_ids[static_cast<size_t>(position)]);
    if (!record)
        return fail(record.error());
    m_current = std::move(*record);
    m_position = position;
    m_newRecord = false;
    return {};
}

Status ClientDataSource::moveNext()
{
    return moveTo(m_newRecord ? recordCount() - 1 : m_position + 1);
}

Status ClientDataSource::movePrevious()
{
    return moveTo(m_newRecord ? recordCount() - 1 : m_position - 1);
}

int ClientDataSource::positionOf(qint64 customerId) const
{
    const auto it = std::find(m_ids.begin(), m_ids.end(), customerId);
    return it == m_ids.end() ? -1 : static_cast<int>(it - m_ids.begin());
}

qint64 ClientDataSource::idAt(int position) const
{
    if (position < 0 || position >= recordCount())
        return -1;
    return m_ids[static_cast<size_t>(position)];
}

void ClientDataSource::addNew()
{
    if (!m_newRecord)
        m_positionBeforeNew = m_position;
    m_newRecord = true;
    m_position = -1;
    m_current = emptyRecord();
}

Status ClientDataSource::cancelNew()
{
    if (!m_newRecord)
        return {};
    m_newRecord = false;
    if (m_ids.empty()) {
        m_current = emptyRecord();
        return {};
    }
    return moveTo(std::max(0, m_positionBeforeNew));
}

Status ClientDataSource::update(const ClientRecord& edited)
{
    qint64 newId = -1;
    const Status stored = inTransaction(m_db, [&]() -> Status {
        QSqlQuery query(m_db);
        bool prepared = false;
        if (m_newRecord) {
            QStringList names;
            QStringList marks;
            for (int column = 1; column < columns::kCount; ++column) {
                names << quoted(columns::name(column));
                marks << QStringLiteral("?");
            }
            prepared =
                query.prepare(QStringLiteral("INSERT INTO ") + kTable + u'(' + names.join(u',') +
                              QStringLiteral(") VALUES (") + marks.join(u',') + u')');
        } else {
            QStringList assignments;
            for (int column = 1; column < columns::kCount; ++column)
                assignments << quoted(columns::name(column)) + QStringLiteral(" = ?");
            prepared =
                query.prepare(QStringLiteral("UPDATE ") + kTable + QStringLiteral(" SET ") +
                              assignments.join(u',') + QStringLiteral(" WHERE \"CustomerID\" = ?"));
        }
        if (!prepared)
            return fail(query.lastError().text());
        for (int column = 1; column < columns::kCount; ++column)
            query.addBindValue(edited.values[static_cast<size_t>(column)]);
        if (!m_newRecord)
            query.addBindValue(m_current.customerId());
        if (!query.exec())
            return fail(query.lastError().text());
        if (!m_newRecord && query.numRowsAffected() != 1)
            return fail(QStringLiteral("Record %1 is no longer in the database.")
                            .arg(m_current.customerId()));
        if (m_newRecord)
            newId = query.lastInsertId().toLongLong();
        return {};
    });
    if (!stored)
        return stored;

    m_current = edited;
    if (m_newRecord) {
        m_current.values[columns::kCustomerId] = newId;
        // A new record joins the end of the list, whatever the order, until the next re-read.
        m_ids.push_back(newId);
        m_position = recordCount() - 1;
        m_newRecord = false;
    }
    return {};
}

Status ClientDataSource::remove()
{
    if (m_newRecord || m_position < 0)
        return cancelNew();
    const qint64 id = m_current.customerId();
    const Status deleted = inTransaction(m_db, [&]() -> Status {
        QSqlQuery query(m_db);
        if (!query.prepare(QStringLiteral("DELETE FROM ") + kTable +
                           QStringLiteral(" WHERE \"CustomerID\" = ?")))
            return fail(query.lastError().text());
        query.addBindValue(id);
        if (!query.exec())
            return fail(query.lastError().text());
        return {};
    });
    if (!deleted)
        return deleted;
    m_ids.erase(m_ids.begin() + m_position);
    if (m_ids.empty()) {
        m_position = -1;
        m_current = emptyRecord();
        return {};
    }
    if (Status moved = moveTo(std::min(m_position, recordCount() - 1)); !moved) {
        // The deleted record must not stay current: a save would write to nothing.
        addNew();
        m_positionBeforeNew = 0;
        return moved;
    }
    return {};
}

Result<ClientRecord> ClientDataSource::recordAt(int position) const
{
    if (position < 0 || position >= recordCount())
        return emptyRecord();
    return readRecord(m_ids[static_cast<size_t>(position)]);
}

} // namespace halcyra
