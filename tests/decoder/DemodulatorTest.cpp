// From samples to bytes: the demodulator's threshold, bursts and frames, and the
// clean-up of the demodulated byte stream.
#include "Demodulator.h"
#include "ByteStreamCleanup.h"

#include <gtest/gtest.h>

namespace {

using Samples = std::vector<std::int16_t>;

std::vector<std::uint8_t> marksOf(const Samples &samples)
{
    const Demodulator demodulator(samples);
    return demodulator.markBursts(demodulator.threshold());
}

// Indices of the first and one past the last marked sample of each marked run.
std::vector<std::pair<int, int>> markedRuns(const std::vector<std::uint8_t> &marks)
{
    std::vector<std::pair<int, int>> runs;
    for (int i = 0; i < int(marks.size()); ++i) {
        if (marks[std::size_t(i)] && (i == 0 || !marks[std::size_t(i - 1)]))
            runs.push_back({i, i});
        if (marks[std::size_t(i)])
            runs.back().second = i + 1;
    }
    return runs;
}

using Runs = std::vector<std::pair<int, int>>;

// A mark buffer with a frame starting at `start`: its start cell and the data cells of `byte`.
void markFrame(std::vector<std::uint8_t> &marks, int start, std::uint8_t byte)
{
    for (int k = 0; k <= 8; ++k)
        if (k == 0 || (byte & (1 << (k - 1))))
            std::fill_n(marks.begin() + start + 88 * k, 88, 1);
}

// A raw transfer: lead bytes, the sync byte, header bytes 1-7 with byte 3 the
// block count, and `blocks` 255-byte blocks whose bytes are numbered so that
// each stays recognisable: element i (counted from the sync byte) holds i % 256,
// except the fill counts.
ByteArray rawTransfer(int blocks, const std::vector<int> &fillCounts, int extra = 0)
{
    ByteArray t(std::size_t(8 + 255 * blocks + extra));
    for (std::size_t i = 0; i < t.size(); ++i)
        t[i] = std::uint8_t(i % 256);
    t[0] = 85;
    t[3] = std::uint8_t(blocks);
    for (std::size_t j = 0; j < fillCounts.size(); ++j)
        t[10 + 255 * j] = std::uint8_t(fillCounts[j]);
    ByteArray stream(5, 170);
    stream.insert(stream.end(), t.begin(), t.end());
    return stream;
}

// Indices, counted from the sync byte, that survive: [from, to) ranges.
ByteArray pick(const ByteArray &raw, std::initializer_list<std::pair<int, int>> ranges)
{
    ByteArray out;
    for (auto [from, to] : ranges)
        out.insert(out.end(), raw.begin() + 5 + from, raw.begin() + 5 + to);
    return out;
}

} // namespace

TEST(Demodulator, ThresholdIsHalfPeakOverTwoAndAHalfFrom5000ToHundredBeforeTheEnd)
{
    Samples s(20000, 0);
    s[4999] = 30000;
    s[20000 - 100] = 30000;
    s[9000] = -30000; // negative half-waves leave the peak at 0
    EXPECT_EQ(Demodulator(s).threshold(), 0);
    s[5000] = 500;
    s[20000 - 101] = 1001; // truncated
    EXPECT_EQ(Demodulator(s).threshold(), 400);
    EXPECT_EQ(Demodulator(Samples(5100, 1000)).threshold(), 0);
    EXPECT_EQ(Demodulator(Samples(5101, 1000)).threshold(), 400);
}

// Each case: spikes on silence (one of 1000 sets the threshold to 400) and the marked runs.
TEST(Demodulator, BurstsArePeaksAboveThresholdSpacedAndInsideTheScannedRange)
{
    struct Case { const char *what; std::vector<std::pair<int, int>> spikes; Runs runs; };
    const std::vector<Case> cases = {
        {"strictly above", {{6000, 1000}, {8000, 400}, {10000, 401}}, {{5957, 6045}, {9957, 10045}}},
        {"peak over 20 neighbours", {{6000, 1000}, {8000, 900}, {8020, 901}, {10000, 900}, {10021, 901}},
         {{5957, 6045}, {7977, 8065}, {9957, 10045}}},
        {"equal maxima", {{6000, 1000}, {6010, 1000}}, {{5957, 6045}}},
        {"more than 70 apart", {{6000, 1000}, {6070, 1000}, {8000, 1000}, {8071, 1000}},
         {{5957, 6045}, {7957, 8116}}},
        {"first 5000, last 1000", {{4999, 1000}, {5000, 1000}, {18999, 1000}, {19000, 1000}},
         {{5000 - 43, 5045}, {18999 - 43, 19044}}},
    };
    for (const Case &c : cases) {
        Samples s(20000, 0);
        for (auto [at, height] : c.spikes)
            s[std::size_t(at)] = std::int16_t(height);
        EXPECT_EQ(markedRuns(marksOf(s)), c.runs) << c.what;
    }
}

