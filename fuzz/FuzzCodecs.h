#pragma once

#include "Decoder.h"

#include <cstddef>
#include <cstdint>

// Runs every codec of the decoder at fixed places and at places taken from
// the input, so that any read past the end of the array shows.
inline void exerciseCodecs(Decoder &decoder, const std::uint8_t *data, std::size_t size)
{
    const int size0 = int(decoder.byteArray().size());
    const int places[] = {0, 19, 37, 45, 101, 109, 113, 134, 140, size0 - 5, size0 - 1, size0,
                          size > 1 ? data[1] * 3 : 0, size > 2 ? data[2] + 256 * (size > 3 ? data[3] : 0) : 0};
    for (int i : places) {
        decoder.secondsx10From3Bytes(i);
        decoder.secondsx10From4Bytes(i);
        decoder.timeFrom3Bytes(i, true);
        decoder.timeFrom3Bytes(i, false);
        decoder.decodeSessionDate(i);
        decoder.decodeF6SessionDate(i);
        decoder.decodeBirthdayDate(i);
        decoder.decodeWeight(i);
        decoder.decodeSessionHR(i);
        decoder.lsbMsbToInt(i);
    }
    decoder.decodeTotalTime();
    decoder.decodeSessionName();
    decoder.decodeUserActivityLevel();
    decoder.decodePace();
    decoder.decodeCS200Speed();
    decoder.decodeCS200Cadence();
    decoder.decodeTimeBelowZone();
    decoder.decodeTimeInZone();
    decoder.decodeTimeAboveZone();
    decoder.decodeSportZones();
    decoder.checkCS200Zones();
    decoder.decodeCS200LimitType();
    decoder.decodeNumberOfCS200Laps();
    decoder.checkLapData(decoder.decodeFootPodIsOn(), decoder.decodeTotalTime().value_or(0));
    decoder.checkLapData(!decoder.decodeFootPodIsOn(), 0);
}
