#include "StoreFile.h"
#include "StoreFileTestSupport.h"
#include "StoreFileWriter.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Saves sessions and metadata, reads them back.
StoreLoadResult roundTrip(const std::vector<RunSession> &sessions, const QVariantMap &metadata = {})
{
    QTemporaryDir folder;
    const StoreFile file(folder.filePath("Ventrix.xml"));
    const SaveResult saved = file.save(pointers(sessions), metadata);
    EXPECT_TRUE(saved.ok) << qPrintable(saved.errorMessage);
    StoreLoadResult loaded = file.load();
    EXPECT_TRUE(loaded.ok) << qPrintable(loaded.errorMessage);
    return loaded;
}

// QDateTime's == compares instants only; a date must also come back in its
// own kind of time.
void expectSameDate(const QDateTime &expected, const QDateTime &actual)
{
    ASSERT_EQ(expected.isValid(), actual.isValid());
    EXPECT_EQ(expected, actual);
    EXPECT_EQ(expected.timeSpec(), actual.timeSpec());
    EXPECT_EQ(expected.offsetFromUtc(), actual.offsetFromUtc());
    EXPECT_EQ(expected.date(), actual.date());
    EXPECT_EQ(expected.time(), actual.time());
    if (expected.timeSpec() == Qt::TimeZone) {
        EXPECT_EQ(expected.timeZone().id(), actual.timeZone().id());
    }
}

} // namespace

TEST(StoreFile, EveryKeyTextAndDateSurvivesSaveAndReopen)
{
    std::vector<RunSession> sessions = awkwardSessions();
    // Zeros and extremes that must not turn into absent or other values.
    RunSession &zeros = sessions.emplace_back();
    zeros.sessionTotalTime = 0;
    zeros.setPrimitiveSessionTotalDistance(0);
    zeros.hidden = false;
    zeros.lap.emplace_back();
    zeros.lap.push_back(Lap{0, 0, 0, 0, 0, false, 0, 0, 0, 0});
    RunSession &extremes = sessions.emplace_back();
    extremes.sessionTotalTime = INT_MAX;
    extremes.sessionAverageHR = INT_MIN;
    extremes.sessionCalories = -1;
    extremes.lap.push_back(Lap{-7, INT_MIN, INT_MAX, std::nullopt, -0, std::nullopt, 1, std::nullopt, -2147483647, 0});

    const StoreLoadResult loaded = roundTrip(sessions);
    ASSERT_EQ(loaded.contents.sessions, sessions);
    EXPECT_FALSE(loaded.contents.sessions[sessions.size() - 2].sessionAverageHR.has_value());
    for (size_t i = 0; i < sessions.size(); ++i) {
        if (!sessions[i].sessionDate)
            continue;
        SCOPED_TRACE(qPrintable(sessions[i].sessionDate->toString(Qt::ISODateWithMs)));
        expectSameDate(*sessions[i].sessionDate, *loaded.contents.sessions[i].sessionDate);
        expectSameDate(*sessions[i].userBirthday, *loaded.contents.sessions[i].userBirthday);
    }
}

TEST(StoreFile, KeepsTypedMetadata)
{
    const QVariantMap metadata = typedMetadata();
    const QVariantMap reread = roundTrip({everyKeySession(3)}, metadata).contents.metadata;
    EXPECT_EQ(reread, metadata);
    EXPECT_EQ(reread.value("VXDataVersion").typeId(), QMetaType::Int);
    EXPECT_EQ(reread.value("flag").typeId(), QMetaType::Bool);
}

// A file written before sessions could carry the noisy mark reads unmarked and is written back as it was.
TEST(StoreFile, FileFromBeforeTheNoisyMarkReadsUnmarkedAndIsWrittenAsItWas)
{
    const QByteArray before = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VentrixStore formatVersion=\"1\">\n"
                              "    <metadata/>\n    <RunSession hrm=\"F6\" sessionCalories=\"560\" comment=\"old\"/>\n"
                              "</VentrixStore>\n";
    const std::optional<StoreContents> read = StoreFileReader::read(before, nullptr);
    ASSERT_TRUE(read);
    const std::optional<QByteArray> written = StoreFileWriter::write(pointers(read->sessions), read->metadata, nullptr);
    EXPECT_EQ(written.value_or(QByteArray()).toStdString(), before.toStdString());
}
