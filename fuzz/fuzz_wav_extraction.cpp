// Arbitrary bytes as a recording, then clean-up and the three checks. The first
// byte chooses how the input is read: as the WAV file itself, or as a list of
// (gap, height) bursts rendered into a recording long enough for the
// demodulator's scans, since a raw input of a few kilobytes never is. A YES
// has a model, and a second decoder answers the same.
#include "FuzzChecks.h"
#include "FuzzCodecs.h"

#include <QBuffer>
#include <QtEndian>

#include <vector>

namespace {

QByteArray wavOf(const std::vector<std::int16_t> &samples, std::uint32_t declaredBytes)
{
    QByteArray out("RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x44\xac\0\0\x88\x58\x01\0\x02\0\x10\0data", 40);
    char size[4];
    qToLittleEndian(declaredBytes, size);
    out.append(size, 4);
    out.append(reinterpret_cast<const char *>(samples.data()), qsizetype(samples.size() * 2));
    return out;
}

QByteArray burstRecording(const std::uint8_t *data, std::size_t size)
{
    std::vector<std::int16_t> samples(5000, 0);
    for (std::size_t k = 1; k + 2 < size; k += 3) {
        samples.resize(samples.size() + 1 + data[k] * 4, 0);
        samples.back() = std::int16_t(data[k + 1] * 256 + data[k + 2]);
    }
    samples.resize(samples.size() + 1000, 0);
    // Sometimes the header claims more (or fewer) bytes than follow.
    const std::uint32_t declared = size > 1 && (data[size - 1] & 1) ? 0xFFFFFFFFu : std::uint32_t(samples.size() * 2);
    return wavOf(samples, declared);
}

DecodeAnswer decodeRecording(Decoder &decoder, const QByteArray &file)
{
    QBuffer buffer;
    buffer.setData(file);
    buffer.open(QIODevice::ReadOnly);
    decoder.extractBytesFromDevice(buffer);
    const DecodeResult result = decoder.decodeExtractedBytes();
    return answerOf(decoder, result);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const QByteArray file = (data[0] & 1)
        ? burstRecording(data, size)
        : QByteArray(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    Decoder decoder;
    Decoder again;
    checkAnswers(decodeRecording(decoder, file), decodeRecording(again, file));
    exerciseCodecs(decoder.byteArray(), data, size);
    return 0;
}
