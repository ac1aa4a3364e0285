#pragma once

#include "ByteReader.h"
#include "DecodeResult.h"
#include "EntityJson.h"
#include "TestTables.h"
#include "TransferSynth.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QtEndian>

#include <stdexcept>

// The cleaned transfers of tests/decoder/transfers and examples/ as .hex
// files, and the decode results in the JSON form the golden files hold.
namespace transferfiles {

inline const QDateTime kImportDate(QDate(2024, 3, 9), QTime(10, 11, 12));

inline QString transfersDir() { return QStringLiteral(VENTRIX_SOURCE_DIR "/tests/decoder/transfers"); }
inline QString examplesDir() { return QStringLiteral(VENTRIX_SOURCE_DIR "/examples"); }

// "rs200-plain" from the test transfers, "rs200-run" from the examples.
inline QString hexPath(const QString &name)
{
    const QString test = QDir(transfersDir()).filePath(name + QStringLiteral(".hex"));
    return QFile::exists(test) ? test : QDir(examplesDir()).filePath(name + QStringLiteral(".hex"));
}

inline ByteArray cleaned(const QString &name)
{
    QFile file(hexPath(name));
    QString error;
    const auto bytes = file.open(QIODevice::ReadOnly) ? synth::parseHexBytes(file.readAll(), &error) : std::nullopt;
    if (!bytes)
        throw std::runtime_error("cannot read transfer " + name.toStdString() + ": " + error.toStdString());
    return *bytes;
}

// What the watch sends before the cleaned transfer: six lead bytes 0xAA.
inline ByteArray withLead(const ByteArray &cleaned)
{
    ByteArray stream(6, 0xAA);
    stream.insert(stream.end(), cleaned.begin(), cleaned.end());
    return stream;
}

// Bytes from a table cell: "file=NAME" starts from a transfer, "N:" places
// the following hex bytes from index N on (zeros before), "size=N" makes the
// array at least N long.
inline ByteArray bytesOf(const QString &cell)
{
    ByteArray bytes;
    std::size_t at = 0;
    for (const QString &token : cell.split(u' ', Qt::SkipEmptyParts)) {
        if (token.startsWith(QStringLiteral("file="))) {
            bytes = cleaned(token.mid(5));
        } else if (token.startsWith(QStringLiteral("size="))) {
            bytes.resize(std::max(bytes.size(), std::size_t(token.mid(5).toInt())));
        } else if (token.endsWith(u':')) {
            at = std::size_t(token.chopped(1).toInt());
        } else {
            bytes.resize(std::max(bytes.size(), at + 1));
            bytes[at++] = std::uint8_t(token.toInt(nullptr, 16));
        }
    }
    return bytes;
}

// Every transfer with a golden file, test transfers and examples alike.
inline QStringList names()
{
    QStringList names;
    for (const QString &dir : {transfersDir(), examplesDir()})
        for (const QString &file : QDir(dir).entryList({QStringLiteral("*.hex")}, QDir::Files, QDir::Name))
            names.append(file.chopped(4));
    return names;
}

inline QJsonObject toJson(const DecodeResult &result)
{
    QJsonArray sessions;
    for (const RunSession &session : result.sessions)
        sessions.append(::toJson(session));
    return {{QStringLiteral("dataMakesSense"), result.dataMakesSense},
            {QStringLiteral("model"), result.model ? QJsonValue(watchModelName(*result.model)) : QJsonValue()},
            {QStringLiteral("sessions"), sessions}};
}

} // namespace transferfiles

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
