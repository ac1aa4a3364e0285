#pragma once

#include "ByteReader.h"
#include "FieldCodecs.h"
#include "SessionClock.h"

#include "RunSession.h"

#include <QString>

#include <vector>

// Reads the one session of a cleaned RS200 transfer: the user's data, name,
// date, times and heart rates, up to three limit zones, five sport zones, the
// foot pod's distance and pace, and the laps (records last lap first, holding
// cumulative times and distances). A view on the byte array; the date and name
// codecs clear the caller's dataMakesSense on an implausible value. Fields past
// the end of the array stay without value. Any thread.
class RS200SessionLayout
{
public:
    static const QString kNoLimits;
    static const QString kHRLimits;
    static const QString kPaceLimits;

    RS200SessionLayout(const ByteArray &bytes, bool &dataMakesSense);

    RunSession session(const SessionClock &now) const;

    // The bytes the RS200 check and this layout read from bytes.
    static ByteIndices bytesRead(const ByteArray &bytes);

    // Limit zones 1 to 3 for limitType; "HR Limits" stops at the first zero
    // lower limit.
    std::vector<LimitZone> decodeRS200LimitZones(const QString &limitType) const;

private:
    void setUserData(RunSession &session) const;
    void setFootPodData(RunSession &session) const;
    QString limitType() const;
    std::vector<SportZone> sportZones() const;
    std::vector<Lap> laps(bool footPod) const;
    Lap lapFromRecord(int record, int next, bool footPod) const;

    ByteReader m_bytes;
    FieldCodecs m_codecs;
    bool &m_dataMakesSense;
};
