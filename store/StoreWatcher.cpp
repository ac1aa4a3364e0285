#include "StoreWatcher.h"

#include "ObjectContext.h"
#include "StorePath.h"

#include <QFileInfo>

namespace {

// Long enough to gather one save's events, short enough to feel immediate.
constexpr int kSettleMilliseconds = 200;

} // namespace

StoreWatcher::StoreWatcher(StoreFile file, ObjectContext &context, QObject *parent)
    : QObject(parent), m_file(std::move(file)), m_context(context)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        if (const SaveResult result = reload(); !result.ok)
            emit reloadFailed(result.errorMessage);
        rearm();
    });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_context, &ObjectContext::externalChangesApplied, this, &StoreWatcher::reloaded);
    rearm();
}

SaveResult StoreWatcher::reload()
{
    if (!m_file.changedOnDisk())
        return SaveResult::success();
    return m_file.synchronize(m_context, false);
}

void StoreWatcher::rearm()
{
    const QString target = StorePath::finalTarget(m_file.path());
    const QString folder = QFileInfo(target).absolutePath();
    if (!m_watcher.directories().contains(folder))
        m_watcher.addPath(folder);
    if (QFileInfo::exists(target) && !m_watcher.files().contains(target))
        m_watcher.addPath(target);
}
