#include "DataTableModel.h"

void DataTableModel::setRows(QList<DataRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int DataTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DataTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DataTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const DataRow &row = m_rows[index.row()];
    const bool isLabel = index.column() == LabelColumn;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return isLabel ? row.label : row.value.text;
    case SmallLastCharacterRole:
        return !isLabel && row.value.smallLastCharacter;
    default:
        return {};
    }
}

QVariant DataTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    // The label column's identifier; the header itself is hidden in the view.
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section == LabelColumn)
        return QStringLiteral("Data");
    return {};
}
