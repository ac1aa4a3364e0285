#include "Decoder.h"

#include "DecoderTestData.h"

#include <gtest/gtest.h>

namespace {

// An F6 memory of `records` records with the marker 128 where the check looks for it.
ByteArray f6Transfer(int records, int length = 200)
{
    ByteArray b(std::size_t(length + 10), 0);
    b[0] = 85;
    b[4] = std::uint8_t(length % 256);
    b[5] = std::uint8_t(length / 256);
    b[13] = std::uint8_t(records);
    for (int k = 1; k <= records; ++k)
        b[std::size_t(length - 33 - 44 * (k - 1))] = 128;
    return b;
}

struct Checks
{
    bool f6, rs200, cs200;
};

Checks runChecks(const ByteArray &bytes)
{
    Decoder decoder;
    decoder.setByteArray(bytes);
    return {decoder.checkF6Data(), decoder.checkRS200Data(), decoder.checkCS200Data()};
}

} // namespace

TEST(ModelRecognizer, RecognisesEachModelByItsOwnCheckOnly)
{
    const Checks f6 = runChecks(f6Transfer(3));
    EXPECT_TRUE(f6.f6);
    const Checks rs200 = runChecks(testdata::rs200Transfer());
    EXPECT_FALSE(rs200.f6);
    EXPECT_TRUE(rs200.rs200);
    const Checks cs200 = runChecks(testdata::cs200Transfer());
    EXPECT_FALSE(cs200.f6);
    EXPECT_FALSE(cs200.rs200);
    EXPECT_TRUE(cs200.cs200);
}

TEST(ModelRecognizer, F6NeedsRecordsLengthAndEveryMarker)
{
    ByteArray noRecords = f6Transfer(3);
    noRecords[13] = 0;
    EXPECT_FALSE(runChecks(noRecords).f6);
    EXPECT_FALSE(runChecks(f6Transfer(4, 176)).f6); // L = 44 M is not enough
    ByteArray lastMarkerMissing = f6Transfer(3);
    lastMarkerMissing[200 - 33 - 88] = 127;
    EXPECT_FALSE(runChecks(lastMarkerMissing).f6);
    ByteArray markerPastTheEnd = f6Transfer(1, 200);
    markerPastTheEnd.resize(150);
    EXPECT_FALSE(runChecks(markerPastTheEnd).f6);
}

TEST(ModelRecognizer, RS200FailsOnEachImplausibleField)
{
    using Changes = std::vector<std::pair<int, int>>;
    const Changes laps = {{132, 2}, {146, 4}, {143, 150}, {144, 150}, {149, 150}, {150, 150}};
    const std::vector<Changes> breaks = {
        {{31, 55}},   // no end mark: the name runs on to a plain character in its last place
        {{37, 0x0F}}, // session month 0
        {{20, 13}},   // birthday month 13
        {{26, 4}},    // activity level
        {{102, 200}}, // sport zone 1 low above high
        {{45, 171}},  // average heart rate above maximum
        {{66, 0x60}}, // time below zone 1: 60 seconds
        {{78, 0x60}}, // time in zone 2
        {{90, 0x60}}, // time above zone 3
        {{35, 8}, {129, 40}}, // foot pod: fastest pace 40 faster than the average 0
        laps, // laps ending at 4:00.0 and 0:00.0, not at the total time of 10:00.0
    };
    for (const Changes &changes : breaks) {
        ByteArray bytes = testdata::rs200Transfer();
        for (auto [index, value] : changes)
            bytes[std::size_t(index)] = std::uint8_t(value);
        EXPECT_FALSE(runChecks(bytes).rs200) << "byte " << changes[0].first;
    }
    // Mended, both pass: a plausible average pace, and the last lap ending at the total time.
    ByteArray footPod = testdata::rs200Transfer();
    footPod[35] = 8;
    footPod[129] = 40;
    footPod[137] = 50;
    EXPECT_TRUE(runChecks(footPod).rs200);
    ByteArray lapsEnding = testdata::rs200Transfer();
    for (auto [index, value] : laps)
        lapsEnding[std::size_t(index)] = std::uint8_t(value);
    lapsEnding[140] = 10;
    EXPECT_TRUE(runChecks(lapsEnding).rs200);
}

TEST(ModelRecognizer, CS200FailsOnEachImplausibleField)
{
    const std::vector<std::pair<int, int>> breaks = {
        {142, 0x60}, // session second 60
        {101, 0},    // birthday day 0
        {113, 161},  // heart rate
        {109, 0xA0}, // hundredths 100
        {136, 0x60}, // minutes 60
        {128, 0},    // with byte 129 = 1 below: average speed 256 above maximum 255
        {133, 79},   // cadence
        {146, 151},  // zone limits
        {108, 0x43}, // limit type 3
    };
    for (auto [index, value] : breaks) {
        ByteArray bytes = testdata::cs200Transfer();
        bytes[std::size_t(index)] = std::uint8_t(value);
        if (index == 128)
            bytes[129] = 1;
        EXPECT_FALSE(runChecks(bytes).cs200) << "byte " << index;
    }
}

TEST(ModelRecognizer, DecodeTakesTheFirstModelInOrderAndRecordsIt)
{
    ByteArray both = testdata::rs200Transfer();
    both[4] = 93; // L = 93, M = 1: the F6 marker at index 60, which the RS200 does not read
    both[13] = 1;
    both[60] = 128;
    Decoder decoder;
    decoder.setByteArray(testdata::withLead(both));
    decoder.decodeExtractedBytes(); // the F6 layout may reject the made-up record; the model stays
    EXPECT_EQ(decoder.recognisedModel(), WatchModel::F6);

    decoder.setByteArray(testdata::withLead(testdata::cs200Transfer()));
    EXPECT_TRUE(decoder.decodeExtractedBytes());
    EXPECT_EQ(decoder.recognisedModel(), WatchModel::CS200);

    decoder.setByteArray(testdata::withLead({85, 1, 2, 3}));
    EXPECT_FALSE(decoder.decodeExtractedBytes());
    EXPECT_EQ(decoder.recognisedModel(), std::nullopt);
}
