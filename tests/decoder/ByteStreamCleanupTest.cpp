#include "ByteStreamCleanup.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

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

TEST(ByteStreamCleanup, JoinsPayloadsAndKeepsTheLastBlockWhole)
{
    ByteArray bytes = rawTransfer(3, {100, 252, 5}, 10);
    // Block j spans 8 + 255j to 262 + 255j; its payload starts at 11 + 255j.
    const ByteArray expected = pick(bytes, {{0, 11 + 100}, {266, 266 + 252}, {521, 773}});
    EXPECT_TRUE(ByteStreamCleanup::cleanupBytes(bytes));
    EXPECT_EQ(bytes, expected);

    ByteArray one = rawTransfer(1, {7}, 40);
    const ByteArray cutAfterItsEnd = pick(one, {{0, 263}});
    EXPECT_TRUE(ByteStreamCleanup::cleanupBytes(one));
    EXPECT_EQ(one, cutAfterItsEnd); // the last block's fill count is not applied
}

TEST(ByteStreamCleanup, FillCountsAboveTwoFiftyTwoRemoveLessOfTheNextHeader)
{
    struct Case { int fill; int removed; };
    for (const Case c : {Case{0, 255}, Case{252, 3}, Case{253, 2}, Case{254, 1}, Case{255, 0}}) {
        ByteArray bytes = rawTransfer(2, {c.fill, 9});
        const ByteArray expected = pick(bytes, {{0, 11 + c.fill}, {266, 518}});
        EXPECT_TRUE(ByteStreamCleanup::cleanupBytes(bytes));
        EXPECT_EQ(bytes, expected) << "fill count " << c.fill;
        EXPECT_EQ(bytes.size(), 518u - c.removed) << "fill count " << c.fill;
    }
}
