// Arbitrary bytes as a demodulated transfer: clean-up, the three checks and
// every codec; a YES has a model, and a second decoder answers the same.
#include "FuzzChecks.h"
#include "FuzzCodecs.h"
#include "ModelRecognizer.h"

namespace {

DecodeAnswer decodeBytes(Decoder &decoder, const std::uint8_t *data, std::size_t size)
{
    decoder.setByteArray(ByteArray(data, data + size));
    const DecodeResult result = decoder.decodeExtractedBytes();
    return answerOf(decoder, result);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Decoder decoder;
    Decoder again;
    checkAnswers(decodeBytes(decoder, data, size), decodeBytes(again, data, size));
    exerciseCodecs(decoder.byteArray(), data, size);

    // The checks also on the array as given, unclean.
    const ByteArray raw(data, data + size);
    bool flag = false;
    ModelRecognizer recognizer(raw, flag);
    recognizer.checkF6Data();
    recognizer.checkRS200Data();
    recognizer.checkCS200Data();
    exerciseCodecs(raw, data, size);
    return 0;
}
