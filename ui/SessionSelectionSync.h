#pragma once

#include <QObject>

class QItemSelectionModel;
class SessionListController;
class SessionTableModel;

// Keeps the session table's selection and the SessionListController's
// selection one and the same: a click in the table selects in the controller,
// and a selection made elsewhere (a decode, a delete, the calendar) shows in
// the table, also after the rows were rearranged. GUI thread.
class SessionSelectionSync : public QObject
{
    Q_OBJECT

public:
    SessionSelectionSync(SessionTableModel &model, QItemSelectionModel &selection, SessionListController &sessions,
                         QObject *parent = nullptr);

    // Makes the table show the controller's selection.
    void showControllerSelection();

private:
    void tableSelectionChanged();

    SessionTableModel &m_model;
    QItemSelectionModel &m_selection;
    SessionListController &m_sessions;
    // Set while one side is being updated from the other.
    bool m_applying = false;
};
