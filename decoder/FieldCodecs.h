#pragma once

#include "ByteIndices.h"
#include "ByteReader.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <optional>
#include <vector>

// Result records of the codecs. Their field names are the keys the session
// layouts read them by.
struct TimeRecord
{
    int seconds = 0;
    int minutes = 0;
    int hours = 0;
    int tenths = 0;
    int totalSecondsx10 = 0;
};

struct HeartRateRecord
{
    int sessionAverageHR = 0;
    int sessionMaxHR = 0;
};

// Tenths of a second per kilometre: the smaller number is the faster pace.
struct PaceRecord
{
    int sessionMaxPace = 0;
    int sessionAveragePace = 0;
};

struct SpeedRecord
{
    int maxSpeed = 0;
    int aveSpeed = 0;
};

struct CadenceRecord
{
    int maxCadence = 0;
    int aveCadence = 0;
};

struct SportZoneRecord
{
    int sportZoneNumber = 0;
    int limitLow = 0;
    int limitHigh = 0;
    int timeInZone = 0;
};

// Tenths of a second below, in or above limit zones 1, 2 and 3, in this order.
using LimitZoneTimes = std::array<int, 3>;

// Reads the watches' field encodings out of a cleaned transfer: packed
// decimal digits, packed times, date words and the six-bit name alphabet.
// A const view on the byte array; it never changes the array. The date and
// name codecs clear the caller's dataMakesSense flag on an implausible value.
// Dates are local time; an hour of 24 is 00:00 of the next day, and a day past
// the end of its month runs on into the next month, as a lenient calendar does.
class FieldCodecs
{
public:
    explicit FieldCodecs(const ByteArray &bytes) : m_bytes(bytes) {}

    int lsbMsbToInt(int i) const { return m_bytes.lsbMsbToInt(i); }

    // Times, in tenths of a second.
    std::optional<int> secondsx10From3Bytes(int i) const;
    std::optional<int> secondsx10From4Bytes(int i) const;
    std::optional<TimeRecord> timeFrom3Bytes(int i, bool bcd) const;
    std::optional<int> decodeTotalTime() const;

    // Dates.
    std::optional<QDateTime> decodeSessionDate(int i, bool &dataMakesSense) const;
    std::optional<QDateTime> decodeF6SessionDate(int i, bool &dataMakesSense) const;
    std::optional<QDateTime> decodeBirthdayDate(int i, bool &dataMakesSense) const;

    // Name and user data.
    std::optional<QString> decodeSessionName(bool &dataMakesSense) const;
    std::optional<int> decodeWeight(int i) const;
    std::optional<QString> decodeUserActivityLevel() const;
    bool decodeFootPodIsOn() const;

    // Heart rate, pace, speed, cadence.
    std::optional<HeartRateRecord> decodeSessionHR(int i) const;
    std::optional<PaceRecord> decodePace() const;
    std::optional<SpeedRecord> decodeCS200Speed() const;
    std::optional<CadenceRecord> decodeCS200Cadence() const;

    // Zones and laps.
    std::optional<LimitZoneTimes> decodeTimeBelowZone() const;
    std::optional<LimitZoneTimes> decodeTimeInZone() const;
    std::optional<LimitZoneTimes> decodeTimeAboveZone() const;
    std::optional<std::vector<SportZoneRecord>> decodeSportZones() const;
    bool checkCS200Zones() const;
    std::optional<QString> decodeCS200LimitType() const;
    int decodeNumberOfLaps() const;
    int decodeNumberOfCS200Laps() const;
    bool checkLapData(bool footPod, int sessionTotalTime) const;

    // The fixed places the RS200 and CS200 codecs above read (the pace only
    // with the foot pod); the layouts add the places they pass in.
    static ByteIndices rs200CodecBytes(bool footPod);
    static ByteIndices cs200CodecBytes();

    // Packed time in three bytes: seconds and minutes in the low six bits of
    // b0 and b1, hours in the low seven bits of b2, the tenths spread over the
    // top two bits of b0 (low) and b1 (high). No value when not a valid time.
    static std::optional<TimeRecord> packedTime(int b0, int b1, int b2);

private:
    std::optional<TimeRecord> packedTimeAt(int i, bool bcd) const;
    std::optional<LimitZoneTimes> limitZoneTimesAt(const std::array<int, 3> &indices) const;

    ByteReader m_bytes;
};
