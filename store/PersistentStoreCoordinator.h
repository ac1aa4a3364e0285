#pragma once

#include "ManagedObjectModel.h"
#include "StoreFile.h"

#include <optional>

// Connects the one object context to the database file: addStore() reads the
// file, attachContext() hands its sessions to the context and makes the
// context save back to it. Holds at most one store; without one (the file
// could not be read) an attached context refuses to save, so the unreadable
// file is never replaced. Lives in the GUI thread.
class PersistentStoreCoordinator
{
public:
    explicit PersistentStoreCoordinator(const ManagedObjectModel &model,
                                        std::shared_ptr<const AtomicFile> files = {});

    const ManagedObjectModel &managedObjectModel() const { return m_model; }

    // Reads the XML store at path (a missing file is a new, empty store).
    // On failure the result carries the message and no store is added.
    SaveResult addStore(const QString &path);
    int storeCount() const { return m_hasStore ? 1 : 0; }
    // The path of the added store, or of the one that failed to open.
    QString storePath() const { return m_file ? m_file->path() : QString(); }
    // The added store, or nothing when none could be opened.
    const StoreFile *storeFile() const { return m_hasStore ? &*m_file : nullptr; }

    // Moves the loaded sessions and metadata into context and installs its save
    // handler. Call once, with the context that will own the sessions.
    void attachContext(ObjectContext &context);

private:
    ManagedObjectModel m_model;
    std::shared_ptr<const AtomicFile> m_files;
    std::optional<StoreFile> m_file;
    bool m_hasStore = false;
    QString m_openError;
    StoreContents m_pending;
};
