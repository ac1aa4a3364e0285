#include "F6SessionLayout.h"

#include "ModelRecognizer.h"
#include "WatchModel.h"

namespace {

// Offsets within a record.
constexpr int kMarkerOffset = 0;
constexpr int kDateOffset = 8;
constexpr int kDurationOffset = 14;
constexpr int kAverageHROffset = 17;
constexpr int kMaxHROffset = 18;
constexpr int kCaloriesOffset = 19;
constexpr int kFatOffset = 21;
constexpr int kZoneTimeOffset = 23;
constexpr int kZoneLowOffset = 35;
constexpr int kZoneHighOffset = 36;
constexpr int kUserMaxHROffset = 43;

const QString kTargetZoneName = QStringLiteral("In Zone");

} // namespace

ByteIndices F6SessionLayout::bytesRead(const ByteArray &bytes)
{
    const ByteReader reader(bytes);
    ByteIndices read;
    addBytes(read, ModelRecognizer::kF6LengthIndex, 2);
    addBytes(read, ModelRecognizer::kF6RecordCountIndex);
    const int records = reader.byte(ModelRecognizer::kF6RecordCountIndex).value_or(0);
    const int length = reader.lsbMsbToInt(ModelRecognizer::kF6LengthIndex);
    if (records < 1 || length <= kRecordSize * records)
        return read;
    for (int k = 1; k <= records; ++k) {
        const int start = recordStart(length, k);
        addBytes(read, start + kMarkerOffset);
        addBytes(read, start + kDateOffset, 6);
        addBytes(read, start + kDurationOffset, 3);
        addBytes(read, start + kAverageHROffset);
        addBytes(read, start + kMaxHROffset);
        addBytes(read, start + kCaloriesOffset, 2);
        addBytes(read, start + kFatOffset);
        addBytes(read, start + kZoneTimeOffset, 3);
        addBytes(read, start + kZoneLowOffset);
        addBytes(read, start + kZoneHighOffset);
        addBytes(read, start + kUserMaxHROffset);
    }
    return read;
}

F6SessionLayout::F6SessionLayout(const ByteArray &bytes, bool &dataMakesSense)
    : m_bytes(bytes), m_codecs(bytes), m_dataMakesSense(dataMakesSense)
{
}

std::vector<RunSession> F6SessionLayout::sessions(const SessionClock &now) const
{
    std::vector<RunSession> sessions;
    const int records = m_bytes.byte(ModelRecognizer::kF6RecordCountIndex).value_or(0);
    const int length = m_bytes.lsbMsbToInt(ModelRecognizer::kF6LengthIndex);
    if (records < 1 || length <= kRecordSize * records)
        return sessions;

    // A session is known by its start date: a repeated one is the same session.
    QList<QDateTime> knownDates;
    for (int k = 1; k <= records; ++k) {
        const int start = recordStart(length, k);
        const std::optional<QDateTime> date = m_codecs.decodeF6SessionDate(start + kDateOffset, m_dataMakesSense);
        if (!date || knownDates.contains(*date))
            continue;
        knownDates.append(*date);
        sessions.push_back(sessionAt(start, *date, now));
    }
    return sessions;
}

RunSession F6SessionLayout::sessionAt(int start, const QDateTime &sessionDate, const SessionClock &now) const
{
    RunSession session;
    session.hrm = watchModelName(WatchModel::F6);
    session.importDate = now();
    session.sessionDate = sessionDate;
    session.sessionName = watchModelName(WatchModel::F6);
    session.sessionTotalTime = m_codecs.secondsx10From3Bytes(start + kDurationOffset);
    session.sessionAverageHR = m_bytes.byte(start + kAverageHROffset);
    session.sessionMaxHR = m_bytes.byte(start + kMaxHROffset);
    session.userMaxHR = m_bytes.byte(start + kUserMaxHROffset);
    if (m_bytes.has(start + kCaloriesOffset + 1))
        session.sessionCalories = m_bytes.lsbMsbToInt(start + kCaloriesOffset);
    session.sessionFat = m_bytes.byte(start + kFatOffset);
    session.sportZone = {targetZoneAt(start)};
    return session;
}

SportZone F6SessionLayout::targetZoneAt(int start) const
{
    SportZone zone;
    zone.name = kTargetZoneName;
    zone.limitLow = m_bytes.byte(start + kZoneLowOffset);
    zone.limitHigh = m_bytes.byte(start + kZoneHighOffset);
    zone.timeInZone = m_codecs.secondsx10From3Bytes(start + kZoneTimeOffset);
    return zone;
}
