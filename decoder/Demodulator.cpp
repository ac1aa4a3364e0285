#include "Demodulator.h"

#include "ExactMargins.h"
#include "SampleSource.h"

#include <algorithm>
#include <cstring>
#include <optional>

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

namespace {

// Samples read per step of either pass.
constexpr std::size_t kBlockSamples = std::size_t(1) << 18;

struct PeakPass
{
    std::int64_t count = 0;
    int threshold = 0;
};

// The sample count and the threshold of threshold(), without holding the
// recording: the last kPeakTailSamples samples seen are held back until more
// follow, so the ones the peak must not include never reach it.
PeakPass findThreshold(SampleSource &source)
{
    constexpr std::size_t kTail = Demodulator::kPeakTailSamples;
    std::vector<std::int16_t> buffer(kTail + kBlockSamples);
    std::size_t held = 0; // samples at the front of buffer, not yet judged
    std::int64_t count = 0;
    int peak = 0;
    for (;;) {
        const std::size_t got = source.read(std::span(buffer).subspan(held, kBlockSamples));
        if (got == 0)
            break;
        held += got;
        count += std::int64_t(got);
        if (held <= kTail)
            continue;
        // buffer[k] is sample (count - held + k); the last kTail stay held back.
        const std::int64_t first = count - std::int64_t(held);
        const std::size_t from = std::size_t(std::clamp<std::int64_t>(Demodulator::kSkipHeadSamples - first, 0,
                                                                      std::int64_t(held - kTail)));
        if (from < held - kTail)
            peak = std::max<int>(peak, *std::max_element(buffer.begin() + std::ptrdiff_t(from),
                                                         buffer.begin() + std::ptrdiff_t(held - kTail)));
        std::copy(buffer.begin() + std::ptrdiff_t(held - kTail), buffer.begin() + std::ptrdiff_t(held), buffer.begin());
        held = kTail;
    }
    PeakPass pass;
    pass.count = count;
    if (count - Demodulator::kPeakTailSamples > Demodulator::kSkipHeadSamples)
        pass.threshold = static_cast<int>(peak / Demodulator::kThresholdDivisor);
    return pass;
}

// markBursts() and frameBytes() over a window that slides along the
// recording. Marks are final once the burst scan has passed 43 samples
// beyond them; a frame is read once all its cells are final.
class WindowedDemodulation
{
public:
    WindowedDemodulation(std::int64_t count, int threshold, ExactMargins *margins)
        : m_end(count - Demodulator::kSkipTailSamples), m_threshold(threshold), m_margins(margins)
    {
        m_samples.reserve(kBlockSamples + kKeep);
        m_marks.reserve(kBlockSamples + kKeep + kMarkSlack);
    }

    ByteArray run(SampleSource &source)
    {
        ByteArray bytes;
        if (m_end <= Demodulator::kSkipHeadSamples)
            return bytes;
        std::vector<std::int16_t> block(kBlockSamples);
        for (;;) {
            const std::size_t got = source.read(block);
            append(std::span(block.data(), got));
            const bool ended = got == 0;
            scanBursts(ended ? m_end : std::min(m_end, loaded() - Demodulator::kPeakNeighbourhood));
            // A frame's margins look at its samples up to kFrameReach past its start.
            readFrames(bytes, ended ? m_end
                                    : std::min({m_end, m_burst - Demodulator::kMarkBeforePeak - Demodulator::kStopCellOffset,
                                                loaded() - ExactMargins::kFrameReach}));
            if (ended)
                return bytes;
            slide();
        }
    }

private:
    // Samples kept behind the scans: the burst test looks 20 back, a mark reaches 43 back.
    static constexpr std::int64_t kKeep = 64;
    // Marks kept past the loaded samples: a burst near the end marks 44 ahead.
    static constexpr std::size_t kMarkSlack = 64;

    std::int64_t loaded() const { return m_base + std::int64_t(m_samples.size()); }
    std::int16_t sample(std::int64_t i) const { return m_samples[std::size_t(i - m_base)]; }

