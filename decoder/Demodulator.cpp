#include "Demodulator.h"

#include "ExactMargins.h"

#include <algorithm>
#include <cstring>

int Demodulator::threshold() const
{
    const std::int64_t n = std::int64_t(m_samples.size());
    if (n - kPeakTailSamples <= kSkipHeadSamples)
        return 0;
    const auto first = m_samples.begin() + kSkipHeadSamples;
    const auto last = m_samples.begin() + (n - kPeakTailSamples); // s[n - 101] is the last one looked at
    const int peak = std::max<int>(0, *std::max_element(first, last));
    return static_cast<int>(peak / kThresholdDivisor);
}

bool Demodulator::isLocalMaximum(std::int64_t i) const
{
    const std::int16_t value = m_samples[std::size_t(i)];
    for (int d = 1; d <= kPeakNeighbourhood; ++d) {
        if (m_samples[std::size_t(i + d)] > value || m_samples[std::size_t(i - d)] > value)
            return false;
    }
    return true;
}

std::vector<std::uint8_t> Demodulator::markBursts(int threshold, ExactMargins *margins) const
{
    const std::int64_t n = std::int64_t(m_samples.size());
    std::vector<std::uint8_t> marks(std::size_t(n), 0);
    const std::int64_t end = n - kSkipTailSamples;
    const std::int16_t *s = m_samples.data();
    std::int64_t last = 0;
    std::int64_t i = kSkipHeadSamples;
    while (i < end) {
        // Most samples lie below the threshold; the cheap tests go first.
        if (s[i] > threshold && i > last + kMinBurstSpacing && isLocalMaximum(i)) {
            std::memset(marks.data() + (i - kMarkBeforePeak), 1, kMarkBeforePeak + 1 + kMarkAfterPeak);
            last = i;
            if (margins)
                margins->burstAccepted(i);
            i += kBurstAdvance;
        } else {
            ++i;
        }
    }
    return marks;
}

ByteArray Demodulator::frameBytes(std::span<const std::uint8_t> marks, ExactMargins *margins)
{
    ByteArray bytes;
    const std::int64_t end = std::int64_t(marks.size()) - kSkipTailSamples;
    const std::uint8_t *mark = marks.data();
    std::int64_t i = kSkipHeadSamples;
    while (i < end) {
        // Jump to the next marked sample: unmarked ones never start a frame.
        const void *next = std::memchr(mark + i, 1, std::size_t(end - i));
        if (!next)
            break;
        i = static_cast<const std::uint8_t *>(next) - mark;
        if (mark[i + kStopCellOffset] != 0) {
            ++i;
            continue;
        }
        int byte = 0;
        for (int k = 1; k <= kDataBits; ++k) {
            if (mark[i + kCellCentre + kCellSamples * k])
                byte |= 1 << (k - 1);
        }
        bytes.push_back(std::uint8_t(byte));
        if (margins)
            margins->frameRead(i, byte);
        i += kFrameAdvance;
    }
    return bytes;
}
