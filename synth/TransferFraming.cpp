// Framing of a cleaned transfer into the byte stream the watch sends, and its inverse as the
// decoder's clean-up computes it.
#include "TransferSynth.h"

#include <algorithm>
#include <limits>
#include <random>
#include <stdexcept>
#include <string>

namespace synth {
namespace {

constexpr int kMaxBlocks = 255;          // N is one byte
constexpr std::size_t kBlockCountIndex = 3;
constexpr std::size_t kFirstFillIndex = 10;

void checkFraming(const FramingOptions& options)
{
    if (options.fillCount < 1 || options.fillCount > kBlockPayloadSpace)
        throw std::invalid_argument("fill count must be 1 to 252, not "
                                    + std::to_string(options.fillCount));
    if (options.leadSyncBytes < 0)
        throw std::invalid_argument("the number of lead bytes cannot be negative");
}

std::vector<std::uint8_t> withBlockZeroHeader(const std::vector<std::uint8_t>& cleaned,
                                              std::uint8_t filler)
{
    std::vector<std::uint8_t> padded = cleaned;
    if (padded.size() < kCleanedPayloadStart)
        padded.resize(kCleanedPayloadStart, filler);
    padded[0] = kSyncByte;
    return padded;
}

int checkedBlockCount(std::size_t payloadSize, int fillCount)
{
    const int blocks = blockCount(payloadSize, fillCount);
    if (blocks > kMaxBlocks)
        throw std::invalid_argument("a payload of " + std::to_string(payloadSize)
                                    + " bytes needs more than 255 blocks");
    return blocks;
}

}  // namespace

int blockCount(std::size_t payloadSize, int fillCount)
{
    if (payloadSize <= std::size_t(kBlockPayloadSpace))
        return 1;
    const std::size_t rest = payloadSize - kBlockPayloadSpace;
    const std::size_t fill = std::size_t(std::max(fillCount, 1));
    return int(std::min<std::size_t>(1 + (rest + fill - 1) / fill, std::size_t(std::numeric_limits<int>::max())));
}

std::vector<std::uint8_t> frameTransfer(const std::vector<std::uint8_t>& cleaned,
                                        const FramingOptions& options)
{
    checkFraming(options);
    const std::vector<std::uint8_t> transfer = withBlockZeroHeader(cleaned, options.filler);
    const std::size_t payloadSize = transfer.size() - kCleanedPayloadStart;
    const int blocks = checkedBlockCount(payloadSize, options.fillCount);

    std::vector<std::uint8_t> stream(std::size_t(options.leadSyncBytes), kLeadByte);
    stream.reserve(stream.size() + kTransferHeaderSize + std::size_t(blocks) * kBlockSize);
    stream.insert(stream.end(), transfer.begin(), transfer.begin() + kTransferHeaderSize);
    stream[std::size_t(options.leadSyncBytes) + kBlockCountIndex] = std::uint8_t(blocks);

    std::size_t next = kCleanedPayloadStart;  // next payload byte of `transfer`
    for (int j = 0; j < blocks; ++j) {
        const bool last = j == blocks - 1;
        const std::size_t count =
            last ? transfer.size() - next : std::size_t(options.fillCount);
        if (j == 0) {
            stream.push_back(transfer[8]);
            stream.push_back(transfer[9]);
            stream.push_back(last ? transfer[kFirstFillIndex] : std::uint8_t(count));
        } else {
            stream.push_back(0);
            stream.push_back(std::uint8_t(j));
            stream.push_back(std::uint8_t(count));
        }
        stream.insert(stream.end(), transfer.begin() + std::ptrdiff_t(next),
                      transfer.begin() + std::ptrdiff_t(next + count));
        stream.insert(stream.end(), kBlockPayloadSpace - count, options.filler);
        next += count;
    }
    return stream;
}

std::vector<std::uint8_t> cleanedRoundTrip(const std::vector<std::uint8_t>& cleaned,
                                           const FramingOptions& options)
{
    checkFraming(options);
    std::vector<std::uint8_t> result = withBlockZeroHeader(cleaned, options.filler);
    const std::size_t payloadSize = result.size() - kCleanedPayloadStart;
    const int blocks = checkedBlockCount(payloadSize, options.fillCount);
    result[kBlockCountIndex] = std::uint8_t(blocks);
    if (blocks > 1)
        result[kFirstFillIndex] = std::uint8_t(options.fillCount);
    // Every block but the last gives its fillCount bytes, the last all 252 after its header.
    result.resize(kCleanedPayloadStart + std::size_t(blocks - 1) * std::size_t(options.fillCount)
                      + kBlockPayloadSpace,
                  options.filler);
    return result;
}

std::vector<std::uint8_t> randomBytes(std::size_t count, std::uint64_t seed)
{
    // mt19937_64 gives the same numbers with every standard library and its distributions do
    // not, so the bytes come from its raw output.
    std::mt19937_64 generator(seed);
    std::vector<std::uint8_t> bytes(count);
    for (std::uint8_t& byte : bytes)
        byte = std::uint8_t(generator() >> 56);
    return bytes;
}

}  // namespace synth
