#include "ObjectContext.h"

#include "StoreValueText.h"

#include <QUndoCommand>

#include <algorithm>

namespace {

const QString kHidden = QStringLiteral("hidden");
const QString kComment = QStringLiteral("comment");
const QString kSessionName = QStringLiteral("sessionName");
const QString kSessionTotalDistance = QStringLiteral("sessionTotalDistance");

QVariant optionalToVariant(const std::optional<QString> &text)
{
    return text ? QVariant(*text) : QVariant();
}

} // namespace

// Owns the new session while it is undone; the context owns it otherwise.
class ObjectContext::InsertCommand : public QUndoCommand
{
public:
    InsertCommand(ObjectContext *context, std::unique_ptr<RunSession> session)
        : QUndoCommand(ObjectContext::tr("Insert Session")),
          m_context(context), m_session(session.get()), m_owned(std::move(session)),
          m_order(context->takeOrder())
    {
    }

    ~InsertCommand() override
    {
        if (m_owned)
            m_context->forget(m_session);
    }

    const RunSession *session() const { return m_session; }

    // A session another writer removed meanwhile is not there to detach.
    void redo() override
    {
        if (m_owned)
            m_context->attach(std::move(m_owned), m_order);
    }
    void undo() override { m_owned = m_context->detach(m_session); }

private:
    ObjectContext *m_context;
    const RunSession *m_session;
    std::unique_ptr<RunSession> m_owned;
    quint64 m_order;
};

// Owns the deleted sessions (laps and zones inside them) while it is done, so
// undo puts the same objects back at their old places.
class ObjectContext::DeleteCommand : public QUndoCommand
{
public:
    DeleteCommand(ObjectContext *context, const QList<const RunSession *> &sessions)
        : m_context(context)
    {
        for (const RunSession *session : sessions)
            m_entries.push_back({context->orderOf(session), session, nullptr});
        std::sort(m_entries.begin(), m_entries.end(),
                  [](const Entry &a, const Entry &b) { return a.order < b.order; });
        setText(m_entries.size() == 1 ? ObjectContext::tr("Delete Session")
                                      : ObjectContext::tr("Delete Sessions"));
    }

    ~DeleteCommand() override
    {
        for (const Entry &entry : m_entries)
            if (entry.owned)
                m_context->forget(entry.session);
    }

    void redo() override
    {
        for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry)
            entry->owned = m_context->detach(entry->session);
    }

    void undo() override
    {
        for (Entry &entry : m_entries)
            if (entry.owned)
                m_context->attach(std::move(entry.owned), entry.order);
    }

private:
    struct Entry
    {
        quint64 order;
        const RunSession *session;
        std::unique_ptr<RunSession> owned;
    };

    ObjectContext *m_context;
    std::vector<Entry> m_entries;
};

// Holds the stored (primitive) values before and after, so that undo restores
// exactly what was stored, whatever accessor computed the new value.
class ObjectContext::SetValueCommand : public QUndoCommand
{
public:
    SetValueCommand(ObjectContext *context, const QString &key, std::vector<ValueChange> changes,
                    const QString &text)
        : QUndoCommand(text), m_context(context), m_key(key), m_changes(std::move(changes))
    {
    }

    void redo() override
    {
        for (const ValueChange &change : m_changes)
            m_context->storePrimitive(change.session, m_key, change.newValue);
    }

    void undo() override
    {
        for (auto change = m_changes.rbegin(); change != m_changes.rend(); ++change)
            m_context->storePrimitive(change->session, m_key, change->oldValue);
    }

private:
    ObjectContext *m_context;
    QString m_key;
    std::vector<ValueChange> m_changes;
};

ObjectContext::ObjectContext(QObject *parent) : QObject(parent)
{
    connect(&m_undoStack, &QUndoStack::indexChanged, this, &ObjectContext::updateHasChanges);
    connect(&m_undoStack, &QUndoStack::cleanChanged, this, &ObjectContext::updateHasChanges);
}

