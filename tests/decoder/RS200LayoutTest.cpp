#include "LayoutFixture.h"

using namespace layouttest;

namespace {

using RS200Layout = LayoutFixture;

std::vector<std::optional<int>> lapValues(const RunSession &s, std::optional<int> Lap::*key)
{
    std::vector<std::optional<int>> values;
    for (int number = 1; number <= int(s.lap.size()); ++number)
        values.push_back(s.lapWithNumber(number)->*key);
    return values;
}

using Values = std::vector<std::optional<int>>;

} // namespace

TEST_F(RS200Layout, EveryKeyLandsWithItsUnitWithFootPodAndPaceLimits)
{
    RS200Options options{.footPod = true, .limitsOn = true, .paceLimits = true,
                         .limits = {2500, 3500, 2600, 3600, 2700, 3700}, .lapCount = 3, .laps = rs200ThreeLaps()};
    ASSERT_TRUE(decodeRecording(rs200(options)));
    const RunSession &s = newest();

    EXPECT_EQ(std::tuple(s.hrm, s.importDate, s.sessionName, s.sessionDate),
              std::tuple("RS200", kImportDate, "Races", QDateTime(QDate(2013, 1, 15), QTime(14, 30, 0))));
    EXPECT_EQ(std::tuple(s.userWeight, s.userLength, s.userMaxHR, s.userVO2Max, s.userSittingHR),
              std::tuple(1543, 178, 190, 52, 58));
    EXPECT_EQ(std::tuple(s.userBirthday, s.userSex, s.userActivityLevel),
              std::tuple(QDateTime(QDate(1980, 2, 29), QTime(0, 0)), "F", "Moderate"));
    EXPECT_EQ(std::tuple(s.sessionPaceData, s.sessionMaxPace, s.sessionLimitType), std::tuple(true, 2400, "Pace Limits"));
    EXPECT_EQ(s.primitiveSessionTotalDistance(), 12340); // metres
    EXPECT_EQ(std::tuple(s.sessionTotalTime, s.sessionMaxSetHR, s.sessionAverageHR, s.sessionMaxHR, s.sessionCalories,
                         s.sessionLaps),
              std::tuple(9000, 185, 142, 171, 612, 3));
    EXPECT_FALSE(s.sessionFat || s.sessionRideTime || s.sessionMaxSpeed || s.sessionAverageCadence);

    ASSERT_EQ(s.limitZone.size(), 3u);
    const LimitZone &third = *s.limitZoneWithNumber(3);
    EXPECT_EQ(std::tuple(third.limitLow, third.limitHigh, third.timeBelowZone, third.timeInZone, third.timeAboveZone),
              std::tuple(2700, 3700, tenths(0, 12, 1), tenths(0, 22, 2), tenths(1, 2, 3)));
    ASSERT_EQ(s.sportZone.size(), 5u);
    const SportZone &zone4 = *s.sportZoneWithNumber(4);
    EXPECT_EQ(std::tuple(zone4.limitLow, zone4.limitHigh, zone4.timeInZone), std::tuple(80, 89, tenths(0, 4, 30)));
    EXPECT_EQ(zone4.name, std::nullopt);

    ASSERT_EQ(s.lap.size(), 3u);
    EXPECT_EQ(lapValues(s, &Lap::timeInLap), (Values{2700, 3300, 3000}));
    EXPECT_EQ(lapValues(s, &Lap::distance), (Values{1500, 1600, 2100}));
    EXPECT_EQ(lapValues(s, &Lap::endPace), (Values{3100, 3000, 2900}));
    EXPECT_EQ(lapValues(s, &Lap::averagePace), (Values{3200, 3050, 2950}));
    EXPECT_EQ(lapValues(s, &Lap::endHR), (Values{150, 160, 170}));
    EXPECT_EQ(lapValues(s, &Lap::averageHR), (Values{140, 150, 160}));
    EXPECT_EQ(lapValues(s, &Lap::maxHR), (Values{155, 165, 175}));
    EXPECT_EQ(s.lapWithNumber(2)->autoLap, true);
    EXPECT_EQ(s.lapWithNumber(3)->autoLap, false);
    EXPECT_EQ(s.lapWithNumber(1)->cadenceAverage, std::nullopt);

    EXPECT_EQ(m_list.selectedSessions(), QList<const RunSession *>{&s});
}

