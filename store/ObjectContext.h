#pragma once

#include "RunSession.h"
#include "SaveResult.h"
#include "SortOrder.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <QVariant>
#include <QVariantMap>

#include <QSet>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>


// The one object context of a run: holds every stored session, hands them out
// as const pointers, and makes every change through itself so that it can be
// undone (undoStack()) and is announced (the signals below).
//
// Identity: a session keeps its address for as long as it exists. A deleted
// session lives on inside its undo command, so undo re-inserts the very same
// object; pointers become invalid only when that command is discarded.
//
// Changes: every method that changes a session pushes one QUndoCommand with a
// translated text, except setPrimitiveValue() (no undo, no signal, but counted
// by hasChanges()) and loadSessions() (neither undoable nor a change).
// Lives in the GUI thread.
class ObjectContext : public QObject
{
    Q_OBJECT

public:
    using SessionFilter = std::function<bool(const RunSession &)>;
    using SaveHandler = std::function<SaveResult(const ObjectContext &)>;
    // A save that may bring in what other writers stored meanwhile (applyExternalChanges).
    using Synchronizer = std::function<SaveResult(ObjectContext &)>;

    explicit ObjectContext(QObject *parent = nullptr);
    ~ObjectContext() override;

    // --- Inserting and deleting ------------------------------------------

    // Takes a session filled by a layout, with its laps and zones, as one undo
    // step ("Insert Session"). Wrap several inserts of one transfer in
    // beginUndoGroup()/endUndoGroup() to undo them together.
    const RunSession *insertSession(RunSession &&session);
    // Deletes the sessions with their laps and zones as one undo step
    // ("Delete Session"/"Delete Sessions"); sessions not in the context are
    // ignored, and an empty list pushes nothing.
    void deleteSessions(const QList<const RunSession *> &sessions);
    void deleteSession(const RunSession *session);
    // For the store-file loader: appends sessions as stored, without undo
    // entries and without counting as changes. sessionInserted is emitted for each.
    void loadSessions(std::vector<RunSession> &&sessions);

    // --- Reading -----------------------------------------------------------

    // Every session, in the order of insertion (undo restores the old place).
    QList<const RunSession *> sessions() const;
    int sessionCount() const { return int(m_sessions.size()); }
    bool contains(const RunSession *session) const;
    // The session's position in sessions(), or -1.
    int indexOf(const RunSession *session) const;
    // Whether a stands before b in sessions() (one not in the context first),
    // without searching the list.
    bool comesBefore(const RunSession *a, const RunSession *b) const;
    // The sessions that pass filter (all without one), sorted by sortOrders
    // (insertion order for equal keys and without orders).
    QList<const RunSession *> fetchSessions(const SessionFilter &filter = {},
                                            const QList<SortOrder> &sortOrders = {}) const;

    // --- Changing a session ------------------------------------------------

    // Sets a stored key by name through the derived accessor where there is one
    // (sessionTotalDistance takes thousandths of the user's unit). One undo step;
    // announces key and the derived keys that depend on it. An equal value
    // changes nothing. False for a session not in the context, an unknown or
    // read-only key, or a value that does not convert to the key's type.
    bool setValue(const RunSession *session, const QString &key, const QVariant &value);
    // Stores the value as given: no accessor, no undo entry, no signal. It still
    // makes hasChanges() true until the next save.
    bool setPrimitiveValue(const RunSession *session, const QString &key, const QVariant &value);

    // Typed changes the views use; each is one undo step.
    void setHidden(const RunSession *session, bool hidden);
    // Changes only the sessions not yet in the wanted state, as one step.
    void setHidden(const QList<const RunSession *> &sessions, bool hidden);
    void setComment(const RunSession *session, const std::optional<QString> &comment);
    void setSessionName(const RunSession *session, const std::optional<QString> &name);
    void setSessionTotalDistance(const RunSession *session, std::optional<int> distance);

    // Groups the changes in between into one undo step with text; nestable.
    void beginUndoGroup(const QString &text);
    void endUndoGroup();

    QUndoStack *undoStack() { return &m_undoStack; }

    // --- Saving ------------------------------------------------------------

    // True after a change since the last successful save (or load); undoing
    // back to the saved state clears it unless primitive values were set.
    bool hasChanges() const;

