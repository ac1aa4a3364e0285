#include "SignalProbe.h"

#include <QFile>

#include <sndfile.h>

#include <cmath>
#include <numbers>

namespace probe {

std::vector<float> tone(double sampleRate, double seconds, double frequency, float amplitude, int channels)
{
    const auto frames = std::size_t(std::llround(sampleRate * seconds));
    std::vector<float> samples(frames * std::size_t(channels));
    for (std::size_t i = 0; i < frames; ++i) {
        const auto value = float(amplitude * std::sin(2.0 * std::numbers::pi * frequency * double(i) / sampleRate));
        for (int c = 0; c < channels; ++c)
            samples[i * std::size_t(channels) + std::size_t(c)] = value;
    }
    return samples;
}

WavContents readWav(const QString &path)
{
    WavContents contents;
    SF_INFO info{};
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_READ, &info);
    if (!file)
        return contents;
    contents.sampleRate = info.samplerate;
    contents.channels = info.channels;
    contents.format = info.format;
    contents.samples.resize(std::size_t(info.frames * info.channels));
    contents.ok = sf_read_short(file, contents.samples.data(), sf_count_t(contents.samples.size()))
                  == sf_count_t(contents.samples.size());
    sf_close(file);
    return contents;
}

double zeroCrossingFrequency(const std::vector<std::int16_t> &samples, double sampleRate)
{
    std::size_t first = 0, last = 0, crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            if (crossings == 0)
                first = i;
            last = i;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0.0;
    return double(crossings - 1) * sampleRate / double(last - first);
}

} // namespace probe
