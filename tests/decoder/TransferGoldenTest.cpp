#include "TransferFiles.h"

#include "Decoder.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

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
