#pragma once

#include "CaptureCounters.h"
#include "SpscRing.h"

#include <QCoreApplication>
#include <QString>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

class ReceptionMonitor;
struct sf_private_tag;
struct soxr;

// Drains the capture ring on a thread of its own and writes the samples as a
// 16-bit mono WAV file at 44,100 Hz, resampling when the input runs at another
// rate. create(), start(), finish() and close() belong to the owner's thread;
// the ring's consumer side belongs to the writer thread while it runs.
class RecordingWriter
{
    Q_DECLARE_TR_FUNCTIONS(RecordingWriter)

public:
    static constexpr int kFileSampleRate = 44100;

    RecordingWriter(SpscRing<float> &ring, const CaptureCounters &counters);
    ~RecordingWriter();

    RecordingWriter(const RecordingWriter &) = delete;
    RecordingWriter &operator=(const RecordingWriter &) = delete;

    // Creates a new file at path (never replacing an existing one) for input
    // at inputRate samples per second. 0 on success.
    std::int32_t create(const QString &path, double inputRate);
    void start();
    // Writes everything still queued, flushes the resampler and joins the
    // thread. The caller must have stopped the producer first.
    void finish();
    // Completes the header and closes the file; finish()es first if needed.
    void close();

    // Follows every sample written, on the writer thread; set before start().
    void setReceptionMonitor(ReceptionMonitor *monitor) { m_monitor = monitor; }

    std::uint64_t framesWritten() const { return m_framesWritten.load(std::memory_order_relaxed); }
    QString lastError() const { return m_lastError; }
    // "cannot write PATH: reason" once the file refused samples, else empty. Any thread.
    QString writeError() const
    {
        return m_writeFailed.load(std::memory_order_acquire) ? m_writeError : QString();
    }

private:
    void run();
    void drainRing();
    void convert(const float *input, std::size_t count);
    void flushResampler();
    void write(const float *samples, std::size_t count);
    void reportOverruns(bool final);

    SpscRing<float> &m_ring;
    const CaptureCounters &m_counters;
    QString m_path;
    QString m_lastError;
    sf_private_tag *m_file = nullptr;
    soxr *m_resampler = nullptr;
    std::vector<float> m_inputBlock;
    std::vector<float> m_outputBlock;
    std::vector<std::int16_t> m_pcmBlock;
    ReceptionMonitor *m_monitor = nullptr;
    std::atomic<std::uint64_t> m_framesWritten{0};
    // The writer thread sets m_writeError once, then publishes it through
    // m_writeFailed (release); readers take it only after seeing the flag (acquire).
    QString m_writeError;
    std::atomic<bool> m_writeFailed{false};
    std::uint64_t m_reportedOverrunFrames = 0;
    std::uint64_t m_reportedDeviceOverflows = 0;
    std::chrono::steady_clock::time_point m_lastReport{};

    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_finishRequested = false;
};
