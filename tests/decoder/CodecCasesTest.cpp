#include "FieldCodecs.h"
#include "TransferFiles.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

// The field codecs against the table in codec-cases.txt: one line, one case.
namespace {

QString text(std::optional<int> value) { return value ? QString::number(*value) : QStringLiteral("none"); }
QString text(bool value) { return value ? QStringLiteral("yes") : QStringLiteral("no"); }
QString text(const std::optional<QString> &value) { return value.value_or(QStringLiteral("none")); }
QString text(const std::optional<QDateTime> &value)
{
    return value ? value->toString(Qt::ISODate) : QStringLiteral("none");
}
template <typename Record, typename... Fields>
QString text(const std::optional<Record> &record, Fields... fields)
{
    QStringList parts;
    if (record)
        (parts.append(QString::number((*record).*fields)), ...);
    return record ? parts.join(u' ') : QStringLiteral("none");
}
QString text(const std::optional<LimitZoneTimes> &times)
{
    return times ? QStringLiteral("%1 %2 %3").arg((*times)[0]).arg((*times)[1]).arg((*times)[2]) : QStringLiteral("none");
}

using Codec = std::function<QString(const FieldCodecs &, int, bool &)>;

const std::map<QString, Codec> &codecs()
{
    using F = const FieldCodecs &;
    static const std::map<QString, Codec> table = {
        {"secondsx10From3Bytes", [](F c, int i, bool &) { return text(c.secondsx10From3Bytes(i)); }},
        {"secondsx10From4Bytes", [](F c, int i, bool &) { return text(c.secondsx10From4Bytes(i)); }},
        {"timeFrom3Bytes", [](F c, int i, bool &) { return text(c.timeFrom3Bytes(i, false), &TimeRecord::seconds, &TimeRecord::minutes, &TimeRecord::hours, &TimeRecord::tenths, &TimeRecord::totalSecondsx10); }},
        {"timeFrom3BytesBcd", [](F c, int i, bool &) { return text(c.timeFrom3Bytes(i, true), &TimeRecord::seconds, &TimeRecord::minutes, &TimeRecord::hours, &TimeRecord::tenths, &TimeRecord::totalSecondsx10); }},
        {"decodeTotalTime", [](F c, int, bool &) { return text(c.decodeTotalTime()); }},
        {"decodeSessionDate", [](F c, int i, bool &flag) { return text(c.decodeSessionDate(i, flag)); }},
        {"decodeF6SessionDate", [](F c, int i, bool &flag) { return text(c.decodeF6SessionDate(i, flag)); }},
        {"decodeBirthdayDate", [](F c, int i, bool &flag) { return text(c.decodeBirthdayDate(i, flag)); }},
        {"decodeSessionName", [](F c, int, bool &flag) { return text(c.decodeSessionName(flag)); }},
        {"decodeWeight", [](F c, int i, bool &) { return text(c.decodeWeight(i)); }},
        {"decodeUserActivityLevel", [](F c, int, bool &) { return text(c.decodeUserActivityLevel()); }},
        {"decodeFootPodIsOn", [](F c, int, bool &) { return text(c.decodeFootPodIsOn()); }},
        {"decodeSessionHR", [](F c, int i, bool &) { return text(c.decodeSessionHR(i), &HeartRateRecord::sessionAverageHR, &HeartRateRecord::sessionMaxHR); }},
        {"decodePace", [](F c, int, bool &) { return text(c.decodePace(), &PaceRecord::sessionMaxPace, &PaceRecord::sessionAveragePace); }},
        {"decodeCS200Speed", [](F c, int, bool &) { return text(c.decodeCS200Speed(), &SpeedRecord::maxSpeed, &SpeedRecord::aveSpeed); }},
        {"decodeCS200Cadence", [](F c, int, bool &) { return text(c.decodeCS200Cadence(), &CadenceRecord::maxCadence, &CadenceRecord::aveCadence); }},
        {"decodeTimeBelowZone", [](F c, int, bool &) { return text(c.decodeTimeBelowZone()); }},
        {"decodeTimeInZone", [](F c, int, bool &) { return text(c.decodeTimeInZone()); }},
        {"decodeTimeAboveZone", [](F c, int, bool &) { return text(c.decodeTimeAboveZone()); }},
        {"decodeSportZones", [](F c, int, bool &) {
             const auto zones = c.decodeSportZones();
             QStringList parts;
             for (const SportZoneRecord &z : zones.value_or(std::vector<SportZoneRecord>{}))
                 parts.append(QStringLiteral("%1:%2-%3/%4").arg(z.sportZoneNumber).arg(z.limitLow).arg(z.limitHigh).arg(z.timeInZone));
             return zones ? parts.join(u' ') : QStringLiteral("none"); }},
        {"checkCS200Zones", [](F c, int, bool &) { return text(c.checkCS200Zones()); }},
        {"decodeCS200LimitType", [](F c, int, bool &) { return text(c.decodeCS200LimitType()); }},
        {"checkLapData", [](F c, int total, bool &) { return text(c.checkLapData(false, total)); }},
        {"checkLapDataFootPod", [](F c, int total, bool &) { return text(c.checkLapData(true, total)); }},
        {"lsbMsbToInt", [](F c, int i, bool &) { return text(std::optional<int>(c.lsbMsbToInt(i))); }},
    };
    return table;
}

} // namespace

TEST(FieldCodecs, TableOfCases)
{
    const QList<QStringList> rows = transferfiles::tableRows(QStringLiteral("codec-cases.txt"));
    ASSERT_GT(rows.size(), 70);
    for (const QStringList &row : rows) {
        SCOPED_TRACE(row.join(QStringLiteral(" | ")).toStdString());
        const QStringList call = row[0].split(u' ', Qt::SkipEmptyParts);
        const auto codec = codecs().find(call.value(0));
        ASSERT_NE(codec, codecs().end());
        bool flag = true;
        QString result = codec->second(FieldCodecs(transferfiles::bytesOf(row[1])), call.value(1).toInt(), flag);
        // Name bytes 192 to 255 have no defined character: only the length is checked.
        if (row[2].endsWith(QStringLiteral(" characters")))
            result = QStringLiteral("%1 characters").arg(result.size());
        if (!flag)
            result += QStringLiteral(", flag");
        EXPECT_EQ(result.toStdString(), row[2].toStdString());
    }
}