    void append(std::span<const std::int16_t> block)
    {
        m_samples.insert(m_samples.end(), block.begin(), block.end());
        m_marks.resize(m_samples.size() + kMarkSlack, 0);
    }

    bool isLocalMaximum(std::int64_t i) const
    {
        const std::int16_t value = sample(i);
        for (int d = 1; d <= Demodulator::kPeakNeighbourhood; ++d) {
            if (sample(i + d) > value || sample(i - d) > value)
                return false;
        }
        return true;
    }

    void scanBursts(std::int64_t limit)
    {
        const std::int16_t *s = m_samples.data() - m_base;
        while (m_burst < limit) {
            const std::int64_t i = m_burst;
            if (s[i] > m_threshold && i > m_last + Demodulator::kMinBurstSpacing && isLocalMaximum(i)) {
                std::memset(m_marks.data() + (i - Demodulator::kMarkBeforePeak - m_base), 1,
                            Demodulator::kMarkBeforePeak + 1 + Demodulator::kMarkAfterPeak);
                m_last = i;
                if (m_margins)
                    m_margins->burstAccepted(i);
                m_burst += Demodulator::kBurstAdvance;
            } else {
                ++m_burst;
            }
        }
    }

    // Frames starting before limit, whose cells are all final.
    void readFrames(ByteArray &bytes, std::int64_t limit)
    {
        const std::uint8_t *mark = m_marks.data() - m_base;
        while (m_frame < limit) {
            const void *next = std::memchr(mark + m_frame, 1, std::size_t(limit - m_frame));
            if (!next) {
                m_frame = limit;
                return;
            }
            const std::int64_t i = static_cast<const std::uint8_t *>(next) - mark;
            if (mark[i + Demodulator::kStopCellOffset] != 0) {
                m_frame = i + 1;
                continue;
            }
            int byte = 0;
            for (int k = 1; k <= Demodulator::kDataBits; ++k) {
                if (mark[i + Demodulator::kCellCentre + Demodulator::kCellSamples * k])
                    byte |= 1 << (k - 1);
            }
            bytes.push_back(std::uint8_t(byte));
            if (m_margins) {
                m_margins->showSamples(m_samples, m_base);
                m_margins->frameRead(i, byte);
            }
            m_frame = i + Demodulator::kFrameAdvance;
        }
    }

    // Drops what both scans have left behind.
    void slide()
    {
        const std::int64_t keepFrom = std::min(m_frame, m_burst - kKeep);
        const std::int64_t drop = std::clamp<std::int64_t>(keepFrom - m_base, 0, std::int64_t(m_samples.size()));
        m_samples.erase(m_samples.begin(), m_samples.begin() + std::ptrdiff_t(drop));
        m_marks.erase(m_marks.begin(), m_marks.begin() + std::ptrdiff_t(drop));
        m_base += drop;
    }

    const std::int64_t m_end;
    const int m_threshold;
    ExactMargins *const m_margins;
    std::vector<std::int16_t> m_samples; // samples m_base, m_base + 1, ...
    std::vector<std::uint8_t> m_marks;   // their marks, and kMarkSlack more
    std::int64_t m_base = 0;
    std::int64_t m_burst = Demodulator::kSkipHeadSamples; // the burst scan's next sample
    std::int64_t m_last = 0;
    std::int64_t m_frame = Demodulator::kSkipHeadSamples; // the frame scan's next sample
};

} // namespace

ByteArray Demodulator::demodulate(SampleSource &source, DecisionMargins *margins)
{
    if (!source.rewind())
        return {};
    const PeakPass peak = findThreshold(source);
    if (!source.rewind())
        return {};
    std::optional<ExactMargins> hooks;
    if (margins)
        hooks.emplace(peak.threshold, *margins);
    return WindowedDemodulation(peak.count, peak.threshold, hooks ? &*hooks : nullptr).run(source);
}
