#pragma once

#include "DataRowBuilder.h"

#include <QAbstractTableModel>
#include <QList>

// Serves the detail table's rows to its QTableView: column 0 ("Data") holds
// the label, column 1 the value. Holds the texts of the rows, never sessions.
// Lives in the GUI thread.
class DataTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { LabelColumn, ValueColumn, ColumnCount };
    // True for a value whose last character (a tenths digit) is drawn small.
    static constexpr int SmallLastCharacterRole = Qt::UserRole + 1;

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(QList<DataRow> rows);
    const QList<DataRow> &rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<DataRow> m_rows;
};
