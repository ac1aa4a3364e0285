// The synthesizer on its own: framing layout, what clean-up gives back, burst shape, the
// room's effects, the WAV file and the hex reader.
#include "TransferSynth.h"

#include <QFile>
#include <QTemporaryDir>

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

// Clean-up as the watch's receiver is described to do it: drop everything before the first
// 0x55 (checking five 0xAA before it), cut after block N-1, then join the blocks' payloads.
std::vector<std::uint8_t> referenceCleanup(std::vector<std::uint8_t> bytes)
{
    const auto sync = std::find(bytes.begin(), bytes.end(), 0x55);
    if (sync == bytes.end() || sync - bytes.begin() < 5
        || !std::all_of(sync - 5, sync, [](std::uint8_t b) { return b == 0xAA; }))
        return {};
    bytes.erase(bytes.begin(), sync);
    const std::size_t n = bytes[3];
    std::vector<std::size_t> fill(n);
    for (std::size_t j = 0; j < n; ++j)
        fill[j] = bytes[10 + 255 * j];
    bytes.resize(255 * n + 8);
    for (std::size_t j = n - 1; j-- > 0;) {
        const auto from = bytes.begin() + std::ptrdiff_t(255 * j + 11 + fill[j]);
        bytes.erase(from, from + std::ptrdiff_t(255 - fill[j]));
    }
    return bytes;
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

TEST(TransferSynth, UsesOneBlockUpTo252PayloadBytes)
{
    EXPECT_EQ(synth::blockCount(0), 1);
    EXPECT_EQ(synth::blockCount(252), 1);
    EXPECT_EQ(synth::blockCount(253), 2);
    EXPECT_EQ(synth::blockCount(253, 1), 2);
    EXPECT_EQ(synth::blockCount(254, 1), 3);
    const auto single = synth::frameTransfer(cleanedTransfer(252));
    EXPECT_EQ(single.size(), kLead + 8 + 255);
    EXPECT_EQ(single[kSync + 10], 10) << "with one block, the header of block 0 stays";
}

// frameTransfer and cleanedRoundTrip must agree with the clean-up for any size and fill.
TEST(TransferSynth, CleanupOfFramedStreamGivesCleanedRoundTrip)
{
    for (int fill : {1, 100, 251, 252}) {
        for (std::size_t payload : {0, 1, 251, 252, 253, 504, 505, 2000}) {
            if (synth::blockCount(payload, fill) > 255)
                continue;
            const auto cleaned = cleanedTransfer(payload);
            const synth::FramingOptions framing{.fillCount = fill, .leadSyncBytes = 5};
            const auto expected = synth::cleanedRoundTrip(cleaned, framing);
            EXPECT_EQ(referenceCleanup(synth::frameTransfer(cleaned, framing)), expected)
                << "fill " << fill << ", payload " << payload;
            EXPECT_TRUE(std::equal(cleaned.begin() + 11, cleaned.end(), expected.begin() + 11));
        }
    }
}

TEST(TransferSynth, PadsShortTransferAndSetsSyncByte)
{
    const auto back = synth::cleanedRoundTrip({0x00, 7});
    ASSERT_EQ(back.size(), 11u + 252u);
    EXPECT_EQ(back[0], 0x55);
    EXPECT_EQ(back[1], 7);
    EXPECT_EQ(back[3], 1);
}

TEST(TransferSynth, RejectsImpossibleFraming)
{
    EXPECT_THROW(synth::frameTransfer(cleanedTransfer(10), {.fillCount = 0}), std::invalid_argument);
    EXPECT_THROW(synth::frameTransfer(cleanedTransfer(10), {.fillCount = 253}), std::invalid_argument);
    EXPECT_THROW(synth::frameTransfer(cleanedTransfer(10), {.leadSyncBytes = -1}), std::invalid_argument);
    EXPECT_NO_THROW(synth::frameTransfer(cleanedTransfer(254 * 252 + 252)));
    EXPECT_THROW(synth::frameTransfer(cleanedTransfer(254 * 252 + 253)), std::invalid_argument);
}

TEST(TransferSynth, RecordingLengthFollowsLeadFramesAndTail)
{
    const synth::RoomOptions room{.leadSeconds = 0.5, .tailSeconds = 0.2};
    EXPECT_EQ(synth::modulate({1, 2, 3}, room).size(), 22050u + 3 * 896 + 8820);
    const auto silent = synth::modulate({}, room);
    EXPECT_TRUE(std::all_of(silent.begin(), silent.end(), [](auto s) { return s == 0; }));
}

struct BurstFacts {
    std::int16_t highest;
    long offset;          // of the highest sample from the burst centre
    std::int16_t runnerUp;  // highest local maximum more than 6 samples from it
};

BurstFacts burstAt(const std::vector<std::int16_t>& samples, double centre)
{
    const long c = std::lround(centre);
    const auto begin = samples.begin() + c - 40;
    const auto top = std::max_element(begin, begin + 81);
    std::int16_t runnerUp = 0;
    for (long i = c - 40; i <= c + 40; ++i) {
        const bool localMax = samples[i] >= samples[i - 1] && samples[i] >= samples[i + 1];
        if (localMax && std::abs(i - (top - samples.begin())) > 6)
            runnerUp = std::max(runnerUp, samples[i]);
    }
    return {*top, long(top - samples.begin()) - c, runnerUp};
}

// The decoder takes the highest sample within +-20 as a burst's peak: in either polarity that
// must be one clear crest near the centre, with the burst gone long before the next cell.
TEST(TransferSynth, BurstsHaveOneDominantCrestInEitherPolarity)
{
    for (bool invert : {false, true}) {
        const synth::RoomOptions room{.invert = invert};
        const auto samples = synth::modulate({0x01}, room);
        for (int cell : {0, 1}) {
            const BurstFacts burst = burstAt(samples, synth::burstCentre(0, cell, room));
            EXPECT_GT(burst.highest, 0.9 * room.amplitude);
            EXPECT_EQ(burst.offset, invert ? -3 : 3);
            EXPECT_LT(burst.runnerUp, 0.55 * room.amplitude);
        }
        const long empty = std::lround(synth::burstCentre(0, 2, room));
        EXPECT_TRUE(std::all_of(samples.begin() + empty - 50, samples.begin() + empty + 50,
                                [](auto s) { return s == 0; }))
            << "a 0 bit is silence and the burst before it has died away";
    }
}

double mean(const std::vector<std::int16_t>& samples)
{
    return std::accumulate(samples.begin(), samples.end(), 0.0) / double(samples.size());
}

double deviation(const std::vector<std::int16_t>& samples)
{
    const double m = mean(samples);
    double sum = 0.0;
    for (auto s : samples)
        sum += (s - m) * (s - m);
    return std::sqrt(sum / double(samples.size()));
}

TEST(TransferSynth, NoiseAndOffsetFollowSnrAndDc)
{
    const synth::RoomOptions room{.snrDb = 20.0, .dcOffset = -500.0, .leadSeconds = 2.0, .seed = 7};
    const auto samples = synth::modulate({}, room);
    EXPECT_NEAR(mean(samples), -500.0, 20.0);  // five standard errors
    const double sigma = room.amplitude / std::sqrt(2.0) / 10.0;  // 20 dB under A^2 / 2
    EXPECT_NEAR(deviation(samples), sigma, 0.01 * sigma);
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
    const BurstFacts burst = burstAt(samples, synth::burstCentre(0, 0, fading));
    EXPECT_NEAR(burst.highest, 0.5 * 0.93 * fading.amplitude, 0.02 * fading.amplitude);
}

TEST(TransferSynth, RejectsNonsenseRoom)
{
    EXPECT_THROW(synth::modulate({1}, {.drift = -0.6}), std::invalid_argument);
    EXPECT_THROW(synth::modulate({1}, {.fadeDepth = 1.5}), std::invalid_argument);
    EXPECT_THROW(synth::modulate({1}, {.leadSeconds = -1.0}), std::invalid_argument);
    EXPECT_THROW(synth::modulate({1}, {.snrDb = NAN}), std::invalid_argument);
    EXPECT_THROW(synth::modulate({1}, {.tailSeconds = INFINITY}), std::invalid_argument);
    EXPECT_THROW(synth::modulate({1, 2, 3}, {.frameSpacing = 2000000000}), std::invalid_argument)
        << "longer than a WAV file can describe";
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

TEST(WavFile, WritesFileOrReportsWhyNot)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("t.wav");
    ASSERT_TRUE(synth::writeWav(path, {5, 6}));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), synth::wavBytes({5, 6}));

    QString error;
    const QString missing = dir.filePath("no/such/folder/t.wav");
    EXPECT_FALSE(synth::writeWav(missing, {5, 6}, &error));
    EXPECT_TRUE(error.startsWith("cannot write " + missing + ": ")) << error.toStdString();
}

TEST(HexBytes, ReadsTheUsualSpellings)
{
    const std::vector<std::uint8_t> expected = {0x55, 0xAA, 0x00, 0xff};
    for (const char* text : {"55 aa 00 ff", "55aa00FF\n", "0x55, 0xAA,0x00 0XfF", "# header\n55 aa # two\n00ff"})
        EXPECT_EQ(synth::parseHexBytes(text), expected) << text;
    EXPECT_EQ(synth::parseHexBytes(""), std::vector<std::uint8_t>{});
}

TEST(HexBytes, RejectsMalformedText)
{
    for (const char* text : {"5", "55 a", "55 zz", "0x", "0x 55", "55-aa"}) {
        QString error;
        EXPECT_FALSE(synth::parseHexBytes(text, &error)) << text;
        EXPECT_FALSE(error.isEmpty()) << text;
    }
}

}  // namespace
