#include "ExactMargins.h"

#include "Demodulator.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kStartCell = 0;
constexpr int kStopCell = Demodulator::kDataBits + 1;
// A peak marks the sample points from kMarkAfterPeak before it to kMarkBeforePeak after it.
constexpr int kReachBefore = Demodulator::kMarkAfterPeak;
constexpr int kReachAfter = Demodulator::kMarkBeforePeak;
constexpr float kHalfCell = float(Demodulator::kCellCentre);
// A frame whose bursts no cell explains is doubtful whatever its cells say.
constexpr float kUnexplainedPeak = 0.0F;
static_assert(ExactMargins::kFrameReach == Demodulator::kCellCentre + Demodulator::kCellSamples * kStopCell + kReachAfter);

} // namespace

ExactMargins::ExactMargins(int threshold, DecisionMargins &margins)
    : m_threshold(float(std::max(threshold, 1))), m_margins(margins)
{
}

ExactMargins::ExactMargins(std::span<const std::int16_t> samples, int threshold, DecisionMargins &margins)
    : ExactMargins(threshold, margins)
{
    showSamples(samples, 0);
}

void ExactMargins::frameRead(std::int64_t start, int byte)
{
    const std::int64_t firstPoint = start + Demodulator::kCellCentre;
    const std::int64_t lastPoint = firstPoint + Demodulator::kCellSamples * kStopCell;
    while (m_firstPeak < m_peaks.size() && m_peaks[m_firstPeak] < firstPoint - kReachBefore)
        ++m_firstPeak;
    dropPassedPeaks();

    float margin = std::numeric_limits<float>::max();
    int markedCells = 0;
    for (int k = kStartCell; k <= kStopCell; ++k) {
        const bool marked = k == kStartCell || (k < kStopCell && (byte >> (k - 1) & 1) != 0);
        const std::int64_t point = firstPoint + std::int64_t(Demodulator::kCellSamples) * k;
        margin = std::min(margin, marked ? markedCellMargin(point) : emptyCellMargin(point));
        markedCells += int(marked);
    }
    int peaks = 0;
    for (std::size_t p = m_firstPeak; p < m_peaks.size() && m_peaks[p] <= lastPoint + kReachAfter; ++p)
        ++peaks;
    if (peaks != markedCells)
        margin = std::min(margin, kUnexplainedPeak);
    m_margins.addFrame(start, margin / kClearMargin);
}

void ExactMargins::dropPassedPeaks()
{
    // Frames come in sample order: peaks before the current frame are never
    // looked at again, and dropping them keeps memory flat over long recordings.
    constexpr std::size_t kDropBatch = 4096;
    if (m_firstPeak < kDropBatch)
        return;
    m_peaks.erase(m_peaks.begin(), m_peaks.begin() + std::ptrdiff_t(m_firstPeak));
    m_firstPeak = 0;
}

float ExactMargins::markedCellMargin(std::int64_t samplePoint) const
{
    // The peak that marked the point; where two marked spans overlap, the louder.
    float best = -1.0F;
    for (std::size_t p = m_firstPeak; p < m_peaks.size() && m_peaks[p] <= samplePoint + kReachAfter; ++p) {
        const std::int64_t peak = m_peaks[p];
        if (peak < samplePoint - kReachBefore)
            continue;
        const float height = (float(sample(peak)) - m_threshold) / m_threshold;
        const float edge = float(std::min(samplePoint - (peak - Demodulator::kMarkBeforePeak),
                                          peak + Demodulator::kMarkAfterPeak - samplePoint));
        best = std::max(best, std::min(height, edge / kHalfCell));
    }
    return best;
}

float ExactMargins::emptyCellMargin(std::int64_t samplePoint) const
{
    // Any local maximum in this window above the threshold would have marked the point.
    std::int16_t loudest = 0;
    for (std::int64_t j = samplePoint - kReachBefore; j <= samplePoint + kReachAfter; ++j)
        loudest = std::max(loudest, sample(j));
    return (m_threshold - float(loudest)) / m_threshold;
}
