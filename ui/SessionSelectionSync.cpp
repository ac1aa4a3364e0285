#include "SessionSelectionSync.h"

#include "SessionListController.h"
#include "SessionTableModel.h"

#include <QItemSelectionModel>

SessionSelectionSync::SessionSelectionSync(SessionTableModel &model, QItemSelectionModel &selection,
                                           SessionListController &sessions, QObject *parent)
    : QObject(parent), m_model(model), m_selection(selection), m_sessions(sessions)
{
    connect(&m_selection, &QItemSelectionModel::selectionChanged, this, &SessionSelectionSync::tableSelectionChanged);
    connect(&m_sessions, &SessionListController::selectionChanged, this, &SessionSelectionSync::showControllerSelection);
    // A reset clears the table's selection without a signal.
    connect(&m_model, &QAbstractItemModel::modelReset, this, &SessionSelectionSync::showControllerSelection);
    showControllerSelection();
}

void SessionSelectionSync::showControllerSelection()
{
    if (m_applying)
        return;
    m_applying = true;
    QItemSelection rows;
    const int lastColumn = m_model.columnCount() - 1;
    const QList<int> indexes = m_sessions.selectionIndexes();
    for (int row : indexes)
        rows.select(m_model.index(row, 0), m_model.index(row, lastColumn));
    m_selection.select(rows, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!indexes.isEmpty())
        m_selection.setCurrentIndex(m_model.index(indexes.last(), 0), QItemSelectionModel::NoUpdate);
    m_applying = false;
}

void SessionSelectionSync::tableSelectionChanged()
{
    if (m_applying)
        return;
    m_applying = true;
    QList<int> rows;
    for (const QModelIndex &index : m_selection.selectedRows())
        rows.append(index.row());
    m_sessions.setSelectionIndexes(rows);
    m_applying = false;
}
