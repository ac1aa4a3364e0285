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
    std::vector<layouttest::F6Record> records;
    for (int day = 1; day <= 3; ++day) {
        layouttest::F6Record r;
        r.start = QDateTime(QDate(2009, 5, day), QTime(7, 15, 42));
        r.averageHR = 120 + day;
        r.maxHR = 160 + day;
        r.calories = 300 + day;
        r.zoneTime = layouttest::tenths(0, 25, 10 + day);
        r.zoneLow = 110;
        r.zoneHigh = 150;
        r.userMaxHR = 185;
        records.push_back(r);
    }
    return layouttest::f6(records).bytes();
}

inline std::vector<std::int16_t> record(const ByteArray &cleaned, const synth::RoomOptions &room)
{
    return synth::modulate(synth::frameTransfer(cleaned), room);
}

} // namespace rescuetest