// QUndoStack::clear() announces its new state; the context must not react to
// that while it is being destroyed. Discarded commands free the deleted sessions
// they own without touching the context.
ObjectContext::~ObjectContext()
{
    disconnect(&m_undoStack, nullptr, this, nullptr);
    m_undoStack.clear();
}

const RunSession *ObjectContext::insertSession(RunSession &&session)
{
    // A start in a daylight-saving gap is kept as the time the clock showed after the jump.
    for (std::optional<QDateTime> *date : {&session.sessionDate, &session.importDate, &session.userBirthday})
        if (*date)
            **date = StoreValueText::resolvedDate(**date);
    auto command = new InsertCommand(this, std::make_unique<RunSession>(std::move(session)));
    const RunSession *inserted = command->session();
    m_undoStack.push(command);
    return inserted;
}

void ObjectContext::deleteSessions(const QList<const RunSession *> &sessions)
{
    QList<const RunSession *> present;
    for (const RunSession *session : sessions) {
        if (contains(session) && !present.contains(session))
            present.append(session);
    }
    if (!present.isEmpty())
        m_undoStack.push(new DeleteCommand(this, present));
}

void ObjectContext::deleteSession(const RunSession *session)
{
    deleteSessions({session});
}

void ObjectContext::loadSessions(std::vector<RunSession> &&sessions)
{
    for (RunSession &session : sessions) {
        auto owned = std::make_unique<RunSession>(std::move(session));
        m_syncedIdentity[owned.get()] = owned->identity();
        attach(std::move(owned), takeOrder());
    }
    sessions.clear();
}

QList<const RunSession *> ObjectContext::sessions() const
{
    QList<const RunSession *> result;
    result.reserve(sessionCount());
    for (const auto &session : m_sessions)
        result.append(session.get());
    return result;
}

bool ObjectContext::contains(const RunSession *session) const
{
    return m_orderOf.count(session) > 0;
}

QList<const RunSession *> ObjectContext::fetchSessions(const SessionFilter &filter,
                                                       const QList<SortOrder> &sortOrders) const
{
    QList<const RunSession *> result;
    for (const auto &session : m_sessions) {
        if (!filter || filter(*session))
            result.append(session.get());
    }
    if (!sortOrders.isEmpty()) {
        std::stable_sort(result.begin(), result.end(), [&sortOrders](const RunSession *a, const RunSession *b) {
            return sessionLessThan(*a, *b, sortOrders);
        });
    }
    return result;
}

bool ObjectContext::setValue(const RunSession *session, const QString &key, const QVariant &value)
{
    const std::optional<ValueChange> change = changeFor(session, key, value);
    if (!change)
        return false;
    QString text = tr("Change Session");
    if (key == kHidden)
        text = change->newValue.toBool() ? tr("Hide Session") : tr("Unhide Session");
    else if (key == kComment)
        text = tr("Change Comment");
    else if (key == kSessionName)
        text = tr("Rename Session");
    else if (key == kSessionTotalDistance)
        text = tr("Change Distance");
    pushChanges(key, {*change}, text);
    return true;
}

bool ObjectContext::setPrimitiveValue(const RunSession *session, const QString &key, const QVariant &value)
{
    RunSession *target = mutableSession(session);
    if (!target)
        return false;
    const QVariant old = target->primitiveValue(key);
    if (!target->setPrimitiveValue(key, value))
        return false;
    if (target->primitiveValue(key) != old) {
        noteEdited(session, key);
        ++m_changesOutsideUndo;
        updateHasChanges();
    }
    return true;
}

void ObjectContext::setHidden(const RunSession *session, bool hidden)
{
    setHidden(QList<const RunSession *>{session}, hidden);
}

