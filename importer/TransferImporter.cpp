#include "TransferImporter.h"

#include "DataOutput.h"
#include "ObjectContext.h"
#include "RunSession.h"
#include "SessionListController.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace {

constexpr float kThousandths = 1000.0F;
// Far beyond any margin a demodulation gives; keeps the stored number in range.
constexpr float kMarginLimit = 1.0e6F;

// Whether a transfer with mark replaces the stored marked session: a
// confident one always, a noisy one only with a larger margin.
bool replaces(const std::optional<int> &mark, const RunSession &marked)
{
    return !mark || *mark > marked.noisyTransferMargin.value_or(0);
}

} // namespace

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

std::optional<int> TransferImporter::noisyTransferMargin(const DecodeResult &decoded)
{
    if (decoded.confidence == Confidence::High)
        return std::nullopt;
    const float margin = std::isfinite(decoded.minimumMargin) ? decoded.minimumMargin : 0.0F;
    return int(std::lround(std::clamp(margin, -kMarginLimit, kMarginLimit) * kThousandths));
}

const RunSession *TransferImporter::markedSession(const RunSession &session) const
{
    const QList<const RunSession *> stored = m_context.sessions();
    const auto found = std::find_if(stored.begin(), stored.end(), [&](const RunSession *other) {
        return other->isFromNoisyTransfer() && other->hrm == session.hrm && other->sessionDate == session.sessionDate;
    });
    return found == stored.end() ? nullptr : *found;
}

// The watch sends its whole F6 memory every time: a session of the list with
// the same start date is that session, whatever its other values.
QSet<QDateTime> TransferImporter::listedSessionDates() const
{
    const QList<const RunSession *> listed = m_sessions ? m_sessions->arrangedSessions() : m_context.sessions();
    QSet<QDateTime> dates;
    for (const RunSession *session : listed)
        if (session->sessionDate)
            dates.insert(*session->sessionDate);
    return dates;
}

ImportResult TransferImporter::importTransfer(const DecodeResult &decoded)
{
    ImportResult result;
    const QSet<QDateTime> listedDates = decoded.model == WatchModel::F6 ? listedSessionDates() : QSet<QDateTime>();
    const std::optional<int> mark = noisyTransferMargin(decoded);
    bool grouped = false;
    for (const RunSession &session : decoded.sessions) {
        const RunSession *marked = markedSession(session);
        const bool replacing = marked && replaces(mark, *marked);
        if (!replacing
            && (marked || (session.sessionDate && listedDates.contains(*session.sessionDate)) || isStored(session))) {
            ++result.alreadyStored;
            continue;
        }
        // One transfer is one step of the Edit menu's undo, however many sessions it brings.
        if (!grouped)
            m_context.beginUndoGroup(QCoreApplication::translate("TransferImporter", "Import Transfer"));
        grouped = true;
        RunSession incoming(session);
        incoming.noisyTransferMargin = mark;
        if (replacing) {
            // The watch's values are replaced; what the user gave the session stays.
            incoming.hidden = marked->hidden;
            incoming.comment = marked->comment;
            m_context.deleteSession(marked);
        }
        const RunSession *stored = m_context.insertSession(std::move(incoming));
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
