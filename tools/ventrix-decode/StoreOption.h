#pragma once

#include "SaveResult.h"

#include <QString>

#include <memory>

class ObjectContext;
class QTextStream;
class StoreFile;
class StoreLock;

// --store FILE: the database opened like the application's own, so that each
// transfer's save writes it; saved once more at the end. The store lock is
// held from opening to the end, so no other writer's sessions are lost in
// between; it is waited for up to ten seconds, with a message on err. A
// database that cannot be read or locked is never written.
class StoreOption
{
public:
    explicit StoreOption(QString path, QTextStream *err = nullptr);
    ~StoreOption();

    // Locks and loads the database into the (empty) context; the message when
    // it cannot be locked or read.
    SaveResult open(ObjectContext &context);
    SaveResult saveAtEnd(ObjectContext &context) const;

private:
    QString m_path;
    QTextStream *m_err;
    std::shared_ptr<StoreLock> m_lock;
    std::unique_ptr<StoreFile> m_file;
};
