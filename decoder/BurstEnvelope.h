#pragma once

#include "Biquad.h"
#include "ClickBlanker.h"

#include <array>
#include <cstdint>

// The loudness of the burst band, sample by sample: clicks are cut out, DC
// and mains hum filtered off, the band above the bursts cut, and the
// remaining signal's RMS over a burst-long window taken. Also tracks the
// noise floor under the bursts. Streaming, no allocation.
class BurstEnvelope
{
public:
    static constexpr double kSampleRate = 44100.0;
    // The bursts are tone bursts of a few kHz (3.7 kHz from our synthesizer;
    // other watches beep higher or lower), 0.8 ms long, so their band is
    // several kHz wide. 1 kHz, fourth order, takes hum and its first
    // harmonics down by 50 dB or more while keeping a 2 kHz beep.
    static constexpr double kHighPassHz = 1000.0;
    // Above 8 kHz there is only noise (and the edge of a click).
    static constexpr double kLowPassHz = 8000.0;
    // About two thirds of a burst: long enough to average noise out, short
    // enough that a burst's envelope stays well inside its 88-sample cell.
    static constexpr int kWindow = 24;
    // The floor falls quickly into the gaps between bursts and rises slowly
    // (about 0.2 s), so that it sits under the bursts, on the noise.
    static constexpr float kFloorFall = 1.0F / 32.0F;
    static constexpr float kFloorRise = 1.0F / 8192.0F;

    struct Sample
    {
        float level = 0.0F;       // RMS of the band over the window
        bool blanked = false;     // the window holds silenced click samples
        float noiseFloor = 0.0F;
    };

    BurstEnvelope();
    Sample process(std::int16_t sample);

private:
    ClickBlanker m_blanker;
    Biquad m_highPass1;
    Biquad m_highPass2;
    Biquad m_lowPass;
    std::array<double, kWindow> m_squares{};
    std::array<bool, kWindow> m_blanks{};
    std::int64_t m_n = 0;
    double m_sum = 0.0;
    int m_blankedInWindow = 0;
    float m_noiseFloor = 0.0F;
};
