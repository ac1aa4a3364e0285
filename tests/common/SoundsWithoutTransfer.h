#pragma once

#include "TransferSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

// Sounds a microphone hears when no watch sends: noise, music, speech and
// watch-like frames that never hold the synchronisation byte. Levels, notes
// and rhythms are drawn from the seed, so a failure can be made again.
class SoundsWithoutTransfer
{
public:
    using Samples = std::vector<std::int16_t>;
    using Maker = Samples (SoundsWithoutTransfer::*)();
    struct Kind
    {
        const char *name;
        Maker make;
    };

    SoundsWithoutTransfer(std::size_t length, std::uint64_t seed) : m_length(length), m_random(seed) {}

    Samples whiteNoise()
    {
        const double sigma = std::exp(uniform(std::log(1.0), std::log(12000.0)));
        std::vector<double> mix(m_length);
        for (double &v : mix)
            v = sigma * gaussian();
        return clipped(mix);
    }

    // Three or four notes from A3 to A7 struck at random moments, each
    // decaying, some of them in the bursts' own band.
    Samples chords()
    {
        std::vector<double> mix(m_length, 0.0);
        for (int k = 0, notes = 3 + int(m_random() % 2); k < notes; ++k) {
            const double frequency = 220.0 * std::pow(2.0, double(m_random() % 48) / 12.0);
            const double amplitude = uniform(1000.0, 8000.0);
            const std::size_t onset = std::size_t(uniform(0.0, 0.6) * double(m_length));
            const double decay = uniform(0.02, 0.5) * synth::kSampleRate;
            for (std::size_t n = onset; n < m_length; ++n) {
                const double t = double(n - onset);
                mix[n] += amplitude * std::exp(-t / decay) * std::sin(2.0 * std::numbers::pi * frequency * t / synth::kSampleRate);
            }
        }
        return clipped(mix);
    }

    // Band-limited noise under a syllable envelope of 3 to 6 Hz with pauses.
    Samples speechLike()
    {
        const double syllable = uniform(3.0, 6.0), level = uniform(500.0, 10000.0);
        double low = 0.0, previous = 0.0;
        std::vector<double> mix(m_length);
        for (std::size_t n = 0; n < m_length; ++n) {
            low += 0.3 * (gaussian() - low); // away with the top of the band
            const double band = low - previous; // and with the bottom
            previous = low;
            const double envelope = std::max(0.0, std::sin(std::numbers::pi * syllable * double(n) / synth::kSampleRate));
            mix[n] = level * envelope * envelope * band * 3.0;
        }
        return clipped(mix);
    }

    // Real frames of random bytes, none of them the synchronisation byte.
    Samples framesWithoutSync()
    {
        std::vector<std::uint8_t> bytes = synth::randomBytes(20, m_random());
        std::replace(bytes.begin(), bytes.end(), synth::kSyncByte, std::uint8_t(0x54));
        const synth::RoomOptions room{.snrDb = uniform(8.0, 40.0), .leadSeconds = 0.12, .seed = m_random(),
                                      .humLevel = uniform(0.0, 0.5)};
        Samples s = synth::modulate(bytes, room);
        s.resize(m_length, 0);
        return s;
    }

private:
    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(m_random); }
    double gaussian() { return std::normal_distribution<double>(0.0, 1.0)(m_random); }
    static Samples clipped(const std::vector<double> &mix)
    {
        Samples s(mix.size());
        std::transform(mix.begin(), mix.end(), s.begin(),
                       [](double v) { return std::int16_t(std::lround(std::clamp(v, -32768.0, 32767.0))); });
        return s;
    }

    std::size_t m_length;
    std::mt19937_64 m_random;
};

inline constexpr SoundsWithoutTransfer::Kind kSoundsWithoutTransfer[] = {
    {"white noise", &SoundsWithoutTransfer::whiteNoise},
    {"chords", &SoundsWithoutTransfer::chords},
    {"speech-like noise", &SoundsWithoutTransfer::speechLike},
    {"frames without sync", &SoundsWithoutTransfer::framesWithoutSync}};
