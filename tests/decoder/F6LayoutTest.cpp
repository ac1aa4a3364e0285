#include "LayoutFixture.h"

#include <QDirIterator>

using namespace layouttest;

namespace {

QDateTime at(int day)
{
    return QDateTime(QDate(2009, 5, day), QTime(7, 15, 42));
}

QList<QDateTime> storedDates(const ObjectContext &context)
{
    QList<QDateTime> dates;
    for (const RunSession *session : context.sessions())
        dates.append(*session->sessionDate);
    return dates;
}

using F6Layout = LayoutFixture;

} // namespace

TEST_F(F6Layout, EveryRecordKeyLandsInTenthsAndBpm)
{
    ASSERT_TRUE(decodeRecording(f6({f6Record(1), f6Record(2)})));
    ASSERT_EQ(m_context.sessionCount(), 2);

    const RunSession &s = *m_context.sessions().at(0); // record 1
    EXPECT_EQ(std::tuple(s.hrm, s.sessionName, s.importDate, s.sessionDate), std::tuple("F6", "F6", kImportDate, at(1)));
    EXPECT_EQ(s.sessionTotalTime, 54050); // 1:30:05
    EXPECT_EQ(std::tuple(s.sessionAverageHR, s.sessionMaxHR, s.userMaxHR, s.sessionCalories, s.sessionFat),
              std::tuple(121, 161, 186, 556, 21));
    ASSERT_EQ(s.sportZone.size(), 1u);
    const SportZone &zone = s.sportZone[0];
    EXPECT_EQ(std::tuple(zone.name, zone.zoneNumber, zone.limitLow, zone.limitHigh, zone.timeInZone),
              std::tuple("In Zone", std::nullopt, 110, 151, tenths(0, 25, 11)));
    // What only the other watches report stays without value.
    EXPECT_FALSE(s.sessionPaceData || s.sessionLaps || s.sessionLimitType || s.primitiveSessionTotalDistance());
    EXPECT_TRUE(s.lap.empty() && s.limitZone.empty());

    // The record lying lowest in the array is inserted last and stays selected.
    EXPECT_EQ(m_list.selectedSessions(), QList<const RunSession *>{m_context.sessions().at(1)});
}

TEST_F(F6Layout, SkipsRecordsStoredBeforeOrRepeatedInTheSameTransfer)
{
    RunSession stored;
    stored.sessionDate = at(2);
    m_context.insertSession(std::move(stored));

    F6Record repeat = f6Record(4); // same start as record 1, other values
    repeat.start = at(1);
    ASSERT_TRUE(decodeRecording(f6({f6Record(1), f6Record(2), f6Record(3), repeat})));
    EXPECT_EQ(storedDates(m_context), (QList<QDateTime>{at(2), at(1), at(3)}));
    EXPECT_EQ(m_context.sessions().at(1)->sessionAverageHR, 121); // the first of the two records
}

TEST_F(F6Layout, SameMemoryTwiceAddsNothingButStillSavesAndExports)
{
    const QString folder = autoExportFolder();
    const TransferBuilder memory = f6({f6Record(1), f6Record(2), f6Record(3)});
    ASSERT_TRUE(decodeRecording(memory));
    ASSERT_TRUE(decodeRecording(memory));

    EXPECT_EQ(m_context.sessionCount(), 3);
    EXPECT_FALSE(m_context.hasChanges());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(m_context.undoStack()->count(), 1); // the second transfer left no empty undo step
}

TEST_F(F6Layout, RecordWithMonthZeroIsSkippedAndTheDecodeFails)
{
    F6Record broken = f6Record(2);
    broken.month = 0;
    EXPECT_FALSE(decodeRecording(f6({f6Record(1), broken, f6Record(3)})));
    EXPECT_EQ(m_decoder.recognisedModel(), WatchModel::F6);
    EXPECT_EQ(storedDates(m_context), (QList<QDateTime>{at(1), at(3)}));
}

TEST_F(F6Layout, ImplausibleDurationLeavesItWithoutValue)
{
    TransferBuilder memory = f6({f6Record(1)});
    const int start = f6RecordStart(1, 1);
    memory.byte(start + 15, 0x60);                // 60 minutes
    memory.byte(start + 24, 0x75);                // zone time of 75 minutes
    ASSERT_TRUE(decodeRecording(memory));
    EXPECT_EQ(newest().sessionTotalTime, std::nullopt);
    EXPECT_EQ(newest().sportZone.at(0).timeInZone, std::nullopt);
    EXPECT_EQ(newest().sessionAverageHR, 121);
}
