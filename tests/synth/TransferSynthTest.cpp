// The synthesizer on its own: framing layout, noise, drift and fading, the
// room's effects, the WAV file and the hex reader.
#include "TransferSynth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

constexpr std::size_t kLead = 16;  // default lead bytes
constexpr std::size_t kSync = kLead;

std::vector<std::uint8_t> cleanedTransfer(std::size_t payloadSize)
{
    std::vector<std::uint8_t> cleaned = {0x55, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    for (std::size_t i = 0; i < payloadSize; ++i)
        cleaned.push_back(std::uint8_t(0x80 | (i % 101)));  // never the filler
    return cleaned;
}

TEST(TransferSynth, FramesLeadSyncHeaderAndBlocks)
{
    const auto cleaned = cleanedTransfer(600);
    const auto stream = synth::frameTransfer(cleaned, {.fillCount = 200});

    ASSERT_EQ(stream.size(), kLead + 8 + 3 * 255);  // 1 + ceil((600 - 252) / 200) = 3 blocks
    EXPECT_TRUE(std::all_of(stream.begin(), stream.begin() + kLead, [](auto b) { return b == 0xAA; }));
    EXPECT_EQ(stream[kSync], 0x55);
    EXPECT_EQ(stream[kSync + 3], 3);  // N replaces header byte 3
    EXPECT_EQ(stream[kSync + 4], 4);
    EXPECT_EQ(stream[kSync + 10], 200);
    EXPECT_EQ(stream[kSync + 10 + 255], 200);
    EXPECT_EQ(stream[kSync + 10 + 510], 200);  // the last block's own count: 600 - 400
    EXPECT_EQ(stream[kSync + 11 + 255], cleaned[11 + 200]);  // block 1 continues the payload
    EXPECT_EQ(stream[kSync + 11 + 200], 0);                  // filler after block 0's payload
    EXPECT_EQ(stream.back(), 0);                             // the last block is padded
}

int peakBetween(const std::vector<std::int16_t>& s, double from, double to)
{
    int peak = 0;
    for (std::size_t n = std::size_t(from); n < std::size_t(to) && n < s.size(); ++n)
        peak = std::max(peak, std::abs(int(s[n])));
    return peak;
}

// The samples' mean and standard deviation.
std::pair<double, double> meanAndDeviation(const std::vector<std::int16_t>& samples)
{
    const double n = double(samples.size()), mean = std::accumulate(samples.begin(), samples.end(), 0.0) / n;
    const double squares = std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0);
    return {mean, std::sqrt(squares / n - mean * mean)};
}

TEST(TransferSynth, NoiseAndOffsetFollowSnrAndDc)
{
    const synth::RoomOptions room{.snrDb = 20.0, .dcOffset = -500.0, .leadSeconds = 2.0, .seed = 7};
    const auto samples = synth::modulate({}, room);
    const auto [mean, deviation] = meanAndDeviation(samples);
    EXPECT_NEAR(mean, -500.0, 20.0);  // five standard errors
    const double sigma = room.amplitude / std::sqrt(2.0) / 10.0;  // 20 dB under A^2 / 2
    EXPECT_NEAR(deviation, sigma, 0.01 * sigma);
    EXPECT_EQ(synth::modulate({}, room), samples) << "a seed gives the same noise";
    EXPECT_NE(synth::modulate({}, {.snrDb = 20.0, .leadSeconds = 2.0, .seed = 8}), samples);
}

TEST(TransferSynth, DriftStretchesTheCellsAndFadingLowersTheBursts)
{
    const synth::RoomOptions drifting{.drift = 0.01};
    EXPECT_DOUBLE_EQ(synth::burstCentre(100, 8, drifting) - synth::burstCentre(0, 0, drifting),
                     (100 * 896 + 8 * 88) * 1.01);

    // Half a fading period in, the gain is at its lowest, 1 - depth.
    const synth::RoomOptions fading{.fadeDepth = 0.5, .fadePeriodSeconds = 2.0, .leadSeconds = 1.0};
    const auto samples = synth::modulate({0}, fading);
    const double centre = synth::burstCentre(0, 0, fading);
    EXPECT_NEAR(peakBetween(samples, centre - 20, centre + 20), 0.5 * 0.93 * fading.amplitude,
                0.02 * fading.amplitude);
}

