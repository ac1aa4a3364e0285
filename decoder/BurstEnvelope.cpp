#include "BurstEnvelope.h"

#include <algorithm>
#include <cmath>

BurstEnvelope::BurstEnvelope()
    : m_highPass(Biquad::highPass(kHighPassHz, kSampleRate))
    , m_lowPass(Biquad::lowPass(kLowPassHz, kSampleRate))
{
}

void BurstEnvelope::process(std::span<const std::int16_t> samples, std::span<float> levels,
                            std::span<std::uint8_t> blanked)
{
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const ClickBlanker::Output clean = m_blanker.process(float(samples[i]));
        const double band = m_lowPass.process(m_highPass.process(clean.value));

        const std::size_t slot = std::size_t(m_n++) % kWindow;
        const double square = band * band;
        m_sum += square - m_squares[slot];
        m_squares[slot] = square;
        m_blankedInWindow += int(clean.blanked) - int(m_blanks[slot]);
        m_blanks[slot] = clean.blanked;

        // The running sum can end a hair below zero after a loud stretch.
        const float level = std::max(0.0F, float(m_sum) * (1.0F / kWindow));
        levels[i] = level;
        blanked[i] = m_blankedInWindow > 0;
        if (m_n % kFloorStride == 0)
            moveFloor(level);
    }
}

void BurstEnvelope::processSilence(std::span<float> levels, std::span<std::uint8_t> blanked)
{
    // What thousands of zeros leave in the filters and the window: nothing
    // (in single precision their tails have long underflowed), while the
    // click blanker's memory of recent jumps keeps decaying.
    m_blanker.skipSilence(std::int64_t(levels.size()));
    m_highPass.reset();
    m_lowPass.reset();
    m_squares.fill(0.0);
    m_blanks.fill(0);
    m_sum = 0.0;
    m_blankedInWindow = 0;
    std::fill(levels.begin(), levels.end(), 0.0F);
    std::fill(blanked.begin(), blanked.end(), std::uint8_t(0));
    for (std::size_t i = 0; i < levels.size(); ++i) {
        if (++m_n % kFloorStride == 0)
            moveFloor(0.0F);
    }
}

void BurstEnvelope::moveFloor(float level)
{
    ++m_floorSteps;
    const float rise = m_floorSteps < kFloorWarmUp ? 1.0F / float(m_floorSteps) : kFloorRise;
    m_noiseFloor += (level < m_noiseFloor ? kFloorFall : rise) * (level - m_noiseFloor);
}
