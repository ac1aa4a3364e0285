#pragma once

#include "RunSession.h"

// Sessions as the three watch layouts store them, with round figures that make
// the expected texts easy to work out by hand.
namespace ExampleSessions {

inline SportZone sportZone(int number, int low, int high, int tenths)
{
    SportZone zone;
    zone.zoneNumber = number;
    zone.limitLow = low;
    zone.limitHigh = high;
    zone.timeInZone = tenths;
    return zone;
}

inline LimitZone limitZone(std::optional<int> number, int low, int high, int below, int in, int above)
{
    LimitZone zone;
    zone.zoneNumber = number;
    zone.limitLow = low;
    zone.limitHigh = high;
    zone.timeBelowZone = below;
    zone.timeInZone = in;
    zone.timeAboveZone = above;
    return zone;
}

// 1:01:01.5 with one zone of 50 minutes.
inline RunSession f6()
{
    RunSession s;
    s.hrm = QStringLiteral("F6");
    s.sessionName = QStringLiteral("F6");
    s.sessionTotalTime = 36615;
    s.sessionAverageHR = 145;
    s.sessionMaxHR = 170;
    s.sessionCalories = 650;
    s.userMaxHR = 190;
    SportZone zone;
    zone.name = QStringLiteral("In Zone");
    zone.limitLow = 120;
    zone.limitHigh = 160;
    zone.timeInZone = 30000;
    s.sportZone = {zone};
    return s;
}

// 30 minutes over 5,000 m with the foot pod, HR limits and two laps.
// Members are stored out of order: readers must go by number.
inline RunSession rs200()
{
    RunSession s;
    s.hrm = QStringLiteral("RS200");
    s.sessionName = QStringLiteral("TEMPO");
    s.sessionTotalTime = 18000;
    s.sessionAverageHR = 150;
    s.sessionMaxHR = 180;
    s.sessionCalories = 400;
    s.setPrimitiveSessionTotalDistance(5000);
    s.sessionMaxPace = 2400;
    s.sessionLimitType = QStringLiteral("HR Limits");
    s.sessionPaceData = true;
    s.sessionLaps = 2;
    s.userMaxHR = 190;
    s.sportZone = {sportZone(3, 70, 80, 12000), sportZone(1, 50, 60, 3000), sportZone(5, 90, 100, 3000),
                   sportZone(2, 60, 70, 6000), sportZone(4, 80, 90, 6000)};
    s.limitZone = {limitZone(2, 3, 0, 600, 1200, 16200), limitZone(1, 120, 160, 1800, 12000, 4200),
                   limitZone(3, 130, 150, 3000, 9000, 6000)};
    Lap second;
    second.lapNumber = 2;
    second.timeInLap = 8995;
    second.averageHR = 152;
    second.maxHR = 180;
    second.endPace = 0;
    second.averagePace = 3590;
    second.distance = 2500;
    Lap first;
    first.lapNumber = 1;
    first.timeInLap = 9005;
    first.averageHR = 148;
    first.maxHR = 170;
    first.endHR = 165;
    first.autoLap = false;
    first.endPace = 3500;
    first.averagePace = 3600;
    first.distance = 2500;
    s.lap = {second, first};
    return s;
}

// A ride of 27.5 units in 55 minutes, with cadence, manual limits and two laps.
inline RunSession cs200()
{
    RunSession s;
    s.hrm = QStringLiteral("CS200");
    s.sessionName = QStringLiteral("CS200");
    s.sessionTotalTime = 36000;
    s.sessionRideTime = 33000;
    s.sessionAverageHR = 140;
    s.sessionMaxHR = 175;
    s.sessionCalories = 800;
    s.setPrimitiveSessionTotalDistance(27500);
    s.sessionMaxSpeed = 452;
    s.sessionAverageCadence = 85;
    s.sessionMaxCadence = 110;
    s.sessionLimitType = QStringLiteral("Manual");
    s.sessionPaceData = true;
    s.sessionLaps = 2;
    s.userMaxHR = 190;
    s.limitZone = {limitZone(std::nullopt, 120, 150, 600, 1800, 1200)};
    Lap first;
    first.lapNumber = 1;
    first.timeInLap = 18000;
    first.averageHR = 138;
    first.maxHR = 170;
    first.endPace = 300;
    first.distance = 15000;
    first.cadenceAverage = 84;
    Lap second;
    second.lapNumber = 2;
    second.timeInLap = 15000;
    second.averageHR = 142;
    second.maxHR = 175;
    second.endPace = 255;
    second.distance = 12000;
    s.lap = {first, second};
    return s;
}

} // namespace ExampleSessions