TEST(Demodulator, FrameReadsEightDataCellsLeastSignificantFirst)
{
    std::vector<std::uint8_t> marks(20000, 0);
    markFrame(marks, 6000, 0x01);
    markFrame(marks, 6881, 0xFF);
    markFrame(marks, 7762, 0x00);
    markFrame(marks, 8643, 0xA6);
    EXPECT_EQ(Demodulator::frameBytes(marks), (ByteArray{0x01, 0xFF, 0x00, 0xA6}));
}

TEST(Demodulator, MarkedStopCellMovesTheFrameStartOneSampleAtATime)
{
    std::vector<std::uint8_t> marks(20000, 0);
    std::fill_n(marks.begin() + 6000, 88, 1);
    std::fill_n(marks.begin() + 6836, 64, 1); // the stop cells of starts 6000 to 6063
    marks[6064 + 132] = 1;                    // first data cell of the frame at 6064
    EXPECT_EQ(Demodulator::frameBytes(marks), (ByteArray{0x01}));
}

TEST(Demodulator, FramesStartOnlyBetween5000AndThousandBeforeTheEnd)
{
    std::vector<std::uint8_t> marks(6001, 0);
    marks[4999] = 1;
    EXPECT_TRUE(Demodulator::frameBytes(marks).empty());
    marks[5000] = 1;
    EXPECT_EQ(Demodulator::frameBytes(marks), (ByteArray{0}));
    marks.pop_back(); // 6000 samples: nothing is scanned
    EXPECT_TRUE(Demodulator::frameBytes(marks).empty());
}

TEST(ByteStreamCleanup, RejectsSyncWithoutFiveLeadBytesBeforeIt)
{
    const std::vector<ByteArray> rejected = {
        {},
        {170, 170, 170, 170, 85, 1, 2},                      // only four bytes before the 85
        {170, 170, 170, 170, 171, 85, 170, 170, 170, 170, 170, 85}, // the first 85 decides
        {1, 2, 3, 4, 5, 6, 7},                               // no 85 at all
        {85, 170, 170, 170, 170, 170, 85},
    };
    for (ByteArray bytes : rejected) {
        const ByteArray before = bytes;
        EXPECT_FALSE(ByteStreamCleanup::cleanupBytes(bytes));
        EXPECT_EQ(bytes, before);
    }
}

TEST(ByteStreamCleanup, DropsEverythingBeforeTheSyncByteAndOnlyOnce)
{
    ByteArray bytes = {9, 170, 170, 170, 170, 170, 170, 85, 1, 2};
    EXPECT_TRUE(ByteStreamCleanup::cleanupBytes(bytes));
    EXPECT_EQ(bytes, (ByteArray{85, 1, 2}));
    EXPECT_FALSE(ByteStreamCleanup::cleanupBytes(bytes)); // the 85 now stands at index 0
}

TEST(ByteStreamCleanup, LeavesTransfersTooShortForTheirBlocksUnjoined)
{
    ByteArray bytes = rawTransfer(2, {100, 100}, -1); // one byte short of two blocks
    const ByteArray expected(bytes.begin() + 5, bytes.end());
    EXPECT_TRUE(ByteStreamCleanup::cleanupBytes(bytes));
    EXPECT_EQ(bytes, expected);

    ByteArray noBlocks = rawTransfer(0, {}, 300);
    EXPECT_TRUE(ByteStreamCleanup::cleanupBytes(noBlocks));
    EXPECT_EQ(noBlocks.size(), 308u);
}

// Block j spans 8 + 255j to 262 + 255j; its payload starts at 11 + 255j. The
// last block is kept whole, its own fill count unapplied, and what follows it dropped.
TEST(ByteStreamCleanup, FillCountsAboveTwoFiftyTwoRemoveLessOfTheNextHeader)
{
    struct Case { int fill; int removed; };
    for (const Case c : {Case{0, 255}, Case{252, 3}, Case{253, 2}, Case{254, 1}, Case{255, 0}}) {
        ByteArray bytes = rawTransfer(2, {c.fill, 9}, 10);
        const ByteArray expected = pick(bytes, {{0, 11 + c.fill}, {266, 518}});
        EXPECT_TRUE(ByteStreamCleanup::cleanupBytes(bytes));
        EXPECT_EQ(bytes, expected) << "fill count " << c.fill;
        EXPECT_EQ(bytes.size(), 518u - c.removed) << "fill count " << c.fill;
    }
}
