#pragma once

#include "RunSession.h"

#include <QString>
#include <QVariantMap>

#include <vector>

// What a store file holds.
struct StoreContents
{
    std::vector<RunSession> sessions;
    QVariantMap metadata;
};

// The outcome of reading a store file.
struct StoreLoadResult
{
    bool ok = true;
    // "cannot read sessions from <path>: <reason>" when not ok.
    QString errorMessage;
    StoreContents contents;
};
