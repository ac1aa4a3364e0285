#include "CS200SessionLayout.h"

#include "WatchModel.h"

const QString CS200SessionLayout::kNoLimits = QStringLiteral("No limits");

namespace {

constexpr int kCadenceSensorBit = 0x40;
constexpr int kDistanceFactor = 100; // tenths to thousandths, the stored watch distance

// Lap records, first lap first: cumulative time and distance.
constexpr int kLapRecordSize = 12;
constexpr int kLapMaxHROffset = 3;
constexpr int kLapAverageHROffset = 4;
constexpr int kLapEndSpeedOffset = 5;
constexpr int kLapCadenceOffset = 8;
constexpr int kLapDistanceOffset = 9;

// A lap's share of a cumulative value; none when the value went backwards,
// which no lap can (the watch sent a damaged or reset record).
std::optional<int> lapShare(int cumulative, int previous)
{
    if (cumulative < previous)
        return std::nullopt;
    return cumulative - previous;
}

} // namespace

ByteIndices CS200SessionLayout::bytesRead(const ByteArray &bytes)
{
    const ByteReader reader(bytes);
    ByteIndices read = FieldCodecs::cs200CodecBytes();
    addBytes(read, kWeightIndex, 2);
    addBytes(read, kLengthIndex);
    addBytes(read, kBirthdayIndex, 3);
    addBytes(read, kUserMaxHRIndex);
    addBytes(read, kSittingHRIndex);
    addBytes(read, kTotalTimeIndex, 4);
    addBytes(read, kSessionHRIndex, 2);
    addBytes(read, kTimeInZoneIndex, 3);
    addBytes(read, kTimeAboveZoneIndex, 3);
    addBytes(read, kTimeBelowZoneIndex, 3);
    addBytes(read, kCaloriesIndex, 2);
    addBytes(read, kDistanceIndex, 2);
    addBytes(read, kRideTimeIndex, 4);
    addBytes(read, kSessionDateIndex, 5);
    const int n = reader.byte(kNumberOfLapsIndex).value_or(0);
    if (n < 1 || reader.size() < std::int64_t(kLapRecordSize) * n + kLapRecordsIndex)
        return read;
    for (int r = 0; r < n; ++r) {
        const int record = kLapRecordsIndex + kLapRecordSize * r;
        addBytes(read, record, 3);
        addBytes(read, record + kLapMaxHROffset);
        addBytes(read, record + kLapAverageHROffset);
        addBytes(read, record + kLapEndSpeedOffset, 2);
        addBytes(read, record + kLapCadenceOffset);
        addBytes(read, record + kLapDistanceOffset, 2);
    }
    return read;
}

CS200SessionLayout::CS200SessionLayout(const ByteArray &bytes, bool &dataMakesSense)
    : m_bytes(bytes), m_codecs(bytes), m_dataMakesSense(dataMakesSense)
{
}

RunSession CS200SessionLayout::session(const SessionClock &now) const
{
    RunSession session;
    session.hrm = watchModelName(WatchModel::CS200);
    session.importDate = now();
    session.sessionDate = m_codecs.decodeSessionDate(kSessionDateIndex, m_dataMakesSense);
    session.sessionName = watchModelName(WatchModel::CS200);
    session.sessionTotalTime = m_codecs.secondsx10From4Bytes(kTotalTimeIndex);
    session.sessionRideTime = m_codecs.secondsx10From4Bytes(kRideTimeIndex);
    if (const std::optional<HeartRateRecord> hr = m_codecs.decodeSessionHR(kSessionHRIndex)) {
        session.sessionAverageHR = hr->sessionAverageHR;
        session.sessionMaxHR = hr->sessionMaxHR;
    }
    session.userBirthday = m_codecs.decodeBirthdayDate(kBirthdayIndex, m_dataMakesSense);
    session.userLength = m_bytes.byte(kLengthIndex);
    session.userWeight = m_codecs.decodeWeight(kWeightIndex);
    if (m_bytes.has(kCaloriesIndex + 1))
        session.sessionCalories = m_bytes.lsbMsbToInt(kCaloriesIndex);
    // Watch distance, never converted: it bypasses the accessor.
    if (m_bytes.has(kDistanceIndex + 1))
        session.setPrimitiveSessionTotalDistance(m_bytes.lsbMsbToInt(kDistanceIndex) * kDistanceFactor);

    setSpeedAndCadence(session);
    session.userMaxHR = m_bytes.byte(kUserMaxHRIndex);
    session.userSittingHR = m_bytes.byte(kSittingHRIndex);
    const std::optional<int> flags = m_bytes.byte(kLimitFlagsIndex);
    const bool cadenceSensor = flags && (*flags & kCadenceSensorBit) != 0;

    session.sessionLimitType = m_codecs.decodeCS200LimitType();
    if (session.sessionLimitType)
        session.limitZone = limitZones(*session.sessionLimitType);
    session.sessionPaceData = true;
    session.sessionLaps = m_bytes.byte(kNumberOfLapsIndex);
    session.lap = laps(cadenceSensor);
    return session;
}

