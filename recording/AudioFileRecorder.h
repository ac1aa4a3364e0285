#pragma once

#include "CaptureCounters.h"
#include "CaptureSource.h"
#include "SpscRing.h"

#include <QCoreApplication>
#include <QString>

#include <atomic>
#include <cstdint>
#include <memory>

class ReceptionMonitor;
class RecordingWriter;

// Records the default audio input into a new WAV file: one channel of 16-bit
// signed samples at 44,100 Hz. One recorder per recording: configure, start,
// stop, destroy (which completes the file). configure(), start(), stop() and
// destruction: the owner's thread. renderInput(): the capture thread only;
// wait-free, allocates nothing. Statuses are 0 on success.
class AudioFileRecorder
{
    Q_DECLARE_TR_FUNCTIONS(AudioFileRecorder)

public:
    // renderInput's statusFlags: the device itself lost input before this buffer.
    static constexpr std::uint32_t kInputOverflow = 1u;
    // Statuses of the recorder's own failures; the capture source's and the
    // file's statuses are passed through unchanged.
    static constexpr std::int32_t kAllocationFailed = -2;
    static constexpr std::int32_t kNotConfigured = -3;

    // Records from PortAudio's default input device.
    AudioFileRecorder();
    explicit AudioFileRecorder(std::unique_ptr<CaptureSource> source);
    virtual ~AudioFileRecorder();

    AudioFileRecorder(const AudioFileRecorder &) = delete;
    AudioFileRecorder &operator=(const AudioFileRecorder &) = delete;

    // setUpInputUnit(), then createOutputFile(): no file is made when there is no input.
    std::int32_t configure(const QString &parentFolder, const QString &fileName);
    std::int32_t setUpInputUnit();
    std::int32_t createOutputFile(const QString &parentFolder, const QString &fileName);
    std::int32_t start();
    std::int32_t stop();

    // Queues frameCount interleaved frames of deviceFormat() (null: silence)
    // as mono samples for the writer. Returns 0 so that capture goes on.
    std::int32_t renderInput(const float *samples, std::uint32_t frameCount, std::uint32_t statusFlags);

    const StreamFormat &deviceFormat() const { return m_deviceFormat; }
    const StreamFormat &clientFormat() const { return m_clientFormat; }
    std::uint32_t bufferFrameSize() const { return m_bufferFrameSize; }
    QString filePath() const { return m_filePath; }
    // What the last failing operation could not do, and why.
    QString lastError() const { return m_lastError; }
    // What this recording lost so far, for the user: "cannot write PATH: reason"
    // once the disk refused samples, else the input the writer could not keep
    // up with; empty while nothing was lost. GUI thread, while recording or after stop().
    QString recordingProblem() const;

    // The largest absolute sample of the latest buffer, 0 to 1 for a signal
    // in range (a clipping device may give more); 0 before the first buffer.
    // Any thread, without locking: a level meter polls it a few times a
    // second and shows what it reads. It is not reset on reading, so every
    // reader sees the same value; after stop() it keeps the last buffer's.
    float peakLevel() const { return m_peakLevel.load(std::memory_order_relaxed); }

    // What the input carries so far: the watch heard, bytes, level, clipping.
    // Null until the file is created.
    const ReceptionMonitor *receptionMonitor() const { return m_monitor.get(); }

    std::uint64_t framesCaptured() const { return m_counters.framesCaptured.load(std::memory_order_relaxed); }
    std::uint64_t overrunFrames() const { return m_counters.overrunFrames.load(std::memory_order_relaxed); }
    std::uint64_t deviceOverflows() const { return m_counters.deviceOverflows.load(std::memory_order_relaxed); }
    // Frames at 44,100 Hz handed to the file so far.
    std::uint64_t framesWritten() const;
    // Mono frames captured but not yet taken by the writer, and room for them.
    std::size_t queuedFrames() const { return m_ring ? m_ring->readAvailable() : 0; }
    std::size_t ringCapacity() const { return m_ring ? m_ring->capacity() : 0; }

private:
    std::int32_t fail(std::int32_t status, const QString &error);

    // Declared in the order they depend on each other: the writer uses the
    // ring and the counters, the source's callback all three.
    CaptureCounters m_counters;
    // Relaxed: an independent reading like the counters; nothing is published through it.
    std::atomic<float> m_peakLevel{0.0f};
    static_assert(std::atomic<float>::is_always_lock_free,
                  "the audio callback must not take a lock to publish its level");
    std::unique_ptr<SpscRing<float>> m_ring;
    std::unique_ptr<ReceptionMonitor> m_monitor;
    std::unique_ptr<RecordingWriter> m_writer;
    std::unique_ptr<CaptureSource> m_source;
    StreamFormat m_deviceFormat;
    StreamFormat m_clientFormat;
    std::uint32_t m_bufferFrameSize = 0;
    std::uint32_t m_channels = 1; // read by the callback; fixed before start()
    QString m_filePath;
    QString m_lastError;
    bool m_running = false;
};
