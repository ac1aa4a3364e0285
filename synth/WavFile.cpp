// Canonical WAV output of synthesized recordings and hex input of transfers.
#include "TransferSynth.h"

#include <QSaveFile>
#include <QtEndian>

namespace synth {
namespace {

constexpr int kWavHeaderSize = 44;
constexpr quint16 kPcmFormat = 1;
constexpr quint16 kChannels = 1;
constexpr quint16 kBitsPerSample = 16;
constexpr quint16 kBlockAlign = kChannels * kBitsPerSample / 8;

void appendLe32(QByteArray& bytes, quint32 value)
{
    char raw[4];
    qToLittleEndian(value, raw);
    bytes.append(raw, 4);
}

void appendLe16(QByteArray& bytes, quint16 value)
{
    char raw[2];
    qToLittleEndian(value, raw);
    bytes.append(raw, 2);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == ',';
}

}  // namespace

QByteArray wavBytes(const std::vector<std::int16_t>& samples)
{
    const quint32 dataSize = quint32(samples.size() * sizeof(std::int16_t));
    QByteArray bytes;
    bytes.reserve(kWavHeaderSize + qsizetype(dataSize));
    bytes.append("RIFF");
    appendLe32(bytes, 36 + dataSize);
    bytes.append("WAVEfmt ");
    appendLe32(bytes, 16);
    appendLe16(bytes, kPcmFormat);
    appendLe16(bytes, kChannels);
    appendLe32(bytes, kSampleRate);
    appendLe32(bytes, kSampleRate * kBlockAlign);
    appendLe16(bytes, kBlockAlign);
    appendLe16(bytes, kBitsPerSample);
    bytes.append("data");
    appendLe32(bytes, dataSize);
    for (std::int16_t sample : samples)
        appendLe16(bytes, quint16(sample));
    return bytes;
}

bool writeWav(const QString& path, const std::vector<std::int16_t>& samples, QString* error)
{
    const auto fail = [&](const QString& why) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(path, why);
        return false;
    };
    // The RIFF sizes are 32 bits; a longer recording cannot be described.
    if (samples.size() > (0xFFFFFFFFull - kWavHeaderSize) / sizeof(std::int16_t))
        return fail(QStringLiteral("recording too long for a WAV file"));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray bytes = wavBytes(samples);
    if (file.write(bytes) != bytes.size()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(why);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

std::optional<std::vector<std::uint8_t>> parseHexBytes(const QByteArray& text, QString* error)
{
    std::vector<std::uint8_t> bytes;
    const auto fail = [&](qsizetype at, const QString& why) {
        if (error)
            *error = QStringLiteral("%1 at character %2").arg(why).arg(at + 1);
        return std::nullopt;
    };
    qsizetype i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (isSeparator(c)) {
            ++i;
        } else if (c == '#') {
            while (i < text.size() && text[i] != '\n')
                ++i;
        } else if (c == '0' && i + 1 < text.size() && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
            i += 2;
            if (i >= text.size() || hexDigit(text[i]) < 0)
                return fail(i, QStringLiteral("hex digits expected after 0x"));
        } else {
            const int high = hexDigit(c);
            if (high < 0)
                return fail(i, QStringLiteral("not a hex digit '%1'").arg(QChar::fromLatin1(c)));
            const int low = i + 1 < text.size() ? hexDigit(text[i + 1]) : -1;
            if (low < 0)
                return fail(i, QStringLiteral("odd number of hex digits"));
            bytes.push_back(std::uint8_t(high * 16 + low));
            i += 2;
        }
    }
    return bytes;
}

}  // namespace synth
