#include "LayoutFixture.h"

using namespace layouttest;

using CS200Layout = LayoutFixture;

TEST_F(CS200Layout, EveryKeyLandsInTheWatchsOwnUnits)
{
    ASSERT_TRUE(decodeRecording(cs200({.laps = cs200TwoLaps()})));
    const RunSession &s = newest();

    EXPECT_EQ(std::tuple(s.hrm, s.importDate, s.sessionName, s.sessionDate, s.sessionLimitType),
              std::tuple("CS200", kImportDate, "CS200", QDateTime(QDate(2014, 6, 3), QTime(7, 45, 12)), "Manual"));
    EXPECT_EQ(std::tuple(s.sessionTotalTime, s.sessionRideTime), std::tuple(45305, 39102)); // 1:15:30.5, 1:05:10.2
    EXPECT_EQ(std::tuple(s.sessionAverageHR, s.sessionMaxHR, s.sessionCalories, s.sessionLaps),
              std::tuple(130, 165, 845, 2));
    EXPECT_EQ(std::tuple(s.userBirthday, s.userLength, s.userWeight, s.userMaxHR, s.userSittingHR),
              std::tuple(QDateTime(QDate(1975, 6, 1), QTime(0, 0)), 182, 1800, 188, 55));
    EXPECT_EQ(s.primitiveSessionTotalDistance(), 35200); // tenths times 100
    EXPECT_EQ(std::tuple(s.sessionMaxSpeed, s.sessionAverageCadence, s.sessionMaxCadence, s.sessionPaceData),
              std::tuple(512, 85, 102, true));
    EXPECT_FALSE(s.userVO2Max || s.userSex || s.userActivityLevel || s.sessionMaxPace || s.sessionFat);
    EXPECT_TRUE(s.sportZone.empty());

    ASSERT_EQ(s.limitZone.size(), 1u);
    const LimitZone &zone = s.limitZone[0];
    EXPECT_EQ(zone.zoneNumber, std::nullopt);
    EXPECT_EQ(std::tuple(zone.limitLow, zone.limitHigh, zone.timeInZone, zone.timeAboveZone, zone.timeBelowZone),
              std::tuple(120, 155, tenths(0, 20, 10), tenths(0, 3, 5), tenths(0, 40, 0)));

    ASSERT_EQ(s.lap.size(), 2u);
    const Lap &first = *s.lapWithNumber(1);
    const Lap &second = *s.lapWithNumber(2);
    EXPECT_EQ(std::tuple(first.timeInLap, first.distance, second.timeInLap, second.distance),
              std::tuple(7200, 5200, 8100, 5800));
    EXPECT_EQ(std::tuple(first.maxHR, first.averageHR, second.endPace, second.cadenceAverage),
              std::tuple(171, 151, 302, 89));
    EXPECT_FALSE(first.endHR || first.autoLap || first.averagePace);
    EXPECT_EQ(m_list.selectedSessions(), QList<const RunSession *>{&s});
}

TEST_F(CS200Layout, NoLimitsAndNoCadenceSensor)
{
    ASSERT_TRUE(decodeRecording(cs200({.limitFlags = 0x00, .laps = cs200TwoLaps()})));
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

    ASSERT_TRUE(decodeRecording(cs200({.laps = {cs200TwoLaps()[1]}})));
    ASSERT_EQ(newest().lap.size(), 1u);
    EXPECT_EQ(newest().lap[0].timeInLap, tenths(0, 25, 30));
    EXPECT_EQ(newest().lap[0].distance, 11000);
}

TEST_F(CS200Layout, LapWithoutValidTimeKeepsTheRunningTime)
{
    std::vector<CS200Lap> laps = cs200TwoLaps();
    laps.insert(laps.begin() + 1, CS200Lap{-1, 160, 150, 290, 80, 80});
    ASSERT_TRUE(decodeRecording(cs200({.laps = laps})));
    const RunSession &s = newest();
    EXPECT_EQ(s.lapWithNumber(2)->timeInLap, std::nullopt);
    EXPECT_EQ(s.lapWithNumber(2)->distance, 2800);
    EXPECT_EQ(s.lapWithNumber(3)->timeInLap, 8100); // counted from lap 1's end
    EXPECT_EQ(s.lapWithNumber(3)->distance, 3000);
    EXPECT_EQ(s.lapWithNumber(2)->averageCS200Speed(), 0.0f);
}
