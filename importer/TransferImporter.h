#pragma once

#include "DecodeResult.h"
#include "ImportResult.h"

#include <QDateTime>
#include <QSet>

#include <optional>

class DataOutput;
class ObjectContext;
class RunSession;
class SessionListController;

// Stores the sessions of one decoded transfer: skips those stored already,
// inserts the others as one undo step, selects each new one in the session
// list, saves the context and, when it stored something, starts the
// automatic export. Sessions of a low-confidence transfer carry the noisy
// mark; a marked session that arrives again (same model and date) is
// replaced when the new transfer is confident or its margin is larger.
// Used by the main window, the recording controller and ventrix-decode
// alike. Lives in the GUI thread.
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

    // The noisy mark of the transfer's sessions: its minimum margin in
    // thousandths when its confidence is low, none when it is high.
    static std::optional<int> noisyTransferMargin(const DecodeResult &decoded);

private:
    bool isStored(const RunSession &session) const;
    // The stored session with the noisy mark of the same model and date, or nullptr.
    const RunSession *markedSession(const RunSession &session) const;
    QSet<QDateTime> listedSessionDates() const;

    ObjectContext &m_context;
    SessionListController *m_sessions;
    DataOutput *m_dataOutput;
};
