#include "FieldCodecs.h"

#include "CS200SessionLayout.h"

#include "VXDurationText.h"

#include <iterator>

namespace {

constexpr int kTenthsPerSecond = int(VXDurationText::kTenthsPerSecond);
constexpr int kTenthsPerMinute = int(VXDurationText::kTenthsPerMinute);
constexpr int kTenthsPerHour = int(VXDurationText::kTenthsPerHour);
constexpr int kMaxSecondsOrMinutes = 59;
constexpr int kMaxTenths = 9;
constexpr int kMaxHundredths = 99;
constexpr int kMaxDateHour = 24; // the watches write midnight as 24:00
constexpr int kMaxDayOfMonth = 31;
constexpr int kMonths = 12;
constexpr int kSessionYearBase = 2000;
constexpr int kBirthYearBase = 1900;

// Session-date word: day in bits 0-4, month in bits 5-8, year since 2000 above.
constexpr int kDateWordDays = 32;
constexpr int kDateWordMonths = 16;
constexpr int kDateWordYear = 512;

// Fixed places of the RS200 fields; the CS200 layout holds its own.
constexpr int kActivityLevelIndex = 26;
constexpr int kNameFirstIndex = 27;
constexpr int kNameLastIndex = 34;
constexpr int kFootPodIndex = 35;
constexpr int kFootPodBit = 8;
constexpr int kTotalTimeIndex = 42;
constexpr int kFastestPaceIndex = 129;
constexpr int kAveragePaceIndex = 137;
constexpr int kLimitTypeMask = 3;
constexpr int kNumberOfLapsIndex = 132;

constexpr std::array<int, 3> kTimeBelowZoneIndices = {66, 75, 84};
constexpr std::array<int, 3> kTimeInZoneIndices = {69, 78, 87};
constexpr std::array<int, 3> kTimeAboveZoneIndices = {72, 81, 90};

// Sport zone j (1 to 5): limits at 100 + 2j and 101 + 2j, time at 109 + 3j.
constexpr int kSportZones = 5;
constexpr int kSportZoneLimitBase = 100;
constexpr int kSportZoneTimeBase = 109;

// RS200 lap records: cumulative times, last lap first.
constexpr int kLapRecordsIndex = 139;
constexpr int kLapRecordSizeWithFootPod = 12;
constexpr int kLapRecordSize = 6;
constexpr int kLapAverageHROffset = 4;
constexpr int kLapMaxHROffset = 5;

// Six-bit name alphabet: digits, space, upper and lower case letters, "?".
const QString kNameAlphabet =
    QStringLiteral("0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz?");
// Punctuation by four-bit code. Codes 13 to 15 have no character on the watch;
// we show them as a space, like the table's other unused codes.
const QString kNamePunctuation = QStringLiteral(":.  /*  -+%()   ");
constexpr int kNameAlphabetEnd = 64;  // 0-63: a character, the name goes on
constexpr int kNamePunctuationEnd = 128; // 64-127: punctuation, the name goes on
constexpr int kNameEndMark = 128;        // 128 and above: the last character

const QString kActivityLevels[] = {QStringLiteral("Top"), QStringLiteral("High"),
                                   QStringLiteral("Moderate"), QStringLiteral("Low")};
const QString kLimitTypes[] = {QStringLiteral("No limits"), QStringLiteral("Manual"),
                               QStringLiteral("OwnZone")};

bool isSecondOrMinute(int value)
{
    return value <= kMaxSecondsOrMinutes;
}

// Builds a local date and time from calendar fields the way a lenient calendar
// does: an hour of 24 is 00:00 of the next day and a day past the month's end
// runs on into the next month.
QDateTime localDateTime(int year, int month, int day, int hour, int minute, int second)
{
    const int extraDay = hour == kMaxDateHour ? 1 : 0;
    const QDate date = QDate(year, month, 1).addDays(day - 1 + extraDay);
    return QDateTime(date, QTime(hour % kMaxDateHour, minute, second));
}

bool isPlausibleTimeOfDay(int hour, int minute, int second)
{
    return hour <= kMaxDateHour && isSecondOrMinute(minute) && isSecondOrMinute(second);
}

bool isMonth(int month)
{
    return month >= 1 && month <= kMonths;
}

} // namespace

ByteIndices FieldCodecs::rs200CodecBytes(bool footPod)
{
    ByteIndices read;
    addBytes(read, kActivityLevelIndex);
    addBytes(read, kNameFirstIndex, kNameLastIndex - kNameFirstIndex + 1);
    addBytes(read, kFootPodIndex);
    addBytes(read, kTotalTimeIndex, 3);
    for (const auto &zoneTimes : {kTimeBelowZoneIndices, kTimeInZoneIndices, kTimeAboveZoneIndices})
        for (int index : zoneTimes)
            addBytes(read, index, 3);
    for (int j = 1; j <= kSportZones; ++j) {
        addBytes(read, kSportZoneLimitBase + 2 * j, 2);
        addBytes(read, kSportZoneTimeBase + 3 * j, 3);
    }
    if (footPod) {
        addBytes(read, kFastestPaceIndex, 2);
        addBytes(read, kAveragePaceIndex, 2);
    }
    addBytes(read, kNumberOfLapsIndex);
    return read;
}

