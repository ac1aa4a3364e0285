#include "RS200SessionLayout.h"

#include "ModelRecognizer.h"
#include "WatchModel.h"

const QString RS200SessionLayout::kNoLimits = QStringLiteral("No Limits");
const QString RS200SessionLayout::kHRLimits = QStringLiteral("HR Limits");
const QString RS200SessionLayout::kPaceLimits = QStringLiteral("Pace Limits");

namespace {

const QString kMale = QStringLiteral("M");
const QString kFemale = QStringLiteral("F");

// The user's data.
constexpr int kWeightIndex = 16;
constexpr int kLengthIndex = 18;
constexpr int kUserMaxHRIndex = 22;
constexpr int kVO2MaxIndex = 23;
constexpr int kSittingHRIndex = 24;
constexpr int kSexIndex = 25;
constexpr int kFemaleBit = 0x01;

// Settings and session figures.
constexpr int kPaceFlagsIndex = 35;    // bit 0: pace limits; bit 3: foot pod
constexpr int kPaceLimitsBit = 0x01;
constexpr int kLimitsOnIndex = 36;
constexpr int kLimitsOnBit = 0x01;
constexpr int kMaxSetHRIndex = 47;
constexpr int kCaloriesIndex = 48;
constexpr int kDistanceIndex = 127;    // units of 10 m
constexpr int kFastestPaceIndex = 129;
constexpr int kMetresPerDistanceUnit = 10;
constexpr int kNumberOfLapsIndex = 132;

// Limit zone z (1 to 3): lower limit at 50 + 4(z - 1), upper two bytes later.
constexpr int kLimitZones = 3;
constexpr int kLimitPairBase = 50;
constexpr int kLimitPairSize = 4;
constexpr int kUpperLimitOffset = 2;

// Lap records, last lap first: cumulative time and distance.
constexpr int kLapRecordsIndex = 139;
constexpr int kLapRecordSize = 6;
constexpr int kLapRecordSizeWithFootPod = 12;
constexpr int kFewestLaps = 2; // a single lap is the session itself
constexpr int kAutoLapBit = 0x80;
constexpr int kLapEndHROffset = 3;
constexpr int kLapAverageHROffset = 4;
constexpr int kLapMaxHROffset = 5;
constexpr int kLapEndPaceOffset = 6;
constexpr int kLapDistanceOffset = 8;
constexpr int kLapAveragePaceOffset = 10;

bool bitSet(std::optional<int> byte, int bit)
{
    return byte && (*byte & bit) != 0;
}

// A lap's share of a cumulative value; without value when the later record
// holds less than the earlier one, which no lap can.
std::optional<int> difference(std::optional<int> cumulative, std::optional<int> previous)
{
    if (!cumulative || !previous || *cumulative < *previous)
        return std::nullopt;
    return *cumulative - *previous;
}

} // namespace

ByteIndices RS200SessionLayout::bytesRead(const ByteArray &bytes)
{
    const ByteReader reader(bytes);
    const bool footPod = FieldCodecs(bytes).decodeFootPodIsOn();
    ByteIndices read = FieldCodecs::rs200CodecBytes(footPod);
    addBytes(read, kWeightIndex, 2);
    addBytes(read, kLengthIndex);
    addBytes(read, ModelRecognizer::kRS200BirthdayIndex, 3);
    addBytes(read, kUserMaxHRIndex);
    addBytes(read, kVO2MaxIndex);
    addBytes(read, kSittingHRIndex);
    addBytes(read, kSexIndex);
    addBytes(read, kLimitsOnIndex);
    addBytes(read, ModelRecognizer::kRS200SessionDateIndex, 5);
    addBytes(read, ModelRecognizer::kRS200SessionHRIndex, 2);
    addBytes(read, kMaxSetHRIndex);
    addBytes(read, kCaloriesIndex, 2);
    if (bitSet(reader.byte(kLimitsOnIndex), kLimitsOnBit))
        addBytes(read, kLimitPairBase, kLimitPairSize * kLimitZones);
    if (footPod)
        addBytes(read, kDistanceIndex, 2);
    const int n = reader.byte(kNumberOfLapsIndex).value_or(0);
    const int recordSize = footPod ? kLapRecordSizeWithFootPod : kLapRecordSize;
    if (n >= kFewestLaps && reader.size() >= std::int64_t(recordSize) * n + kLapRecordsIndex)
        addBytes(read, kLapRecordsIndex, recordSize * n);
    return read;
}

