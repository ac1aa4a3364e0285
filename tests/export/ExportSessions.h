#pragma once

#include "RunSession.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

// The sessions of the golden files in tests/export/golden/, one per model,
// filled as the watch layouts fill them. Members are stored out of order on
// purpose: the export must find laps and zones by their number.
namespace ExportSessions {

inline QDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

inline SportZone sportZone(std::optional<int> number, int low, int high, int time)
{
    SportZone zone;
    zone.zoneNumber = number;
    zone.limitLow = low;
    zone.limitHigh = high;
    zone.timeInZone = time;
    return zone;
}

inline LimitZone limitZone(std::optional<int> number, int low, int high, int below, int inside, int above)
{
    LimitZone zone;
    zone.zoneNumber = number;
    zone.limitLow = low;
    zone.limitHigh = high;
    zone.timeBelowZone = below;
    zone.timeInZone = inside;
    zone.timeAboveZone = above;
    return zone;
}

inline Lap lap(int number, int time, int averageHR, std::optional<int> endHR, int maxHR)
{
    Lap lap;
    lap.lapNumber = number;
    lap.timeInLap = time;
    lap.averageHR = averageHR;
    lap.endHR = endHR;
    lap.maxHR = maxHR;
    return lap;
}

inline Lap paceLap(int number, int time, int averageHR, int endHR, int maxHR, int distance,
                   int averagePace, int endPace)
{
    Lap paced = lap(number, time, averageHR, endHR, maxHR);
    paced.distance = distance;
    paced.averagePace = averagePace;
    paced.endPace = endPace;
    paced.autoLap = false;
    return paced;
}

inline RunSession f6()
{
    RunSession s;
    s.hrm = QStringLiteral("F6");
    s.sessionName = QStringLiteral("F6");
    s.importDate = at(2008, 7, 22, 10);
    s.sessionDate = at(2008, 7, 21, 18, 5, 33);
    s.sessionTotalTime = 27125;
    s.sessionAverageHR = 145;
    s.sessionMaxHR = 172;
    s.sessionCalories = 560;
    s.sessionFat = 30;
    s.userMaxHR = 190;
    SportZone inZone = sportZone(std::nullopt, 120, 160, 18004);
    inZone.name = QStringLiteral("In Zone");
    s.sportZone = {inZone};
    return s;
}

// Foot pod on, pace limits (the third with an upper limit of 0), three laps.
inline RunSession rs200WithFootPod()
{
    RunSession s;
    s.hrm = QStringLiteral("RS200");
    s.sessionName = QStringLiteral("MYRUN");
    s.importDate = at(2008, 7, 2, 12);
    s.sessionDate = at(2008, 7, 1, 7, 5, 3);
    s.comment = QStringLiteral("fast, \"hilly\" & <wet>");
    s.sessionTotalTime = 27125;
    s.sessionAverageHR = 145;
    s.sessionMaxHR = 172;
    s.sessionMaxSetHR = 190;
    s.sessionCalories = 560;
    s.setPrimitiveSessionTotalDistance(8450);
    s.sessionMaxPace = 2403;
    s.sessionLimitType = QStringLiteral("Pace Limits");
    s.sessionPaceData = true;
    s.sessionLaps = 3;
    s.userWeight = 1650;
    s.userLength = 180;
    s.userBirthday = at(1970, 3, 5);
    s.userMaxHR = 190;
    s.userSittingHR = 60;
    s.userVO2Max = 50;
    s.userSex = QStringLiteral("M");
    s.userActivityLevel = QStringLiteral("Moderate");
    s.sportZone = {sportZone(3, 70, 80, 9005), sportZone(1, 50, 60, 3000), sportZone(5, 90, 100, 4795),
                   sportZone(2, 60, 70, 6004), sportZone(4, 80, 90, 4321)};
    s.limitZone = {limitZone(2, 4500, 2400, 1000, 25000, 1125), limitZone(3, 3333, 0, 0, 27125, 0),
                   limitZone(1, 3600, 3000, 6000, 18000, 3125)};
    s.lap = {paceLap(3, 9000, 149, 168, 172, 2700, 3333, 3100),
             paceLap(1, 9000, 140, 150, 165, 2950, 3051, 2950),
             paceLap(2, 9125, 146, 158, 170, 2800, 3259, 0)};
    return s;
}

// No foot pod, HR limits (zone 2 names a sport zone), two laps, sport zone 5 missing.
inline RunSession rs200WithoutFootPod()
{
    RunSession s;
    s.hrm = QStringLiteral("RS200");
    s.sessionName = QStringLiteral("EASY");
    s.sessionDate = at(2008, 12, 31, 23, 59, 59);
    s.sessionTotalTime = 36000;
    s.sessionAverageHR = 130;
    s.sessionMaxHR = 150;
    s.sessionMaxSetHR = 185;
    s.sessionCalories = 700;
    s.sessionLimitType = QStringLiteral("HR Limits");
    s.sessionPaceData = false;
    s.sessionLaps = 2;
    s.userWeight = 1543;
    s.userLength = 172;
    s.userBirthday = at(1985, 11, 30);
    s.userMaxHR = 185;
    s.userSittingHR = 55;
    s.userVO2Max = 45;
    s.userSex = QStringLiteral("F");
    s.userActivityLevel = QStringLiteral("High");
    s.sportZone = {sportZone(4, 80, 90, 13194), sportZone(2, 60, 70, 7206), sportZone(1, 50, 60, 600),
                   sportZone(3, 70, 80, 15000)};
    s.limitZone = {limitZone(2, 3, 0, 12000, 15000, 9000), limitZone(1, 130, 150, 9000, 21000, 6000)};
    s.lap = {lap(2, 18000, 132, 149, 150), lap(1, 18000, 128, 135, 145)};
    return s;
}

// "Manual" limits in the one unnumbered limit zone a CS200 stores; two laps.
inline RunSession cs200()
{
    RunSession s;
    s.hrm = QStringLiteral("CS200");
    s.sessionName = QStringLiteral("CS200");
    s.sessionDate = at(2009, 5, 1, 9, 30);
    s.sessionTotalTime = 54321;
    s.sessionRideTime = 50000;
    s.sessionAverageHR = 138;
    s.sessionMaxHR = 171;
    s.sessionCalories = 1200;
    s.setPrimitiveSessionTotalDistance(40255);
    s.sessionMaxSpeed = 452;
    s.sessionAverageCadence = 85;
    s.sessionMaxCadence = 110;
    s.sessionLimitType = QStringLiteral("Manual");
    s.sessionPaceData = true;
    s.sessionLaps = 2;
    s.userWeight = 1800;
    s.userLength = 185;
    s.userBirthday = at(1975, 6, 15);
    s.userMaxHR = 188;
    s.userSittingHR = 58;
    s.limitZone = {limitZone(std::nullopt, 120, 160, 6000, 40000, 8321)};
    Lap first = lap(1, 25000, 130, std::nullopt, 160);
    first.endPace = 255;
    first.distance = 20000;
    first.cadenceAverage = 84;
    Lap second = lap(2, 25000, 146, std::nullopt, 171);
    second.endPace = 301;
    second.distance = 20255;
    second.cadenceAverage = 86;
    s.lap = {second, first};
    return s;
}

} // namespace ExportSessions
