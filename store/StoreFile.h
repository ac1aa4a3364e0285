#pragma once

#include "AtomicFile.h"
#include "ObjectContext.h"
#include "StoreFileReader.h"

#include <QString>

#include <memory>

// The outcome of reading a store file.
struct StoreLoadResult
{
    bool ok = true;
    // "cannot read sessions from <path>: <reason>" when not ok.
    QString errorMessage;
    StoreContents contents;
};

// The session database at one path: reads it, and writes it back atomically.
// A database that could not be read is never written over: a context opened
// on it refuses every save with a message instead.
// Lives in the GUI thread (it installs the context's save handler).
class StoreFile
{
public:
    explicit StoreFile(QString path, std::shared_ptr<const AtomicFile> files = std::make_shared<AtomicFile>());

    const QString &path() const { return m_path; }

    // A missing file is a new, empty store; an empty, truncated, malformed,
    // oversized file or one of a newer format is an error, and stays as it is.
    StoreLoadResult load() const;

    // "cannot save sessions to <path>: <reason>" on failure, the old file intact.
    SaveResult save(const QList<const RunSession *> &sessions, const QVariantMap &metadata) const;
    SaveResult save(const ObjectContext &context) const;

    // Opens the database into context the way the application opens its own:
    // loads it (context should be empty) and installs a save handler that
    // writes it back here. When the file cannot be read the result carries the
    // message, the context stays empty and all its saves fail.
    SaveResult openInto(ObjectContext &context) const;

    // For a loaded database: hands contents to context and saves back here.
    void attach(ObjectContext &context, StoreContents &&contents) const;
    // For a database that could not be read: every save fails naming reason.
    void refuseSaves(ObjectContext &context, const QString &reason) const;

private:
    QString m_path;
    std::shared_ptr<const AtomicFile> m_files;
};