void ObjectContext::setHidden(const QList<const RunSession *> &sessions, bool hidden)
{
    std::vector<ValueChange> changes;
    for (const RunSession *session : sessions) {
        if (contains(session) && session->isHidden() != hidden)
            changes.push_back({session, session->primitiveValue(kHidden), hidden});
    }
    const bool several = changes.size() > 1;
    const QString text = hidden ? (several ? tr("Hide Sessions") : tr("Hide Session"))
                                : (several ? tr("Unhide Sessions") : tr("Unhide Session"));
    pushChanges(kHidden, std::move(changes), text);
}

void ObjectContext::setComment(const RunSession *session, const std::optional<QString> &comment)
{
    setValue(session, kComment, optionalToVariant(comment));
}

void ObjectContext::setSessionName(const RunSession *session, const std::optional<QString> &name)
{
    setValue(session, kSessionName, optionalToVariant(name));
}

void ObjectContext::setSessionTotalDistance(const RunSession *session, std::optional<int> distance)
{
    setValue(session, kSessionTotalDistance, distance ? QVariant(*distance) : QVariant());
}

void ObjectContext::beginUndoGroup(const QString &text)
{
    m_undoStack.beginMacro(text);
}

void ObjectContext::endUndoGroup()
{
    m_undoStack.endMacro();
}

bool ObjectContext::hasChanges() const
{
    return !m_undoStack.isClean() || m_changesOutsideUndo > 0;
}

SaveResult ObjectContext::save()
{
    const SaveResult result = m_synchronizer ? m_synchronizer(*this)
        : m_saveHandler                       ? m_saveHandler(*this)
                                              : SaveResult::success();
    if (result.ok) {
        m_changesOutsideUndo = 0;
        m_undoStack.setClean();
        markSynchronized();
        updateHasChanges();
    }
    return result;
}

std::optional<RunSession::Identity> ObjectContext::syncedIdentity(const RunSession *session) const
{
    const auto found = m_syncedIdentity.find(session);
    return found == m_syncedIdentity.end() ? std::nullopt : std::optional(found->second);
}

QSet<QString> ObjectContext::editedKeys(const RunSession *session) const
{
    const auto found = m_editedKeys.find(session);
    return found == m_editedKeys.end() ? QSet<QString>() : found->second;
}

QList<RunSession::Identity> ObjectContext::deletedSyncedIdentities() const
{
    QList<RunSession::Identity> deleted = m_forgottenIdentities;
    for (const auto &[session, identity] : m_syncedIdentity)
        if (!contains(session))
            deleted.append(identity);
    return deleted;
}

void ObjectContext::markSynchronized()
{
    m_syncedIdentity.clear();
    m_editedKeys.clear();
    m_forgottenIdentities.clear();
    for (const auto &session : m_sessions)
        m_syncedIdentity[session.get()] = session->identity();
}

void ObjectContext::applyExternalChanges(ExternalChanges &&changes)
{
    for (const RunSession *session : changes.removed) {
        if (!contains(session))
            continue;
        m_syncedIdentity.erase(session);
        m_editedKeys.erase(session);
        m_removedElsewhere.push_back(detach(session));
    }
    for (auto &[session, values] : changes.updated) {
        RunSession *target = mutableSession(session);
        if (!target)
            continue;
        QStringList changedKeys;
        for (const EntityKey<RunSession> &key : RunSession::keys())
            if (key.value(*target) != key.value(values))
                changedKeys.append(QString::fromLatin1(key.name));
        *target = std::move(values);
        m_syncedIdentity[session] = target->identity();
        for (const QString &key : changedKeys) {
            emit sessionChanged(session, key);
            for (const QString &dependent : RunSession::keysDependentOn(key))
                emit sessionChanged(session, dependent);
        }
    }
    const int added = int(changes.added.size());
    loadSessions(std::move(changes.added));
    emit externalChangesApplied(added, int(changes.updated.size()), int(changes.removed.size()));
}

RunSession *ObjectContext::mutableSession(const RunSession *session) const
{
    const int index = indexOf(session);
    return index < 0 ? nullptr : m_sessions[size_t(index)].get();
}

