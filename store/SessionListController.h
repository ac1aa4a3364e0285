#pragma once

#include "SortOrder.h"

#include <QList>
#include <QObject>

class ObjectContext;
class RunSession;

// The session list: every session of the context in a sort order (the arranged
// sessions) and the current selection, which is the current session of every
// view and export. One instance is shared by the decoder, the exporter and the
// views; it follows the context's insertions, removals and changes of its sort
// keys. The default order is sessionDate ascending, the order of a training log
// (oldest first, newest at the end; sessions of equal date in the
// context's order).
// The selection is kept by session, not by row, across rearrangements; when the
// selected sessions are removed the session that moved into the first removed
// row is selected (the last one when the removed rows were at the end), so a
// list with sessions keeps a selection after a delete. Nothing else changes the
// selection by itself: a new session is selected only when asked to.
// Lives in the GUI thread.
class SessionListController : public QObject
{
    Q_OBJECT

public:
    explicit SessionListController(ObjectContext &context, QObject *parent = nullptr);

    const QList<const RunSession *> &arrangedSessions() const { return m_arranged; }

    QList<SortOrder> sortOrders() const { return m_sortOrders; }
    void setSortOrders(const QList<SortOrder> &sortOrders);

    // The selected sessions in arranged order (the export uses the last one).
    QList<const RunSession *> selectedSessions() const;
    // Ascending indexes into arrangedSessions().
    QList<int> selectionIndexes() const;
    // The first selected index, or -1 without a selection.
    int selectionIndex() const;

    // Replace the selection. Indexes outside the arranged sessions are left
    // out; the answer is false when one was. -1 (or an empty list) clears.
    bool setSelectionIndexes(const QList<int> &indexes);
    bool setSelectionIndex(int index);
    // Selects exactly this session; false (selection unchanged) when it is not
    // among the arranged sessions.
    bool selectSession(const RunSession *session);
    void clearSelection();

signals:
    void arrangementChanged();
    void selectionChanged();

private:
    void sessionInserted(const RunSession *session);
    void sessionRemoved(const RunSession *session);
    void sessionChanged(const RunSession *session, const QString &key);
    void rearrange();
    bool arrangedBefore(const RunSession *a, const RunSession *b) const;
    void replaceSelection(QList<const RunSession *> selection);

    ObjectContext &m_context;
    QList<SortOrder> m_sortOrders;
    QList<const RunSession *> m_arranged;
    // Kept in arranged order.
    QList<const RunSession *> m_selected;
};
