#pragma once

#include "TransferSynth.h"

#include <QFile>
#include <QStringList>

#include <functional>
#include <map>
#include <ostream>
#include <stdexcept>

// The rows of a case table under tests/ ("decoder/codec-cases.txt"): cells
// split at '|', trimmed; comments after '#' and lines without cells are left out.
inline QList<QStringList> tableRows(const QString &path)
{
    QFile file(QStringLiteral(VENTRIX_SOURCE_DIR "/tests/") + path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read tests/" + path.toStdString());
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

// A row prints as its text, in test names too.
inline void PrintTo(const QStringList &row, std::ostream *out) { *out << row.join(QStringLiteral(" | ")).toStdString(); }

// A room of a table: "amplitude=6000 drift=0.01 snr=20 dc=1500 fade=DEPTH,PERIOD
// invert lead=2 tail=1 seed=11 click=SECONDS,... hum=0.5 echo=LEVEL,MS"; what is
// not named keeps its default.
inline synth::RoomOptions roomFromText(const QString &text)
{
    synth::RoomOptions room;
    for (const QString &option : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString key = option.section(u'=', 0, 0);
        std::vector<double> v;
        for (const QString &number : option.section(u'=', 1).split(u',', Qt::SkipEmptyParts))
            v.push_back(number.toDouble());
        v.resize(std::max<std::size_t>(v.size(), 1));
        const std::map<QString, std::function<void()>> set = {
            {"amplitude", [&] { room.amplitude = v[0]; }}, {"drift", [&] { room.drift = v[0]; }},
            {"snr", [&] { room.snrDb = v[0]; }}, {"dc", [&] { room.dcOffset = v[0]; }},
            {"fade", [&] { room.fadeDepth = v[0]; room.fadePeriodSeconds = v.size() > 1 ? v[1] : room.fadePeriodSeconds; }},
            {"invert", [&] { room.invert = true; }}, {"lead", [&] { room.leadSeconds = v[0]; }},
            {"tail", [&] { room.tailSeconds = v[0]; }}, {"seed", [&] { room.seed = std::uint64_t(v[0]); }},
            {"click", [&] { room.clickSeconds = v; }}, {"hum", [&] { room.humLevel = v[0]; }},
            {"echo", [&] { room.echoLevel = v[0]; room.echoDelayMs = v.size() > 1 ? v[1] : 0.0; }}};
        if (!set.count(key))
            throw std::invalid_argument("unknown room option " + key.toStdString());
        set.at(key)();
    }
    return room;
}
