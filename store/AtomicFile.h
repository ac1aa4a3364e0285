#pragma once

#include "SaveResult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFileInfo>
#include <QString>

// Replaces a file so that a crash, a kill, a power loss or a full disk leaves
// either the old or the new content, never a mix: the data goes to a temporary
// file in the same folder, which is flushed to disk, renamed over the target,
// and then the folder itself is synced so the rename survives a power loss.
// Every failure is reported with the operation and the target; the target is
// then untouched. A temporary file is locked (flock) while it is written, so
// removeLeftTemporaries() can tell a crashed save's leftovers from a save
// still running. The system calls are virtual so tests can inject faults.
// Any thread; one call at a time per object.
class AtomicFile
{
public:
    virtual ~AtomicFile() = default;

    // Writes data to path. description names the operation for the message,
    // e.g. "cannot save sessions to" gives "cannot save sessions to <path>: <reason>".
    SaveResult write(const QString &path, QByteArrayView data,
                     const QString &description = QStringLiteral("cannot write")) const;

    // Copies source to target the same safe way, keeping the source's
    // modification time, as a file manager's copy does. A missing source fails.
    SaveResult copy(const QString &source, const QString &target) const;

    // Removes the temporary files that crashed or killed saves of path left,
    // skipping those a running save still holds. The store calls it only
    // while holding the store lock.
    void removeLeftTemporaries(const QString &path) const;

protected:
    // Thin wrappers around the system calls, each returning what the call
    // returns and leaving errno set.
    virtual long writeSome(int fd, const char *data, long size) const;
    virtual int syncFile(int fd) const;
    virtual int renameFile(const char *from, const char *to) const;
    virtual int syncFolder(int fd) const;

private:
    struct Timestamps;
    SaveResult replace(const QString &path, QByteArrayView data, const Timestamps *times,
                       const QString &description) const;
    bool writeAll(int fd, QByteArrayView data) const;
};
