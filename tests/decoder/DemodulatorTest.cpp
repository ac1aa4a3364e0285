#include "Demodulator.h"

#include "DecoderTestData.h"

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

TEST(Demodulator, IdealBurstsComeBackAsTheirBytes)
{
    ByteArray stream;
    for (int b = 0; b < 256; ++b)
        stream.push_back(std::uint8_t(b));
    EXPECT_EQ(Demodulator::frameBytes(marksOf(testdata::spikes(stream))), stream);
}
