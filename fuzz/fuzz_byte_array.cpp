// Arbitrary bytes as a demodulated transfer: clean-up, the three checks and every codec.
#include "FuzzCodecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Decoder decoder;
    decoder.setByteArray(ByteArray(data, data + size));
    decoder.decodeExtractedBytes();
    exerciseCodecs(decoder, data, size);

    // The checks also on the array as given, unclean.
    decoder.setByteArray(ByteArray(data, data + size));
    decoder.checkF6Data();
    decoder.checkRS200Data();
    decoder.checkCS200Data();
    exerciseCodecs(decoder, data, size);
    return 0;
}
