#include "ClickBlanker.h"

#include <algorithm>
#include <cmath>

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
