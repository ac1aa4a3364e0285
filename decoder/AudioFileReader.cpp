#include "AudioFileReader.h"

#include "FileName.h"
#include "Pcm16.h"

#include <QFile>

#include <sndfile.h>

#include <algorithm>
#include <cmath>

AudioFileReader::~AudioFileReader()
{
    if (m_resampler)
        soxr_delete(m_resampler);
    if (m_file)
        sf_close(m_file);
}

QString AudioFileReader::supportedFormats()
{
    return QStringLiteral("WAV, AIFF, FLAC, Ogg Vorbis, Ogg Opus and MP3");
}

bool AudioFileReader::open(const QString &path)
{
    SF_INFO info{};
    m_file = sf_open(FileName::encode(path).constData(), SFM_READ, &info);
    if (!m_file) {
        m_lastError = QString::fromLocal8Bit(sf_strerror(nullptr));
        return false;
    }
    m_recognised = true;
    m_format = info.format;
    m_sampleRate = info.samplerate;
    m_channels = info.channels;
    if (m_sampleRate <= 0 || m_channels <= 0) {
        m_lastError = QStringLiteral("the file names no sample rate or channels");
        sf_close(m_file);
        m_file = nullptr;
        return false;
    }
    // Float files may hold values past full scale; they clip like the recorder's input.
    sf_command(m_file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    m_frames.resize(kBlockFrames * std::size_t(m_channels));
    m_mono.resize(kBlockFrames);
    if (m_sampleRate != Pcm16::kSampleRate) {
        soxr_error_t error = nullptr;
        const soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
        const soxr_quality_spec_t quality = soxr_quality_spec(Pcm16::kResamplerQuality, 0);
        m_resampler = soxr_create(m_sampleRate, Pcm16::kSampleRate, 1, &error, &io, &quality, nullptr);
        if (!m_resampler) {
            m_lastError = QStringLiteral("cannot resample %1 Hz: %2").arg(m_sampleRate).arg(QString::fromLatin1(error));
            return false;
        }
    }
    m_resampled.resize(std::size_t(std::ceil(double(kBlockFrames) * Pcm16::kSampleRate / m_sampleRate)) + 64);
    m_channel = m_channels > 1 ? strongestChannel() : 0;
    if (!rewind()) {
        m_lastError = QStringLiteral("cannot seek to the start of the samples: %1")
                          .arg(QString::fromLocal8Bit(sf_strerror(m_file)));
        return false;
    }
    return true;
}

bool AudioFileReader::isCanonical() const
{
    return m_file && m_format == (SF_FORMAT_WAV | SF_FORMAT_PCM_16) && m_channels == 1
           && m_sampleRate == Pcm16::kSampleRate;
}

int AudioFileReader::strongestChannel()
{
    // The bursts are what stands out; a channel's energy is the signal's measure.
    std::vector<double> energy(std::size_t(m_channels), 0.0);
    for (;;) {
        const sf_count_t frames = sf_readf_float(m_file, m_frames.data(), sf_count_t(kBlockFrames));
        if (frames <= 0)
            break;
        for (std::size_t f = 0; f < std::size_t(frames); ++f)
            for (std::size_t c = 0; c < energy.size(); ++c) {
                const double x = m_frames[f * energy.size() + c];
                energy[c] += x * x;
            }
    }
    return int(std::max_element(energy.begin(), energy.end()) - energy.begin());
}

bool AudioFileReader::rewind()
{
    m_inputEnded = false;
    m_monoCount = m_monoUsed = m_pending = m_pendingUsed = 0;
    if (m_resampler)
        soxr_clear(m_resampler);
    return m_file && sf_seek(m_file, 0, SEEK_SET) == 0;
}

std::size_t AudioFileReader::readMono()
{
    const sf_count_t frames = sf_readf_float(m_file, m_frames.data(), sf_count_t(kBlockFrames));
    if (frames <= 0)
        return 0;
    for (std::size_t f = 0; f < std::size_t(frames); ++f)
        m_mono[f] = m_frames[f * std::size_t(m_channels) + std::size_t(m_channel)];
    return std::size_t(frames);
}

std::size_t AudioFileReader::read(std::span<std::int16_t> out)
{
    std::size_t filled = 0;
    while (filled < out.size()) {
        if (m_pendingUsed < m_pending) {
            const std::size_t count = std::min(out.size() - filled, m_pending - m_pendingUsed);
            Pcm16::fromFloat(std::span<const float>(m_resampled.data() + m_pendingUsed, count), out.data() + filled);
            m_pendingUsed += count;
            filled += count;
            continue;
        }
        if (m_monoUsed == m_monoCount && !m_inputEnded) {
            m_monoCount = readMono();
            m_monoUsed = 0;
            m_inputEnded = m_monoCount == 0;
        }
        m_pending = m_pendingUsed = 0;
        if (!m_resampler) {
            if (m_monoCount == m_monoUsed)
                break;
            std::copy_n(m_mono.begin(), m_monoCount, m_resampled.begin());
            m_pending = m_monoCount;
            m_monoUsed = m_monoCount;
            continue;
        }
        // A null input tells soxr the input has ended: it yields what it held back for its filter.
        std::size_t used = 0;
        const float *input = m_inputEnded ? nullptr : m_mono.data() + m_monoUsed;
        soxr_process(m_resampler, input, m_monoCount - m_monoUsed, &used, m_resampled.data(), m_resampled.size(),
                     &m_pending);
        m_monoUsed += used;
        if (m_inputEnded && m_pending == 0)
            break;
    }
    return filled;
}
