#pragma once

#include "AtomicFile.h"
#include "ObjectContext.h"
#include "RunSession.h"
#include "StoreFileReader.h"

#include <QFile>

#include <cerrno>
#include <vector>

// Every key of entity set to a value of its type that index varies; a text
// reads "<key> <index>" ("comment 3").
template <typename Entity>
void setEveryKey(Entity &entity, int index)
{
    int number = 0;
    for (const EntityKey<Entity> &key : Entity::keys()) {
        ++number;
        const QVariant values[] = {100 * index + number, (index + number) % 2 == 0,
                                   QStringLiteral("%1 %2").arg(QLatin1StringView(key.name)).arg(index),
                                   QDateTime(QDate(2008, 7, 1 + index % 28), QTime(18, 5, number))};
        key.setValue(entity, values[int(key.type())]);
    }
}

// A session with every key of every entity set: five laps, five sport zones
// and three limit zones.
inline RunSession everyKeySession(int index)
{
    RunSession session;
    setEveryKey(session, index);
    for (int number = 1; number <= 5; ++number) {
        setEveryKey(session.lap.emplace_back(), 10 * index + number);
        setEveryKey(session.sportZone.emplace_back(), 10 * index + number);
    }
    for (int number = 1; number <= 3; ++number)
        setEveryKey(session.limitZone.emplace_back(), 10 * index + number);
    return session;
}

inline QList<const RunSession *> pointers(const std::vector<RunSession> &sessions)
{
    QList<const RunSession *> list;
    for (const RunSession &session : sessions)
        list.append(&session);
    return list;
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

inline bool setModified(const QString &path, const QDateTime &moment)
{
    QFile file(path);
    return file.open(QIODevice::Append) && file.setFileTime(moment, QFileDevice::FileModificationTime);
}

// Fails one step of a save the way a system call would.
class FaultyFile : public AtomicFile
{
public:
    enum class Step { Write, WriteAfterSomeBytes, SyncFile, Rename, SyncFolder };
    FaultyFile(Step step, int error) : m_step(step), m_error(error) {}

protected:
    long writeSome(int fd, const char *data, long size) const override
    {
        const bool some = m_step == Step::WriteAfterSomeBytes;
        if (m_step == Step::Write || (some && m_written > 0))
            return fail();
        return m_written = AtomicFile::writeSome(fd, data, some ? std::min(size, 10L) : size);
    }
    int syncFile(int fd) const override { return m_step == Step::SyncFile ? int(fail()) : AtomicFile::syncFile(fd); }
    int renameFile(const char *from, const char *to) const override
    {
        return m_step == Step::Rename ? int(fail()) : AtomicFile::renameFile(from, to);
    }
    int syncFolder(int fd) const override { return m_step == Step::SyncFolder ? int(fail()) : AtomicFile::syncFolder(fd); }

private:
    long fail() const
    {
        errno = m_error;
        return -1;
    }
    Step m_step;
    int m_error;
    mutable long m_written = 0;
};
