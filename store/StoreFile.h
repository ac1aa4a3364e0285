#pragma once

#include "AtomicFile.h"
#include "SaveResult.h"
#include "StoreContents.h"
#include "StoreLock.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <memory>

class ObjectContext;
class RunSession;

// The session database at one path: reads it, and writes it back atomically
// under the store lock (StoreLock). A database that could not be read is
// never written over: a context opened on it refuses every save with a
// message instead.
//
// Several writers share the file: a context attached here saves by taking the
// lock, reading the file again when another writer replaced it since this
// context last matched it (the file's identity, size and times tell), and
// replaying its own changes on that version (StoreMerge). Copies of a
// StoreFile share that state. Lives in the GUI thread.
class StoreFile
{
public:
    explicit StoreFile(QString path, std::shared_ptr<const AtomicFile> files = std::make_shared<AtomicFile>());

    const QString &path() const { return m_path; }
    const AtomicFile &files() const { return *m_files; }

    // A missing file is a new, empty store; an empty, truncated, malformed,
    // oversized file or one of a newer format is an error, and stays as it is.
    StoreLoadResult load() const;

    // Writes exactly these sessions, without lock or merge.
    // "cannot save sessions to <path>: <reason>" on failure, the old file intact.
    SaveResult save(const QList<const RunSession *> &sessions, const QVariantMap &metadata) const;
    SaveResult save(const ObjectContext &context) const;

    // Opens the database into context the way the application opens its own:
    // loads it (context should be empty) and makes the context's saves
    // synchronize() here. When the file cannot be read the result carries the
    // message, the context stays empty and all its saves fail.
    SaveResult openInto(ObjectContext &context) const;

    // For a loaded database: hands contents to context and saves back here.
    void attach(ObjectContext &context, StoreContents &&contents) const;
    // For a database that could not be read: every save fails naming reason.
    void refuseSaves(ObjectContext &context, const QString &reason) const;

    // Under the lock: when the file changed since context last matched it,
    // reads it and brings the other writers' changes into context; with
    // write, then writes the context's sessions (merged) back.
    SaveResult synchronize(ObjectContext &context, bool write) const;
    // True when the file is no longer the one context last read or wrote.
    bool changedOnDisk() const;

    // A lock this process already holds for the whole run (ventrix-decode):
    // saves use it instead of taking one each.
    void holdLock(std::shared_ptr<StoreLock> lock) const;
    void setLockWait(int milliseconds) const;

private:
    struct DiskState;
    struct Shared;

    StoreLoadResult loadRecording(DiskState *state) const;
    SaveResult write(const QList<const RunSession *> &sessions, const QVariantMap &metadata) const;

    QString m_path;
    std::shared_ptr<const AtomicFile> m_files;
    std::shared_ptr<Shared> m_shared;
};
