#include "RescueFramer.h"

#include <algorithm>
#include <cmath>

void RescueFramer::push(std::span<const float> levels, std::span<const std::uint8_t> blanked, float noiseFloor)
{
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const std::size_t slot = std::size_t(m_written + std::int64_t(i)) % kRingSize;
        m_level[slot] = levels[i];
        m_blanked[slot] = blanked[i];
    }
    m_written += std::int64_t(levels.size());
    m_noiseFloor = noiseFloor;
    while (m_cursor + kLookahead < m_written)
        hunt();
}

void RescueFramer::hunt()
{
    const std::int64_t c = nextCandidate(m_cursor, m_written - kLookahead);
    // Long forgotten, the recent level is dropped: the next frame starts afresh.
    m_recentLevel *= std::pow(power(kLevelDecayPerSample), float(c - m_cursor + 1));
    if (m_recentLevel < power(kMinBurstLevel))
        m_recentLevel = 0.0F;
    m_cursor = c;
    if (c == m_written - kLookahead)
        return;
    const Peak start = peakIn(c, c + kPeakSearch);
    if (isEcho(start)) {
        m_cursor = start.at + 1;
        return;
    }
    if (const std::optional<std::uint8_t> byte = readFrame(start)) {
        m_bytes.push_back(*byte);
        m_lastFrameStart = start.at;
        if (m_margins)
            m_margins->addFrame(start.at, m_lastFrameMargin / kClearMargin);
        acceptFrame();
        m_cursor = start.at + std::llround(kNextFrameCells * m_cellWidth);
    } else {
        m_cursor = start.at + kRetrySkip;
    }
}

std::int64_t RescueFramer::nextCandidate(std::int64_t from, std::int64_t end) const
{
    // Most samples lie under the bar; the scan over them stays tight.
    const float bar = startThreshold(false);
    const float blankedBar = startThreshold(true);
    for (std::int64_t i = from; i < end; ++i) {
        const float l = level(i);
        if (l > blankedBar && (l > bar || blanked(i)))
            return i;
    }
    return end;
}

float RescueFramer::startThreshold(bool blanked) const
{
    return std::max(power(kStartFraction * blankedShare(blanked)) * m_recentLevel, aboveNoise());
}

float RescueFramer::aboveNoise() const
{
    return std::max(power(kBurstOverFloor) * m_noiseFloor, power(kMinBurstLevel));
}

RescueFramer::Peak RescueFramer::peakIn(std::int64_t from, std::int64_t to) const
{
    Peak peak;
    peak.at = std::max<std::int64_t>(from, 0);
    peak.level = -1.0F;
    for (std::int64_t i = peak.at; i <= to; ++i) {
        if (level(i) > peak.level) {
            peak.level = level(i);
            peak.at = i;
        }
        peak.blanked = peak.blanked || blanked(i);
    }
    return peak;
}

float RescueFramer::echoBar(const Peak &peak) const
{
    const std::int64_t to = peak.at - kEchoMinDelay;
    if (to < 0)
        return 0.0F;
    const Peak earlier = peakIn(peak.at - kEchoMaxDelay, to);
    return power(kEchoRatio * blankedShare(peak.blanked)) * earlier.level;
}

namespace {

constexpr float kEchoDecisionMargin = 0.0F;

// How far a level lies on the right side of the bar it was decided against,
// as a share of amplitude (levels are powers).
float amplitudeMargin(float level, float bar, bool above)
{
    if (bar <= 0.0F)
        return above ? 1.0F : -1.0F;
    const float ratio = std::sqrt(std::max(level, 0.0F) / bar);
    return above ? ratio - 1.0F : 1.0F - ratio;
}

} // namespace

std::optional<std::uint8_t> RescueFramer::readFrame(const Peak &start)
{
    // The grid is anchored on the last burst found, so drift only builds up over empty cells.
    std::int64_t anchor = start.at;
    int anchorCell = 0;
    // A start burst partly cancelled by the echo of the frame before must not
    // lower the bar for this frame's data: the recent frames set it as well.
    const float reference = std::max(start.level, m_recentLevel);
    float loudest = start.level;
    float margin = amplitudeMargin(start.level, startThreshold(start.blanked), true);
    const auto cellHoldsBurst = [&](int k) {
        const std::int64_t centre = anchor + std::llround((k - anchorCell) * m_cellWidth);
        const Peak cell = peakIn(centre - kCellSearch, centre + kCellSearch);
        const float bar = std::max(power(kOneFraction * blankedShare(cell.blanked)) * reference, aboveNoise());
        const bool aboveBar = cell.level >= bar;
        const float echo = aboveBar ? echoBar(cell) : 0.0F;
        const bool burst = aboveBar && cell.level >= echo;
        // A burst taken for an echo may as well be a burst that noise weakened
        // and an earlier one strengthened: that decision is never clear.
        margin = std::min(margin, !aboveBar ? amplitudeMargin(cell.level, bar, false)
                                  : burst   ? amplitudeMargin(cell.level, bar, true)
                                            : kEchoDecisionMargin);
        // A top at the edge of the search is a neighbour's flank, not this burst's centre.
        if (burst)
            loudest = std::max(loudest, cell.level);
        if (burst && std::abs(cell.at - centre) < kCellSearch) {
            anchor = cell.at;
            anchorCell = k;
        }
        return burst;
    };

    int byte = 0;
    for (int k = 1; k <= kDataBits; ++k) {
        if (cellHoldsBurst(k))
            byte |= 1 << (k - 1);
    }
    if (cellHoldsBurst(kStopCell))
        return std::nullopt;
    m_lastAnchorCell = anchorCell;
    m_lastAnchorOffset = double(anchor - start.at);
    m_lastFrameLevel = loudest;
    m_lastFrameMargin = margin;
    return std::uint8_t(byte);
}

void RescueFramer::acceptFrame()
{
    const float step = std::min(m_lastFrameLevel, power(kMaxLevelStep) * m_recentLevel);
    m_recentLevel = m_recentLevel == 0.0F ? m_lastFrameLevel : m_recentLevel + kLevelGain * (step - m_recentLevel);
    // Bursts far into the frame measure the watch's cell width best.
    if (m_lastAnchorCell >= kMinCellsForWidth) {
        const double measured = m_lastAnchorOffset / m_lastAnchorCell;
        m_cellWidth += kCellWidthGain * (measured - m_cellWidth);
        m_cellWidth = std::clamp(m_cellWidth, kCellSamples * (1.0 - kMaxClockError), kCellSamples * (1.0 + kMaxClockError));
    }
}
