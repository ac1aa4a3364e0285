#pragma once

#include "RunSession.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include <gtest/gtest.h>

#include <initializer_list>

// The sessions of the golden files in tests/export/golden/, one per model,
// filled as the watch layouts fill them. Members are stored out of order on
// purpose: the export must find laps and zones by their number.
namespace ExportSessions {

inline QDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// A session filled by key name, as the store file fills it.
inline RunSession session(std::initializer_list<std::pair<const char *, QVariant>> values)
{
    RunSession s;
    for (const auto &[key, value] : values) {
        if (!s.setPrimitiveValue(QString::fromLatin1(key), value))
            ADD_FAILURE() << "cannot store " << key;
    }
    return s;
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

inline Lap paceLap(int number, int time, int averageHR, int endHR, int maxHR, int distance, int averagePace,
                   int endPace)
{
    Lap paced = lap(number, time, averageHR, endHR, maxHR);
    paced.distance = distance;
    paced.averagePace = averagePace;
    paced.endPace = endPace;
    paced.autoLap = false;
    return paced;
}

inline Lap cs200Lap(int number, int time, int averageHR, int maxHR, int endPace, int distance, int cadence)
{
    Lap made = lap(number, time, averageHR, std::nullopt, maxHR);
    made.endPace = endPace;
    made.distance = distance;
    made.cadenceAverage = cadence;
    return made;
}

inline RunSession f6()
{
    RunSession s = session({{"hrm", "F6"}, {"sessionName", "F6"}, {"importDate", at(2008, 7, 22, 10)},
                            {"sessionDate", at(2008, 7, 21, 18, 5, 33)}, {"sessionTotalTime", 27125},
                            {"sessionAverageHR", 145}, {"sessionMaxHR", 172}, {"sessionCalories", 560},
                            {"sessionFat", 30}, {"userMaxHR", 190}});
    s.sportZone = {sportZone(std::nullopt, 120, 160, 18004)};
    s.sportZone.front().name = QStringLiteral("In Zone");
    return s;
}

// Foot pod on, pace limits (the third with an upper limit of 0), three laps.
inline RunSession rs200WithFootPod()
{
    RunSession s = session(
        {{"hrm", "RS200"}, {"sessionName", "MYRUN"}, {"importDate", at(2008, 7, 2, 12)},
         {"sessionDate", at(2008, 7, 1, 7, 5, 3)}, {"comment", "fast, \"hilly\" & <wet>"},
         {"sessionTotalTime", 27125}, {"sessionAverageHR", 145}, {"sessionMaxHR", 172}, {"sessionMaxSetHR", 190},
         {"sessionCalories", 560}, {"sessionTotalDistance", 8450}, {"sessionMaxPace", 2403},
         {"sessionLimitType", "Pace Limits"}, {"sessionPaceData", true}, {"sessionLaps", 3}, {"userWeight", 1650},
         {"userLength", 180}, {"userBirthday", at(1970, 3, 5)}, {"userMaxHR", 190}, {"userSittingHR", 60},
         {"userVO2Max", 50}, {"userSex", "M"}, {"userActivityLevel", "Moderate"}});
    s.sportZone = {sportZone(3, 70, 80, 9005), sportZone(1, 50, 60, 3000), sportZone(5, 90, 100, 4795),
                   sportZone(2, 60, 70, 6004), sportZone(4, 80, 90, 4321)};
    s.limitZone = {limitZone(2, 4500, 2400, 1000, 25000, 1125), limitZone(3, 3333, 0, 0, 27125, 0),
                   limitZone(1, 3600, 3000, 6000, 18000, 3125)};
    s.lap = {paceLap(3, 9000, 149, 168, 172, 2700, 3333, 3100), paceLap(1, 9000, 140, 150, 165, 2950, 3051, 2950),
             paceLap(2, 9125, 146, 158, 170, 2800, 3259, 0)};
    return s;
}

// No foot pod, HR limits (zone 2 names a sport zone), two laps, sport zone 5 missing.
inline RunSession rs200WithoutFootPod()
{
    RunSession s = session(
        {{"hrm", "RS200"}, {"sessionName", "EASY"}, {"sessionDate", at(2008, 12, 31, 23, 59, 59)},
         {"sessionTotalTime", 36000}, {"sessionAverageHR", 130}, {"sessionMaxHR", 150}, {"sessionMaxSetHR", 185},
         {"sessionCalories", 700}, {"sessionLimitType", "HR Limits"}, {"sessionPaceData", false},
         {"sessionLaps", 2}, {"userWeight", 1543}, {"userLength", 172}, {"userBirthday", at(1985, 11, 30)},
         {"userMaxHR", 185}, {"userSittingHR", 55}, {"userVO2Max", 45}, {"userSex", "F"},
         {"userActivityLevel", "High"}});
    s.sportZone = {sportZone(4, 80, 90, 13194), sportZone(2, 60, 70, 7206), sportZone(1, 50, 60, 600),
                   sportZone(3, 70, 80, 15000)};
    s.limitZone = {limitZone(2, 3, 0, 12000, 15000, 9000), limitZone(1, 130, 150, 9000, 21000, 6000)};
    s.lap = {lap(2, 18000, 132, 149, 150), lap(1, 18000, 128, 135, 145)};
    return s;
}

// "Manual" limits in the one unnumbered limit zone a CS200 stores; two laps.
inline RunSession cs200()
{
    RunSession s = session(
        {{"hrm", "CS200"}, {"sessionName", "CS200"}, {"sessionDate", at(2009, 5, 1, 9, 30)},
         {"sessionTotalTime", 54321}, {"sessionRideTime", 50000}, {"sessionAverageHR", 138},
         {"sessionMaxHR", 171}, {"sessionCalories", 1200}, {"sessionTotalDistance", 40255},
         {"sessionMaxSpeed", 452}, {"sessionAverageCadence", 85}, {"sessionMaxCadence", 110},
         {"sessionLimitType", "Manual"}, {"sessionPaceData", true}, {"sessionLaps", 2}, {"userWeight", 1800},
         {"userLength", 185}, {"userBirthday", at(1975, 6, 15)}, {"userMaxHR", 188}, {"userSittingHR", 58}});
    s.limitZone = {limitZone(std::nullopt, 120, 160, 6000, 40000, 8321)};
    s.lap = {cs200Lap(2, 25000, 146, 171, 301, 20255, 86), cs200Lap(1, 25000, 130, 160, 255, 20000, 84)};
    return s;
}

} // namespace ExportSessions
