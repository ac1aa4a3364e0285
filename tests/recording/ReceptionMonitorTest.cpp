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

std::vector<Room> rooms()
{
    std::vector<Room> rooms(8);
    rooms[0].name = "clean";
    rooms[1].name = "noisy";
    rooms[1].options.snrDb = 15.0;
    rooms[2].name = "far away";
    rooms[2].options.amplitude = 400.0;
    rooms[2].options.snrDb = 25.0;
    rooms[3].name = "fading";
    rooms[3].options.fadeDepth = 0.7;
    rooms[3].options.snrDb = 25.0;
    rooms[4].name = "echo";
    rooms[4].options.echoLevel = 0.5;
    rooms[4].options.echoDelayMs = 4.0;
    rooms[5].name = "hum and clicks";
    rooms[5].options.humLevel = 0.5;
    rooms[5].options.clickSeconds = {1.0, 2.5, 4.0};
    rooms[5].clips = true; // the taps do
    rooms[6].name = "drifting clock";
    rooms[6].options.drift = 0.02;
    rooms[7].name = "too close";
    rooms[7].options.amplitude = 60000.0;
    rooms[7].clips = true;
    for (Room &room : rooms) {
        room.options.leadSeconds = 1.0;
        room.options.tailSeconds = 3.0;
    }
    return rooms;
}

TEST(ReceptionMonitor, FollowsTransfersInEveryRoom)
{
    std::vector<std::uint8_t> cleaned = synth::randomBytes(11 + 300, 5);
    cleaned[0] = synth::kSyncByte;
    const std::vector<std::uint8_t> stream = synth::frameTransfer(cleaned);
    for (const Room &room : rooms()) {
        const Followed followed = follow(synth::modulate(stream, room.options));
        ASSERT_TRUE(followed.heard) << room.name;
        EXPECT_NEAR(double(followed.bytes), double(stream.size()), 0.03 * double(stream.size())) << room.name;
        const double lastFrame = synth::burstCentre(stream.size() - 1, 0, room.options);
        EXPECT_NEAR((double(followed.endDecidedAt) - lastFrame) / kRate, ReceptionMonitor::kEndSeconds, 0.2)
            << room.name;
        EXPECT_EQ(followed.clipped, room.clips) << room.name;
    }
}

// Three seconds of noise, music or speech never make a watch heard.
TEST(ReceptionMonitor, HearsNoWatchInSoundsWithoutATransfer)
{
    std::mt19937_64 random(11);
    const auto uniform = [&](double low, double high) { return std::uniform_real_distribution(low, high)(random); };
    std::normal_distribution<double> gaussian;
    const auto clip = [](double v) { return std::int16_t(std::lround(std::clamp(v, -32768.0, 32767.0))); };
    constexpr std::size_t kLength = 3 * 44100;
    for (int r = 0; r < 30; ++r) {
        std::vector<double> mix(kLength, 0.0);
        const int kind = r % 3;
        const double level = std::exp(uniform(std::log(30.0), std::log(10000.0)));
        double low = 0.0, previous = 0.0;
        const double syllable = uniform(3.0, 6.0);
        for (std::size_t n = 0; n < kLength; ++n) {
            const double white = gaussian(random);
            if (kind == 0) {
                mix[n] = level * white;
            } else if (kind == 1) {
                low += 0.3 * (white - low);
                const double envelope = std::max(0.0, std::sin(std::numbers::pi * syllable * double(n) / kRate));
                mix[n] = level * envelope * envelope * (low - previous) * 3.0;
                previous = low;
            }
        }
        for (int note = 0; kind == 2 && note < 4; ++note) {
            const double frequency = 220.0 * std::pow(2.0, double(random() % 48) / 12.0);
            const std::size_t onset = std::size_t(uniform(0.0, 0.6) * double(kLength));
            const double decay = uniform(0.02, 0.5) * kRate;
            for (std::size_t n = onset; n < kLength; ++n) {
                const double t = double(n - onset);
                mix[n] += level * std::exp(-t / decay) * std::sin(2.0 * std::numbers::pi * frequency * t / kRate);
            }
        }
        std::vector<std::int16_t> samples(kLength);
        std::transform(mix.begin(), mix.end(), samples.begin(), clip);
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
