#pragma once

#include "records/ClientRecord.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QList>
#include <QStringList>
#include <functional>
#include <vector>

namespace halcyra {

class ClientDataSource;

// The client records of a data source as a table, one column per record column. Rows are read
// in small blocks when they are first shown and only a few blocks are kept, so a list of many
// thousands of clients costs little more than the record numbers the data source holds.
class ClientTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    explicit ClientTableModel(ClientDataSource& source, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Hands the edit to `editHandler`; nothing is changed here.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Decides about an edit of a cell (row, column, the new text or yes/no value) and stores it;
    // false leaves the cell as it was.
    std::function<bool(int row, int column, const QVariant& value)> editHandler;

    // The column headings the adviser reads (the main window's labels); without them, or for a
    // column they do not cover, the column's name. Sorting and filters keep using the names.
    void setHeadings(const QStringList& headings) { m_headings = headings; }

    // The data source was re-read or changed: forget every row read so far (the views are reset
    // only when the number of rows changed).
    void reload();
    // One record was stored: read its row again.
    void rowChanged(int row);

    static constexpr int kBlockRows = 128;
    static constexpr int kBlocksKept = 16;

signals:
    void readFailed(const QString& reason) const;

private:
    const ClientRecord* recordAt(int row) const;

    ClientDataSource& m_source;
    QStringList m_headings;
    int m_rows = 0; // as the views were last told
    mutable QHash<int, std::vector<ClientRecord>> m_blocks;
    mutable QList<int> m_recentBlocks; // most recently used last
};

} // namespace halcyra
