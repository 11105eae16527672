#pragma once

#include "core/Result.h"
#include "records/ClientRecord.h"
#include "records/FilterExpression.h"

#include <QSqlDatabase>
#include <QString>
#include <vector>

namespace halcyra {

// The client records as the main window and the record list move through them: an ordered
// list of record numbers (only the numbers are held, so many thousands of clients cost little)
// and the one current record, read when the position moves. Every change is one transaction.
class ClientDataSource
{
public:
    // `database` is open (see openDatabase).
    explicit ClientDataSource(QSqlDatabase database);

    // Reads the record numbers in the current order and moves to the first record.
    Status open();

    // Sets the order and the filter, both parsed from the adviser's texts, re-reads and keeps
    // the current record where it is still listed. On an error the previous ones stay.
    Status setOrderAndFilter(const RecordQuery& query);
    const RecordQuery& query() const { return m_query; }
    // Reads the record numbers again in the current order and filter; the current record stays
    // current where it is still listed.
    Status requery() { return setOrderAndFilter(m_query); }

    int recordCount() const { return static_cast<int>(m_ids.size()); }
    // Every client in the file, whatever the filter.
    Result<int> allClientsCount() const;
    // Position of the current record from 0, or -1 while a new record is being typed or when
    // there are no records.
    int absolutePosition() const { return m_position; }
    bool isNewRecord() const { return m_newRecord; }
    bool isEmpty() const { return m_ids.empty(); }
    const ClientRecord& current() const { return m_current; }

    Status moveTo(int position);
    Status moveFirst() { return moveTo(0); }
    Status moveLast() { return moveTo(recordCount() - 1); }
    Status moveNext();
    Status movePrevious();
    int positionOf(qint64 customerId) const;

    // Starts a new, empty record; nothing is stored until update().
    void addNew();
    // Leaves a new record without storing it and goes back to where the source was.
    Status cancelNew();

    // Stores `edited` as the current record (a new record is inserted and gets its number).
    // On failure nothing is changed, in the file or here.
    Status update(const ClientRecord& edited);
    // Deletes the current record and moves to the next one (the last when it was the last).
    Status remove();

    // The record at a position, for lists; empty when the position is out of range.
    Result<ClientRecord> recordAt(int position) const;
    qint64 idAt(int position) const;
    // The records at `count` positions from `first` (fewer at the end), read in one query.
    Result<std::vector<ClientRecord>> recordsAt(int first, int count) const;

private:
    Result<std::vector<qint64>> readIds(const RecordQuery& query) const;
    Result<ClientRecord> readRecord(qint64 id) const;
    ClientRecord emptyRecord() const;

    QSqlDatabase m_db;
    RecordQuery m_query;
    std::vector<qint64> m_ids;
    int m_position = -1;
    int m_positionBeforeNew = -1;
    bool m_newRecord = false;
    ClientRecord m_current;
};

// Reads the record with the given number; fails when it cannot be read or does not exist.
Result<ClientRecord> loadClientRecord(const QSqlDatabase& db, qint64 customerId);

} // namespace halcyra
