// Arbitrary bytes as a demodulated transfer: clean-up, the three checks and every codec.
#include "Decoder.h"
#include "FuzzCodecs.h"
#include "ModelRecognizer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Decoder decoder;
    decoder.setByteArray(ByteArray(data, data + size));
    decoder.decodeExtractedBytes();
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
