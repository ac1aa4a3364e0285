#include "ClickBlanker.h"

#include <algorithm>
#include <cmath>

ClickBlanker::Output ClickBlanker::process(float x)
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

    const std::size_t slot = std::size_t(n % kDelay);
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

void ClickBlanker::closeExcursion()
{
    m_inExcursion = false;
    if (m_lastAbove - m_excursionStart + 1 > kMaxClickSamples)
        return;
    const std::int64_t from = std::max<std::int64_t>(0, m_excursionStart - kBlankLead);
    // A click still waiting in the line is cut together with this one.
    const bool earlierPending = m_blankTo >= m_n - kDelay;
    m_blankFrom = earlierPending ? std::min(m_blankFrom, from) : from;
    m_blankTo = m_lastAbove + kBlankTail;
}
