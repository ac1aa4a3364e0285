#pragma once

#include <soxr.h>

#include <cmath>
#include <cstdint>
#include <span>

// How float audio becomes the recorder's 16-bit samples, shared by the
// recorder and the reader of other audio files so that both hand the
// demodulator the same numbers: full scale is 32768, values are rounded
// down and clipped to the 16-bit range (what libsndfile does with clipping
// on). Any thread; no allocation.
namespace Pcm16 {

inline constexpr int kSampleRate = 44100;
// The resampler's quality for any rate that is not 44,100 Hz.
inline constexpr unsigned long kResamplerQuality = SOXR_HQ;

inline std::int16_t fromFloat(float x)
{
    const float scaled = x * 32768.0F;
    if (scaled >= 32767.0F)
        return 32767;
    if (!(scaled >= -32768.0F))
        return std::isnan(scaled) ? 0 : -32768;
    return std::int16_t(std::floor(scaled));
}

inline void fromFloat(std::span<const float> in, std::int16_t *out)
{
    for (std::size_t i = 0; i < in.size(); ++i)
        out[i] = fromFloat(in[i]);
}

} // namespace Pcm16
