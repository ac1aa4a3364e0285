#pragma once

#include <QFile>
#include <QString>

#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

// Test helpers: make tones, read WAV files back and measure what they hold.
namespace probe {

struct WavContents
{
    bool ok = false;
    int sampleRate = 0;
    int channels = 0;
    int format = 0; // libsndfile's SF_FORMAT_* bits
    std::vector<std::int16_t> samples;
};

// Interleaved float samples: the same sine in every channel.
inline std::vector<float> tone(double sampleRate, double seconds, double frequency, float amplitude = 0.5f,
                               int channels = 1)
{
    std::vector<float> samples(std::size_t(std::llround(sampleRate * seconds)) * std::size_t(channels));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = float(amplitude * std::sin(2.0 * std::numbers::pi * frequency * double(i / std::size_t(channels)) / sampleRate));
    return samples;
}

inline WavContents readWav(const QString &path)
{
    WavContents contents;
    SF_INFO info{};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return contents;
    contents = {false, info.samplerate, info.channels, info.format, std::vector<std::int16_t>(std::size_t(info.frames * info.channels))};
    contents.ok = sf_read_short(file, contents.samples.data(), sf_count_t(contents.samples.size()))
                  == sf_count_t(contents.samples.size());
    sf_close(file);
    return contents;
}

// The tone's frequency from its rising zero crossings, between the first and the last.
inline double zeroCrossingFrequency(const std::vector<std::int16_t> &samples, double sampleRate)
{
    std::size_t first = 0, last = 0, crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            first = crossings++ == 0 ? i : first;
            last = i;
        }
    }
    return crossings < 2 ? 0.0 : double(crossings - 1) * sampleRate / double(last - first);
}

} // namespace probe
