#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

// Cuts taps on the microphone out of the recording before it is filtered, so
// that one click neither rings through the filters like a burst nor raises
// any level that a threshold follows. A click is a jump between two samples
// of more than twice the recent largest jumps that is over within half a
// millisecond; a longer one is the signal itself getting louder. The cut is
// bridged by a straight line, which keeps DC and hum continuous and has
// nothing in the burst band. Works through a short delay line. Streaming, no
// allocation; one instance per signal.
class ClickBlanker
{
public:
    // How much larger than the recent largest jumps a click's jump is. Bursts
    // and noise stay within it; a tap several times the bursts' level does not.
    static constexpr float kClickRatio = 2.0F;
    // A click is over within 22 samples (0.5 ms); a burst lasts 36 or more.
    static constexpr int kMaxClickSamples = 22;
    // An excursion ends after 12 quiet samples: longer than half a carrier
    // period, so that a burst's zero crossings do not cut it into clicks.
    static constexpr int kEventGap = 12;
    // Cut around the large jumps: the click's onset and its decay (a tap dies
    // away within a quarter of a millisecond). A burst hit in its middle keeps
    // its flanks.
    static constexpr int kBlankLead = 2;
    static constexpr int kBlankTail = 10;
    // The recent largest jump falls by 1/e in 0.2 s: it stays up over the gaps
    // of a transfer and follows a watch moving away.
    static constexpr float kHoldDecayPerSample = 0.999887F;
    // The delay line outlasts the longest excursion that can still turn out
    // to be a click, and holds the sample after the cut when the cut leaves it.
    static constexpr int kDelay = 64;
    static_assert(kDelay > kBlankLead + kMaxClickSamples + std::max(kEventGap, kBlankTail + 1));

    struct Output
    {
        float value = 0.0F;   // the input of kDelay samples ago, or the bridge over a cut
        bool blanked = false;
    };

    // Inline: it runs once per sample.
    Output process(float x);
    // As process(0) count times, once the delay line holds only zeros.
    void skipSilence(std::int64_t count)
    {
        m_n += count;
        m_hold *= std::pow(kHoldDecayPerSample, float(count));
        m_previous = m_lastOutput = 0.0F;
        m_jumps.fill(0.0F);
    }

private:
    void closeExcursion();
    float line(std::int64_t i) const { return m_line[std::size_t(i) % kDelay]; }

    std::array<float, kDelay> m_line{};
    std::array<float, kDelay> m_jumps{};
    std::int64_t m_n = 0;
    float m_previous = 0.0F;
    float m_lastOutput = 0.0F;
    float m_hold = 0.0F;            // largest recent jump among the samples that left the line
    bool m_inExcursion = false;
    float m_excursionLimit = 0.0F;  // the limit when the excursion began
    std::int64_t m_excursionStart = 0;
    std::int64_t m_lastAbove = 0;
    std::int64_t m_blankFrom = -1;
    std::int64_t m_blankTo = -1;
};

inline ClickBlanker::Output ClickBlanker::process(float x)
{
    const std::int64_t n = m_n++;
    const float jump = std::fabs(x - m_previous);
    m_previous = x;
    const float limit = m_inExcursion ? m_excursionLimit : kClickRatio * m_hold;
    if (jump > limit) {
        if (!m_inExcursion) {
            m_inExcursion = true;
            m_excursionLimit = limit;
            m_excursionStart = n;
        }
        m_lastAbove = n;
    }
    if (m_inExcursion && n - m_lastAbove >= kEventGap)
        closeExcursion();
    else if (m_inExcursion && n - m_excursionStart > kMaxClickSamples)
        m_inExcursion = false; // too long for a click: the signal itself grew louder

    const std::size_t slot = std::size_t(n) % kDelay;
    const std::int64_t out = n - kDelay;
    const float delayed = m_line[slot];
    const float delayedJump = m_jumps[slot];
    m_line[slot] = x;
    m_jumps[slot] = jump;

    Output result;
    if (out >= m_blankFrom && out <= m_blankTo) {
        // One step along the straight line to the first sample after the cut.
        const float after = line(m_blankTo + 1);
        result.value = m_lastOutput + (after - m_lastOutput) / float(m_blankTo + 2 - out);
        result.blanked = true;
    } else {
        result.value = delayed;
        m_hold = std::max(delayedJump, m_hold * kHoldDecayPerSample);
    }
    m_lastOutput = result.value;
    return result;
}
