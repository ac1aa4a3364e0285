#include "ObjectContext.h"

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
          m_index(context->sessionCount())
    {
    }

    const RunSession *session() const { return m_session; }

    void redo() override { m_context->attach(std::move(m_owned), m_index); }
    void undo() override { m_owned = m_context->detach(m_session); }

private:
    ObjectContext *m_context;
    const RunSession *m_session;
    std::unique_ptr<RunSession> m_owned;
    int m_index;
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
            m_entries.push_back({context->indexOf(session), session, nullptr});
        std::sort(m_entries.begin(), m_entries.end(),
                  [](const Entry &a, const Entry &b) { return a.index < b.index; });
        setText(m_entries.size() == 1 ? ObjectContext::tr("Delete Session")
                                      : ObjectContext::tr("Delete Sessions"));
    }

    // From the highest index down, so that the lower indices stay valid.
    void redo() override
    {
        for (auto entry = m_entries.rbegin(); entry != m_entries.rend(); ++entry)
            entry->owned = m_context->detach(entry->session);
    }

    void undo() override
    {
        for (Entry &entry : m_entries)
            m_context->attach(std::move(entry.owned), entry.index);
    }

private:
    struct Entry
    {
        int index;
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
    for (RunSession &session : sessions)
        attach(std::make_unique<RunSession>(std::move(session)), sessionCount());
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
    return indexOf(session) >= 0;
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
    const SaveResult result = m_saveHandler ? m_saveHandler(*this) : SaveResult::success();
    if (result.ok) {
        m_changesOutsideUndo = 0;
        m_undoStack.setClean();
        updateHasChanges();
    }
    return result;
}

RunSession *ObjectContext::mutableSession(const RunSession *session) const
{
    const int index = indexOf(session);
    return index < 0 ? nullptr : m_sessions[index].get();
}

int ObjectContext::indexOf(const RunSession *session) const
{
    const auto found = std::find_if(m_sessions.begin(), m_sessions.end(),
                                    [session](const auto &owned) { return owned.get() == session; });
    return found == m_sessions.end() ? -1 : int(found - m_sessions.begin());
}

void ObjectContext::attach(std::unique_ptr<RunSession> session, int index)
{
    const RunSession *attached = session.get();
    index = std::clamp(index, 0, sessionCount());
    m_sessions.insert(m_sessions.begin() + index, std::move(session));
    emit sessionInserted(attached);
}

std::unique_ptr<RunSession> ObjectContext::detach(const RunSession *session)
{
    const int index = indexOf(session);
    Q_ASSERT(index >= 0);
    std::unique_ptr<RunSession> detached = std::move(m_sessions[index]);
    m_sessions.erase(m_sessions.begin() + index);
    emit sessionRemoved(detached.get());
    return detached;
}

void ObjectContext::storePrimitive(const RunSession *session, const QString &key, const QVariant &value)
{
    RunSession *target = mutableSession(session);
    Q_ASSERT(target);
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
