// Arbitrary bytes as a demodulated transfer: clean-up, the three checks and
// every codec; a YES has a model, and a second decoder answers the same.
#include "FuzzChecks.h"
#include "FuzzCodecs.h"

namespace {

DecodeAnswer decodeBytes(Decoder &decoder, const std::uint8_t *data, std::size_t size)
{
    decoder.setByteArray(ByteArray(data, data + size));
    const bool yes = decoder.decodeExtractedBytes();
    return answerOf(decoder, yes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Decoder decoder;
    Decoder again;
    checkAnswers(decodeBytes(decoder, data, size), decodeBytes(again, data, size));
    exerciseCodecs(decoder, data, size);

    // The checks also on the array as given, unclean.
    decoder.setByteArray(ByteArray(data, data + size));
    decoder.checkF6Data();
    decoder.checkRS200Data();
    decoder.checkCS200Data();
    exerciseCodecs(decoder, data, size);
    return 0;
}