    // The store's metadata ("VXDataVersion", ...). Setting it is not a change
    // of its own: it is written with the next save.
    QVariantMap metadata() const { return m_metadata; }
    void setMetadata(const QVariantMap &metadata) { m_metadata = metadata; }

    // The store file installs its writer here. Without a handler the context is
    // in memory and a save always succeeds. A successful save clears hasChanges().
    // Save outside an undo group: QUndoStack cannot mark a clean state inside one.
    void setSaveHandler(SaveHandler handler) { m_saveHandler = std::move(handler); }
    // Takes the place of the save handler when set.
    void setSynchronizer(Synchronizer synchronizer) { m_synchronizer = std::move(synchronizer); }
    SaveResult save();

    // --- Sharing the database with other writers ----------------------------
    //
    // The context keeps a journal of its own changes since it last matched the
    // file (load or save): which sessions it inserted, which of the file's it
    // deleted, and which keys it changed. A save that finds the file changed
    // by another writer replays the journal on the file's version.

    // The session's identity when the context last matched the file, or none
    // for a session this context inserted since.
    std::optional<RunSession::Identity> syncedIdentity(const RunSession *session) const;
    // The stored keys changed (by undoable changes, undo, or setPrimitiveValue) since then.
    QSet<QString> editedKeys(const RunSession *session) const;
    // The identities of the file's sessions this context has deleted since then.
    QList<RunSession::Identity> deletedSyncedIdentities() const;
    // The context now matches the file: the journal starts again.
    void markSynchronized();

    // What another writer did to the file. Applied without undo entries and
    // without counting as changes; the undo history of this context's own
    // actions stays valid (a session removed elsewhere stays alive, and undoing
    // a change to it does nothing).
    struct ExternalChanges
    {
        std::vector<RunSession> added;
        // A session of this context and its values in the file now.
        std::vector<std::pair<const RunSession *, RunSession>> updated;
        QList<const RunSession *> removed;
    };
    void applyExternalChanges(ExternalChanges &&changes);

signals:
    void sessionInserted(const RunSession *session);
    // The session is still alive (held by the undo stack) while this is emitted.
    void sessionRemoved(const RunSession *session);
    void sessionChanged(const RunSession *session, const QString &key);
    // After applyExternalChanges(): sessions other writers stored are in the context.
    void externalChangesApplied(int added, int updated, int removed);
    void hasChangesChanged(bool hasChanges);

private:
    class InsertCommand;
    class DeleteCommand;
    class SetValueCommand;

    struct ValueChange
    {
        const RunSession *session;
        QVariant oldValue;
        QVariant newValue;
    };

    RunSession *mutableSession(const RunSession *session) const;
    quint64 takeOrder() { return m_nextOrder++; }
    void attach(std::unique_ptr<RunSession> session, quint64 order);
    std::unique_ptr<RunSession> detach(const RunSession *session);
    quint64 orderOf(const RunSession *session) const;
    // A command frees a session it owned: the journal keeps only its identity.
    void forget(const RunSession *session);
    void noteEdited(const RunSession *session, const QString &key);
    void storePrimitive(const RunSession *session, const QString &key, const QVariant &value);
    std::optional<ValueChange> changeFor(const RunSession *session, const QString &key, const QVariant &value) const;
    void pushChanges(const QString &key, std::vector<ValueChange> changes, const QString &text);
    void updateHasChanges();

    // Sorted by their order numbers (m_orders, same positions): insertion
    // order, and undo puts a session back under its old number.
    std::vector<std::unique_ptr<RunSession>> m_sessions;
    std::vector<quint64> m_orders;
    std::unordered_map<const RunSession *, quint64> m_orderOf;
    quint64 m_nextOrder = 0;
    // The journal (see syncedIdentity()).
    std::unordered_map<const RunSession *, RunSession::Identity> m_syncedIdentity;
    std::unordered_map<const RunSession *, QSet<QString>> m_editedKeys;
    QList<RunSession::Identity> m_forgottenIdentities;
    // Sessions another writer removed, kept alive for the undo commands that point at them.
    std::vector<std::unique_ptr<RunSession>> m_removedElsewhere;
    QVariantMap m_metadata;
    SaveHandler m_saveHandler;
    Synchronizer m_synchronizer;
    int m_changesOutsideUndo = 0;
    bool m_lastHasChanges = false;
    QUndoStack m_undoStack;
};
