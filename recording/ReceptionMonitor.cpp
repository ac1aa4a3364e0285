#include "ReceptionMonitor.h"

#include <algorithm>
#include <cstdlib>

namespace {
// The input peak is published over windows this long (0.1 s).
constexpr std::int64_t kPeakWindow = 4410;
// Frames one block of the framer can complete; reserved so pushing never allocates.
constexpr std::size_t kFramesPerBlock = 16;
} // namespace

ReceptionMonitor::ReceptionMonitor()
    : m_envelope(std::make_unique<BurstEnvelope>()),
      m_levels(RescueFramer::kMaxBlock),
      m_blanked(RescueFramer::kMaxBlock)
{
    m_frameBytes.reserve(kFramesPerBlock);
    m_framer = std::make_unique<RescueFramer>(m_frameBytes);
}

ReceptionMonitor::~ReceptionMonitor() = default;

void ReceptionMonitor::process(std::span<const std::int16_t> samples)
{
    while (!samples.empty()) {
        const std::size_t count = std::min(samples.size(), RescueFramer::kMaxBlock);
        processBlock(samples.first(count));
        samples = samples.subspan(count);
    }
}

void ReceptionMonitor::processBlock(std::span<const std::int16_t> samples)
{
    const std::int64_t first = samplesProcessed();
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const int magnitude = std::abs(int(samples[i]));
        const std::int64_t at = first + std::int64_t(i);
        if (magnitude >= kQuietPeak)
            m_lastLoud.store(at, std::memory_order_relaxed);
        if (magnitude >= kClipLevel)
            m_lastClip.store(at, std::memory_order_relaxed);
        m_windowPeak = std::max(m_windowPeak, magnitude);
        if (at >= m_peakWindowEnd) {
            m_peak.store(float(m_windowPeak) / 32768.0F, std::memory_order_relaxed);
            m_windowPeak = 0;
            m_peakWindowEnd = at + kPeakWindow;
        }
    }
    const std::span<float> levels(m_levels.data(), samples.size());
    const std::span<std::uint8_t> blanked(m_blanked.data(), samples.size());
    m_envelope->process(samples, levels, blanked);
    m_framer->push(levels, blanked, m_envelope->noiseFloor());
    m_processed.store(first + std::int64_t(samples.size()), std::memory_order_relaxed);
    countFrames();
}

void ReceptionMonitor::countFrames()
{
    if (m_frameBytes.empty())
        return;
    // Frames of one block lie within a few milliseconds: the last one's start stands for all.
    const std::int64_t at = m_framer->lastFrameStart();
    const auto frames = std::int64_t(m_frameBytes.size());
    if (m_previousFrame < 0 || at - m_previousFrame > kMaxFrameGap) {
        m_runFrames = 0;
        m_runCounted = false;
        m_leadBytes = 0;
    }
    m_previousFrame = at;
    m_runFrames += frames;
    bool syncHeard = false;
    for (const std::uint8_t byte : m_frameBytes) {
        syncHeard = syncHeard || (byte == kSyncByte && m_leadBytes >= kLeadBytesToHear);
        m_leadBytes = byte == kLeadByte ? m_leadBytes + 1 : 0;
    }
    m_frameBytes.clear();
    // Once the watch is heard a short run is enough: the transfer goes on.
    if (watchHeard() ? m_runFrames < kFramesToResume : !syncHeard)
        return;
    // The frames that made the run count in full.
    m_bytes.fetch_add(std::uint64_t(m_runCounted ? frames : m_runFrames), std::memory_order_relaxed);
    m_runCounted = true;
    m_lastFrame.store(at, std::memory_order_relaxed);
    m_heard.store(true, std::memory_order_relaxed);
}
