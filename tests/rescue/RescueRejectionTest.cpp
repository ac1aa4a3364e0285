#include "RescueTestSupport.h"

#include "RescueDemodulator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>

using namespace rescuetest;

namespace {

// 0.3 s: long enough for both paths to read a dozen frames, short enough for
// thousands of recordings under the sanitizers.
constexpr std::size_t kLength = 13230;
constexpr double kRate = synth::kSampleRate;

class Signals
{
public:
    explicit Signals(std::uint64_t seed) : m_random(seed) {}

    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(m_random); }
    double gaussian() { return std::normal_distribution<double>(0.0, 1.0)(m_random); }
    std::uint64_t next() { return m_random(); }

    static std::int16_t clip(double v) { return std::int16_t(std::lround(std::clamp(v, -32768.0, 32767.0))); }

    std::vector<std::int16_t> whiteNoise()
    {
        const double sigma = std::exp(uniform(std::log(1.0), std::log(12000.0)));
        std::vector<std::int16_t> s(kLength);
        for (auto &v : s)
            v = clip(sigma * gaussian());
        return s;
    }

    // Three or four notes struck at random moments, each decaying, some of
    // them in the bursts' own band.
    std::vector<std::int16_t> chords()
    {
        std::vector<double> mix(kLength, 0.0);
        const int notes = 3 + int(next() % 2);
        for (int k = 0; k < notes; ++k) {
            const double frequency = 220.0 * std::pow(2.0, double(next() % 48) / 12.0); // A3 to A7
            const double amplitude = uniform(1000.0, 8000.0);
            const std::size_t onset = std::size_t(uniform(0.0, 0.6) * double(kLength));
            const double decay = uniform(0.02, 0.5) * kRate;
            for (std::size_t n = onset; n < kLength; ++n) {
                const double t = double(n - onset);
                mix[n] += amplitude * std::exp(-t / decay) * std::sin(2.0 * std::numbers::pi * frequency * t / kRate);
            }
        }
        std::vector<std::int16_t> s(kLength);
        for (std::size_t n = 0; n < kLength; ++n)
            s[n] = clip(mix[n]);
        return s;
    }

    // Band-limited noise under a syllable envelope of 3 to 6 Hz with pauses.
    std::vector<std::int16_t> speechLike()
    {
        const double syllable = uniform(3.0, 6.0);
        const double level = uniform(500.0, 10000.0);
        double low = 0.0;
        double previous = 0.0;
        std::vector<std::int16_t> s(kLength);
        for (std::size_t n = 0; n < kLength; ++n) {
            const double white = gaussian();
            low += 0.3 * (white - low);     // away with the top of the band
            const double band = low - previous; // and with the bottom
            previous = low;
            const double envelope = std::max(0.0, std::sin(std::numbers::pi * syllable * double(n) / kRate));
            s[n] = clip(level * envelope * envelope * band * 3.0);
        }
        return s;
    }

    // Real frames of random bytes that never hold the synchronisation pattern.
    std::vector<std::int16_t> framesWithoutSync()
    {
        std::vector<std::uint8_t> bytes = synth::randomBytes(20, next());
        for (std::size_t k = 0; k < bytes.size(); ++k) {
            if (bytes[k] == synth::kSyncByte)
                bytes[k] = 0x54;
        }
        synth::RoomOptions room;
        room.leadSeconds = 0.12;
        room.snrDb = uniform(8.0, 40.0);
        room.humLevel = uniform(0.0, 0.5);
        room.seed = next();
        std::vector<std::int16_t> s = synth::modulate(bytes, room);
        s.resize(kLength, 0);
        return s;
    }

private:
    std::mt19937_64 m_random;
};

struct Kind
{
    const char *name;
    std::vector<std::int16_t> (Signals::*make)();
};

// No session is ever invented: neither path recognises a model in silence,
// noise, music, speech or burst-like sounds without a transfer in them.
TEST(RescueRejection, NoSessionFromSoundsThatHoldNoTransfer)
{
    const Kind kinds[] = {
        {"white noise", &Signals::whiteNoise}, {"chords", &Signals::chords},
        {"speech-like noise", &Signals::speechLike},
        {"frames without sync", &Signals::framesWithoutSync},
    };
    constexpr int kPerKind = 750; // a few thousand recordings in all
    Signals source(77);
    int rescued = 0;
    for (const Kind &kind : kinds) {
        for (int r = 0; r < kPerKind; ++r) {
            const Outcome outcome = decodeSamples((source.*kind.make)());
            EXPECT_FALSE(outcome.model) << kind.name << " " << r;
            EXPECT_FALSE(outcome.decoded) << kind.name << " " << r;
            rescued += outcome.rescueAttempted;
        }
    }
    // Every one of them went through both paths.
    EXPECT_EQ(rescued, kPerKind * int(std::size(kinds)));
}

// Nothing in digital silence or a steady tone in the bursts' band is a frame.
TEST(RescueRejection, SilenceAndASteadyToneGiveNoBytes)
{
    const std::vector<std::int16_t> silence(kLength, 0);
    std::vector<std::int16_t> tone(kLength);
    for (std::size_t n = 0; n < kLength; ++n)
        tone[n] = Signals::clip(8000.0 * std::sin(2.0 * std::numbers::pi * 3675.0 * double(n) / kRate));
    EXPECT_TRUE(RescueDemodulator::demodulate(silence).empty());
    EXPECT_TRUE(RescueDemodulator::demodulate(tone).empty());
}

} // namespace
