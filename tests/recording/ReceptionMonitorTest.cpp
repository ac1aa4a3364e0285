// The reception monitor on synthesized transfers in the synthesizer's rooms,
// and on sounds that hold no transfer.
#include "ReceptionMonitor.h"
#include "TransferSynth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace {

constexpr double kRate = synth::kSampleRate;
// The writer hands the monitor about 10 ms at a time.
constexpr std::size_t kStep = 441;

struct Followed
{
    bool heard = false;
    std::uint64_t bytes = 0;
    std::int64_t endDecidedAt = -1; // the sample at which transferEnded() first held
    bool clipped = false;
};

Followed follow(const std::vector<std::int16_t> &samples)
{
    ReceptionMonitor monitor;
    Followed followed;
    for (std::size_t at = 0; at < samples.size(); at += kStep) {
        monitor.process(std::span(samples).subspan(at, std::min(kStep, samples.size() - at)));
        followed.clipped = followed.clipped || (monitor.watchHeard() && monitor.isClipping());
        if (followed.endDecidedAt < 0 && monitor.transferEnded())
            followed.endDecidedAt = monitor.samplesProcessed();
    }
    followed.heard = monitor.watchHeard();
    followed.bytes = monitor.bytesReceived();
    return followed;
}

struct Room
{
    const char *name;
    synth::RoomOptions options;
    bool clips = false;
};

const Room kRooms[] = {
    {"clean", {}},
    {"noisy", {.snrDb = 15.0}},
    {"far away", {.amplitude = 400.0, .snrDb = 25.0}},
    {"fading", {.snrDb = 25.0, .fadeDepth = 0.7}},
    {"echo", {.echoLevel = 0.5, .echoDelayMs = 4.0}},
    {"hum and clicks", {.clickSeconds = {1.0, 2.5, 4.0}, .humLevel = 0.5}, true}, // the taps clip
    {"drifting clock", {.drift = 0.02}},
    {"too close", {.amplitude = 60000.0}, true},
};

TEST(ReceptionMonitor, FollowsTransfersInEveryRoom)
{
    std::vector<std::uint8_t> cleaned = synth::randomBytes(11 + 300, 5);
    cleaned[0] = synth::kSyncByte;
    const std::vector<std::uint8_t> stream = synth::frameTransfer(cleaned);
    for (Room room : kRooms) {
        room.options.leadSeconds = 1.0;
        room.options.tailSeconds = 3.0;
        const Followed followed = follow(synth::modulate(stream, room.options));
        ASSERT_TRUE(followed.heard) << room.name;
        EXPECT_NEAR(double(followed.bytes), double(stream.size()), 0.03 * double(stream.size())) << room.name;
        const double lastFrame = synth::burstCentre(stream.size() - 1, 0, room.options);
        EXPECT_NEAR((double(followed.endDecidedAt) - lastFrame) / kRate, ReceptionMonitor::kEndSeconds, 0.2)
            << room.name;
        EXPECT_EQ(followed.clipped, room.clips) << room.name;
    }
}

// Three seconds of noise, speech-like bursts or music never make a watch heard.
TEST(ReceptionMonitor, HearsNoWatchInSoundsWithoutATransfer)
{
    std::mt19937_64 random(11);
    const auto uniform = [&](double low, double high) { return std::uniform_real_distribution(low, high)(random); };
    std::normal_distribution<double> gaussian;
    constexpr std::size_t kLength = 3 * 44100;
    for (int r = 0; r < 30; ++r) {
        const int kind = r % 3; // noise, speech, music
        const double level = std::exp(uniform(std::log(30.0), std::log(10000.0)));
        const double syllable = uniform(3.0, 6.0);
        std::vector<double> mix(kLength, 0.0);
        for (double n = 0, low = 0.0, previous = 0.0; kind < 2 && n < kLength; ++n) {
            low += 0.3 * (gaussian(random) - low);
            const double envelope = std::max(0.0, std::sin(std::numbers::pi * syllable * n / kRate));
            mix[std::size_t(n)] = kind == 0 ? level * gaussian(random) : level * envelope * envelope * (low - previous) * 3.0;
            previous = low;
        }
        for (int note = 0; kind == 2 && note < 4; ++note) {
            const double frequency = 220.0 * std::pow(2.0, double(random() % 48) / 12.0);
            const std::size_t onset = std::size_t(uniform(0.0, 0.6) * double(kLength));
            const double decay = uniform(0.02, 0.5) * kRate;
            for (std::size_t n = onset; n < kLength; ++n)
                mix[n] += level * std::exp(-double(n - onset) / decay) * std::sin(2.0 * std::numbers::pi * frequency * double(n - onset) / kRate);
        }
        std::vector<std::int16_t> samples(kLength);
        std::transform(mix.begin(), mix.end(), samples.begin(),
                       [](double v) { return std::int16_t(std::lround(std::clamp(v, -32768.0, 32767.0))); });
        const Followed followed = follow(samples);
        EXPECT_FALSE(followed.heard) << "kind " << kind << ", recording " << r;
        EXPECT_EQ(followed.bytes, 0u) << "kind " << kind << ", recording " << r;
    }
}

TEST(ReceptionMonitor, SaysTheInputIsQuietAfterFiveSeconds)
{
    ReceptionMonitor monitor;
    const std::vector<std::int16_t> hiss(std::size_t(ReceptionMonitor::kQuietSeconds * kRate) - kStep, 30);
    monitor.process(hiss);
    EXPECT_FALSE(monitor.isQuiet());
    monitor.process(std::vector<std::int16_t>(kStep, -30));
    EXPECT_TRUE(monitor.isQuiet());
    EXPECT_NEAR(monitor.inputPeak(), 30.0F / 32768.0F, 1e-6F);
    monitor.process(std::vector<std::int16_t>(kStep, 5000));
    EXPECT_FALSE(monitor.isQuiet());
}

} // namespace
