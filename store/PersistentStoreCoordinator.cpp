#include "PersistentStoreCoordinator.h"

#include "ObjectContext.h"

PersistentStoreCoordinator::PersistentStoreCoordinator(const ManagedObjectModel &model,
                                                       std::shared_ptr<const AtomicFile> files)
    : m_model(model), m_files(std::move(files))
{
}

SaveResult PersistentStoreCoordinator::addStore(const QString &path)
{
    m_file.emplace(path, m_files);
    StoreLoadResult loaded = m_file->load();
    m_hasStore = loaded.ok;
    if (!loaded.ok) {
        m_openError = loaded.errorMessage;
        return SaveResult::failure(loaded.errorMessage);
    }
    m_openError.clear();
    m_pending = std::move(loaded.contents);
    return SaveResult::success();
}

void PersistentStoreCoordinator::attachContext(ObjectContext &context)
{
    if (m_hasStore) {
        m_file->attach(context, std::move(m_pending));
        m_pending = {};
    } else if (m_file) {
        m_file->refuseSaves(context, m_openError);
    } else {
        context.setSaveHandler([](const ObjectContext &) {
            return SaveResult::failure(QStringLiteral("cannot save sessions: no database is open"));
        });
    }
}
