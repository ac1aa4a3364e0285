#pragma once

#include "ObjectContext.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QFileInfo>
#include <QString>

// Replaces a file so that a crash, a kill, a power loss or a full disk leaves
// either the old or the new content, never a mix: the data goes to a temporary
// file in the same folder, which is flushed to disk, renamed over the target,
// and then the folder itself is synced so the rename survives a power loss.
// Every failure is reported with the operation and the target; the target is
// then untouched. A successful replace also removes the temporary files that
// a crashed or killed save of the same target left, once they are older than
// this object. The system calls are virtual so tests can inject faults.
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
    void removeLeftTemporaries(const QFileInfo &target) const;

    // Temporary files written before this moment belong to no save still running.
    const QDateTime m_created = QDateTime::currentDateTimeUtc();
};
