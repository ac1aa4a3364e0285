#pragma once

#include "TransferSynth.h"

#include <QFile>
#include <QString>

// Synthesizes a recording of one of the example transfers in examples/
// ("rs200-run", "cs200-ride", "f6-memory") as a room with some noise would
// record it, or as room does. False when the example or the file cannot be had.
inline bool writeExampleRecording(const QString &example, const QString &path,
                                  const synth::RoomOptions &room = {.snrDb = 30.0, .seed = 7})
{
    QFile hex(QStringLiteral(VENTRIX_SOURCE_DIR "/examples/") + example + QStringLiteral(".hex"));
    if (!hex.open(QIODevice::ReadOnly))
        return false;
    const auto cleaned = synth::parseHexBytes(hex.readAll());
    if (!cleaned)
        return false;
    return synth::writeWav(path, synth::modulate(synth::frameTransfer(*cleaned), room));
}