RS200SessionLayout::RS200SessionLayout(const ByteArray &bytes, bool &dataMakesSense)
    : m_bytes(bytes), m_codecs(bytes), m_dataMakesSense(dataMakesSense)
{
}

RunSession RS200SessionLayout::session(const SessionClock &now) const
{
    RunSession session;
    session.hrm = watchModelName(WatchModel::RS200);
    session.importDate = now();
    session.sessionName = m_codecs.decodeSessionName(m_dataMakesSense);
    session.sessionDate = m_codecs.decodeSessionDate(ModelRecognizer::kRS200SessionDateIndex, m_dataMakesSense);
    setUserData(session);
    setFootPodData(session);

    session.sessionLimitType = limitType();
    session.sessionTotalTime = m_codecs.decodeTotalTime();
    session.sessionMaxSetHR = m_bytes.byte(kMaxSetHRIndex);
    if (const std::optional<HeartRateRecord> hr = m_codecs.decodeSessionHR(ModelRecognizer::kRS200SessionHRIndex)) {
        session.sessionAverageHR = hr->sessionAverageHR;
        session.sessionMaxHR = hr->sessionMaxHR;
    }
    if (m_bytes.has(kCaloriesIndex + 1))
        session.sessionCalories = m_bytes.lsbMsbToInt(kCaloriesIndex);

    session.limitZone = decodeRS200LimitZones(*session.sessionLimitType);
    session.sportZone = sportZones();
    session.sessionLaps = m_bytes.byte(kNumberOfLapsIndex);
    session.lap = laps(session.sessionPaceData.value_or(false));
    return session;
}

void RS200SessionLayout::setUserData(RunSession &session) const
{
    session.userWeight = m_codecs.decodeWeight(kWeightIndex);
    session.userLength = m_bytes.byte(kLengthIndex);
    session.userBirthday = m_codecs.decodeBirthdayDate(ModelRecognizer::kRS200BirthdayIndex, m_dataMakesSense);
    session.userMaxHR = m_bytes.byte(kUserMaxHRIndex);
    session.userVO2Max = m_bytes.byte(kVO2MaxIndex);
    session.userSittingHR = m_bytes.byte(kSittingHRIndex);
    if (const std::optional<int> sex = m_bytes.byte(kSexIndex))
        session.userSex = (*sex & kFemaleBit) ? kFemale : kMale;
    session.userActivityLevel = m_codecs.decodeUserActivityLevel();
}

void RS200SessionLayout::setFootPodData(RunSession &session) const
{
    if (!m_bytes.has(kPaceFlagsIndex))
        return;
    const bool footPod = m_codecs.decodeFootPodIsOn();
    session.sessionPaceData = footPod;
    if (!footPod)
        return;
    // The stored distance is metres: it bypasses the accessor's unit conversion.
    if (m_bytes.has(kDistanceIndex + 1))
        session.setPrimitiveSessionTotalDistance(m_bytes.lsbMsbToInt(kDistanceIndex) * kMetresPerDistanceUnit);
    const std::optional<PaceRecord> pace = m_codecs.decodePace();
    if (pace && m_bytes.has(kFastestPaceIndex + 1))
        session.sessionMaxPace = pace->sessionMaxPace;
}

QString RS200SessionLayout::limitType() const
{
    if (!bitSet(m_bytes.byte(kLimitsOnIndex), kLimitsOnBit))
        return kNoLimits;
    return bitSet(m_bytes.byte(kPaceFlagsIndex), kPaceLimitsBit) ? kPaceLimits : kHRLimits;
}

