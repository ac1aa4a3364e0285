#pragma once

#include "ByteReader.h"

// Strips the watch's line framing from a demodulated transfer: the run of
// synchronisation bytes before it and the 255-byte blocks with their 3-byte
// headers and filler, so that fields can be addressed by fixed indices.
class ByteStreamCleanup
{
public:
    static constexpr std::uint8_t kSyncByte = 85;      // 0x55
    static constexpr std::uint8_t kPreambleByte = 170; // 0xAA
    static constexpr int kPreambleLength = 5;          // nearest 0xAA bytes that must precede the sync byte
    static constexpr int kHeaderLength = 8;            // sync byte and transfer header
    static constexpr int kBlockCountIndex = 3;
    static constexpr int kBlockSize = 255;
    static constexpr int kBlockHeaderLength = 3;
    static constexpr int kFillCountIndex = 10;         // third header byte of block 0
    static constexpr int kFirstPayloadIndex = 11;

    // NO (array unchanged) when the first 85 in the array is not preceded by
    // five 170s. YES otherwise: the array then starts at the 85 and, when it
    // is long enough for its declared blocks, their payloads are joined.
    static bool cleanupBytes(ByteArray &bytes);

    // Where each byte that cleanupBytes(raw) keeps stood in raw, in the
    // cleaned order; empty when it would answer NO.
    static std::vector<std::int64_t> sourceIndices(const ByteArray &raw);

private:
    // The index of the sync byte that starts the transfer, or -1.
    static std::int64_t transferStart(const ByteArray &bytes);
    template<typename T>
    static void joinBlocks(std::vector<T> &items, const ByteArray &bytes, int blockCount);
};
