#pragma once

#include "ObjectContext.h"

#include <QList>

#include <vector>

// Replays a context's own changes since it last matched the file (its
// journal) on the version another writer has stored since: the file's
// sessions stay, those the context deleted go, the keys it changed take its
// values (the later save wins for a key both changed), and its insertions
// are added. Sessions are matched by identity (RunSession::identity()).
// Any thread.
class StoreMerge
{
public:
    StoreMerge(const ObjectContext &context, std::vector<RunSession> &&onDisk);
    StoreMerge(const StoreMerge &) = delete;
    StoreMerge &operator=(const StoreMerge &) = delete;

    // What to write: the file's sessions as merged, then the context's insertions.
    const QList<const RunSession *> &merged() const { return m_merged; }
    // What the context must take over to match the merged file.
    ObjectContext::ExternalChanges takeExternalChanges() { return std::move(m_external); }

private:
    std::vector<RunSession> m_onDisk;
    QList<const RunSession *> m_merged;
    ObjectContext::ExternalChanges m_external;
};
