#include "SessionListController.h"

#include "ObjectContext.h"

#include <algorithm>

namespace {

// QList's own == hands a null pointer to memcmp when one of two empty lists
// has storage and the other has none, which UBSan rightly reports.
template <typename T>
bool sameElements(const QList<T> &a, const QList<T> &b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

} // namespace

SessionListController::SessionListController(ObjectContext &context, QObject *parent)
    : QObject(parent), m_context(context), m_sortOrders{{QStringLiteral("sessionDate"), true}}
{
    connect(&m_context, &ObjectContext::sessionInserted, this, &SessionListController::sessionInserted);
    connect(&m_context, &ObjectContext::sessionRemoved, this, &SessionListController::sessionRemoved);
    connect(&m_context, &ObjectContext::sessionChanged, this, &SessionListController::sessionChanged);
    m_arranged = m_context.fetchSessions({}, m_sortOrders);
}

void SessionListController::setSortOrders(const QList<SortOrder> &sortOrders)
{
    if (sortOrders == m_sortOrders)
        return;
    m_sortOrders = sortOrders;
    rearrange();
}

QList<const RunSession *> SessionListController::selectedSessions() const
{
    return m_selected;
}

QList<int> SessionListController::selectionIndexes() const
{
    QList<int> indexes;
    for (const RunSession *session : m_selected)
        indexes.append(int(m_arranged.indexOf(session)));
    return indexes;
}

int SessionListController::selectionIndex() const
{
    return m_selected.isEmpty() ? -1 : int(m_arranged.indexOf(m_selected.first()));
}

bool SessionListController::setSelectionIndexes(const QList<int> &indexes)
{
    QList<int> sorted = indexes;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    bool allValid = true;
    QList<const RunSession *> selection;
    for (int index : sorted) {
        if (index >= 0 && index < m_arranged.size())
            selection.append(m_arranged[index]);
        else if (index != -1 || sorted.size() > 1)
            allValid = false;
    }
    replaceSelection(selection);
    return allValid;
}

bool SessionListController::setSelectionIndex(int index)
{
    return setSelectionIndexes({index});
}

bool SessionListController::selectSession(const RunSession *session)
{
    if (!m_arranged.contains(session))
        return false;
    replaceSelection({session});
    return true;
}

void SessionListController::clearSelection()
{
    replaceSelection({});
}

void SessionListController::sessionInserted(const RunSession *session)
{
    const QList<int> oldIndexes = selectionIndexes();
    // A store is loaded in its own order, often already arranged (sessions of
    // one date above all): appending then keeps loading linear.
    if (m_arranged.isEmpty() || !arrangedBefore(session, m_arranged.last())) {
        m_arranged.append(session);
    } else {
        const auto position = std::upper_bound(m_arranged.begin(), m_arranged.end(), session,
                                               [this](const RunSession *a, const RunSession *b) {
                                                   return arrangedBefore(a, b);
                                               });
        m_arranged.insert(position, session);
    }
    emit arrangementChanged();
    if (!sameElements(selectionIndexes(), oldIndexes))
        emit selectionChanged();
}

void SessionListController::sessionRemoved(const RunSession *session)
{
    const qsizetype row = m_arranged.indexOf(session);
    if (row < 0)
        return;
    m_arranged.removeAt(row);
    const bool wasSelected = m_selected.removeOne(session);
    // Like a list that avoids an empty selection: the neighbour takes its place.
    if (wasSelected && m_selected.isEmpty() && !m_arranged.isEmpty())
        m_selected.append(m_arranged[std::min(row, m_arranged.size() - 1)]);
    emit arrangementChanged();
    if (!m_selected.isEmpty() || wasSelected)
        emit selectionChanged();
}

void SessionListController::sessionChanged(const RunSession *, const QString &key)
{
    const bool isSortKey = std::any_of(m_sortOrders.begin(), m_sortOrders.end(),
                                       [&key](const SortOrder &order) { return order.key == key; });
    if (isSortKey)
        rearrange();
}

void SessionListController::rearrange()
{
    const QList<int> oldIndexes = selectionIndexes();
    std::sort(m_arranged.begin(), m_arranged.end(), [this](const RunSession *a, const RunSession *b) {
        return arrangedBefore(a, b);
    });
    std::stable_sort(m_selected.begin(), m_selected.end(), [this](const RunSession *a, const RunSession *b) {
        return m_arranged.indexOf(a) < m_arranged.indexOf(b);
    });
    emit arrangementChanged();
    if (!sameElements(selectionIndexes(), oldIndexes))
        emit selectionChanged();
}

// Sessions equal under the sort orders keep the context's order, so a session
// whose deletion is undone returns to its old row.
bool SessionListController::arrangedBefore(const RunSession *a, const RunSession *b) const
{
    if (sessionLessThan(*a, *b, m_sortOrders))
        return true;
    if (sessionLessThan(*b, *a, m_sortOrders))
        return false;
    return m_context.comesBefore(a, b);
}

void SessionListController::replaceSelection(QList<const RunSession *> selection)
{
    if (sameElements(selection, m_selected))
        return;
    m_selected = std::move(selection);
    emit selectionChanged();
}
