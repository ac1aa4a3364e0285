#pragma once

#include "Decoder.h"
#include "TransferFiles.h"
#include "TransferSynth.h"

#include <QBuffer>

#include <vector>

namespace rescuetest {

// What one decode of a recording gave, and the bytes it left.
struct Outcome
{
    bool decoded = false;
    std::optional<WatchModel> model;
    DecodeMethod method = DecodeMethod::Exact;
    bool rescueAttempted = false;
    ByteArray bytes;
    Confidence confidence = Confidence::High;
};

// Decodes the samples as a recorded file would be.
inline Outcome decodeSamples(const std::vector<std::int16_t> &samples, bool rescueEnabled = true)
{
    QByteArray wav = synth::wavBytes(samples);
    QBuffer file(&wav);
    file.open(QIODevice::ReadOnly);
    Decoder decoder;
    decoder.setRescueEnabled(rescueEnabled);
    decoder.extractBytesFromDevice(file);
    const DecodeResult result = decoder.decodeExtractedBytes();
    return {result.dataMakesSense, result.model, result.method, result.rescueAttempted, decoder.byteArray(),
            result.confidence};
}

// One transfer of each watch, as its cleaned byte array.
inline ByteArray rs200Transfer() { return transferfiles::cleaned(QStringLiteral("rs200-plain")); }
inline ByteArray cs200Transfer() { return transferfiles::cleaned(QStringLiteral("cs200-no-laps")); }
inline ByteArray f6Transfer() { return transferfiles::cleaned(QStringLiteral("f6-two-records")); }
// A transfer of tests/rescue/transfers, or of the decoder's when not there.
inline ByteArray rescueTransfer(const char *name)
{
    const QString own = QStringLiteral(VENTRIX_SOURCE_DIR "/tests/rescue/transfers/") + QLatin1StringView(name);
    return transferfiles::cleaned(QFile::exists(own + QStringLiteral(".hex")) ? own : QLatin1StringView(name));
}

inline std::vector<std::int16_t> record(const ByteArray &cleaned, const synth::RoomOptions &room)
{
    return synth::modulate(synth::frameTransfer(cleaned), room);
}

} // namespace rescuetest
