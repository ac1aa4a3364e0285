#pragma once

#include "ByteReader.h"
#include "DecisionMargins.h"

#include <cstdint>
#include <span>

class SampleSource;

// The second demodulation, for recordings the exact one cannot read: clicks,
// mains hum, echoes, strong noise, a watch fading in and out. Filters the
// burst band out of the samples, takes its envelope and reads frames on the
// same grid as the exact demodulation, with thresholds that follow the local
// level (BurstEnvelope, RescueFramer). One forward pass, fixed-size buffers;
// pure, any thread.
class RescueDemodulator
{
public:
    // margins, when given, gets one margin per byte read.
    static ByteArray demodulate(std::span<const std::int16_t> samples, DecisionMargins *margins = nullptr);
    // One pass over the source from its start.
    static ByteArray demodulate(SampleSource &source, DecisionMargins *margins = nullptr);
};
