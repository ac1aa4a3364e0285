#include "StoreLock.h"

#include "FileName.h"
#include "StorePath.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr int kPollMilliseconds = 50;
constexpr mode_t kLockFileMode = 0666; // narrowed by the umask, like any new file

} // namespace

StoreLock::StoreLock(const QString &storePath)
    : m_storePath(storePath), m_lockPath(StorePath::finalTarget(storePath) + QLatin1String(".lock"))
{
}

StoreLock::~StoreLock()
{
    release();
}

SaveResult StoreLock::acquire(int waitMilliseconds, const WaitNotice &notice)
{
    if (isHeld())
        return SaveResult::success();
    const QString operation = QStringLiteral("cannot lock");
    const int fd = ::open(FileName::encode(m_lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, kLockFileMode);
    if (fd < 0)
        return SaveResult::failure(operation, m_storePath, QString::fromLocal8Bit(std::strerror(errno)));
    bool told = false;
    for (int waited = 0;; waited += kPollMilliseconds) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            break;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            const int error = errno;
            ::close(fd);
            return SaveResult::failure(operation, m_storePath, QString::fromLocal8Bit(std::strerror(error)));
        }
        if (waited >= waitMilliseconds) {
            ::close(fd);
            return SaveResult::failure(operation, m_storePath,
                                       QStringLiteral("%1 has held it for %2 seconds").arg(holder()).arg(waitMilliseconds / 1000));
        }
        if (!told && notice) {
            told = true;
            notice(holder());
        }
        QThread::msleep(kPollMilliseconds);
    }
    m_fd = fd;
    // Names this process for anyone who has to wait; the lock itself does not depend on it.
    const QByteArray name = (QCoreApplication::applicationName().isEmpty() ? QByteArray("Ventrix")
                                                                           : QCoreApplication::applicationName().toUtf8())
        + ", pid " + QByteArray::number(::getpid()) + '\n';
    if (::ftruncate(fd, 0) == 0)
        (void)!::pwrite(fd, name.constData(), size_t(name.size()), 0);
    return SaveResult::success();
}

void StoreLock::release()
{
    if (m_fd >= 0) {
        // A killed holder leaves its name behind; a waiter then reads it as the holder's.
        (void)!::ftruncate(m_fd, 0);
        ::close(m_fd); // closing the last descriptor drops the flock
    }
    m_fd = -1;
}

QString StoreLock::holder() const
{
    QFile file;
    if (!FileName::openForReading(file, m_lockPath))
        return QStringLiteral("another process");
    const QString who = QString::fromUtf8(file.readAll()).trimmed();
    return who.isEmpty() ? QStringLiteral("another process") : who;
}
