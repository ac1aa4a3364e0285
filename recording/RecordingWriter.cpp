#include "RecordingWriter.h"

#include "Pcm16.h"
#include "ReceptionMonitor.h"

#include <QFile>

#include <sndfile.h>
#include <soxr.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Frames taken from the ring per step: about 90 ms at 44,100 Hz, small enough
// to keep the writer's buffers modest and large enough to keep calls few.
constexpr std::size_t kBlockFrames = 4096;
// The writer wakes this often to drain; the ring holds seconds, so this only
// bounds how late the file sees the samples.
constexpr auto kDrainInterval = std::chrono::milliseconds(10);
// Overruns are reported at most this often while recording, and once more at the end.
constexpr auto kOverrunReportInterval = std::chrono::seconds(1);

QString sndfileError(SNDFILE *file)
{
    return QString::fromLocal8Bit(sf_strerror(file));
}

} // namespace

RecordingWriter::RecordingWriter(SpscRing<float> &ring, const CaptureCounters &counters)
    : m_ring(ring), m_counters(counters)
{
}

RecordingWriter::~RecordingWriter()
{
    close();
}

std::int32_t RecordingWriter::create(const QString &path, double inputRate)
{
    m_path = path;
    // O_EXCL: a recording never replaces an earlier one, even if two
    // recorders race for the same name.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int error = errno;
        m_lastError = tr("cannot create %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
        return error;
    }
    SF_INFO info{};
    info.samplerate = kFileSampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    m_file = sf_open_fd(fd, SFM_WRITE, &info, SF_TRUE); // closes fd on failure and on sf_close
    if (!m_file) {
        const int error = sf_error(nullptr);
        m_lastError = tr("cannot create %1: %2").arg(path, sndfileError(nullptr));
        QFile::remove(path);
        return error != 0 ? error : -1;
    }
    // Keeps the header's sizes true after every write, so a crash mid-recording
    // still leaves a readable file with everything written so far.
    sf_command(m_file, SFC_SET_UPDATE_HEADER_AUTO, nullptr, SF_TRUE);

    std::size_t outputCapacity = kBlockFrames;
    if (inputRate != kFileSampleRate) {
        soxr_error_t error = nullptr;
        const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
        const soxr_quality_spec_t quality = soxr_quality_spec(Pcm16::kResamplerQuality, 0);
        m_resampler = soxr_create(inputRate, kFileSampleRate, 1, &error, &io, &quality, nullptr);
        if (!m_resampler) {
            m_lastError = tr("cannot resample %1 Hz to %2 Hz: %3")
                              .arg(inputRate)
                              .arg(kFileSampleRate)
                              .arg(QString::fromLatin1(error));
            close();
            QFile::remove(path);
            return -1;
        }
        outputCapacity = std::size_t(std::ceil(kBlockFrames * kFileSampleRate / inputRate)) + 64;
    }
    m_inputBlock.resize(kBlockFrames);
    m_outputBlock.resize(outputCapacity);
    m_pcmBlock.resize(std::max(outputCapacity, kBlockFrames));
    return 0;
}

void RecordingWriter::start()
{
    if (m_file && !m_thread.joinable())
        m_thread = std::thread(&RecordingWriter::run, this);
}

void RecordingWriter::finish()
{
    if (!m_thread.joinable())
        return;
    {
        std::lock_guard lock(m_mutex);
        m_finishRequested = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void RecordingWriter::close()
{
    finish();
    if (m_resampler) {
        soxr_delete(m_resampler);
        m_resampler = nullptr;
    }
    if (m_file) {
        const int status = sf_close(m_file);
        if (status != 0 && !m_writeFailed.load(std::memory_order_relaxed))
            std::fprintf(stderr, "cannot complete %s: %s\n", QFile::encodeName(m_path).constData(),
                         sf_error_number(status));
        m_file = nullptr;
    }
}

void RecordingWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        const bool finishing = m_wake.wait_for(lock, kDrainInterval, [this] { return m_finishRequested; });
        lock.unlock();
        drainRing();
        reportOverruns(false);
        lock.lock();
        if (finishing)
            break;
    }
    lock.unlock();
    // The producer stopped before finish() was called, so the last drain above
    // emptied the ring for good.
    flushResampler();
    reportOverruns(true);
}

void RecordingWriter::drainRing()
{
    for (;;) {
        const std::size_t count = m_ring.pop(m_inputBlock.data(), m_inputBlock.size());
        if (count == 0)
            return;
        convert(m_inputBlock.data(), count);
    }
}

void RecordingWriter::convert(const float *input, std::size_t count)
{
    if (!m_resampler) {
        write(input, count);
        return;
    }
    std::size_t consumed = 0;
    while (consumed < count) {
        std::size_t used = 0;
        std::size_t produced = 0;
        soxr_process(m_resampler, input + consumed, count - consumed, &used, m_outputBlock.data(),
                     m_outputBlock.size(), &produced);
        write(m_outputBlock.data(), produced);
        consumed += used;
        if (used == 0 && produced == 0)
            break;
    }
}

void RecordingWriter::flushResampler()
{
    if (!m_resampler)
        return;
    // A null input tells soxr that the input has ended; it then yields the
    // samples it was holding back for its filter.
    for (;;) {
        std::size_t produced = 0;
        soxr_process(m_resampler, nullptr, 0, nullptr, m_outputBlock.data(), m_outputBlock.size(), &produced);
        if (produced == 0)
            return;
        write(m_outputBlock.data(), produced);
    }
}

void RecordingWriter::write(const float *samples, std::size_t count)
{
    if (count == 0 || m_writeFailed.load(std::memory_order_relaxed))
        return;
    // Beyond full scale the samples clip instead of wrapping around.
    Pcm16::fromFloat(std::span(samples, count), m_pcmBlock.data());
    if (m_monitor)
        m_monitor->process(std::span<const std::int16_t>(m_pcmBlock.data(), count));
    const sf_count_t written = sf_write_short(m_file, m_pcmBlock.data(), sf_count_t(count));
    if (written > 0)
        m_framesWritten.fetch_add(std::uint64_t(written), std::memory_order_relaxed);
    if (written != sf_count_t(count)) {
        // A full disk: keep what is on disk (the header stays true) and say so once.
        m_writeError = QStringLiteral("cannot write %1: %2").arg(m_path, sndfileError(m_file));
        m_writeFailed.store(true, std::memory_order_release);
        std::fprintf(stderr, "%s\n", m_writeError.toLocal8Bit().constData());
    }
}

void RecordingWriter::reportOverruns(bool final)
{
    const auto now = std::chrono::steady_clock::now();
    if (!final && now - m_lastReport < kOverrunReportInterval)
        return;
    const std::uint64_t lost = m_counters.overrunFrames.load(std::memory_order_relaxed);
    const std::uint64_t overflows = m_counters.deviceOverflows.load(std::memory_order_relaxed);
    if (lost == m_reportedOverrunFrames && overflows == m_reportedDeviceOverflows)
        return;
    std::fprintf(stderr, "recording overrun: %" PRIu64 " frames dropped, %" PRIu64 " device overflows\n", lost,
                 overflows);
    m_reportedOverrunFrames = lost;
    m_reportedDeviceOverflows = overflows;
    m_lastReport = now;
}
