#pragma once

#include "ByteReader.h"
#include "TransferSynth.h"

#include <QByteArray>
#include <QtEndian>

#include <cstdint>
#include <vector>

namespace testdata {

// A canonical 44-byte-header WAV around the samples; the data chunk's size
// field says declaredBytes when given, else the real size.
inline QByteArray wav(const std::vector<std::int16_t> &samples, std::int64_t declaredBytes = -1)
{
    QByteArray file = synth::wavBytes(samples);
    if (declaredBytes >= 0)
        qToLittleEndian(std::uint32_t(declaredBytes), file.data() + 40);
    return file;
}

// Ideal bursts: one single-sample spike per marked cell. Frame f starts its
// start burst at leadSamples + spacing * f; bit k (1..8) is a spike 88k later.
inline std::vector<std::int16_t> spikes(const ByteArray &stream, std::int64_t leadSamples = 6000,
                                        std::int64_t spacing = 900, std::int16_t height = 10000)
{
    std::vector<std::int16_t> samples(std::size_t(leadSamples + spacing * std::int64_t(stream.size()) + 2000));
    for (std::size_t f = 0; f < stream.size(); ++f) {
        const std::size_t start = std::size_t(leadSamples + spacing * std::int64_t(f));
        samples[start] = height;
        for (int k = 1; k <= 8; ++k)
            if (stream[f] & (1 << (k - 1)))
                samples[start + 88 * std::size_t(k)] = height;
    }
    return samples;
}

} // namespace testdata
