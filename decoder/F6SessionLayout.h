#pragma once

#include "ByteIndices.h"
#include "ByteReader.h"
#include "FieldCodecs.h"
#include "SessionClock.h"

#include "RunSession.h"

#include <QDateTime>
#include <QList>

#include <vector>

// Reads the sessions out of a cleaned F6 memory transfer: M records of 44 bytes
// laid out backwards from the length L, one session with one "In Zone" sport
// zone each. A view on the byte array; clears the caller's dataMakesSense when
// a record's start date is implausible. Any thread.
class F6SessionLayout
{
public:
    static constexpr int kRecordSize = 44;
    static constexpr int kFirstRecordOffset = 33; // record 1 starts at L - 33

    F6SessionLayout(const ByteArray &bytes, bool &dataMakesSense);

    // The records whose start date is not that of a record taken earlier in
    // this transfer, in record order (record 1 first). A record without a
    // plausible start date is skipped. Skipping the sessions stored before is
    // the importer's step.
    std::vector<RunSession> sessions(const SessionClock &now) const;

    // The bytes the F6 check and this layout read from bytes: the record count,
    // the length and every record's marker and fields.
    static ByteIndices bytesRead(const ByteArray &bytes);

    // Index of record k (1 to M).
    static int recordStart(int length, int k) { return length - kFirstRecordOffset - kRecordSize * (k - 1); }

private:
    RunSession sessionAt(int start, const QDateTime &sessionDate, const SessionClock &now) const;
    SportZone targetZoneAt(int start) const;

    ByteReader m_bytes;
    FieldCodecs m_codecs;
    bool &m_dataMakesSense;
};