ByteIndices FieldCodecs::cs200CodecBytes()
{
    ByteIndices read;
    addBytes(read, CS200SessionLayout::kLimitFlagsIndex);
    addBytes(read, CS200SessionLayout::kAverageSpeedIndex, 2);
    addBytes(read, CS200SessionLayout::kMaxSpeedIndex, 2);
    addBytes(read, CS200SessionLayout::kAverageCadenceIndex);
    addBytes(read, CS200SessionLayout::kMaxCadenceIndex);
    addBytes(read, CS200SessionLayout::kNumberOfLapsIndex);
    addBytes(read, CS200SessionLayout::kLimitLowIndex);
    addBytes(read, CS200SessionLayout::kLimitHighIndex);
    return read;
}

std::optional<TimeRecord> FieldCodecs::packedTime(int b0, int b1, int b2)
{
    TimeRecord time;
    time.seconds = b0 % 64;
    time.minutes = b1 % 64;
    time.hours = b2 % 128;
    time.tenths = b0 / 64 + 4 * (b1 / 64);
    if (!isSecondOrMinute(time.seconds) || !isSecondOrMinute(time.minutes)
        || time.tenths > kMaxTenths)
        return std::nullopt;
    time.totalSecondsx10 = ((time.hours * 60 + time.minutes) * 60 + time.seconds) * kTenthsPerSecond
                           + time.tenths;
    return time;
}

std::optional<TimeRecord> FieldCodecs::packedTimeAt(int i, bool bcd) const
{
    const auto read = [&](int index) { return bcd ? m_bytes.decimal(index) : m_bytes.byte(index); };
    const std::optional<int> b0 = read(i);
    const std::optional<int> b1 = read(i + 1);
    const std::optional<int> b2 = read(i + 2);
    if (!b0 || !b1 || !b2)
        return std::nullopt;
    return packedTime(*b0, *b1, *b2);
}

std::optional<int> FieldCodecs::secondsx10From3Bytes(int i) const
{
    const std::optional<int> seconds = m_bytes.decimal(i);
    const std::optional<int> minutes = m_bytes.decimal(i + 1);
    const std::optional<int> hours = m_bytes.decimal(i + 2);
    if (!seconds || !minutes || !hours || !isSecondOrMinute(*seconds) || !isSecondOrMinute(*minutes))
        return std::nullopt;
    return *hours * kTenthsPerHour + *minutes * kTenthsPerMinute + *seconds * kTenthsPerSecond;
}

std::optional<int> FieldCodecs::secondsx10From4Bytes(int i) const
{
    const std::optional<int> hundredths = m_bytes.decimal(i);
    const std::optional<int> seconds = m_bytes.decimal(i + 1);
    const std::optional<int> minutes = m_bytes.decimal(i + 2);
    const std::optional<int> hours = m_bytes.decimal(i + 3);
    if (!hundredths || !seconds || !minutes || !hours)
        return std::nullopt;
    if (!isSecondOrMinute(*seconds) || !isSecondOrMinute(*minutes) || *hundredths > kMaxHundredths)
        return std::nullopt;
    // Hundredths are cut to tenths, not rounded.
    return *hours * kTenthsPerHour + *minutes * kTenthsPerMinute + *seconds * kTenthsPerSecond
           + *hundredths / 10;
}

std::optional<TimeRecord> FieldCodecs::timeFrom3Bytes(int i, bool bcd) const
{
    return packedTimeAt(i, bcd);
}

std::optional<int> FieldCodecs::decodeTotalTime() const
{
    if (!m_bytes.has(kTotalTimeIndex + 2))
        return std::nullopt;
    // An implausible total time reads as 0 rather than failing the RS200 check.
    const std::optional<TimeRecord> time = packedTimeAt(kTotalTimeIndex, false);
    return time ? time->totalSecondsx10 : 0;
}

std::optional<QDateTime> FieldCodecs::decodeSessionDate(int i, bool &dataMakesSense) const
{
    if (!m_bytes.has(std::int64_t(i) + 4) || !m_bytes.has(i))
        return std::nullopt;
    const int word = m_bytes.lsbMsbToInt(i);
    const int day = word % kDateWordDays;
    const int month = (word / kDateWordDays) % kDateWordMonths;
    const int year = kSessionYearBase + word / kDateWordYear;
    const int second = *m_bytes.decimal(i + 2);
    const int minute = *m_bytes.decimal(i + 3);
    const int hour = *m_bytes.decimal(i + 4);
    if (!isMonth(month) || day == 0 || !isPlausibleTimeOfDay(hour, minute, second)) {
        dataMakesSense = false;
        return std::nullopt;
    }
    return localDateTime(year, month, day, hour, minute, second);
}

