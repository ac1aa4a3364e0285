#include "LayoutFixture.h"

using namespace layouttest;

namespace {

using CS200Layout = LayoutFixture;

// Laps ending at 12:00.0 and 25:30.0, at 5.2 and 11.0 units.
std::vector<CS200Lap> twoLaps()
{
    return {{tenths(0, 12, 0), 171, 151, 301, 88, 52}, {tenths(0, 25, 30), 172, 152, 302, 89, 110}};
}

} // namespace

TEST_F(CS200Layout, EveryKeyLandsInTheWatchsOwnUnits)
{
    ASSERT_TRUE(decodeRecording(cs200({.laps = twoLaps()})));
    const RunSession &s = newest();

    EXPECT_EQ(s.hrm, "CS200");
    EXPECT_EQ(s.importDate, kImportDate);
    EXPECT_EQ(s.sessionDate, QDateTime(QDate(2014, 6, 3), QTime(7, 45, 12)));
    EXPECT_EQ(s.sessionName, "CS200");
    EXPECT_EQ(s.sessionTotalTime, 45305); // 1:15:30.5
    EXPECT_EQ(s.sessionRideTime, 39102);  // 1:05:10.2
    EXPECT_EQ(s.sessionAverageHR, 130);
    EXPECT_EQ(s.sessionMaxHR, 165);
    EXPECT_EQ(s.userBirthday, QDateTime(QDate(1975, 6, 1), QTime(0, 0)));
    EXPECT_EQ(s.userLength, 182);
    EXPECT_EQ(s.userWeight, 1800);
    EXPECT_EQ(s.sessionCalories, 845);
    EXPECT_EQ(s.primitiveSessionTotalDistance(), 35200); // tenths times 100
    EXPECT_EQ(s.sessionMaxSpeed, 512);
    EXPECT_EQ(s.userMaxHR, 188);
    EXPECT_EQ(s.userSittingHR, 55);
    EXPECT_EQ(s.sessionAverageCadence, 85);
    EXPECT_EQ(s.sessionMaxCadence, 102);
    EXPECT_EQ(s.sessionLimitType, "Manual");
    EXPECT_EQ(s.sessionPaceData, true);
    EXPECT_EQ(s.sessionLaps, 2);
    EXPECT_FALSE(s.userVO2Max || s.userSex || s.userActivityLevel || s.sessionMaxPace || s.sessionFat);
    EXPECT_TRUE(s.sportZone.empty());

    ASSERT_EQ(s.limitZone.size(), 1u);
    const LimitZone &zone = s.limitZone[0];
    EXPECT_EQ(zone.zoneNumber, std::nullopt);
    EXPECT_EQ(zone.limitLow, 120);
    EXPECT_EQ(zone.limitHigh, 155);
    EXPECT_EQ(zone.timeInZone, tenths(0, 20, 10));
    EXPECT_EQ(zone.timeAboveZone, tenths(0, 3, 5));
    EXPECT_EQ(zone.timeBelowZone, tenths(0, 40, 0));

    ASSERT_EQ(s.lap.size(), 2u);
    const Lap &first = *s.lapWithNumber(1);
    const Lap &second = *s.lapWithNumber(2);
    EXPECT_EQ(first.timeInLap, 7200);
    EXPECT_EQ(first.distance, 5200);
    EXPECT_EQ(second.timeInLap, 8100);
    EXPECT_EQ(second.distance, 5800);
    EXPECT_EQ(first.maxHR, 171);
    EXPECT_EQ(first.averageHR, 151);
    EXPECT_EQ(second.endPace, 302);
    EXPECT_EQ(second.cadenceAverage, 89);
    EXPECT_FALSE(first.endHR || first.autoLap || first.averagePace);
    EXPECT_EQ(m_list.selectedSessions(), QList<const RunSession *>{&s});
}

TEST_F(CS200Layout, NoLimitsAndNoCadenceSensor)
{
    ASSERT_TRUE(decodeRecording(cs200({.limitFlags = 0x00, .laps = twoLaps()})));
    EXPECT_EQ(newest().sessionLimitType, "No limits");
    EXPECT_TRUE(newest().limitZone.empty());
    EXPECT_EQ(newest().lapWithNumber(1)->cadenceAverage, std::nullopt);

    ASSERT_TRUE(decodeRecording(cs200({.limitFlags = 0x42})));
    EXPECT_EQ(newest().sessionLimitType, "OwnZone");
    EXPECT_EQ(newest().limitZone.size(), 1u);
}

TEST_F(CS200Layout, NoLapOrOneLapOfTheRecordsOwnValues)
{
    ASSERT_TRUE(decodeRecording(cs200({.laps = {}})));
    EXPECT_EQ(newest().sessionLaps, 0);
    EXPECT_TRUE(newest().lap.empty());

    ASSERT_TRUE(decodeRecording(cs200({.laps = {twoLaps()[1]}})));
    ASSERT_EQ(newest().lap.size(), 1u);
    EXPECT_EQ(newest().lap[0].timeInLap, tenths(0, 25, 30));
    EXPECT_EQ(newest().lap[0].distance, 11000);
}

TEST_F(CS200Layout, LapWithoutValidTimeKeepsTheRunningTime)
{
    std::vector<CS200Lap> laps = twoLaps();
    laps.insert(laps.begin() + 1, CS200Lap{-1, 160, 150, 290, 80, 80});
    ASSERT_TRUE(decodeRecording(cs200({.laps = laps})));
    const RunSession &s = newest();
    EXPECT_EQ(s.lapWithNumber(2)->timeInLap, std::nullopt);
    EXPECT_EQ(s.lapWithNumber(2)->distance, 2800);
    EXPECT_EQ(s.lapWithNumber(3)->timeInLap, 8100); // counted from lap 1's end
    EXPECT_EQ(s.lapWithNumber(3)->distance, 3000);
    EXPECT_EQ(s.lapWithNumber(2)->averageCS200Speed(), 0.0f);
}

TEST_F(CS200Layout, SameTransferTwiceGivesTwoSessions)
{
    const TransferBuilder transfer = cs200({.laps = twoLaps()});
    ASSERT_TRUE(decodeRecording(transfer));
    ASSERT_TRUE(decodeRecording(transfer));
    EXPECT_EQ(m_context.sessionCount(), 2);
    EXPECT_EQ(*m_context.sessions().at(0), *m_context.sessions().at(1));
}

TEST_F(CS200Layout, UndoRemovesTheSessionWithLapsAndZone)
{
    ASSERT_TRUE(decodeRecording(cs200({.laps = twoLaps()})));
    const RunSession copy = newest();
    m_context.undoStack()->undo();
    EXPECT_EQ(m_context.sessionCount(), 0);
    EXPECT_TRUE(m_list.selectedSessions().isEmpty());
    m_context.undoStack()->redo();
    EXPECT_EQ(newest(), copy);
}
