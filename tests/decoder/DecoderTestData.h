#pragma once

#include "ByteReader.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace testdata {

// A canonical 44-byte-header WAV around the samples; the data chunk's size
// field says declaredBytes when given, else the real size.
QByteArray wav(const std::vector<std::int16_t> &samples, std::int64_t declaredBytes = -1);

// Ideal bursts: one single-sample spike per marked cell. Frame f starts its
// start burst at leadSamples + spacing * f; bit k (1..8) is a spike 88k later.
std::vector<std::int16_t> spikes(const ByteArray &stream, std::int64_t leadSamples = 6000,
                                 std::int64_t spacing = 900, std::int16_t height = 10000);

// What the watch sends before the transfer: lead bytes 0xAA ahead of the sync byte.
ByteArray withLead(const ByteArray &cleaned, int leadBytes = 6);

// count bytes of a fixed pattern that uses every value.
ByteArray randomLikeBytes(std::size_t count);

// Cleaned transfers that pass the RS200 and the CS200 check (and no earlier one).
// The RS200 session: name "Races", 15 January 2013 14:30:00, total time
// 10:00.0, no foot pod, no laps.
ByteArray rs200Transfer();
ByteArray cs200Transfer();

} // namespace testdata
