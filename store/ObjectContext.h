#pragma once

#include "RunSession.h"
#include "SortOrder.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <QVariant>
#include <QVariantMap>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// The outcome of a save: ok, or a message naming the operation and its target
// ("cannot save sessions to <path>: <reason>").
struct SaveResult
{
    bool ok = true;
    QString errorMessage;

    static SaveResult success() { return {}; }
    static SaveResult failure(const QString &message) { return {false, message}; }
};

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
    // Ends pending edits; there are none to end in this context.
    bool commitEditing() { return true; }

    // The store's metadata ("VXDataVersion", ...). Setting it is not a change
    // of its own: it is written with the next save.
    QVariantMap metadata() const { return m_metadata; }
    void setMetadata(const QVariantMap &metadata) { m_metadata = metadata; }

    // The store file installs its writer here. Without a handler the context is
    // in memory and a save always succeeds. A successful save clears hasChanges().
    // Save outside an undo group: QUndoStack cannot mark a clean state inside one.
    void setSaveHandler(SaveHandler handler) { m_saveHandler = std::move(handler); }
    SaveResult save();

signals:
    void sessionInserted(const RunSession *session);
    // The session is still alive (held by the undo stack) while this is emitted.
    void sessionRemoved(const RunSession *session);
    void sessionChanged(const RunSession *session, const QString &key);
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
    void attach(std::unique_ptr<RunSession> session, int index);
    std::unique_ptr<RunSession> detach(const RunSession *session);
    void storePrimitive(const RunSession *session, const QString &key, const QVariant &value);
    std::optional<ValueChange> changeFor(const RunSession *session, const QString &key, const QVariant &value) const;
    void pushChanges(const QString &key, std::vector<ValueChange> changes, const QString &text);
    void updateHasChanges();

    std::vector<std::unique_ptr<RunSession>> m_sessions;
    QVariantMap m_metadata;
    SaveHandler m_saveHandler;
    int m_changesOutsideUndo = 0;
    bool m_lastHasChanges = false;
    QUndoStack m_undoStack;
};
