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
