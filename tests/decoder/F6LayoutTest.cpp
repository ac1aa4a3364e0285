#include "LayoutFixture.h"

#include <QDirIterator>

using namespace layouttest;

namespace {

QDateTime at(int day, int hour)
{
    return QDateTime(QDate(2009, 5, day), QTime(hour, 15, 42));
}

F6Record record(int day)
{
    F6Record r;
    r.start = at(day, 7);
    r.averageHR = 120 + day;
    r.maxHR = 160 + day;
    r.calories = 300 + 256 * day;
    r.fat = 20 + day;
    r.zoneTime = tenths(0, 25, 10 + day);
    r.zoneLow = 110;
    r.zoneHigh = 150 + day;
    r.userMaxHR = 185 + day;
    return r;
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
    ASSERT_TRUE(decodeRecording(f6({record(1), record(2)})));
    ASSERT_EQ(m_context.sessionCount(), 2);

    const RunSession &s = *m_context.sessions().at(0); // record 1
    EXPECT_EQ(s.hrm, "F6");
    EXPECT_EQ(s.sessionName, "F6");
    EXPECT_EQ(s.importDate, kImportDate);
    EXPECT_EQ(s.sessionDate, at(1, 7));
    EXPECT_EQ(s.sessionTotalTime, 54050); // 1:30:05
    EXPECT_EQ(s.sessionAverageHR, 121);
    EXPECT_EQ(s.sessionMaxHR, 161);
    EXPECT_EQ(s.userMaxHR, 186);
    EXPECT_EQ(s.sessionCalories, 556);
    EXPECT_EQ(s.sessionFat, 21);
    ASSERT_EQ(s.sportZone.size(), 1u);
    EXPECT_EQ(s.sportZone[0].name, "In Zone");
    EXPECT_EQ(s.sportZone[0].zoneNumber, std::nullopt);
    EXPECT_EQ(s.sportZone[0].limitLow, 110);
    EXPECT_EQ(s.sportZone[0].limitHigh, 151);
    EXPECT_EQ(s.sportZone[0].timeInZone, tenths(0, 25, 11));
    // What only the other watches report stays without value.
    EXPECT_FALSE(s.sessionPaceData || s.sessionLaps || s.sessionLimitType || s.primitiveSessionTotalDistance());
    EXPECT_TRUE(s.lap.empty() && s.limitZone.empty());

    // The record lying lowest in the array is inserted last and stays selected.
    EXPECT_EQ(m_list.selectedSessions(), QList<const RunSession *>{m_context.sessions().at(1)});
}

TEST_F(F6Layout, SkipsRecordsStoredBeforeOrRepeatedInTheSameTransfer)
{
    RunSession stored;
    stored.sessionDate = at(2, 7);
    m_context.insertSession(std::move(stored));

    F6Record repeat = record(4); // same start as record 1, other values
    repeat.start = at(1, 7);
    ASSERT_TRUE(decodeRecording(f6({record(1), record(2), record(3), repeat})));
    EXPECT_EQ(storedDates(m_context), (QList<QDateTime>{at(2, 7), at(1, 7), at(3, 7)}));
    EXPECT_EQ(m_context.sessions().at(1)->sessionAverageHR, 121); // the first of the two records
}

TEST_F(F6Layout, SameMemoryTwiceAddsNothingButStillSavesAndExports)
{
    const QString folder = autoExportFolder();
    const TransferBuilder memory = f6({record(1), record(2), record(3)});
    ASSERT_TRUE(decodeRecording(memory));
    ASSERT_TRUE(decodeRecording(memory));

    EXPECT_EQ(m_context.sessionCount(), 3);
    EXPECT_FALSE(m_context.hasChanges());
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 2);
    EXPECT_EQ(m_context.undoStack()->count(), 1); // the second transfer left no empty undo step
}

TEST_F(F6Layout, RecordWithMonthZeroIsSkippedAndTheDecodeFails)
{
    F6Record broken = record(2);
    broken.month = 0;
    EXPECT_FALSE(decodeRecording(f6({record(1), broken, record(3)})));
    EXPECT_EQ(m_decoder.recognisedModel(), WatchModel::F6);
    EXPECT_EQ(storedDates(m_context), (QList<QDateTime>{at(1, 7), at(3, 7)}));
}

TEST_F(F6Layout, ImplausibleDurationLeavesItWithoutValue)
{
    TransferBuilder memory = f6({record(1)});
    const int start = f6RecordStart(1, 1);
    memory.byte(start + 15, 0x60);                // 60 minutes
    memory.byte(start + 24, 0x75);                // zone time of 75 minutes
    ASSERT_TRUE(decodeRecording(memory));
    EXPECT_EQ(newest().sessionTotalTime, std::nullopt);
    EXPECT_EQ(newest().sportZone.at(0).timeInZone, std::nullopt);
    EXPECT_EQ(newest().sessionAverageHR, 121);
}

TEST_F(F6Layout, UndoRemovesTheWholeTransferAndRedoBringsItBack)
{
    ASSERT_TRUE(decodeRecording(f6({record(1), record(2)})));
    const QList<const RunSession *> inserted = m_context.sessions();

    m_context.undoStack()->undo();
    EXPECT_EQ(m_context.sessionCount(), 0);
    EXPECT_TRUE(m_list.arrangedSessions().isEmpty());

    m_context.undoStack()->redo();
    EXPECT_EQ(m_context.sessions(), inserted);
    EXPECT_EQ(inserted.at(1)->sportZone.at(0).limitHigh, 152);
}
