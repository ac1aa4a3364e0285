#include "RescueDemodulator.h"

#include "BurstEnvelope.h"
#include "RescueFramer.h"

#include <algorithm>
#include <memory>
#include <vector>

ByteArray RescueDemodulator::demodulate(std::span<const std::int16_t> samples, DecisionMargins *margins)
{
    ByteArray bytes;
    // The rings and block buffers take a few tens of kilobytes: on the heap,
    // allocated once before the pass.
    auto envelope = std::make_unique<BurstEnvelope>();
    auto framer = std::make_unique<RescueFramer>(bytes, margins);
    std::vector<float> levels(RescueFramer::kMaxBlock);
    std::vector<std::uint8_t> blanked(RescueFramer::kMaxBlock);
    for (std::size_t start = 0; start < samples.size(); start += RescueFramer::kMaxBlock) {
        const std::size_t count = std::min(RescueFramer::kMaxBlock, samples.size() - start);
        const std::span<float> blockLevels(levels.data(), count);
        const std::span<std::uint8_t> blockBlanked(blanked.data(), count);
        envelope->process(samples.subspan(start, count), blockLevels, blockBlanked);
        framer->push(blockLevels, blockBlanked, envelope->noiseFloor());
    }
    return bytes;
}