TEST_F(RS200Layout, WithoutFootPodNoDistanceNoPaceAndShortLapRecords)
{
    ASSERT_TRUE(decodeRecording(rs200({.lapCount = 3, .laps = rs200ThreeLaps()})));
    const RunSession &s = newest();
    EXPECT_EQ(s.sessionPaceData, false);
    EXPECT_EQ(s.primitiveSessionTotalDistance(), std::nullopt);
    EXPECT_EQ(s.sessionMaxPace, std::nullopt);
    EXPECT_EQ(lapValues(s, &Lap::timeInLap), (Values{2700, 3300, 3000}));
    EXPECT_EQ(lapValues(s, &Lap::distance), (Values{std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(lapValues(s, &Lap::endPace), (Values{std::nullopt, std::nullopt, std::nullopt}));
    EXPECT_EQ(s.lapWithNumber(2)->autoLap, true);
}

TEST_F(RS200Layout, LimitZonesFollowTheLimitType)
{
    ASSERT_TRUE(decodeRecording(rs200({.limits = {120, 150, 130, 160}})));
    const RunSession &none = newest();
    EXPECT_EQ(none.sessionLimitType, "No Limits");
    ASSERT_EQ(none.limitZone.size(), 3u);
    EXPECT_EQ(none.limitZoneWithNumber(2)->limitLow, std::nullopt);
    EXPECT_EQ(none.limitZoneWithNumber(2)->timeInZone, tenths(0, 21, 2));

    ASSERT_TRUE(decodeRecording(rs200({.limitsOn = true, .limits = {120, 150, 0, 160, 130, 170}})));
    const RunSession &hr = newest();
    EXPECT_EQ(hr.sessionLimitType, "HR Limits");
    ASSERT_EQ(hr.limitZone.size(), 1u); // a zero lower limit ends the zones
    EXPECT_EQ(hr.limitZone[0].zoneNumber, 1);
    EXPECT_EQ(hr.limitZone[0].limitLow, 120);
    EXPECT_EQ(hr.limitZone[0].limitHigh, 150);

    // A lower limit with an upper limit of 0 names a sport zone; it is stored as given.
    ASSERT_TRUE(decodeRecording(rs200({.limitsOn = true, .limits = {3, 0, 140, 170}})));
    const RunSession &sportZoneLimits = newest();
    ASSERT_EQ(sportZoneLimits.limitZone.size(), 2u);
    EXPECT_EQ(sportZoneLimits.limitZoneWithNumber(1)->limitLow, 3);
    EXPECT_EQ(sportZoneLimits.limitZoneWithNumber(1)->limitHigh, 0);
}

TEST_F(RS200Layout, OneLapGivesNoLapObjects)
{
    ASSERT_TRUE(decodeRecording(rs200({.lapCount = 1})));
    EXPECT_EQ(newest().sessionLaps, 1);
    EXPECT_TRUE(newest().lap.empty());
}

TEST_F(RS200Layout, LapCumulativeValueBelowTheNextRecordsHasNoDifference)
{
    // Lap 2 ends before lap 1 does, in time and in distance.
    std::vector<RS200Lap> laps = rs200ThreeLaps();
    laps[1].cumulativeTime = tenths(0, 3, 0);
    laps[1].cumulativeDistance = 100;
    ASSERT_TRUE(decodeRecording(rs200({.footPod = true, .lapCount = 3, .laps = laps})));
    const RunSession &s = newest();
    EXPECT_EQ(lapValues(s, &Lap::timeInLap), (Values{2700, std::nullopt, 7200}));
    EXPECT_EQ(lapValues(s, &Lap::distance), (Values{1500, std::nullopt, 4200}));
}

TEST_F(RS200Layout, UndoRemovesTheSessionWithLapsAndZonesAndRedoRestoresThem)
{
    ASSERT_TRUE(decodeRecording(rs200({.limitsOn = true, .limits = {120, 150}, .lapCount = 3, .laps = rs200ThreeLaps()})));
    const RunSession copy = newest();

    m_context.undoStack()->undo();
    EXPECT_EQ(m_context.sessionCount(), 0);
    m_context.undoStack()->redo();
    ASSERT_EQ(m_context.sessionCount(), 1);
    EXPECT_EQ(newest(), copy);
    EXPECT_EQ(newest().lap.size(), 3u);
    EXPECT_EQ(newest().limitZone.size(), 1u);
}
