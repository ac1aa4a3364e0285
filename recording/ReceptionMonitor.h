#pragma once

#include "BurstEnvelope.h"
#include "ByteReader.h"
#include "RescueFramer.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// Follows a recording while it is written and says whether a watch is being
// heard, how many bytes have arrived, how loud the input is and whether it
// clips, and when the transfer has ended. Frames are found the way the
// second demodulation finds them (thresholds that follow the level), so a
// watch far from the microphone is still followed.
// process(): the writer thread only; allocates nothing. The readers: any
// thread, without locking (each value is an independent relaxed atomic).
class ReceptionMonitor
{
public:
    static constexpr double kSampleRate = 44100.0;
    // A watch is heard once a run of frames, each at most kMaxFrameGap after
    // the one before (a transfer sends one every 20 ms), holds the start of a
    // transfer: lead bytes 0xAA and the synchronisation byte 0x55. A tone in
    // the bursts' band can frame runs of bytes, but not that pattern.
    static constexpr std::int64_t kMaxFrameGap = 3 * 896;
    static constexpr std::uint8_t kLeadByte = 0xAA;
    static constexpr std::uint8_t kSyncByte = 0x55;
    static constexpr int kLeadBytesToHear = 3;
    // After that, a stray frame in the noise does not keep the transfer alive:
    // frames count from runs of this many.
    static constexpr int kFramesToResume = 3;
    // The transfer has ended when no frame came for this long after bytes arrived.
    static constexpr double kEndSeconds = 2.0;
    // Below this peak (about -50 dBFS) the input is taken as too quiet for a
    // watch held to the microphone, once it stayed there this long.
    static constexpr int kQuietPeak = 100;
    static constexpr double kQuietSeconds = 5.0;
    // A sample this close to full scale counts as clipped; clipping is shown
    // for this long after the last one.
    static constexpr int kClipLevel = 32700;
    static constexpr double kClipHoldSeconds = 1.0;

    ReceptionMonitor();
    ~ReceptionMonitor();
    ReceptionMonitor(const ReceptionMonitor &) = delete;
    ReceptionMonitor &operator=(const ReceptionMonitor &) = delete;

    // The next samples of the recording, 44,100 Hz 16-bit mono.
    void process(std::span<const std::int16_t> samples);

    bool watchHeard() const { return m_heard.load(std::memory_order_relaxed); }
    std::uint64_t bytesReceived() const { return m_bytes.load(std::memory_order_relaxed); }
    // The largest absolute sample of the last tenth of a second, 0 to 1.
    float inputPeak() const { return m_peak.load(std::memory_order_relaxed); }
    bool isClipping() const { return samplesSince(m_lastClip) < std::int64_t(kClipHoldSeconds * kSampleRate); }
    bool isQuiet() const { return samplesSince(m_lastLoud) >= std::int64_t(kQuietSeconds * kSampleRate); }
    // Bytes arrived and then no frame for kEndSeconds.
    bool transferEnded() const
    {
        return watchHeard() && samplesSince(m_lastFrame) >= std::int64_t(kEndSeconds * kSampleRate);
    }
    std::int64_t samplesProcessed() const { return m_processed.load(std::memory_order_relaxed); }

private:
    void processBlock(std::span<const std::int16_t> samples);
    void countFrames();
    std::int64_t samplesSince(const std::atomic<std::int64_t> &at) const
    {
        return samplesProcessed() - at.load(std::memory_order_relaxed);
    }

    // Allocated once: the envelope's and framer's rings take tens of kilobytes.
    std::unique_ptr<BurstEnvelope> m_envelope;
    ByteArray m_frameBytes; // the framer's output of one block; emptied after each
    std::unique_ptr<RescueFramer> m_framer;
    std::vector<float> m_levels;
    std::vector<std::uint8_t> m_blanked;
    std::int64_t m_runFrames = 0;   // frames in a row, each close to the one before
    bool m_runCounted = false;
    int m_leadBytes = 0;            // 0xAA bytes in a row just before
    std::int64_t m_previousFrame = -1;
    std::int64_t m_peakWindowEnd = 0;
    int m_windowPeak = 0;

    std::atomic<bool> m_heard{false};
    std::atomic<std::uint64_t> m_bytes{0};
    std::atomic<float> m_peak{0.0F};
    std::atomic<std::int64_t> m_processed{0};
    std::atomic<std::int64_t> m_lastFrame{0};
    std::atomic<std::int64_t> m_lastLoud{0};
    std::atomic<std::int64_t> m_lastClip{-std::int64_t(kClipHoldSeconds * kSampleRate)};
};
