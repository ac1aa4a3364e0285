#pragma once

#include "FieldCodecs.h"

#include <cstddef>
#include <cstdint>

// Runs every codec at fixed places and at places taken from the input, so
// that any read past the end of the array shows.
inline void exerciseCodecs(const ByteArray &bytes, const std::uint8_t *data, std::size_t size)
{
    const FieldCodecs codecs(bytes);
    bool flag = true;
    const int size0 = int(bytes.size());
    const int places[] = {0, 19, 37, 45, 101, 109, 113, 134, 140, size0 - 5, size0 - 1, size0,
                          size > 1 ? data[1] * 3 : 0, size > 2 ? data[2] + 256 * (size > 3 ? data[3] : 0) : 0};
    for (int i : places) {
        codecs.secondsx10From3Bytes(i);
        codecs.secondsx10From4Bytes(i);
        codecs.timeFrom3Bytes(i, true);
        codecs.timeFrom3Bytes(i, false);
        codecs.decodeSessionDate(i, flag);
        codecs.decodeF6SessionDate(i, flag);
        codecs.decodeBirthdayDate(i, flag);
        codecs.decodeWeight(i);
        codecs.decodeSessionHR(i);
        codecs.lsbMsbToInt(i);
    }
    codecs.decodeTotalTime();
    codecs.decodeSessionName(flag);
    codecs.decodeUserActivityLevel();
    codecs.decodePace();
    codecs.decodeCS200Speed();
    codecs.decodeCS200Cadence();
    codecs.decodeTimeBelowZone();
    codecs.decodeTimeInZone();
    codecs.decodeTimeAboveZone();
    codecs.decodeSportZones();
    codecs.checkCS200Zones();
    codecs.decodeCS200LimitType();
    codecs.decodeNumberOfCS200Laps();
    codecs.checkLapData(codecs.decodeFootPodIsOn(), codecs.decodeTotalTime().value_or(0));
    codecs.checkLapData(!codecs.decodeFootPodIsOn(), 0);
}
