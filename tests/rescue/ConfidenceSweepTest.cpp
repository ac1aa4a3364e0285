#include "RescueTestSupport.h"

#include "TransferConfidence.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace rescuetest;

namespace {

// White noise from 8 to 25 dB SNR, eight seeds per watch and level: 288 recordings.
struct Level
{
    int snrDb;
    int rightBefore; // right decodes before the decoder judged its margins
};
constexpr Level kLevels[] = {{8, 0},   {9, 3},   {10, 22}, {11, 24}, {12, 22}, {13, 21},
                             {14, 12}, {15, 19}, {16, 23}, {18, 24}, {20, 24}, {25, 24}};
constexpr int kSeeds = 8;

struct Count
{
    int right = 0;
    int no = 0;
    int wrongHigh = 0;
    int wrongLow = 0;
};

// Right: the watch recognised and every byte its layout reads as sent.
bool readsAsSent(const Outcome &outcome, WatchModel model, const ByteArray &sent)
{
    return outcome.model == model && TransferConfidence::agree(model, outcome.bytes, sent);
}

// A decode that is wrong is never called confident, and judging the margins
// costs no right decode at any level.
TEST(ConfidenceSweep, NoWrongSessionWithHighConfidence)
{
    for (const Level &level : kLevels) {
        Count count;
        for (std::size_t w = kPlain; w < 2 * kPlain; ++w) { // the transfers with more records and laps
            const Transfer &watch = transfers()[w];
            const ByteArray sent = synth::cleanedRoundTrip(watch.bytes);
            for (int seed = 1; seed <= kSeeds; ++seed) {
                const synth::RoomOptions room{.snrDb = double(level.snrDb), .seed = std::uint64_t(1000 * level.snrDb + seed)};
                const Outcome outcome = decodeSamples(record(watch.bytes, room));
                if (!outcome.dataMakesSense)
                    ++count.no;
                else if (readsAsSent(outcome, watch.model, sent))
                    ++count.right;
                else
                    ++(outcome.confidence == Confidence::High ? count.wrongHigh : count.wrongLow);
            }
        }
        std::printf("%2d dB  right %2d  NO %2d  wrong-high %2d  wrong-low %2d\n", level.snrDb, count.right, count.no,
                    count.wrongHigh, count.wrongLow);
        EXPECT_EQ(count.wrongHigh, 0) << level.snrDb << " dB";
        EXPECT_GE(count.right, level.rightBefore) << level.snrDb << " dB";
    }
}

} // namespace
