#include "DecisionMargins.h"

#include <algorithm>
#include <cmath>

std::vector<float> DecisionMargins::continuityFrom(std::size_t first) const
{
    std::vector<float> continuity(m_starts.size(), kUnmeasured);
    if (first + 1 >= m_starts.size())
        return continuity;
    std::vector<std::int64_t> gaps;
    gaps.reserve(m_starts.size() - first - 1);
    for (std::size_t i = first + 1; i < m_starts.size(); ++i)
        gaps.push_back(m_starts[i] - m_starts[i - 1]);
    // The usual gap: the median, which a few lost frames do not move.
    std::nth_element(gaps.begin(), gaps.begin() + std::ptrdiff_t(gaps.size() / 2), gaps.end());
    const double usual = double(std::max<std::int64_t>(gaps[gaps.size() / 2], 1));

    float running = kUnmeasured;
    for (std::size_t i = first + 1; i < m_starts.size(); ++i) {
        const double deviation = std::abs(double(m_starts[i] - m_starts[i - 1]) / usual - 1.0);
        const double margin = (kDoubtfulGapDeviation - deviation) / (kDoubtfulGapDeviation - kClearGapDeviation);
        running = std::min(running, float(margin));
        continuity[i] = running;
    }
    return continuity;
}
