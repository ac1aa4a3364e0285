#include "AtomicFile.h"

#include "FileName.h"
#include "StorePath.h"

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kTemporaryNameAttempts = 16;
constexpr qsizetype kMaxTagDigits = 8; // a quint32 in hex
constexpr mode_t kNewFileMode = 0666; // narrowed by the umask, like any new file

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString temporaryPrefixFor(const QString &target)
{
    return QLatin1String(".") + FileName::nameIn(target) + QLatin1String(".saving-");
}

QString temporaryPathFor(const QString &target)
{
    const quint32 tag = QRandomGenerator::global()->generate();
    return FileName::folderOf(target) + u'/' + temporaryPrefixFor(target) + QString::number(tag, 16);
}

// A name temporaryPathFor() gives, and not just any file starting alike.
bool isTemporaryNameFor(const QString &target, const QString &name)
{
    const QString prefix = temporaryPrefixFor(target);
    if (!name.startsWith(prefix))
        return false;
    const QStringView tag = QStringView(name).sliced(prefix.size());
    const auto isHexDigit = [](QChar digit) { return (digit >= u'0' && digit <= u'9') || (digit >= u'a' && digit <= u'f'); };
    return !tag.isEmpty() && tag.size() <= kMaxTagDigits && std::all_of(tag.begin(), tag.end(), isHexDigit);
}

// Closes the descriptor on every path out of a function.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor() { closeNow(); }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;

    void reset(int fd)
    {
        closeNow();
        m_fd = fd;
    }
    int get() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // The result of close(), which may report a deferred write error.
    int closeNow()
    {
        const int result = m_fd >= 0 ? ::close(m_fd) : 0;
        m_fd = -1;
        return result;
    }

private:
    int m_fd;
};

} // namespace

struct AtomicFile::Timestamps
{
    struct timespec access;
    struct timespec modification;
    mode_t mode;
};

SaveResult AtomicFile::write(const QString &path, QByteArrayView data, const QString &description) const
{
    return replace(path, data, nullptr, description);
}

SaveResult AtomicFile::copy(const QString &source, const QString &target) const
{
    const QString description = QLatin1String("cannot copy ") + source + QLatin1String(" to");
    QFile file(source);
    if (!file.open(QIODevice::ReadOnly))
        return SaveResult::failure(description + u' ' + target + QLatin1String(": ") + file.errorString());
    struct stat status {};
    if (::fstat(file.handle(), &status) != 0)
        return SaveResult::failure(description + u' ' + target + QLatin1String(": ") + systemError(errno));
    const QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return SaveResult::failure(description + u' ' + target + QLatin1String(": ") + file.errorString());
    const Timestamps times{status.st_atim, status.st_mtim, status.st_mode};
    return replace(target, contents, &times, description);
}

SaveResult AtomicFile::replace(const QString &path, QByteArrayView data, const Timestamps *times,
                               const QString &description) const
{
    const QString shownPath = FileName::absolute(path);
    // A database reached through symbolic links stays a link: the file the
    // chain ends at is the one replaced.
    const QString targetPath = StorePath::finalTarget(shownPath);
    const auto failed = [&](const QString &reason) {
        return SaveResult::failure(description + u' ' + shownPath + QLatin1String(": ") + reason);
    };

    QString temporaryPath;
    FileDescriptor file(-1);
    for (int attempt = 0; attempt < kTemporaryNameAttempts && !file.isOpen(); ++attempt) {
        temporaryPath = temporaryPathFor(targetPath);
        file.reset(::open(FileName::encode(temporaryPath).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode));
        // Marks the file as a save in progress until it is closed.
        if (file.isOpen())
            ::flock(file.get(), LOCK_EX);
        if (!file.isOpen() && errno != EEXIST)
            break;
    }
    if (!file.isOpen())
        return failed(systemError(errno));
    const QByteArray temporaryName = FileName::encode(temporaryPath);
    const auto failedAndRemoved = [&](const QString &reason) {
        file.closeNow();
        ::unlink(temporaryName.constData());
        return failed(reason);
    };

    // The new file keeps the permissions of the one it replaces (or of the
    // source of a copy).
    struct stat existing {};
    if (times)
        ::fchmod(file.get(), times->mode & 07777);
    else if (::stat(FileName::encode(targetPath).constData(), &existing) == 0)
        ::fchmod(file.get(), existing.st_mode & 07777);

    if (!writeAll(file.get(), data))
        return failedAndRemoved(systemError(errno));
    if (times) {
        const struct timespec stamps[2] = {times->access, times->modification};
        ::futimens(file.get(), stamps);
    }
    if (syncFile(file.get()) != 0)
        return failedAndRemoved(QLatin1String("flushing to disk failed: ") + systemError(errno));
    if (file.closeNow() != 0) {
        const int error = errno;
        ::unlink(temporaryName.constData());
        return failed(systemError(error));
    }
    if (renameFile(temporaryName.constData(), FileName::encode(targetPath).constData()) != 0) {
        const int error = errno;
        ::unlink(temporaryName.constData());
        return failed(QLatin1String("renaming the new file failed: ") + systemError(error));
    }

    // Without this the rename may be lost on a power failure even though the
    // data itself reached the disk.
    FileDescriptor folder(::open(FileName::encode(FileName::folderOf(targetPath)).constData(),
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder.isOpen() || (syncFolder(folder.get()) != 0 && errno != EINVAL))
        return failed(QLatin1String("syncing the folder failed: ") + systemError(errno));
    return SaveResult::success();
}

void AtomicFile::removeLeftTemporaries(const QString &path) const
{
    const QString target = StorePath::finalTarget(path);
    const QByteArray folderName = FileName::encode(FileName::folderOf(target));
    const std::unique_ptr<DIR, int (*)(DIR *)> folder(::opendir(folderName.constData()), &::closedir);
    while (const struct dirent *entry = folder ? ::readdir(folder.get()) : nullptr) {
        if (entry->d_type == DT_LNK || !isTemporaryNameFor(target, FileName::decode(entry->d_name)))
            continue;
        const QByteArray name = folderName + '/' + entry->d_name;
        // A save still writing holds its file's lock. Tidying up only: a
        // file that cannot be opened or removed stays.
        FileDescriptor leftover(::open(name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
        if (leftover.isOpen() && ::flock(leftover.get(), LOCK_EX | LOCK_NB) == 0)
            ::unlink(name.constData());
    }
}

bool AtomicFile::writeAll(int fd, QByteArrayView data) const
{
    const char *next = data.data();
    qsizetype left = data.size();
    while (left > 0) {
        const long written = writeSome(fd, next, long(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

long AtomicFile::writeSome(int fd, const char *data, long size) const
{
    return long(::write(fd, data, size_t(size)));
}

int AtomicFile::syncFile(int fd) const
{
    return ::fsync(fd);
}

int AtomicFile::renameFile(const char *from, const char *to) const
{
    return ::rename(from, to);
}

int AtomicFile::syncFolder(int fd) const
{
    return ::fsync(fd);
}