std::vector<LimitZone> RS200SessionLayout::decodeRS200LimitZones(const QString &limitType) const
{
    const std::optional<LimitZoneTimes> below = m_codecs.decodeTimeBelowZone();
    const std::optional<LimitZoneTimes> inside = m_codecs.decodeTimeInZone();
    const std::optional<LimitZoneTimes> above = m_codecs.decodeTimeAboveZone();

    std::vector<LimitZone> zones;
    for (int z = 1; z <= kLimitZones; ++z) {
        const int p = kLimitPairBase + kLimitPairSize * (z - 1);
        const std::optional<int> lowByte = m_bytes.byte(p);
        // Heart-rate limits end at the first zone the user left empty.
        if (limitType == kHRLimits && lowByte.value_or(0) == 0)
            break;
        LimitZone zone;
        zone.zoneNumber = z;
        if (limitType == kHRLimits) {
            zone.limitLow = lowByte;
            zone.limitHigh = m_bytes.byte(p + kUpperLimitOffset);
        } else if (limitType == kPaceLimits) {
            if (m_bytes.has(p + 1))
                zone.limitLow = m_bytes.lsbMsbToInt(p);
            if (m_bytes.has(p + kUpperLimitOffset + 1))
                zone.limitHigh = m_bytes.lsbMsbToInt(p + kUpperLimitOffset);
        }
        const std::size_t entry = std::size_t(z - 1);
        if (below)
            zone.timeBelowZone = (*below)[entry];
        if (inside)
            zone.timeInZone = (*inside)[entry];
        if (above)
            zone.timeAboveZone = (*above)[entry];
        zones.push_back(zone);
    }
    return zones;
}

std::vector<SportZone> RS200SessionLayout::sportZones() const
{
    std::vector<SportZone> zones;
    const std::optional<std::vector<SportZoneRecord>> records = m_codecs.decodeSportZones();
    if (!records)
        return zones;
    for (const SportZoneRecord &record : *records) {
        SportZone zone;
        zone.zoneNumber = record.sportZoneNumber;
        zone.limitLow = record.limitLow;
        zone.limitHigh = record.limitHigh;
        zone.timeInZone = record.timeInZone;
        zones.push_back(zone);
    }
    return zones;
}

std::vector<Lap> RS200SessionLayout::laps(bool footPod) const
{
    std::vector<Lap> laps;
    const int n = m_bytes.byte(kNumberOfLapsIndex).value_or(0);
    const int recordSize = footPod ? kLapRecordSizeWithFootPod : kLapRecordSize;
    if (n < kFewestLaps || m_bytes.size() < std::int64_t(recordSize) * n + kLapRecordsIndex)
        return laps;
    for (int r = 0; r < n; ++r) {
        const int record = kLapRecordsIndex + recordSize * r;
        const int next = r < n - 1 ? record + recordSize : -1;
        Lap lap = lapFromRecord(record, next, footPod);
        lap.lapNumber = n - r;
        laps.push_back(lap);
    }
    return laps;
}

// next is the record of the lap before this one, or -1 for lap 1.
Lap RS200SessionLayout::lapFromRecord(int record, int next, bool footPod) const
{
    const auto cumulativeTime = [&](int at) -> std::optional<int> {
        const std::optional<TimeRecord> time = m_codecs.timeFrom3Bytes(at, false);
        return time ? std::optional<int>(time->totalSecondsx10) : std::nullopt;
    };
    const auto cumulativeDistance = [&](int at) -> std::optional<int> {
        if (!m_bytes.has(at + kLapDistanceOffset + 1))
            return std::nullopt;
        return m_bytes.lsbMsbToInt(at + kLapDistanceOffset) * kMetresPerDistanceUnit;
    };

    Lap lap;
    lap.timeInLap = next < 0 ? cumulativeTime(record) : difference(cumulativeTime(record), cumulativeTime(next));
    if (const std::optional<int> hoursByte = m_bytes.byte(record + 2))
        lap.autoLap = (*hoursByte & kAutoLapBit) != 0;
    lap.endHR = m_bytes.byte(record + kLapEndHROffset);
    lap.averageHR = m_bytes.byte(record + kLapAverageHROffset);
    lap.maxHR = m_bytes.byte(record + kLapMaxHROffset);
    if (footPod) {
        lap.endPace = m_bytes.lsbMsbToInt(record + kLapEndPaceOffset);
        lap.distance = next < 0 ? cumulativeDistance(record)
                                : difference(cumulativeDistance(record), cumulativeDistance(next));
        lap.averagePace = m_bytes.lsbMsbToInt(record + kLapAveragePaceOffset);
    }
    return lap;
}
