#include "ByteStreamCleanup.h"

#include <algorithm>
#include <numeric>

std::int64_t ByteStreamCleanup::transferStart(const ByteArray &bytes)
{
    // Only the first 85 is tried: a later one is never a transfer start.
    const auto sync = std::find(bytes.begin(), bytes.end(), kSyncByte);
    if (sync == bytes.end() || sync - bytes.begin() < kPreambleLength)
        return -1;
    if (!std::all_of(sync - kPreambleLength, sync, [](std::uint8_t b) { return b == kPreambleByte; }))
        return -1;
    return sync - bytes.begin();
}

bool ByteStreamCleanup::cleanupBytes(ByteArray &bytes)
{
    const std::int64_t start = transferStart(bytes);
    if (start < 0)
        return false;
    bytes.erase(bytes.begin(), bytes.begin() + start);

    if (bytes.size() <= std::size_t(kHeaderLength))
        return true;
    const int blockCount = bytes[kBlockCountIndex];
    // Too short for its declared blocks: left unjoined for the model checks to judge.
    if (bytes.size() < std::size_t(kBlockSize) * blockCount + kHeaderLength || blockCount == 0)
        return true;
    joinBlocks(bytes, bytes, blockCount);
    return true;
}

std::vector<std::int64_t> ByteStreamCleanup::sourceIndices(const ByteArray &raw)
{
    const std::int64_t start = transferStart(raw);
    if (start < 0)
        return {};
    const ByteArray bytes(raw.begin() + start, raw.end());
    std::vector<std::int64_t> indices(bytes.size());
    std::iota(indices.begin(), indices.end(), start);
    if (bytes.size() <= std::size_t(kHeaderLength))
        return indices;
    const int blockCount = bytes[kBlockCountIndex];
    if (bytes.size() < std::size_t(kBlockSize) * blockCount + kHeaderLength || blockCount == 0)
        return indices;
    joinBlocks(indices, bytes, blockCount);
    return indices;
}

// Keeps indices 0 to 10 (header and block 0's header), then the payload of
// blocks 0 to N-2 as their fill counts c_j give it, then all 252 bytes after
// the last block's header. Block j's filler and block j+1's header are the
// 255 - c_j bytes from 255j + 11 + c_j on; a fill count above 252 reaches past
// block j into the next header, so fewer header bytes go. Each removed range
// lies in the array as it arrived, so one forward copy gives exactly what
// removing the ranges from the last block to the first gives.
// items are the bytes themselves, or what stands for each of them.
template<typename T>
void ByteStreamCleanup::joinBlocks(std::vector<T> &items, const ByteArray &bytes, int blockCount)
{
    // All fill counts are read before anything moves.
    std::vector<std::size_t> fillCounts(static_cast<std::size_t>(blockCount));
    for (int j = 0; j < blockCount; ++j)
        fillCounts[std::size_t(j)] = bytes[kFillCountIndex + std::size_t(kBlockSize) * j];

    const std::size_t end = std::size_t(kBlockSize) * blockCount + kHeaderLength;
    std::size_t kept = 0;
    std::size_t from = 0;
    for (int j = 0; j + 1 < blockCount; ++j) {
        const std::size_t removeFrom =
            std::size_t(kBlockSize) * j + kFirstPayloadIndex + fillCounts[std::size_t(j)];
        const std::size_t removeTo = std::size_t(kBlockSize) * (j + 1) + kFirstPayloadIndex;
        kept = std::copy(items.begin() + from, items.begin() + removeFrom, items.begin() + kept)
               - items.begin();
        from = removeTo;
    }
    kept = std::copy(items.begin() + from, items.begin() + end, items.begin() + kept) - items.begin();
    items.resize(kept);
}
