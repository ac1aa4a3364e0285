#include "StoreFile.h"

#include "FileName.h"
#include "ObjectContext.h"
#include "StoreFileFormat.h"
#include "StoreFileReader.h"
#include "StoreFileWriter.h"
#include "StoreMerge.h"
#include "StorePath.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace {

const QString kCannotSave = QStringLiteral("cannot save sessions to");

} // namespace

// Who the file is: a save renames a new file into place, so its identity
// (device and inode) changes with every save; size and times catch the rest.
struct StoreFile::DiskState
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    qint64 modified = 0;
    qint64 changed = 0;

    static DiskState of(const struct stat &status)
    {
        const auto nanoseconds = [](const timespec &time) { return qint64(time.tv_sec) * 1000000000 + time.tv_nsec; };
        return {true, status.st_dev, status.st_ino, status.st_size, nanoseconds(status.st_mtim),
                nanoseconds(status.st_ctim)};
    }

    static DiskState ofPath(const QString &path)
    {
        struct stat status {};
        return ::stat(FileName::encode(path).constData(), &status) == 0 ? of(status) : DiskState{};
    }

    bool operator==(const DiskState &) const = default;
};

struct StoreFile::Shared
{
    DiskState lastMatched;
    DiskState lastLoaded;
    std::shared_ptr<StoreLock> heldLock;
    int lockWait = StoreLock::kDefaultWaitMilliseconds;
};

StoreFile::StoreFile(QString path, std::shared_ptr<const AtomicFile> files)
    : m_path(std::move(path)), m_files(files ? std::move(files) : std::make_shared<AtomicFile>()),
      m_shared(std::make_shared<Shared>())
{
}

StoreLoadResult StoreFile::load() const
{
    DiskState state;
    StoreLoadResult loaded = loadRecording(&state);
    m_shared->lastLoaded = state;
    return loaded;
}

StoreLoadResult StoreFile::loadRecording(DiskState *state) const
{
    const auto failed = [this](const QString &reason) {
        return StoreLoadResult{false, QLatin1String("cannot read sessions from ") + m_path + QLatin1String(": ") + reason, {}};
    };
    if (state)
        *state = {};
    const QByteArray name = FileName::encode(m_path);
    struct stat link {};
    if (::lstat(name.constData(), &link) != 0 && errno == ENOENT)
        return {};
    struct stat target {};
    if (::stat(name.constData(), &target) != 0 || !S_ISREG(target.st_mode))
        return failed(QStringLiteral("not a regular file"));
    QFile file;
    if (!FileName::openForReading(file, m_path))
        return failed(QString::fromLocal8Bit(std::strerror(errno)));
    // The open file's own identity: it cannot change under us, since writers replace the file.
    struct stat status {};
    if (state && ::fstat(file.handle(), &status) == 0)
        *state = DiskState::of(status);
    if (file.size() > StoreFileFormat::kMaxFileSize)
        return failed(QStringLiteral("the file is too large (%1 bytes)").arg(file.size()));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failed(file.errorString());
    if (data.size() > StoreFileFormat::kMaxFileSize)
        return failed(QStringLiteral("the file is too large"));

    QString error;
    std::optional<StoreContents> contents = StoreFileReader::read(data, &error);
    if (!contents)
        return failed(error);
    return {true, {}, std::move(*contents)};
}

SaveResult StoreFile::save(const QList<const RunSession *> &sessions, const QVariantMap &metadata) const
{
    return write(sessions, metadata);
}

SaveResult StoreFile::save(const ObjectContext &context) const
{
    return save(context.sessions(), context.metadata());
}

SaveResult StoreFile::write(const QList<const RunSession *> &sessions, const QVariantMap &metadata) const
{
    QString error;
    const std::optional<QByteArray> data = StoreFileWriter::write(sessions, metadata, &error);
    if (!data)
        return SaveResult::failure(kCannotSave, m_path, error);
    return m_files->write(m_path, *data, kCannotSave);
}

SaveResult StoreFile::openInto(ObjectContext &context) const
{
    StoreLoadResult loaded = load();
    if (!loaded.ok) {
        refuseSaves(context, loaded.errorMessage);
        return SaveResult::failure(loaded.errorMessage);
    }
    attach(context, std::move(loaded.contents));
    return SaveResult::success();
}

void StoreFile::attach(ObjectContext &context, StoreContents &&contents) const
{
    context.setMetadata(contents.metadata);
    // Loading records each session as matching the file.
    context.loadSessions(std::move(contents.sessions));
    m_shared->lastMatched = m_shared->lastLoaded;
    context.setSynchronizer([file = *this](ObjectContext &saved) { return file.synchronize(saved, true); });
}

void StoreFile::refuseSaves(ObjectContext &context, const QString &reason) const
{
    const QString message = kCannotSave + u' ' + m_path
        + QLatin1String(": the database could not be read, so it is left as it was (") + reason + u')';
    context.setSynchronizer([message](ObjectContext &) { return SaveResult::failure(message); });
}

bool StoreFile::changedOnDisk() const
{
    return !(DiskState::ofPath(m_path) == m_shared->lastMatched);
}

void StoreFile::holdLock(std::shared_ptr<StoreLock> lock) const
{
    m_shared->heldLock = std::move(lock);
}

void StoreFile::setLockWait(int milliseconds) const
{
    m_shared->lockWait = milliseconds;
}

SaveResult StoreFile::synchronize(ObjectContext &context, bool write) const
{
    std::optional<StoreLock> ownLock;
    if (!m_shared->heldLock || !m_shared->heldLock->isHeld()) {
        ownLock.emplace(m_path);
        if (const SaveResult locked = ownLock->acquire(m_shared->lockWait); !locked.ok)
            return SaveResult::failure((write ? kCannotSave : QStringLiteral("cannot read sessions from")) + u' '
                                       + m_path + QLatin1String(": ") + locked.errorMessage);
    }
    if (changedOnDisk()) {
        DiskState state;
        StoreLoadResult loaded = loadRecording(&state);
        if (!loaded.ok)
            return write ? SaveResult::failure(kCannotSave + u' ' + m_path
                                               + QLatin1String(": the database on disk could not be read, so it is left as it was (")
                                               + loaded.errorMessage + u')')
                         : SaveResult::failure(loaded.errorMessage);
        QVariantMap metadata = loaded.contents.metadata;
        metadata.insert(context.metadata());
        StoreMerge merge(context, std::move(loaded.contents.sessions));
        if (write) {
            if (const SaveResult saved = this->write(merge.merged(), metadata); !saved.ok)
                return saved;
            state = DiskState::ofPath(m_path);
        }
        context.setMetadata(metadata);
        context.applyExternalChanges(merge.takeExternalChanges());
        m_shared->lastMatched = state;
    } else if (write) {
        if (const SaveResult saved = this->write(context.sessions(), context.metadata()); !saved.ok)
            return saved;
        m_shared->lastMatched = DiskState::ofPath(m_path);
    }
    if (write)
        m_files->removeLeftTemporaries(m_path);
    return SaveResult::success();
}
