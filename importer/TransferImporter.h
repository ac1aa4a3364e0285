#pragma once

#include "DecodeResult.h"
#include "ImportResult.h"

class DataOutput;
class ObjectContext;
class RunSession;
class SessionListController;

// Stores the sessions of one decoded transfer: skips those stored already,
// inserts the others as one undo step, selects each new one in the session
// list, saves the context and, when it stored something, starts the
// automatic export. Used by the main window, the recording controller and
// ventrix-decode alike. Lives in the GUI thread.
class TransferImporter
{
public:
    // context is required; sessions and dataOutput are not owned and may be null
    // (then nothing is selected or exported automatically).
    explicit TransferImporter(ObjectContext &context, SessionListController *sessions = nullptr,
                              DataOutput *dataOutput = nullptr);

    ImportResult importTransfer(const DecodeResult &decoded);

    // The same session read again: equal model, session date, total time,
    // calories and average heart rate.
    static bool isSameSession(const RunSession &a, const RunSession &b);

private:
    bool isStored(const RunSession &session) const;
    QList<QDateTime> listedSessionDates() const;

    ObjectContext &m_context;
    SessionListController *m_sessions;
    DataOutput *m_dataOutput;
};
