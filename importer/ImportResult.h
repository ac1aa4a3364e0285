#pragma once

#include "ObjectContext.h"

#include <QList>

class RunSession;

// What storing one decoded transfer did. A plain value; the session pointers
// stay valid while the context holds the sessions.
struct ImportResult
{
    // The sessions inserted, in insertion order.
    QList<const RunSession *> storedSessions;
    // Sessions of the transfer that the store held already and that were skipped.
    int alreadyStored = 0;
    // The save after the import; its message names the operation and the file
    // ("cannot save sessions to ...: ...").
    SaveResult saved;
    // The file the automatic export wrote; empty when it wrote none.
    QString exportedPath;

    int storedCount() const { return int(storedSessions.size()); }
};