void CS200SessionLayout::setSpeedAndCadence(RunSession &session) const
{
    if (const std::optional<SpeedRecord> speed = m_codecs.decodeCS200Speed(); speed && m_bytes.has(kMaxSpeedIndex + 1))
        session.sessionMaxSpeed = speed->maxSpeed;
    if (const std::optional<CadenceRecord> cadence = m_codecs.decodeCS200Cadence(); cadence && m_bytes.has(kMaxCadenceIndex)) {
        session.sessionMaxCadence = cadence->maxCadence;
        session.sessionAverageCadence = cadence->aveCadence;
    }
}

std::vector<LimitZone> CS200SessionLayout::limitZones(const QString &limitType) const
{
    if (limitType == kNoLimits)
        return {};
    const auto zoneTime = [&](int index) -> std::optional<int> {
        const std::optional<TimeRecord> time = m_codecs.timeFrom3Bytes(index, true);
        return time ? std::optional<int>(time->totalSecondsx10) : std::nullopt;
    };
    LimitZone zone;
    zone.limitLow = m_bytes.byte(kLimitLowIndex);
    zone.limitHigh = m_bytes.byte(kLimitHighIndex);
    zone.timeInZone = zoneTime(kTimeInZoneIndex);
    zone.timeBelowZone = zoneTime(kTimeBelowZoneIndex);
    zone.timeAboveZone = zoneTime(kTimeAboveZoneIndex);
    return {zone};
}

std::vector<Lap> CS200SessionLayout::laps(bool cadenceSensor) const
{
    std::vector<Lap> laps;
    const int n = m_bytes.byte(kNumberOfLapsIndex).value_or(0);
    if (n < 1 || m_bytes.size() < std::int64_t(kLapRecordSize) * n + kLapRecordsIndex)
        return laps;

    int previousTime = 0;
    int previousDistance = 0;
    for (int r = 0; r < n; ++r) {
        const int record = kLapRecordsIndex + kLapRecordSize * r;
        Lap lap;
        lap.lapNumber = r + 1;
        // Nothing checks the lap times beforehand: a lap whose time is not a
        // valid packed time gets none, and the next lap counts from the last
        // valid one.
        if (const std::optional<TimeRecord> time = m_codecs.timeFrom3Bytes(record, false)) {
            lap.timeInLap = lapShare(time->totalSecondsx10, previousTime);
            previousTime = time->totalSecondsx10;
        }
        lap.averageHR = m_bytes.byte(record + kLapAverageHROffset);
        lap.maxHR = m_bytes.byte(record + kLapMaxHROffset);
        const int distance = m_bytes.lsbMsbToInt(record + kLapDistanceOffset) * kDistanceFactor;
        lap.distance = lapShare(distance, previousDistance);
        previousDistance = distance;
        lap.endPace = m_bytes.lsbMsbToInt(record + kLapEndSpeedOffset);
        if (cadenceSensor)
            lap.cadenceAverage = m_bytes.byte(record + kLapCadenceOffset);
        laps.push_back(lap);
    }
    return laps;
}
