#pragma once

#include "ByteReader.h"
#include "DecodeResult.h"
#include "EntityJson.h"
#include "TransferSynth.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>

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

// The rows of a case table of tests/decoder: cells split at '|', trimmed;
// comments after '#' and lines without cells are left out.
inline QList<QStringList> tableRows(const QString &name)
{
    QFile file(QStringLiteral(VENTRIX_SOURCE_DIR "/tests/decoder/") + name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read " + name.toStdString());
    QList<QStringList> rows;
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        QStringList cells = line.section(u'#', 0, 0).split(u'|');
        if (cells.size() < 2)
            continue;
        for (QString &cell : cells)
            cell = cell.trimmed();
        rows.append(cells);
    }
    return rows;
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
