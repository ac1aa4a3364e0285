#include "RescueTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using namespace rescuetest;

namespace {

// Rooms of every kind the exact path copes with: some noise, a slightly
// wrong clock, mild fading, DC offset, either polarity, any loudness.
synth::RoomOptions readableRoom(std::mt19937_64 &random)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    synth::RoomOptions room;
    room.amplitude = 3000.0 + 17000.0 * unit(random);
    if (unit(random) < 0.7)
        room.snrDb = 24.0 + 16.0 * unit(random);
    room.drift = 0.016 * (unit(random) - 0.5);
    room.fadeDepth = 0.3 * unit(random);
    room.dcOffset = 2000.0 * (unit(random) - 0.5);
    room.invert = unit(random) < 0.5;
    room.seed = random();
    return room;
}

ByteArray anyTransfer(std::mt19937_64 &random)
{
    switch (random() % 3) {
    case 0:
        return f6Transfer();
    case 1:
        return rs200Transfer();
    default:
        return cs200Transfer();
    }
}

void expectSameWithoutRescue(const std::vector<std::int16_t> &samples, const std::string &what)
{
    const Outcome exact = decodeSamples(samples, false);
    const Outcome both = decodeSamples(samples);
    EXPECT_EQ(both.decoded, exact.decoded) << what;
    EXPECT_EQ(both.model, exact.model) << what;
    EXPECT_EQ(both.bytes, exact.bytes) << what;
    EXPECT_FALSE(both.rescueAttempted) << what;
    EXPECT_EQ(both.method, DecodeMethod::Exact) << what;
}

// Every recording the exact path reads gives the same result with the second
// path enabled, and the second path never runs on it.
TEST(RescueProperty, RecordingsTheExactPathReadsAreUnchanged)
{
    std::mt19937_64 random(2024);
    int readable = 0;
    constexpr int kRecordings = 40;
    for (int r = 0; r < kRecordings; ++r) {
        const std::vector<std::int16_t> samples = record(anyTransfer(random), readableRoom(random));
        if (!decodeSamples(samples, false).model)
            continue;
        ++readable;
        expectSameWithoutRescue(samples, "recording " + std::to_string(r));
    }
    EXPECT_GE(readable, kRecordings * 9 / 10);
}

// A recognised model whose layout then meets an invalid field is not decoded
// a second time: nothing could be stored twice.
TEST(RescueProperty, RecognisedModelWithAnInvalidFieldIsNotRescued)
{
    const std::vector<std::int16_t> samples = record(transferfiles::cleaned(QStringLiteral("f6-month-zero")), {});

    const Outcome outcome = decodeSamples(samples);
    EXPECT_EQ(outcome.model, WatchModel::F6);
    EXPECT_FALSE(outcome.decoded);
    EXPECT_FALSE(outcome.rescueAttempted);
    expectSameWithoutRescue(samples, "F6 record of month 0");
}

} // namespace
