#pragma once

#include "Biquad.h"
#include "ClickBlanker.h"

#include <array>
#include <cstdint>
#include <span>

// The loudness of the burst band, sample by sample: clicks are cut out, DC
// and mains hum filtered off, the band above the bursts cut, and the
// remaining signal's power (mean square) over a burst-long window taken.
// Also tracks the noise floor under the bursts, as a power too. Streaming,
// no allocation.
class BurstEnvelope
{
public:
    static constexpr double kSampleRate = 44100.0;
    // The bursts are tone bursts of a few kHz (3.7 kHz from our synthesizer;
    // other watches beep higher or lower), 0.8 ms long, so their band is
    // several kHz wide. 1 kHz, second order, takes 50 Hz hum down by 52 dB
    // and its third harmonic by 33 dB while keeping a 2 kHz beep.
    static constexpr double kHighPassHz = 1000.0;
    // Above 8 kHz there is only noise (and the edge of a click).
    static constexpr double kLowPassHz = 8000.0;
    // About two thirds of a burst: long enough to average noise out, short
    // enough that a burst's envelope stays well inside its 88-sample cell.
    static constexpr std::size_t kWindow = 24;
    // The floor falls quickly into the gaps between bursts (in about 0.7 ms)
    // and rises slowly (in about 0.2 s), so that it sits under the bursts, on
    // the noise. It moves every eighth sample, which is often enough for that.
    static constexpr int kFloorStride = 8;
    static constexpr float kFloorFall = 1.0F / 4.0F;
    static constexpr float kFloorRise = 1.0F / 1024.0F;
    // Until it has moved this often it rises as the running mean.
    static constexpr std::int64_t kFloorWarmUp = 1024;

    BurstEnvelope();

    // The envelope of the next samples: levels[i] and blanked[i] (the window
    // holds cut click samples) for samples[i]. The spans have equal sizes.
    void process(std::span<const std::int16_t> samples, std::span<float> levels, std::span<std::uint8_t> blanked);
    // The envelope of samples that are all 0 after at least kSettleSamples
    // zeros: the filters have nothing left to ring out, so the levels are 0
    // and only the noise floor moves. Much faster than process().
    void processSilence(std::span<float> levels, std::span<std::uint8_t> blanked);
    static constexpr std::int64_t kSettleSamples = 4096;

    // Where the noise floor stood after the last sample processed.
    float noiseFloor() const { return m_noiseFloor; }

private:
    void moveFloor(float level);

    ClickBlanker m_blanker;
    Biquad m_highPass;
    Biquad m_lowPass;
    std::array<double, kWindow> m_squares{};
    std::array<std::uint8_t, kWindow> m_blanks{};
    std::int64_t m_n = 0;
    double m_sum = 0.0;
    int m_blankedInWindow = 0;
    float m_noiseFloor = 0.0F;
    std::int64_t m_floorSteps = 0;
};