std::optional<QDateTime> FieldCodecs::decodeF6SessionDate(int i, bool &dataMakesSense) const
{
    const std::optional<int> day = m_bytes.byte(i);
    const std::optional<int> month = m_bytes.byte(i + 1);
    const std::optional<int> year = m_bytes.byte(i + 2);
    const std::optional<int> second = m_bytes.decimal(i + 3);
    const std::optional<int> minute = m_bytes.decimal(i + 4);
    const std::optional<int> hour = m_bytes.decimal(i + 5);
    if (!day || !month || !year || !second || !minute || !hour)
        return std::nullopt;
    if (!isMonth(*month) || *day < 1 || *day > kMaxDayOfMonth
        || !isPlausibleTimeOfDay(*hour, *minute, *second)) {
        dataMakesSense = false;
        return std::nullopt;
    }
    return localDateTime(kSessionYearBase + *year, *month, *day, *hour, *minute, *second);
}

std::optional<QDateTime> FieldCodecs::decodeBirthdayDate(int i, bool &dataMakesSense) const
{
    const std::optional<int> day = m_bytes.byte(i);
    const std::optional<int> month = m_bytes.byte(i + 1);
    const std::optional<int> year = m_bytes.byte(i + 2);
    if (!day || !month || !year)
        return std::nullopt;
    if (!isMonth(*month) || *day < 1 || *day > kMaxDayOfMonth) {
        dataMakesSense = false;
        return std::nullopt;
    }
    return localDateTime(kBirthYearBase + *year, *month, *day, 0, 0, 0);
}

std::optional<QString> FieldCodecs::decodeSessionName(bool &dataMakesSense) const
{
    QString name;
    for (int index = kNameFirstIndex; index <= kNameLastIndex; ++index) {
        const std::optional<int> b = m_bytes.byte(index);
        if (!b)
            return std::nullopt;
        if (*b < kNameAlphabetEnd) {
            name += kNameAlphabet.at(*b);
            // A name that fills all eight places must end in punctuation or an end mark.
            if (index == kNameLastIndex) {
                dataMakesSense = false;
                return std::nullopt;
            }
        } else if (*b < kNamePunctuationEnd) {
            name += kNamePunctuation.at(*b % 16);
        } else {
            // 128-191: a character with the end mark. 192-255 have the
            // punctuation bit as well; we read them as punctuation that ends the name.
            const int code = *b - kNameEndMark;
            name += code < kNameAlphabetEnd ? kNameAlphabet.at(code) : kNamePunctuation.at(code % 16);
            return name;
        }
    }
    return name;
}

std::optional<int> FieldCodecs::decodeWeight(int i) const
{
    if (!m_bytes.has(i) || !m_bytes.has(std::int64_t(i) + 1))
        return std::nullopt;
    return m_bytes.lsbMsbToInt(i);
}

std::optional<QString> FieldCodecs::decodeUserActivityLevel() const
{
    const std::optional<int> level = m_bytes.byte(kActivityLevelIndex);
    if (!level || *level >= int(std::size(kActivityLevels)))
        return std::nullopt;
    return kActivityLevels[*level];
}

bool FieldCodecs::decodeFootPodIsOn() const
{
    const std::optional<int> flags = m_bytes.byte(kFootPodIndex);
    return flags && (*flags & kFootPodBit) != 0;
}

std::optional<HeartRateRecord> FieldCodecs::decodeSessionHR(int i) const
{
    const std::optional<int> average = m_bytes.byte(i);
    const std::optional<int> maximum = m_bytes.byte(std::int64_t(i) + 1);
    if (!average || !maximum || *average > *maximum)
        return std::nullopt;
    return HeartRateRecord{*average, *maximum};
}

std::optional<PaceRecord> FieldCodecs::decodePace() const
{
    const int fastest = m_bytes.lsbMsbToInt(kFastestPaceIndex);
    const int average = m_bytes.lsbMsbToInt(kAveragePaceIndex);
    if (fastest > average)
        return std::nullopt;
    return PaceRecord{fastest, average};
}

std::optional<SpeedRecord> FieldCodecs::decodeCS200Speed() const
{
    const int average = m_bytes.lsbMsbToInt(CS200SessionLayout::kAverageSpeedIndex);
    const int maximum = m_bytes.lsbMsbToInt(CS200SessionLayout::kMaxSpeedIndex);
    if (average > maximum)
        return std::nullopt;
    return SpeedRecord{maximum, average};
}

