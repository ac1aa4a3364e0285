#pragma once

#include "Decoder.h"
#include "TransferFiles.h"
#include "TransferSynth.h"

#include <QBuffer>

#include <vector>

namespace rescuetest {

// What one decode of a recording gave, and the bytes it left.
struct Outcome : DecodeResult
{
    ByteArray bytes;
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
    return {decoder.decodeExtractedBytes(), decoder.byteArray()};
}

// A cleaned transfer of tests/rescue/transfers, or of the decoder's when not there.
inline ByteArray transfer(const char *name)
{
    const QString own = QStringLiteral(VENTRIX_SOURCE_DIR "/tests/rescue/transfers/") + QLatin1StringView(name);
    return transferfiles::cleaned(QFile::exists(own + QStringLiteral(".hex")) ? own : QLatin1StringView(name));
}

struct Transfer
{
    const char *name;
    WatchModel model;
    ByteArray bytes;
};

// The plainest transfer of each watch first (kPlain of them), then ones with
// more records, laps and limits.
inline constexpr int kPlain = 3;
inline const std::vector<Transfer> &transfers()
{
    static const std::vector<Transfer> list = {
        {"F6", WatchModel::F6, transfer("f6-two-records")},
        {"RS200", WatchModel::RS200, transfer("rs200-plain")},
        {"CS200", WatchModel::CS200, transfer("cs200-no-laps")},
        {"F6ThreeRecords", WatchModel::F6, transfer("f6-three-records")},
        {"RS200FootPodLaps", WatchModel::RS200, transfer("rs200-foot-pod-three-laps")},
        {"CS200Laps", WatchModel::CS200, transfer("cs200-two-laps")},
        {"RS200PaceLimits", WatchModel::RS200, transfer("rs200-pace-limits")},
        {"RS200HRLimits", WatchModel::RS200, transfer("rs200-hr-limits")},
    };
    return list;
}

inline std::vector<std::int16_t> record(const ByteArray &cleaned, const synth::RoomOptions &room)
{
    return synth::modulate(synth::frameTransfer(cleaned), room);
}

} // namespace rescuetest
