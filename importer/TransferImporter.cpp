#include "TransferImporter.h"

#include "DataOutput.h"
#include "ObjectContext.h"
#include "RunSession.h"
#include "SessionListController.h"

#include <QCoreApplication>

#include <algorithm>

TransferImporter::TransferImporter(ObjectContext &context, SessionListController *sessions, DataOutput *dataOutput)
    : m_context(context), m_sessions(sessions), m_dataOutput(dataOutput)
{
}

bool TransferImporter::isSameSession(const RunSession &a, const RunSession &b)
{
    return a.hrm == b.hrm && a.sessionDate == b.sessionDate && a.sessionTotalTime == b.sessionTotalTime
           && a.sessionCalories == b.sessionCalories && a.sessionAverageHR == b.sessionAverageHR;
}

// Every session of the context counts, hidden ones too.
bool TransferImporter::isStored(const RunSession &session) const
{
    const QList<const RunSession *> stored = m_context.sessions();
    return std::any_of(stored.begin(), stored.end(),
                       [&](const RunSession *other) { return isSameSession(session, *other); });
}

// The watch sends its whole F6 memory every time: a session of the list with
// the same start date is that session, whatever its other values.
QList<QDateTime> TransferImporter::listedSessionDates() const
{
    const QList<const RunSession *> listed = m_sessions ? m_sessions->arrangedSessions() : m_context.sessions();
    QList<QDateTime> dates;
    for (const RunSession *session : listed)
        if (session->sessionDate)
            dates.append(*session->sessionDate);
    return dates;
}

ImportResult TransferImporter::importTransfer(const DecodeResult &decoded)
{
    ImportResult result;
    const QList<QDateTime> listedDates =
        decoded.model == WatchModel::F6 ? listedSessionDates() : QList<QDateTime>();
    bool grouped = false;
    for (const RunSession &session : decoded.sessions) {
        if ((session.sessionDate && listedDates.contains(*session.sessionDate)) || isStored(session)) {
            ++result.alreadyStored;
            continue;
        }
        // One transfer is one step of the Edit menu's undo, however many sessions it brings.
        if (!grouped)
            m_context.beginUndoGroup(QCoreApplication::translate("TransferImporter", "Import Transfer"));
        grouped = true;
        const RunSession *stored = m_context.insertSession(RunSession(session));
        result.storedSessions.append(stored);
        if (m_sessions)
            m_sessions->selectSession(stored);
    }
    if (grouped)
        m_context.endUndoGroup();
    // A failed save keeps the sessions in the context, so a later save stores them.
    result.saved = m_context.save();
    // The automatic export writes the selected session: only a new one is worth a file.
    if (m_dataOutput && !result.storedSessions.isEmpty())
        m_dataOutput->autoExport(&result.exportedPath);
    return result;
}
