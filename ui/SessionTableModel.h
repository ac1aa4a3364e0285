#pragma once

#include "VXUnits.h"

#include <QAbstractTableModel>
#include <QString>

class ObjectContext;
class RunSession;
class SessionListController;

// The session list as a table: one row per arranged session of the shared
// SessionListController, in its order; sorting goes through the controller's
// sort orders. Reads the sessions on every call and keeps no copies.
// Hidden sessions are drawn in their grey hiddenColor; a session from a noisy
// transfer has a warning icon beside its date and says so in its tooltips.
// GUI thread.
class SessionTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { DateColumn, NameColumn, ModelColumn, TotalTimeColumn, DistanceColumn, AverageHRColumn,
                  CaloriesColumn, ColumnCount };

    SessionTableModel(ObjectContext &context, SessionListController &sessions, QObject *parent = nullptr);

    // The session key a column shows and sorts by.
    static QString sortKey(int column);
    // The column of a sort key, or -1.
    static int columnOfSortKey(const QString &key);

    // The tooltip's note on a session from a noisy transfer.
    static QString noisyTransferNote();

    const RunSession *sessionAt(int row) const;
    int rowOf(const RunSession *session) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QString displayText(const RunSession &session, int column) const;
    void sessionChanged(const RunSession *session);

    SessionListController &m_sessions;
    VXUnits m_units;
};
