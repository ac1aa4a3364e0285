#include "RescueTestSupport.h"

#include "RescueDemodulator.h"

#include <gtest/gtest.h>

#include <string>

using namespace rescuetest;

namespace {

// Quiet enough that a tap four times the bursts' level still fits in 16 bits.
constexpr double kAmplitude = 6000.0;

struct Room
{
    std::string name;
    synth::RoomOptions options;
};

// The rooms of the issue, all at the quiet level; seed 11 for every one.
const Room kClick{"Click", {.amplitude = kAmplitude, .seed = 11, .clickSeconds = {2.0}}};
const Room kHum{"Hum", {.amplitude = kAmplitude, .seed = 11, .humLevel = 0.5}};
const Room kEcho3{"Echo3ms", {.amplitude = kAmplitude, .seed = 11, .echoLevel = 0.5, .echoDelayMs = 3.0}};
const Room kEcho45{"Echo4p5ms", {.amplitude = kAmplitude, .seed = 11, .echoLevel = 0.5, .echoDelayMs = 4.5}};
const Room kEcho6{"Echo6ms", {.amplitude = kAmplitude, .seed = 11, .echoLevel = 0.5, .echoDelayMs = 6.0}};
const Room kNoise{"Noise12dB", {.amplitude = kAmplitude, .snrDb = 12.0, .seed = 11}};
const Room kFading{"FadingTo25Percent",
                   {.amplitude = kAmplitude, .fadeDepth = 0.75, .fadePeriodSeconds = 3.0, .seed = 11}};
const Room kHumEchoFading{"HumEchoFading", {.amplitude = kAmplitude, .fadeDepth = 0.75, .fadePeriodSeconds = 3.0,
                                            .seed = 11, .humLevel = 0.5, .echoLevel = 0.5, .echoDelayMs = 4.5}};
const Room kClickHumNoiseDrift{"ClickHumNoiseDrift", {.amplitude = kAmplitude, .drift = -0.015, .snrDb = 12.0,
                                                      .seed = 11, .clickSeconds = {1.0, 2.6}, .humLevel = 0.5}};

struct Watch
{
    std::string name;
    WatchModel model;
    ByteArray (*transfer)();
};

const Watch kWatches[] = {
    {"F6", WatchModel::F6, &f6Transfer},
    {"RS200", WatchModel::RS200, &rs200Transfer},
    {"CS200", WatchModel::CS200, &cs200Transfer},
};

class RescueRooms : public testing::TestWithParam<std::tuple<Watch, Room>>
{
};

void PrintTo(const Watch &watch, std::ostream *os)
{
    *os << watch.name;
}

void PrintTo(const Room &room, std::ostream *os)
{
    *os << room.name;
}

// The second demodulation on its own, followed by the clean-up, checks and
// layout: at 12 dB SNR the exact path sometimes recognises a model in bytes
// that noise has spoilt, and then the decoder keeps its answer.
TEST_P(RescueRooms, ReadsTheWholeTransfer)
{
    const auto &[watch, room] = GetParam();
    const ByteArray cleaned = watch.transfer();
    Decoder decoder;
    decoder.setByteArray(RescueDemodulator::demodulate(record(cleaned, room.options)));

    const DecodeResult result = decoder.decodeExtractedBytes();
    EXPECT_TRUE(result.dataMakesSense);
    EXPECT_EQ(result.model, watch.model);
    EXPECT_EQ(decoder.byteArray(), synth::cleanedRoundTrip(cleaned));
}

INSTANTIATE_TEST_SUITE_P(EveryWatch, RescueRooms,
                         testing::Combine(testing::ValuesIn(kWatches),
                                          testing::Values(kClick, kHum, kEcho3, kEcho45, kEcho6, kNoise, kFading,
                                                          kHumEchoFading, kClickHumNoiseDrift)),
                         [](const auto &info) {
                             return std::get<0>(info.param).name + std::get<1>(info.param).name;
                         });

// What the second path adds: the exact one alone recognises nothing in these
// rooms, and the decoder falls back to the second, which reads them whole.
TEST(RescueRooms, DecoderFallsBackWhereTheExactPathFails)
{
    for (const Room &room : {kClick, kHum, kEcho3, kFading, kHumEchoFading, kClickHumNoiseDrift}) {
        for (const Watch &watch : kWatches) {
            const std::vector<std::int16_t> samples = record(watch.transfer(), room.options);
            const Outcome exact = decodeSamples(samples, false);
            EXPECT_FALSE(exact.decoded) << watch.name << " in " << room.name;
            EXPECT_FALSE(exact.model) << watch.name << " in " << room.name;
            const Outcome both = decodeSamples(samples);
            EXPECT_TRUE(both.decoded) << watch.name << " in " << room.name;
            EXPECT_EQ(both.method, DecodeMethod::Rescued);
            EXPECT_EQ(both.bytes, synth::cleanedRoundTrip(watch.transfer()));
        }
    }
}

// A click anywhere in a frame, on a burst or between bursts, costs nothing.
TEST(RescueRooms, ClickAnywhereInAFrame)
{
    const ByteArray cleaned = rs200Transfer();
    for (int offset = 0; offset < 896; offset += 37) {
        synth::RoomOptions room = kClick.options;
        room.clickSeconds = {(44100.0 + offset) / 44100.0};
        const Outcome outcome = decodeSamples(record(cleaned, room));
        EXPECT_EQ(outcome.bytes, synth::cleanedRoundTrip(cleaned)) << "click " << offset << " samples into the second";
    }
}

} // namespace
