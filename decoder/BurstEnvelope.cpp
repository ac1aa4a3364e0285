#include "BurstEnvelope.h"

#include <algorithm>
#include <cmath>

BurstEnvelope::BurstEnvelope()
    : m_highPass1(Biquad::highPass(kHighPassHz, kSampleRate))
    , m_highPass2(Biquad::highPass(kHighPassHz, kSampleRate))
    , m_lowPass(Biquad::lowPass(kLowPassHz, kSampleRate))
{
}

BurstEnvelope::Sample BurstEnvelope::process(std::int16_t sample)
{
    const ClickBlanker::Output clean = m_blanker.process(float(sample));
    const double band = m_lowPass.process(m_highPass2.process(m_highPass1.process(clean.value)));

    const std::size_t slot = std::size_t(m_n++ % kWindow);
    const double square = band * band;
    m_sum += square - m_squares[slot];
    m_squares[slot] = square;
    m_blankedInWindow += int(clean.blanked) - int(m_blanks[slot]);
    m_blanks[slot] = clean.blanked;

    Sample out;
    // The running sum can end a hair below zero after a loud stretch.
    out.level = float(std::sqrt(std::max(0.0, m_sum) / kWindow));
    out.blanked = m_blankedInWindow > 0;
    // Until the floor has seen enough samples it rises as their running mean.
    const float rise = std::max(kFloorRise, 1.0F / float(m_n));
    const float rate = out.level < m_noiseFloor ? kFloorFall : rise;
    m_noiseFloor += rate * (out.level - m_noiseFloor);
    out.noiseFloor = m_noiseFloor;
    return out;
}