int ObjectContext::indexOf(const RunSession *session) const
{
    const auto found = m_orderOf.find(session);
    if (found == m_orderOf.end())
        return -1;
    return int(std::lower_bound(m_orders.begin(), m_orders.end(), found->second) - m_orders.begin());
}

bool ObjectContext::comesBefore(const RunSession *a, const RunSession *b) const
{
    const auto order = [this](const RunSession *session) {
        const auto found = m_orderOf.find(session);
        return found == m_orderOf.end() ? std::nullopt : std::optional(found->second);
    };
    return order(a) < order(b);
}

quint64 ObjectContext::orderOf(const RunSession *session) const
{
    return m_orderOf.at(session);
}

void ObjectContext::attach(std::unique_ptr<RunSession> session, quint64 order)
{
    const RunSession *attached = session.get();
    // Loading and inserting append; only undo puts a session back in the middle.
    const auto position = m_orders.empty() || order > m_orders.back()
        ? m_orders.end() : std::lower_bound(m_orders.begin(), m_orders.end(), order);
    const auto index = position - m_orders.begin();
    m_orders.insert(position, order);
    m_sessions.insert(m_sessions.begin() + index, std::move(session));
    m_orderOf[attached] = order;
    emit sessionInserted(attached);
}

// Nothing for a session that is not in the context (another writer removed it).
std::unique_ptr<RunSession> ObjectContext::detach(const RunSession *session)
{
    const int index = indexOf(session);
    if (index < 0)
        return nullptr;
    std::unique_ptr<RunSession> detached = std::move(m_sessions[size_t(index)]);
    m_sessions.erase(m_sessions.begin() + index);
    m_orders.erase(m_orders.begin() + index);
    m_orderOf.erase(session);
    emit sessionRemoved(detached.get());
    return detached;
}

void ObjectContext::forget(const RunSession *session)
{
    const auto found = m_syncedIdentity.find(session);
    if (found != m_syncedIdentity.end()) {
        m_forgottenIdentities.append(found->second);
        m_syncedIdentity.erase(found);
    }
    m_editedKeys.erase(session);
}

void ObjectContext::noteEdited(const RunSession *session, const QString &key)
{
    if (m_syncedIdentity.count(session))
        m_editedKeys[session].insert(key);
}

void ObjectContext::storePrimitive(const RunSession *session, const QString &key, const QVariant &value)
{
    RunSession *target = mutableSession(session);
    if (!target)
        return;
    noteEdited(session, key);
    target->setPrimitiveValue(key, value);
    emit sessionChanged(session, key);
    for (const QString &dependent : RunSession::keysDependentOn(key))
        emit sessionChanged(session, dependent);
}

// Runs the accessor on the session itself and puts the old value back, so the
// accessor's arithmetic lives in one place and the command only carries
// stored values. nullopt for an unknown key or an unconvertible value.
std::optional<ObjectContext::ValueChange> ObjectContext::changeFor(const RunSession *session, const QString &key,
                                                                 const QVariant &value) const
{
    RunSession *target = mutableSession(session);
    if (!target || !findKey(RunSession::keys(), key))
        return std::nullopt;
    const QVariant old = target->primitiveValue(key);
    if (!target->setValue(key, value))
        return std::nullopt;
    const QVariant stored = target->primitiveValue(key);
    target->setPrimitiveValue(key, old);
    return ValueChange{session, old, stored};
}

void ObjectContext::pushChanges(const QString &key, std::vector<ValueChange> changes, const QString &text)
{
    std::erase_if(changes, [](const ValueChange &change) { return change.oldValue == change.newValue; });
    if (!changes.empty())
        m_undoStack.push(new SetValueCommand(this, key, std::move(changes), text));
}

void ObjectContext::updateHasChanges()
{
    const bool changed = hasChanges();
    if (changed != m_lastHasChanges) {
        m_lastHasChanges = changed;
        emit hasChangesChanged(changed);
    }
}
