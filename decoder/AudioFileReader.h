#pragma once

#include "SampleSource.h"

#include <QString>

#include <cstdint>
#include <vector>

struct sf_private_tag;
struct soxr;

// Reads any audio file libsndfile opens (WAV of any layout, AIFF, FLAC, Ogg,
// MP3 where the library has it) as the recorder would have recorded it: the
// channel with the strongest signal (a mix could cancel channels that carry
// the bursts in opposite phase), resampled to 44,100 Hz and turned into
// 16-bit samples exactly as the recorder does. Streams in blocks; memory does
// not grow with the file. One reader per file, one thread at a time.
class AudioFileReader final : public SampleSource
{
public:
    // Blocks of this many frames are read from the file.
    static constexpr std::size_t kBlockFrames = 16384;
    // The formats a user can give, for the message about one we cannot read.
    static QString supportedFormats();

    AudioFileReader() = default;
    ~AudioFileReader() override;
    AudioFileReader(const AudioFileReader &) = delete;
    AudioFileReader &operator=(const AudioFileReader &) = delete;

    // False when libsndfile cannot read the file; lastError() then says why.
    bool open(const QString &path);
    // libsndfile knew the file's format, even if open() then failed.
    bool recognised() const { return m_recognised; }
    // What the recorder writes: a WAV file of 16-bit PCM, one channel, 44,100 Hz.
    bool isCanonical() const;
    int sampleRate() const { return m_sampleRate; }
    int channels() const { return m_channels; }
    // The channel read, 0 for the first; chosen when the file is opened.
    int channel() const { return m_channel; }
    QString lastError() const { return m_lastError; }

    std::size_t read(std::span<std::int16_t> out) override;
    bool rewind() override;

private:
    int strongestChannel();
    // Reads the next block of the chosen channel into m_mono; 0 at the end.
    std::size_t readMono();

    sf_private_tag *m_file = nullptr;
    soxr *m_resampler = nullptr;
    int m_format = 0;
    int m_sampleRate = 0;
    int m_channels = 0;
    int m_channel = 0;
    bool m_recognised = false;
    bool m_inputEnded = false;
    std::vector<float> m_frames;    // interleaved, as read
    std::vector<float> m_mono;      // the chosen channel of them
    std::vector<float> m_resampled;
    std::size_t m_monoCount = 0;    // samples in m_mono not yet resampled ...
    std::size_t m_monoUsed = 0;     // ... starting here
    std::size_t m_pending = 0;      // resampled samples not yet handed out ...
    std::size_t m_pendingUsed = 0;  // ... starting here
    QString m_lastError;
};
