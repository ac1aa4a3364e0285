#include "DecoderTestData.h"

#include <QtEndian>

namespace testdata {

namespace {
void appendLE32(QByteArray &out, std::uint32_t value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}
} // namespace

QByteArray wav(const std::vector<std::int16_t> &samples, std::int64_t declaredBytes)
{
    const std::uint32_t dataBytes = std::uint32_t(samples.size() * 2);
    QByteArray out("RIFF");
    appendLE32(out, 36 + dataBytes);
    out.append("WAVEfmt ");
    appendLE32(out, 16);
    appendLE32(out, 1 | (1u << 16));   // PCM, mono
    appendLE32(out, 44100);
    appendLE32(out, 88200);
    appendLE32(out, 2 | (16u << 16)); // block align, bits
    out.append("data");
    appendLE32(out, declaredBytes >= 0 ? std::uint32_t(declaredBytes) : dataBytes);
    for (std::int16_t s : samples) {
        char bytes[2];
        qToLittleEndian(s, bytes);
        out.append(bytes, 2);
    }
    return out;
}

std::vector<std::int16_t> spikes(const ByteArray &stream, std::int64_t leadSamples, std::int64_t spacing,
                                 std::int16_t height)
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

ByteArray withLead(const ByteArray &cleaned, int leadBytes)
{
    ByteArray stream(std::size_t(leadBytes), 170);
    stream.insert(stream.end(), cleaned.begin(), cleaned.end());
    return stream;
}

ByteArray randomLikeBytes(std::size_t count)
{
    ByteArray bytes(count);
    std::uint32_t state = 12345;
    for (std::uint8_t &b : bytes) {
        state = state * 1103515245u + 12345u;
        b = std::uint8_t(state >> 16);
    }
    return bytes;
}

ByteArray rs200Transfer()
{
    ByteArray b(160, 0);
    b[0] = 85;
    b[3] = 1; // one block declared, too short to be joined
    b[19] = 29; b[20] = 2; b[21] = 80;           // birthday 29 February 1980
    b[26] = 2;                                   // activity "Moderate"
    const ByteArray name = {28, 37, 39, 41, 183}; // "Races"
    std::copy(name.begin(), name.end(), b.begin() + 27);
    b[37] = 0x2F; b[38] = 0x1A; b[39] = 0x00; b[40] = 0x30; b[41] = 0x14;
    b[43] = 10;                                  // total time 10:00.0
    b[45] = 140; b[46] = 170;                    // average and maximum heart rate
    for (int j = 1; j <= 5; ++j) {               // sport zones 100-110, 110-120, ...
        b[std::size_t(100 + 2 * j)] = std::uint8_t(90 + 10 * j);
        b[std::size_t(101 + 2 * j)] = std::uint8_t(100 + 10 * j);
        b[std::size_t(110 + 3 * j)] = 0x05;      // five minutes, as decimal digits
    }
    return b;
}

ByteArray cs200Transfer()
{
    ByteArray b(160, 0);
    b[0] = 85;
    b[3] = 1;
    b[27 + 7] = 17;                              // a plain character last: not an RS200 name
    b[101] = 1; b[102] = 6; b[103] = 75;         // birthday 1 June 1975
    b[108] = 0x41;                               // limit type "Manual", cadence flag set
    b[110] = 0x30; b[111] = 0x20; b[112] = 0x01; // 1:20:30
    b[113] = 130; b[114] = 160;
    b[128] = 200; b[130] = 255;                  // average and maximum speed
    b[132] = 80; b[133] = 95;                    // average and maximum cadence
    b[135] = 0x15;                               // 0:00:15
    b[140] = 0x2F; b[141] = 0x1A; b[142] = 0x00; b[143] = 0x30; b[144] = 0x14;
    b[146] = 120; b[147] = 150;
    return b;
}

} // namespace testdata