TEST(TransferSynth, SaturatesLoudSamples)
{
    const auto samples = synth::modulate({0xFF}, {.amplitude = 60000.0, .dcOffset = 3000.0});
    EXPECT_EQ(*std::max_element(samples.begin(), samples.end()), 32767);
    EXPECT_EQ(*std::min_element(samples.begin(), samples.end()), -32768);
}

TEST(WavFile, WritesCanonicalHeaderWithDataAtByte36)
{
    const QByteArray bytes = synth::wavBytes({1, -2, 0x1234});
    const QByteArray header = QByteArray::fromHex(
        "52494646" "2a000000" "57415645" "666d7420" "10000000" "0100" "0100"
        "44ac0000" "88580100" "0200" "1000" "64617461" "06000000");
    EXPECT_EQ(bytes.left(44).toHex(), header.toHex());
    EXPECT_EQ(bytes.mid(44).toHex(), QByteArray("0100feff3412"));
}

// A tap jumps to its level in one sample and is gone within 15, unechoed; hum is a 50 Hz
// sine of its level; the wall returns each burst echoDelayMs later at echoLevel times its size.
TEST(TransferSynth, RoomsAddClickHumAndEcho)
{
    const synth::RoomOptions tapped{.amplitude = 4000.0, .clickSeconds = {0.1}, .echoLevel = 0.5, .echoDelayMs = 4.0};
    const auto click = synth::modulate({}, tapped);
    EXPECT_EQ(click[4409], 0);
    EXPECT_EQ(click[4410], 4 * 4000);
    EXPECT_LT(std::abs(click[4410 + 15]), 0.01 * 4 * 4000);
    EXPECT_EQ(peakBetween(click, 4410 + 20, 4410 + 400), 0);

    const auto hum = synth::modulate({}, {.amplitude = 4000.0, .humLevel = 0.5});
    EXPECT_NEAR(peakBetween(hum, 0, 882), 0.5 * 4000, 1.0); // one 50 Hz period
    EXPECT_NEAR(hum[441 / 2], 0.5 * 4000, 1.0);              // a quarter period in

    const synth::RoomOptions wall{.amplitude = 4000.0, .echoLevel = 0.5, .echoDelayMs = 5.0};
    const auto echoed = synth::modulate({0x00}, wall);
    const double start = synth::burstCentre(0, 0, wall);
    const double echo = start + 5.0 * 44.1;
    const int burst = peakBetween(echoed, start - 18, start + 18);
    // Sampled half a sample off its own centre, the echo's top is a little lower.
    EXPECT_NEAR(peakBetween(echoed, echo - 18, echo + 18), 0.5 * burst, 0.03 * burst);
    EXPECT_EQ(peakBetween(echoed, start + 18, echo - 18), 0);
}

TEST(TransferSynth, RejectsImpossibleFramingAndNonsenseRooms)
{
    const std::vector<std::uint8_t> cleaned(20, 0x55);
    EXPECT_THROW(synth::frameTransfer(cleaned, {.fillCount = 0}), std::invalid_argument);
    EXPECT_THROW(synth::frameTransfer(cleaned, {.fillCount = 253}), std::invalid_argument);
    EXPECT_THROW(synth::frameTransfer(std::vector<std::uint8_t>(11 + 254 * 252 + 253)), std::invalid_argument)
        << "more than 255 blocks";
    const synth::RoomOptions nonsense[] = {
        {.drift = -0.6}, {.snrDb = NAN}, {.fadeDepth = 1.5}, {.tailSeconds = INFINITY},
        {.frameSpacing = 2000000000}, // longer than a WAV file can describe
        {.clickSeconds = {-0.5}}, {.clickLevel = -1.0}, {.echoDelayMs = NAN},
    };
    for (const synth::RoomOptions &room : nonsense)
        EXPECT_THROW(synth::modulate({1, 2, 3}, room), std::invalid_argument);
}

TEST(HexBytes, ReadsTheUsualSpellingsAndRejectsMalformedText)
{
    const std::vector<std::uint8_t> expected = {0x55, 0xAA, 0x00, 0xff};
    for (const char* text : {"55 aa 00 ff", "55aa00FF\n", "0x55, 0xAA,0x00 0XfF", "# header\n55 aa # two\n00ff"})
        EXPECT_EQ(synth::parseHexBytes(text), expected) << text;
    for (const char* text : {"5", "55 zz", "0x", "55-aa"}) {
        QString error;
        EXPECT_FALSE(synth::parseHexBytes(text, &error)) << text;
        EXPECT_FALSE(error.isEmpty()) << text;
    }
}

}  // namespace
