#pragma once

#include "ObjectContext.h"

#include <QString>

#include <memory>

class StoreFile;

// --store FILE: the database opened like the application's own, so that each
// transfer's save writes it; saved once more at the end. A database that
// cannot be read is never written.
class StoreOption
{
public:
    explicit StoreOption(QString path);
    ~StoreOption();

    // Loads the database into the (empty) context; the message when it cannot be read.
    SaveResult open(ObjectContext &context);
    SaveResult saveAtEnd(ObjectContext &context) const;

private:
    std::unique_ptr<StoreFile> m_file;
};
