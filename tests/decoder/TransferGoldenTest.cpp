// The decoder against data: each transfer against its golden sessions, every
// cut of a transfer, and the field codecs and model checks against their tables.
#include "TransferFiles.h"
#include "Decoder.h"
#include "FieldCodecs.h"
#include "ModelRecognizer.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace transferfiles;

namespace {

DecodeResult decode(const ByteArray &stream)
{
    Decoder decoder;
    decoder.setClock([] { return kImportDate; });
    decoder.setByteArray(stream);
    return decoder.decodeExtractedBytes();
}

QString goldenPath(const QString &name)
{
    return QDir(transfersDir()).filePath(name + QStringLiteral(".json"));
}

class TransferGolden : public testing::TestWithParam<QString>
{
};

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

// Every key the layouts read, compared whole with the golden file: a key that
// should not be there fails as much as a wrong value. VENTRIX_UPDATE_GOLDEN=1
// writes the files instead (look at the difference before committing it).
TEST_P(TransferGolden, DecodesToTheGoldenSessions)
{
    const QJsonObject decoded = toJson(decode(withLead(cleaned(GetParam()))));
    QFile golden(goldenPath(GetParam()));
    if (qEnvironmentVariableIsSet("VENTRIX_UPDATE_GOLDEN")) {
        ASSERT_TRUE(golden.open(QIODevice::WriteOnly));
        golden.write(QJsonDocument(decoded).toJson(QJsonDocument::Indented));
        return;
    }
    ASSERT_TRUE(golden.open(QIODevice::ReadOnly)) << golden.fileName().toStdString();
    EXPECT_EQ(QJsonDocument(decoded).toJson().toStdString(),
              QJsonDocument::fromJson(golden.readAll()).toJson().toStdString());
}

INSTANTIATE_TEST_SUITE_P(Transfers, TransferGolden, testing::ValuesIn(names()), [](const auto &info) {
    return QString(info.param).replace(u'-', u'_').toStdString();
});

// Every cut of a valid transfer: the check decides, and a field whose bytes
// were cut off stays without value instead of being read from beyond the end.
template <typename Check>
void forEveryCut(const char *name, Check check)
{
    const ByteArray full = synth::cleanedRoundTrip(cleaned(QString::fromLatin1(name)));
    for (std::size_t n = 0; n <= full.size(); ++n) {
        SCOPED_TRACE(std::string(name) + " cut at " + std::to_string(n));
        const DecodeResult result = decode(withLead(ByteArray(full.begin(), full.begin() + std::ptrdiff_t(n))));
        EXPECT_TRUE(result.dataMakesSense || !result.model);
        check(n, result);
    }
}

TEST(LayoutTruncation, FieldsCutOffStayWithoutValue)
{
    forEveryCut("rs200-foot-pod-pace-limits", [](std::size_t n, const DecodeResult &r) {
        // The fastest pace is read once bytes 129-130 are there, the average only from 139 on.
        const bool recognised = n >= 127 && !(n >= 131 && n < 139);
        ASSERT_EQ(r.sessions.size(), recognised ? 1u : 0u);
        if (!recognised)
            return;
        const RunSession &s = r.sessions.front();
        EXPECT_EQ(s.primitiveSessionTotalDistance().has_value(), n >= 129);
        EXPECT_EQ(s.sessionLaps.has_value(), n >= 133);
        EXPECT_EQ(s.lap.size(), n >= 139 + 12 * 3 ? 3u : 0u);
        EXPECT_EQ(s.sportZone.size(), 5u);
    });
    forEveryCut("cs200-two-laps", [](std::size_t n, const DecodeResult &r) {
        // The limits at 146 and 147 are the last field the check reads.
        ASSERT_EQ(r.sessions.size(), n >= 148 ? 1u : 0u);
        if (n >= 148)
            EXPECT_EQ(r.sessions.front().lap.size(), n >= 153 + 12 * 2 ? 2u : 0u);
    });
    // Record 1 (at 64) is the last marker checked; it is read once its start date is there.
    forEveryCut("f6-two-records", [](std::size_t n, const DecodeResult &r) {
        const std::size_t start1 = 64;
        ASSERT_EQ(r.model.has_value(), n > start1);
        ASSERT_EQ(r.sessions.size(), n <= start1 ? 0u : n >= start1 + 14 ? 2u : 1u);
        if (r.sessions.size() < 2)
            return;
        const RunSession &s = r.sessions.front();
        EXPECT_EQ(s.sessionTotalTime.has_value(), n >= start1 + 17);
        EXPECT_EQ(s.sessionCalories.has_value(), n >= start1 + 21);
        EXPECT_EQ(s.userMaxHR.has_value(), n >= start1 + 44);
    });
}

// One line of codec-cases.txt, one case.
TEST(FieldCodecs, TableOfCases)
{
    const QList<QStringList> rows = tableRows(QStringLiteral("decoder/codec-cases.txt"));
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

// The model checks against the table in recognition-cases.txt; the decode
// takes the first model whose check passes.
TEST(ModelRecognizer, TableOfCases)
{
    const QList<QStringList> rows = tableRows(QStringLiteral("decoder/recognition-cases.txt"));
    ASSERT_GT(rows.size(), 25);
    for (const QStringList &row : rows) {
        SCOPED_TRACE(row.join(QStringLiteral(" | ")).toStdString());
        const ByteArray bytes = transferfiles::bytesOf(row[0]);
        bool flag = false;
        ModelRecognizer recognizer(bytes, flag);
        QStringList passed;
        if (recognizer.checkF6Data())
            passed.append(watchModelName(WatchModel::F6));
        if (recognizer.checkRS200Data())
            passed.append(watchModelName(WatchModel::RS200));
        if (recognizer.checkCS200Data())
            passed.append(watchModelName(WatchModel::CS200));
        EXPECT_EQ(passed.isEmpty() ? QStringLiteral("none") : passed.join(u' '), row[1]);

        Decoder decoder;
        decoder.setByteArray(transferfiles::withLead(bytes));
        const DecodeResult result = decoder.decodeExtractedBytes();
        EXPECT_EQ(result.model ? watchModelName(*result.model) : QStringLiteral("none"), row[1].section(u' ', 0, 0));
    }
}
