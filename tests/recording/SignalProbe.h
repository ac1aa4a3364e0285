#pragma once

#include <QString>

#include <cstdint>
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
std::vector<float> tone(double sampleRate, double seconds, double frequency, float amplitude = 0.5f,
                        int channels = 1);
WavContents readWav(const QString &path);
// The tone's frequency from its rising zero crossings, between the first and the last.
double zeroCrossingFrequency(const std::vector<std::int16_t> &samples, double sampleRate);
} // namespace probe
