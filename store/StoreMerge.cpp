#include "StoreMerge.h"

#include <QHash>

namespace {

// What became of one of the file's sessions.
enum Match : int { kAddedElsewhere = -1, kDeletedHere = -2, kInsertedHereToo = -3 };

// The file's sessions by identity, handed out once each in file order.
class DiskIndex
{
public:
    explicit DiskIndex(const std::vector<RunSession> &sessions)
    {
        for (size_t i = 0; i < sessions.size(); ++i)
            m_byIdentity[sessions[i].identity()].append(int(i));
    }

    int take(const RunSession::Identity &identity)
    {
        const auto found = m_byIdentity.find(identity);
        if (found == m_byIdentity.end() || found->isEmpty())
            return -1;
        return found->takeFirst();
    }

private:
    QHash<RunSession::Identity, QList<int>> m_byIdentity;
};

} // namespace

StoreMerge::StoreMerge(const ObjectContext &context, std::vector<RunSession> &&onDisk) : m_onDisk(std::move(onDisk))
{
    const QList<const RunSession *> sessions = context.sessions();
    std::vector<int> match(m_onDisk.size(), kAddedElsewhere);
    DiskIndex index(m_onDisk);
    QList<const RunSession *> inserted;
    for (qsizetype k = 0; k < sessions.size(); ++k) {
        const std::optional<RunSession::Identity> identity = context.syncedIdentity(sessions[k]);
        if (!identity) {
            inserted.append(sessions[k]);
        } else if (const int found = index.take(*identity); found >= 0) {
            match[size_t(found)] = int(k);
        } else {
            m_external.removed.append(sessions[k]);
        }
    }
    for (const RunSession::Identity &identity : context.deletedSyncedIdentities())
        if (const int found = index.take(identity); found >= 0)
            match[size_t(found)] = kDeletedHere;
    // The same session stored by both writers is kept once: this context's copy.
    for (const RunSession *session : inserted)
        if (const int found = index.take(session->identity()); found >= 0)
            match[size_t(found)] = kInsertedHereToo;

    for (size_t i = 0; i < m_onDisk.size(); ++i) {
        RunSession &disk = m_onDisk[i];
        if (match[i] == kDeletedHere || match[i] == kInsertedHereToo)
            continue;
        m_merged.append(&disk);
        if (match[i] == kAddedElsewhere) {
            m_external.added.push_back(disk);
            continue;
        }
        const RunSession *own = sessions[match[i]];
        for (const QString &key : context.editedKeys(own))
            disk.setPrimitiveValue(key, own->primitiveValue(key));
        if (!(disk == *own))
            m_external.updated.emplace_back(own, disk);
    }
    m_merged.append(inserted);
}
