#include "TransferSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

constexpr double kAmplitude = 4000.0;

synth::RoomOptions quiet()
{
    synth::RoomOptions room;
    room.amplitude = kAmplitude;
    return room;
}

int peakBetween(const std::vector<std::int16_t> &s, double from, double to)
{
    int peak = 0;
    for (std::size_t n = std::size_t(from); n < std::size_t(to) && n < s.size(); ++n)
        peak = std::max(peak, std::abs(int(s[n])));
    return peak;
}

// A tap jumps to its level in one sample, is gone within 15, and is not echoed.
TEST(RoomEffects, ClickIsAnImpulseOfItsLevel)
{
    synth::RoomOptions room = quiet();
    room.clickSeconds = {0.1};
    room.echoLevel = 0.5;
    room.echoDelayMs = 4.0;
    const std::vector<std::int16_t> s = synth::modulate({}, room);
    EXPECT_EQ(s[4409], 0);
    EXPECT_EQ(s[4410], 4 * kAmplitude);
    EXPECT_LT(std::abs(s[4410 + 15]), 0.01 * 4 * kAmplitude);
    EXPECT_EQ(peakBetween(s, 4410 + 20, 4410 + 400), 0);
}

TEST(RoomEffects, HumIsASineOfItsLevelAndFrequency)
{
    synth::RoomOptions room = quiet();
    room.humLevel = 0.5;
    const std::vector<std::int16_t> s = synth::modulate({}, room);
    EXPECT_NEAR(peakBetween(s, 0, 882), 0.5 * kAmplitude, 1.0); // one 50 Hz period
    EXPECT_NEAR(s[441 / 2], 0.5 * kAmplitude, 1.0);              // a quarter period in
}

// The wall returns the burst echoDelayMs later at echoLevel times its size.
TEST(RoomEffects, EchoFollowsEachBurst)
{
    synth::RoomOptions room = quiet();
    room.echoLevel = 0.5;
    room.echoDelayMs = 5.0;
    const std::vector<std::int16_t> s = synth::modulate({0x00}, room);
    const double start = synth::burstCentre(0, 0, room);
    const double echo = start + 5.0 * 44.1;
    const int burst = peakBetween(s, start - 18, start + 18);
    // Sampled half a sample off its own centre, the echo's top is a little lower.
    EXPECT_NEAR(peakBetween(s, echo - 18, echo + 18), 0.5 * burst, 0.03 * burst);
    EXPECT_EQ(peakBetween(s, start + 18, echo - 18), 0);
}

TEST(RoomEffects, RefusesNonsense)
{
    const auto refuses = [](auto change) {
        synth::RoomOptions room;
        change(room);
        EXPECT_THROW(synth::modulate({0x55}, room), std::invalid_argument);
    };
    refuses([](synth::RoomOptions &r) { r.clickLevel = -1.0; });
    refuses([](synth::RoomOptions &r) { r.clickSeconds = {-0.5}; });
    refuses([](synth::RoomOptions &r) { r.humLevel = INFINITY; });
    refuses([](synth::RoomOptions &r) { r.echoDelayMs = NAN; });
    refuses([](synth::RoomOptions &r) { r.echoLevel = -0.1; });
}

} // namespace
