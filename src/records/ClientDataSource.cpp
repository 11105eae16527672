#include "records/ClientDataSource.h"

#include "records/DatabaseFile.h"

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
template <typename Work> bool inTransaction(QSqlDatabase& db, QString* error, Work work)
{
    if (const Status begun = beginWrite(db); !begun) {
        *error = begun.error();
        return false;
    }
    if (!work() || !db.commit()) {
        if (error->isEmpty())
            *error = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

} // namespace

bool loadClientRecord(const QSqlDatabase& db, qint64 customerId, ClientRecord* record,
                      QString* error)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT ") + columnList() + QStringLiteral(" FROM ") +
                       kTable + QStringLiteral(" WHERE \"CustomerID\" = ?"))) {
        *error = query.lastError().text();
        return false;
    }
    query.addBindValue(customerId);
    if (!query.exec()) {
        *error = query.lastError().text();
        return false;
    }
    if (!query.next()) {
        *error = QStringLiteral("There is no client with the number %1.").arg(customerId);
        return false;
    }
    for (int column = 0; column < columns::kCount; ++column)
        record->values[static_cast<size_t>(column)] = query.value(column);
    return true;
}

ClientDataSource::ClientDataSource(QSqlDatabase database) : m_db(std::move(database))
{
    m_current = emptyRecord();
}

ClientRecord ClientDataSource::emptyRecord() const
{
    ClientRecord record;
    for (int i = 0; i < columns::kYesNoCount; ++i)
        record.setYesNo(i, false);
    return record;
}

bool ClientDataSource::readIds(const QString& orderBy, const QString& filter,
                               std::vector<qint64>* ids, QString* error) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    QString sql = QStringLiteral("SELECT \"CustomerID\" FROM ") + kTable;
    if (!filter.trimmed().isEmpty())
        sql += QStringLiteral(" WHERE ") + filter;
    sql += QStringLiteral(" ORDER BY ") +
           (orderBy.trimmed().isEmpty() ? quoted(columns::name(0)) : orderBy);
    if (!query.exec(sql)) {
        *error = query.lastError().text();
        return false;
    }
    ids->clear();
    while (query.next())
        ids->push_back(query.value(0).toLongLong());
    return true;
}

bool ClientDataSource::readRecord(qint64 id, ClientRecord* record, QString* error) const
{
    return loadClientRecord(m_db, id, record, error);
}

bool ClientDataSource::open(QString* error)
{
    if (!readIds(m_orderBy, m_filter, &m_ids, error))
        return false;
    m_newRecord = false;
    if (m_ids.empty()) {
        m_position = -1;
        m_current = emptyRecord();
        return true;
    }
    return moveTo(0, error);
}

bool ClientDataSource::setOrderAndFilter(const QString& orderBy, const QString& filter,
                                         QString* error)
{
    std::vector<qint64> ids;
    if (!readIds(orderBy, filter, &ids, error))
        return false;
    const qint64 currentId = m_position >= 0 ? m_ids[static_cast<size_t>(m_position)] : -1;
    m_orderBy = orderBy;
    m_filter = filter;
    m_ids = std::move(ids);
    m_newRecord = false;
    if (m_ids.empty()) {
        m_position = -1;
        m_current = emptyRecord();
        return true;
    }
    const int position = positionOf(currentId);
    return moveTo(position >= 0 ? position : 0, error);
}

bool ClientDataSource::moveTo(int position, QString* error)
{
    if (m_ids.empty())
        return true;
    position = std::clamp(position, 0, RecordCount() - 1);
    ClientRecord record;
    if (!readRecord(m_ids[static_cast<size_t>(position)], &record, error))
        return false;
    m_current = std::move(record);
    m_position = position;
    m_newRecord = false;
    return true;
}

bool ClientDataSource::MoveNext(QString* error)
{
    return moveTo(m_newRecord ? RecordCount() - 1 : m_position + 1, error);
}

bool ClientDataSource::MovePrevious(QString* error)
{
    return moveTo(m_newRecord ? RecordCount() - 1 : m_position - 1, error);
}

int ClientDataSource::positionOf(qint64 customerId) const
{
    const auto it = std::find(m_ids.begin(), m_ids.end(), customerId);
    return it == m_ids.end() ? -1 : static_cast<int>(it - m_ids.begin());
}

qint64 ClientDataSource::idAt(int position) const
{
    if (position < 0 || position >= RecordCount())
        return -1;
    return m_ids[static_cast<size_t>(position)];
}

void ClientDataSource::AddNew()
{
    if (!m_newRecord)
        m_positionBeforeNew = m_position;
    m_newRecord = true;
    m_position = -1;
    m_current = emptyRecord();
}

bool ClientDataSource::CancelNew(QString* error)
{
    if (!m_newRecord)
        return true;
    m_newRecord = false;
    if (m_ids.empty()) {
        m_current = emptyRecord();
        return true;
    }
    return moveTo(std::max(0, m_positionBeforeNew), error);
}

bool ClientDataSource::Update(const ClientRecord& edited, QString* error)
{
    qint64 newId = -1;
    const bool ok = inTransaction(m_db, error, [&] {
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
        if (!prepared) {
            *error = query.lastError().text();
            return false;
        }
        for (int column = 1; column < columns::kCount; ++column)
            query.addBindValue(edited.values[static_cast<size_t>(column)]);
        if (!m_newRecord)
            query.addBindValue(m_current.customerId());
        if (!query.exec()) {
            *error = query.lastError().text();
            return false;
        }
        if (!m_newRecord && query.numRowsAffected() != 1) {
            *error = QStringLiteral("Record %1 is no longer in the database.")
                         .arg(m_current.customerId());
            return false;
        }
        if (m_newRecord)
            newId = query.lastInsertId().toLongLong();
        return true;
    });
    if (!ok)
        return false;

    m_current = edited;
    if (m_newRecord) {
        m_current.values[columns::kCustomerId] = newId;
        // A new record joins the end of the list, whatever the order, until the next re-read.
        m_ids.push_back(newId);
        m_position = RecordCount() - 1;
        m_newRecord = false;
    }
    return true;
}

bool ClientDataSource::Delete(QString* error)
{
    if (m_newRecord || m_position < 0)
        return CancelNew(error);
    const qint64 id = m_current.customerId();
    const bool ok = inTransaction(m_db, error, [&] {
        QSqlQuery query(m_db);
        if (!query.prepare(QStringLiteral("DELETE FROM ") + kTable +
                           QStringLiteral(" WHERE \"CustomerID\" = ?"))) {
            *error = query.lastError().text();
            return false;
        }
        query.addBindValue(id);
        if (!query.exec()) {
            *error = query.lastError().text();
            return false;
        }
        return true;
    });
    if (!ok)
        return false;
    m_ids.erase(m_ids.begin() + m_position);
    if (m_ids.empty()) {
        m_position = -1;
        m_current = emptyRecord();
        return true;
    }
    if (!moveTo(std::min(m_position, RecordCount() - 1), error)) {
        // The deleted record must not stay current: a save would write to nothing.
        AddNew();
        m_positionBeforeNew = 0;
        return false;
    }
    return true;
}

ClientRecord ClientDataSource::recordAt(int position, QString* error) const
{
    ClientRecord record = emptyRecord();
    if (position >= 0 && position < RecordCount())
        readRecord(m_ids[static_cast<size_t>(position)], &record, error);
    return record;
}

} // namespace halcyra
