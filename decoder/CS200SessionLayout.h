#pragma once

#include "ByteReader.h"
#include "FieldCodecs.h"
#include "SessionClock.h"

#include "RunSession.h"

#include <vector>

// Reads the one cycling session of a cleaned CS200 transfer: total and ride
// time, heart rates, calories, distance, speed and cadence, at most one limit
// zone, the user's data and the laps (records first lap first, holding
// cumulative times and distances). Distances and speeds stay in the watch's
// own counting. A view on the byte array; the date codecs clear the caller's
// dataMakesSense on an implausible value. Fields past the end of the array
// stay without value. Any thread.
class CS200SessionLayout
{
public:
    static const QString kNoLimits;

    // The CS200 byte map: every place of the cleaned transfer that the
    // layout, its check and its codecs read.
    static constexpr int kWeightIndex = 98;
    static constexpr int kLengthIndex = 100;
    static constexpr int kBirthdayIndex = 101;
    static constexpr int kUserMaxHRIndex = 105;
    static constexpr int kSittingHRIndex = 107;
    static constexpr int kLimitFlagsIndex = 108; // bits 0-1: limit type; bit 6: cadence sensor
    static constexpr int kTotalTimeIndex = 109;
    static constexpr int kSessionHRIndex = 113;
    static constexpr int kTimeInZoneIndex = 115;
    static constexpr int kTimeAboveZoneIndex = 118;
    static constexpr int kTimeBelowZoneIndex = 121;
    static constexpr int kCaloriesIndex = 124;
    static constexpr int kDistanceIndex = 126; // tenths of the watch's distance unit
    static constexpr int kAverageSpeedIndex = 128;
    static constexpr int kMaxSpeedIndex = 130;
    static constexpr int kAverageCadenceIndex = 132;
    static constexpr int kMaxCadenceIndex = 133;
    static constexpr int kRideTimeIndex = 134;
    static constexpr int kNumberOfLapsIndex = 138;
    static constexpr int kSessionDateIndex = 140;
    static constexpr int kLimitLowIndex = 146;
    static constexpr int kLimitHighIndex = 147;
    static constexpr int kLapRecordsIndex = 153; // records of 12 bytes, first lap first

    CS200SessionLayout(const ByteArray &bytes, bool &dataMakesSense);

    RunSession session(const SessionClock &now) const;

    // The bytes the CS200 check and this layout read from bytes.
    static ByteIndices bytesRead(const ByteArray &bytes);

private:
    void setSpeedAndCadence(RunSession &session) const;
    std::vector<LimitZone> limitZones(const QString &limitType) const;
    std::vector<Lap> laps(bool cadenceSensor) const;

    ByteReader m_bytes;
    FieldCodecs m_codecs;
    bool &m_dataMakesSense;
};
