#include "RescueDemodulator.h"

#include "BurstEnvelope.h"
#include "RescueFramer.h"

#include <memory>

ByteArray RescueDemodulator::demodulate(std::span<const std::int16_t> samples)
{
    ByteArray bytes;
    // The framer's ring is a few kilobytes: on the heap, not the caller's stack.
    auto envelope = std::make_unique<BurstEnvelope>();
    auto framer = std::make_unique<RescueFramer>(bytes);
    for (const std::int16_t sample : samples)
        framer->push(envelope->process(sample));
    return bytes;
}
