#pragma once

#include "StoreFile.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

class ObjectContext;

// Notices when another writer (ventrix-decode, a second window) replaces the
// database and brings its changes into the context (StoreFile::synchronize
// without writing): sessions added elsewhere appear, the context's own unsaved
// changes and undo history stay. Watches the file and its folder, since an
// atomic save renames a new file into place and ends a watch on the old one.
// Lives in the GUI thread.
class StoreWatcher : public QObject
{
    Q_OBJECT

public:
    StoreWatcher(StoreFile file, ObjectContext &context, QObject *parent = nullptr);

    // Brings in what changed on disk now, if anything did.
    SaveResult reload();

signals:
    // After a reload that brought in other writers' changes.
    void reloaded(int added, int updated, int removed);
    // "cannot read sessions from <path>: ..." when the changed file could not be read.
    void reloadFailed(const QString &message);

private:
    void rearm();

    StoreFile m_file;
    ObjectContext &m_context;
    QFileSystemWatcher m_watcher;
    // Several events arrive for one save; they are handled together.
    QTimer m_settle;
};
