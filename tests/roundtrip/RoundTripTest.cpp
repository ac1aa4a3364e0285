// Bytes -> sound -> bytes: synthesized recordings, clean and as rooms make them, decoded by
// the Decoder must give back every byte.
#include "ByteStreamCleanup.h"
#include "Decoder.h"
#include "TransferSynth.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

constexpr std::size_t kStreamSize = 2000;
constexpr std::uint64_t kBytesSeed = 2024;

struct Room {
    std::string name;
    synth::RoomOptions options;
};

void PrintTo(const Room& room, std::ostream* out)
{
    *out << room.name;
}

// Where two byte arrays part, rather than two thousand bytes printed side by side.
std::string difference(const std::vector<std::uint8_t>& got, const std::vector<std::uint8_t>& want)
{
    std::size_t differing = 0;
    std::size_t first = std::min(got.size(), want.size());
    for (std::size_t i = 0; i < std::min(got.size(), want.size()); ++i) {
        if (got[i] != want[i]) {
            first = std::min(first, i);
            ++differing;
        }
    }
    if (differing == 0 && got.size() == want.size())
        return {};
    std::ostringstream text;
    text << "got " << got.size() << " bytes, want " << want.size() << "; " << differing
         << " differ, the first at index " << first;
    return text.str();
}

class RoundTrip : public testing::TestWithParam<Room> {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

    // Records `stream` in the room under test and demodulates it.
    const std::vector<std::uint8_t>& demodulate(const std::vector<std::uint8_t>& stream)
    {
        const QString path = m_dir.filePath("transfer.wav");
        QString error;
        EXPECT_TRUE(synth::writeWav(path, synth::modulate(stream, GetParam().options), &error))
            << error.toStdString();
        m_decoder.extractBytesFromFile(path);
        return m_decoder.byteArray();
    }

    QTemporaryDir m_dir;
    Decoder m_decoder;
};

TEST_P(RoundTrip, EveryByteOfARandomStreamComesBack)
{
    const auto stream = synth::randomBytes(kStreamSize, kBytesSeed);
    EXPECT_EQ(difference(demodulate(stream), stream), "");
}

synth::RoomOptions noisy(synth::RoomOptions options)
{
    options.snrDb = 20.0;
    return options;
}

INSTANTIATE_TEST_SUITE_P(
    Rooms, RoundTrip,
    testing::Values(
        Room{"Clean", {}},
        Room{"Noise20dB", {.snrDb = 20.0, .seed = 11}},
        Room{"NoiseLongLeadAndTail", {.snrDb = 20.0, .leadSeconds = 2.0, .tailSeconds = 1.0, .seed = 12}},
        Room{"DriftFaster", {.drift = -0.01}},
        Room{"DriftSlower", {.drift = 0.01}},
        Room{"Fading", {.fadeDepth = 0.5, .fadePeriodSeconds = 3.0}},
        Room{"DcOffsetUp", {.dcOffset = 4000.0}},
        Room{"OppositePolarity", {.invert = true}},
        Room{"Quiet", {.amplitude = 300.0}},
        Room{"EverythingAtOnce", noisy({.drift = 0.01, .dcOffset = 1500.0, .fadeDepth = 0.25,
                                        .invert = true, .seed = 13})},
        Room{"NoisyInvertedSlowClock", noisy({.drift = -0.01, .invert = true, .seed = 14})}),
    [](const testing::TestParamInfo<Room>& info) { return info.param.name; });

// The synthesizer's framing and its prediction of the clean-up agree with the decoder's
// clean-up for any payload size and fill count.
TEST(Framing, CleanupOfAFramedTransferGivesCleanedRoundTrip)
{
    for (int fill : {1, 100, 251, 252}) {
        for (std::size_t payload : {0, 1, 251, 252, 253, 504, 505, 2000}) {
            if (synth::blockCount(payload, fill) > 255)
                continue;
            std::vector<std::uint8_t> cleaned = synth::randomBytes(11 + payload, payload);
            cleaned[0] = synth::kSyncByte;
            const synth::FramingOptions framing{.fillCount = fill, .leadSyncBytes = 5};
            std::vector<std::uint8_t> bytes = synth::frameTransfer(cleaned, framing);
            ASSERT_TRUE(ByteStreamCleanup::cleanupBytes(bytes));
            const auto expected = synth::cleanedRoundTrip(cleaned, framing);
            EXPECT_EQ(difference(bytes, expected), "") << "fill " << fill << ", payload " << payload;
            EXPECT_TRUE(std::equal(cleaned.begin() + 11, cleaned.end(), expected.begin() + 11));
        }
    }
}

}  // namespace
