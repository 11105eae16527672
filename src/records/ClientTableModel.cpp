#include "records/ClientTableModel.h"

#include "records/ClientDataSource.h"

namespace halcyra {
namespace {

bool isYesNo(int column)
{
    return column >= columns::yesNo(0);
}

} // namespace

ClientTableModel::ClientTableModel(ClientDataSource& source, QObject* parent)
    : QAbstractTableModel(parent), m_source(source), m_rows(source.recordCount())
{}

int ClientTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int ClientTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns::kCount;
}

const ClientRecord* ClientTableModel::recordAt(int row) const
{
    if (row < 0 || row >= m_rows || row >= m_source.recordCount())
        return nullptr;
    const int block = row / kBlockRows;
    auto it = m_blocks.find(block);
    if (it == m_blocks.end()) {
        auto records = m_source.recordsAt(block * kBlockRows, kBlockRows);
        if (!records) {
            emit readFailed(records.error());
            return nullptr;
        }
        if (m_blocks.size() >= kBlocksKept)
            m_blocks.remove(m_recentBlocks.takeFirst());
        it = m_blocks.insert(block, *records);
    } else {
        m_recentBlocks.removeOne(block);
    }
    m_recentBlocks.append(block);
    const auto at = static_cast<size_t>(row % kBlockRows);
    return at < it->size() ? &(*it)[at] : nullptr;
}

QVariant ClientTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int column = index.column();
    if (role == Qt::CheckStateRole && isYesNo(column)) {
        const ClientRecord* record = recordAt(index.row());
        return record ? QVariant(record->values[static_cast<size_t>(column)].toInt() != 0
                                     ? Qt::Checked
                                     : Qt::Unchecked)
                      : QVariant();
    }
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && !isYesNo(column)) {
        const ClientRecord* record = recordAt(index.row());
        // One line in the grid; the whole text shows when the cell is edited.
        if (!record)
            return {};
        const QString text = record->text(column);
        return role == Qt::DisplayRole ? QString(text).replace(u'\n', u' ') : text;
    }
    return {};
}

QVariant ClientTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section < m_headings.size() ? m_headings.at(section) : columns::name(section);
    return section + 1;
}

Qt::ItemFlags ClientTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (!index.isValid() || index.column() == columns::kCustomerId)
        return flags;
    return flags | (isYesNo(index.column()) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

bool ClientTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || !editHandler)
        return false;
    const bool yesNo = isYesNo(index.column());
    if ((yesNo && role != Qt::CheckStateRole) || (!yesNo && role != Qt::EditRole))
        return false;
    const QVariant given =
        yesNo ? QVariant(value.toInt() == Qt::Checked ? 1 : 0) : QVariant(value.toString());
    return editHandler(index.row(), index.column(), given);
}

void ClientTableModel::reload()
{
    if (m_rows != m_source.recordCount()) {
        beginResetModel();
        m_blocks.clear();
        m_recentBlocks.clear();
        m_rows = m_source.recordCount();
        endResetModel();
        return;
    }
    m_blocks.clear();
    m_recentBlocks.clear();
    if (m_rows > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, columnCount() - 1));
}

void ClientTableModel::rowChanged(int row)
{
    const int block = row / kBlockRows;
    m_blocks.remove(block);
    m_recentBlocks.removeOne(block);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

} // namespace halcyra
