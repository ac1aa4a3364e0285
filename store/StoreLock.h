#pragma once

#include "SaveResult.h"

#include <QString>

#include <functional>

// An exclusive advisory lock (flock) on "<store>.lock" beside the database's
// final file, held by every writer from the moment it reads the database to
// the moment its save is renamed into place. The kernel drops the lock when
// its holder exits or is killed, so a crashed writer never blocks the next.
// The lock file names its holder ("ventrix-decode, pid 4242") for the others'
// messages; it is never removed, since removing it would let two writers lock
// two different files. Any thread; one object per holder.
class StoreLock
{
public:
    static constexpr int kDefaultWaitMilliseconds = 10000;
    // Told once, with the holder's name, when the lock is not free at once.
    using WaitNotice = std::function<void(const QString &holder)>;

    explicit StoreLock(const QString &storePath);
    ~StoreLock();
    StoreLock(const StoreLock &) = delete;
    StoreLock &operator=(const StoreLock &) = delete;

    // Waits up to waitMilliseconds; on failure "cannot lock <store>: ..." names the holder.
    SaveResult acquire(int waitMilliseconds = kDefaultWaitMilliseconds, const WaitNotice &notice = {});
    void release();
    bool isHeld() const { return m_fd >= 0; }

    const QString &lockPath() const { return m_lockPath; }
    // Who holds the lock, as its lock file says; "another process" when it says nothing.
    QString holder() const;

private:
    QString m_storePath;
    QString m_lockPath;
    int m_fd = -1;
};
