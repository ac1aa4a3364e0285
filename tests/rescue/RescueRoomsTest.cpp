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

synth::RoomOptions base()
{
    synth::RoomOptions room;
    room.amplitude = kAmplitude;
    room.seed = 11;
    return room;
}

Room click()
{
    synth::RoomOptions room = base();
    room.clickSeconds = {2.0};
    return {"Click", room};
}

Room hum()
{
    synth::RoomOptions room = base();
    room.humLevel = 0.5;
    return {"Hum", room};
}

Room echo(double delayMs)
{
    synth::RoomOptions room = base();
    room.echoLevel = 0.5;
    room.echoDelayMs = delayMs;
    return {"Echo" + std::to_string(int(delayMs * 10)) + "tenthsMs", room};
}

Room noise()
{
    synth::RoomOptions room = base();
    room.snrDb = 12.0;
    return {"Noise12dB", room};
}

Room fading()
{
    synth::RoomOptions room = base();
    room.fadeDepth = 0.75;
    room.fadePeriodSeconds = 3.0;
    return {"FadingTo25Percent", room};
}

Room humEchoFading()
{
    synth::RoomOptions room = fading().options;
    room.humLevel = 0.5;
    room.echoLevel = 0.5;
    room.echoDelayMs = 4.5;
    return {"HumEchoFading", room};
}

Room clickHumNoiseDrift()
{
    synth::RoomOptions room = noise().options;
    room.clickSeconds = {1.0, 2.6};
    room.humLevel = 0.5;
    room.drift = -0.015;
    return {"ClickHumNoiseDrift", room};
}

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

    EXPECT_TRUE(decoder.decodeExtractedBytes());
    EXPECT_EQ(decoder.recognisedModel(), watch.model);
    EXPECT_EQ(decoder.byteArray(), synth::cleanedRoundTrip(cleaned));
}

INSTANTIATE_TEST_SUITE_P(EveryWatch, RescueRooms,
                         testing::Combine(testing::ValuesIn(kWatches),
                                          testing::Values(click(), hum(), echo(3.0), echo(3.5), echo(4.0), echo(4.5),
                                                          echo(5.0), echo(5.5), echo(6.0), noise(), fading(),
                                                          humEchoFading(), clickHumNoiseDrift())),
                         [](const auto &info) {
                             return std::get<0>(info.param).name + std::get<1>(info.param).name;
                         });

// What the second path adds: the exact one alone recognises nothing in these
// rooms, and the decoder falls back to the second, which reads them whole.
TEST(RescueRooms, DecoderFallsBackWhereTheExactPathFails)
{
    for (const Room &room : {click(), hum(), echo(3.0), fading(), humEchoFading(), clickHumNoiseDrift()}) {
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
        synth::RoomOptions room = base();
        room.clickSeconds = {(44100.0 + offset) / 44100.0};
        const Outcome outcome = decodeSamples(record(cleaned, room));
        EXPECT_EQ(outcome.bytes, synth::cleanedRoundTrip(cleaned)) << "click " << offset << " samples into the second";
    }
}

} // namespace
