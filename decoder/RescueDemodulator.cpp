#include "RescueDemodulator.h"

#include "BurstEnvelope.h"
#include "RescueFramer.h"
#include "SampleSource.h"

#include <algorithm>
#include <memory>
#include <vector>

ByteArray RescueDemodulator::demodulate(std::span<const std::int16_t> samples, DecisionMargins *margins)
{
    SpanSampleSource source(samples);
    return demodulate(source, margins);
}

ByteArray RescueDemodulator::demodulate(SampleSource &source, DecisionMargins *margins)
{
    ByteArray bytes;
    if (!source.rewind())
        return bytes;
    // The rings and block buffers take a few tens of kilobytes: on the heap,
    // allocated once before the pass.
    auto envelope = std::make_unique<BurstEnvelope>();
    auto framer = std::make_unique<RescueFramer>(bytes, margins);
    std::vector<std::int16_t> block(RescueFramer::kMaxBlock);
    std::vector<float> levels(RescueFramer::kMaxBlock);
    std::vector<std::uint8_t> blanked(RescueFramer::kMaxBlock);
    // Zeros in a row before the current block: long silences are skipped over quickly.
    std::int64_t zeros = 0;
    for (;;) {
        const std::size_t count = source.read(block);
        if (count == 0)
            break;
        const std::span<const std::int16_t> samples(block.data(), count);
        const std::span<float> blockLevels(levels.data(), count);
        const std::span<std::uint8_t> blockBlanked(blanked.data(), count);
        const bool silent = std::all_of(samples.begin(), samples.end(), [](std::int16_t s) { return s == 0; });
        if (silent && zeros >= BurstEnvelope::kSettleSamples)
            envelope->processSilence(blockLevels, blockBlanked);
        else
            envelope->process(samples, blockLevels, blockBlanked);
        zeros = silent ? zeros + std::int64_t(count) : 0;
        framer->push(blockLevels, blockBlanked, envelope->noiseFloor());
    }
    return bytes;
}
