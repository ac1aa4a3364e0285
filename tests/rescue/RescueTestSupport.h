#pragma once

#include "Decoder.h"
#include "TransferBuilder.h"
#include "TransferSynth.h"

#include <QBuffer>

#include <optional>
#include <vector>

namespace rescuetest {

// What one decode of a recording gave.
struct Outcome
{
    bool decoded = false;
    std::optional<WatchModel> model;
    DecodeMethod method = DecodeMethod::Exact;
    bool rescueAttempted = false;
    ByteArray bytes;
    Confidence confidence = Confidence::High;
};

// Decodes the samples as a recorded file would be, without a store: the
// decoder reads and checks every field but keeps nothing.
inline Outcome decodeSamples(const std::vector<std::int16_t> &samples, bool rescueEnabled = true)
{
    QByteArray wav = synth::wavBytes(samples);
    QBuffer file(&wav);
    file.open(QIODevice::ReadOnly);
    Decoder decoder;
    decoder.setRescueEnabled(rescueEnabled);
    decoder.extractBytesFromDevice(file);
    Outcome outcome;
    outcome.decoded = decoder.decodeExtractedBytes();
    outcome.model = decoder.recognisedModel();
    outcome.method = decoder.decodeMethod();
    outcome.rescueAttempted = decoder.rescueAttempted();
    outcome.bytes = decoder.byteArray();
    outcome.confidence = decoder.confidence();
    return outcome;
}

// One transfer of each watch, as its cleaned byte array.
inline ByteArray rs200Transfer()
{
    return layouttest::rs200().bytes();
}

inline ByteArray cs200Transfer()
{
    return layouttest::cs200().bytes();
}

inline ByteArray f6Transfer()
{
    return layouttest::f6({layouttest::f6Record(1), layouttest::f6Record(2), layouttest::f6Record(3)}).bytes();
}

inline std::vector<std::int16_t> record(const ByteArray &cleaned, const synth::RoomOptions &room)
{
    return synth::modulate(synth::frameTransfer(cleaned), room);
}

} // namespace rescuetest