std::optional<CadenceRecord> FieldCodecs::decodeCS200Cadence() const
{
    const std::optional<int> average = m_bytes.byte(CS200SessionLayout::kAverageCadenceIndex);
    const std::optional<int> maximum = m_bytes.byte(CS200SessionLayout::kMaxCadenceIndex);
    if (!average || !maximum || *average > *maximum)
        return std::nullopt;
    return CadenceRecord{*maximum, *average};
}

std::optional<LimitZoneTimes> FieldCodecs::limitZoneTimesAt(const std::array<int, 3> &indices) const
{
    LimitZoneTimes times{};
    for (std::size_t zone = 0; zone < indices.size(); ++zone) {
        const std::optional<TimeRecord> time = packedTimeAt(indices[zone], true);
        if (!time)
            return std::nullopt;
        times[zone] = time->totalSecondsx10;
    }
    return times;
}

std::optional<LimitZoneTimes> FieldCodecs::decodeTimeBelowZone() const
{
    return limitZoneTimesAt(kTimeBelowZoneIndices);
}

std::optional<LimitZoneTimes> FieldCodecs::decodeTimeInZone() const
{
    return limitZoneTimesAt(kTimeInZoneIndices);
}

std::optional<LimitZoneTimes> FieldCodecs::decodeTimeAboveZone() const
{
    return limitZoneTimesAt(kTimeAboveZoneIndices);
}

std::optional<std::vector<SportZoneRecord>> FieldCodecs::decodeSportZones() const
{
    std::vector<SportZoneRecord> zones;
    zones.reserve(kSportZones);
    for (int j = 1; j <= kSportZones; ++j) {
        const std::optional<int> low = m_bytes.byte(kSportZoneLimitBase + 2 * j);
        const std::optional<int> high = m_bytes.byte(kSportZoneLimitBase + 2 * j + 1);
        const std::optional<TimeRecord> time = packedTimeAt(kSportZoneTimeBase + 3 * j, true);
        if (!low || !high || !time || *low > *high)
            return std::nullopt;
        zones.push_back(SportZoneRecord{j, *low, *high, time->totalSecondsx10});
    }
    return zones;
}

bool FieldCodecs::checkCS200Zones() const
{
    const std::optional<int> low = m_bytes.byte(CS200SessionLayout::kLimitLowIndex);
    const std::optional<int> high = m_bytes.byte(CS200SessionLayout::kLimitHighIndex);
    return low && high && *low <= *high;
}

std::optional<QString> FieldCodecs::decodeCS200LimitType() const
{
    const std::optional<int> flags = m_bytes.byte(CS200SessionLayout::kLimitFlagsIndex);
    if (!flags)
        return std::nullopt;
    const int type = *flags & kLimitTypeMask;
    if (type >= int(std::size(kLimitTypes)))
        return std::nullopt;
    return kLimitTypes[type];
}

int FieldCodecs::decodeNumberOfLaps() const
{
    return m_bytes.byte(kNumberOfLapsIndex).value_or(0);
}

int FieldCodecs::decodeNumberOfCS200Laps() const
{
    return m_bytes.byte(CS200SessionLayout::kNumberOfLapsIndex).value_or(0);
}

bool FieldCodecs::checkLapData(bool footPod, int sessionTotalTime) const
{
    const int laps = decodeNumberOfLaps();
    if (laps < 2)
        return true;
    const int recordSize = footPod ? kLapRecordSizeWithFootPod : kLapRecordSize;
    // Too short to hold every record: the laps are left undecoded, not rejected.
    if (m_bytes.size() < std::int64_t(recordSize) * laps + kLapRecordsIndex)
        return true;

    const auto lapTime = [&](int k) -> std::optional<int> {
        const std::optional<TimeRecord> time = packedTimeAt(kLapRecordsIndex + recordSize * k, false);
        if (!time || time->totalSecondsx10 == 0)
            return std::nullopt;
        return time->totalSecondsx10;
    };

    // The records hold cumulative times, last lap first: the lap times add up
    // to record 0's time, which must be the session's total time.
    int sum = 0;
    for (int k = 0; k < laps; ++k) {
        const int record = kLapRecordsIndex + recordSize * k;
        const std::optional<int> time = lapTime(k);
        if (!time)
            return false;
        if (k < laps - 1) {
            const std::optional<int> next = lapTime(k + 1);
            if (!next)
                return false;
            sum += *time - *next;
        } else {
            sum += *time;
            if (sum != sessionTotalTime)
                return false;
        }
        const std::optional<int> averageHR = m_bytes.byte(record + kLapAverageHROffset);
        const std::optional<int> maxHR = m_bytes.byte(record + kLapMaxHROffset);
        if (!averageHR || !maxHR || *averageHR > *maxHR)
            return false;
    }
    return true;
}
