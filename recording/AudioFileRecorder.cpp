#include "AudioFileRecorder.h"

#include "PortAudioCaptureSource.h"
#include "ReceptionMonitor.h"
#include "RecordingWriter.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// The ring holds this much audio, so the writer may stall on a slow disk for
// this long before input is lost.
constexpr double kRingSeconds = 2.0;
// ... and never fewer than this many callbacks' worth.
constexpr std::size_t kMinimumRingBuffers = 16;

// The largest absolute value among count samples.
float peakOf(const float *samples, std::size_t count)
{
    float peak = 0.0f;
    for (std::size_t i = 0; i < count; ++i)
        peak = std::max(peak, std::fabs(samples[i]));
    return peak;
}

void printLine(const QString &line)
{
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

} // namespace

AudioFileRecorder::AudioFileRecorder()
    : AudioFileRecorder(std::make_unique<PortAudioCaptureSource>())
{
}

AudioFileRecorder::AudioFileRecorder(std::unique_ptr<CaptureSource> source)
    : m_source(std::move(source))
{
}

AudioFileRecorder::~AudioFileRecorder()
{
    stop();
    // Closing the source before the writer: no callback can reach the ring
    // while the writer drains it for the last time.
    m_source.reset();
    if (m_writer)
        m_writer->close();
}

std::int32_t AudioFileRecorder::configure(const QString &parentFolder, const QString &fileName)
{
    const std::int32_t status = setUpInputUnit();
    if (status != 0)
        return status;
    return createOutputFile(parentFolder, fileName);
}

std::int32_t AudioFileRecorder::setUpInputUnit()
{
    CaptureFormat format;
    const std::int32_t status = m_source->open(*this, format);
    if (status != 0) {
        m_lastError = m_source->lastError();
        printLine(m_lastError);
        return status;
    }
    m_deviceFormat = format.deviceFormat;
    m_bufferFrameSize = format.bufferFrameSize;
    m_channels = std::max<std::uint32_t>(1, m_deviceFormat.channelsPerFrame);
    // What the writer is handed: mono float at the device's rate.
    m_clientFormat = StreamFormat{m_deviceFormat.sampleRate, 1, 32, true};

    const auto ringFrames = std::max(std::size_t(m_deviceFormat.sampleRate * kRingSeconds),
                                     std::size_t(m_bufferFrameSize) * kMinimumRingBuffers);
    m_ring = std::make_unique<SpscRing<float>>(ringFrames);
    if (!m_ring->isValid()) {
        m_ring.reset();
        std::fputs("failed to allocate buffers\n", stderr);
        return fail(kAllocationFailed, tr("cannot allocate the capture buffers: out of memory"));
    }
    return 0;
}

std::int32_t AudioFileRecorder::createOutputFile(const QString &parentFolder, const QString &fileName)
{
    if (!m_ring)
        return fail(kNotConfigured, tr("the audio input is not set up"));
    m_filePath = QDir(parentFolder).filePath(fileName);
    m_writer = std::make_unique<RecordingWriter>(*m_ring, m_counters);
    m_monitor = std::make_unique<ReceptionMonitor>();
    m_writer->setReceptionMonitor(m_monitor.get());
    const std::int32_t status = m_writer->create(m_filePath, m_clientFormat.sampleRate);
    if (status != 0) {
        m_lastError = m_writer->lastError();
        m_writer.reset();
        printLine(m_lastError);
    }
    return status;
}

std::int32_t AudioFileRecorder::start()
{
    if (!m_writer)
        return fail(kNotConfigured, tr("the recorder is not configured"));
    if (m_running)
        return 0;
    m_writer->start();
    const std::int32_t status = m_source->start();
    if (status != 0) {
        std::fputs("failed to start AU\n", stderr);
        m_writer->finish();
        return fail(status, m_source->lastError());
    }
    m_running = true;
    return 0;
}

std::int32_t AudioFileRecorder::stop()
{
    if (!m_running)
        return 0;
    m_running = false;
    const std::int32_t status = m_source->stop();
    if (status != 0) {
        std::fputs("failed to stop AU\n", stderr);
        m_lastError = m_source->lastError();
        // The callback may still run: closing the source (in the destructor)
        // guarantees it has ended before the writer takes its last samples.
        return status;
    }
    m_writer->finish();
    return 0;
}

std::int32_t AudioFileRecorder::renderInput(const float *samples, std::uint32_t frameCount, std::uint32_t statusFlags)
{
    if (statusFlags & kInputOverflow)
        m_counters.deviceOverflows.fetch_add(1, std::memory_order_relaxed);
    const std::uint32_t channels = m_channels;
    m_peakLevel.store(samples ? peakOf(samples, std::size_t(frameCount) * channels) : 0.0f, std::memory_order_relaxed);
    std::size_t queued;
    if (!samples) {
        queued = m_ring->pushWith(frameCount, [](std::size_t) { return 0.0f; });
    } else if (channels == 1) {
        queued = m_ring->push(samples, frameCount);
    } else {
        // A device that would only open with several channels: their mean is the mono signal.
        queued = m_ring->pushWith(frameCount, [samples, channels](std::size_t frame) {
            const float *first = samples + frame * channels;
            float sum = 0.0f;
            for (std::uint32_t c = 0; c < channels; ++c)
                sum += first[c];
            return sum / float(channels);
        });
    }
    m_counters.framesCaptured.fetch_add(frameCount, std::memory_order_relaxed);
    if (queued < frameCount)
        m_counters.overrunFrames.fetch_add(frameCount - queued, std::memory_order_relaxed);
    return 0;
}

QString AudioFileRecorder::recordingProblem() const
{
    const QString writeError = m_writer ? m_writer->writeError() : QString();
    if (!writeError.isEmpty())
        return writeError;
    if (overrunFrames() == 0 && deviceOverflows() == 0)
        return {};
    return tr("cannot keep up with the audio input: %1 frames dropped, %2 device overflows")
        .arg(overrunFrames())
        .arg(deviceOverflows());
}

std::uint64_t AudioFileRecorder::framesWritten() const
{
    return m_writer ? m_writer->framesWritten() : 0;
}

std::int32_t AudioFileRecorder::fail(std::int32_t status, const QString &error)
{
    m_lastError = error;
    return status;
}
