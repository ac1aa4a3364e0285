#pragma once

#include "ExportSessions.h"

// The sessions of the TCX golden files in tests/export/golden/tcx/. Their lap
// times, distances and heart rates add up to the session's figures, as a
// watch's do, so that readers can be checked against the session.
namespace TcxSessions {

// Three laps stored out of order, the last ended by the watch itself.
inline RunSession rs200WithFootPodAndLaps()
{
    RunSession s = ExportSessions::rs200WithFootPod();
    for (Lap &lap : s.lap) {
        if (lap.lapNumber == 3)
            lap.autoLap = true;
    }
    return s;
}

// One lap as the watch counts it, so no Lap members; the foot pod was on.
// Just after midnight local time, which is the day before in UTC.
inline RunSession rs200WithoutLaps()
{
    RunSession s;
    s.hrm = QStringLiteral("RS200");
    s.sessionName = QStringLiteral("TEMPO");
    s.comment = QString();
    s.sessionDate = ExportSessions::at(2008, 1, 1, 1, 30);
    s.sessionTotalTime = 18000;
    s.sessionAverageHR = 150;
    s.sessionMaxHR = 175;
    s.sessionMaxSetHR = 190;
    s.sessionCalories = 400;
    s.setPrimitiveSessionTotalDistance(5000);
    s.sessionMaxPace = 2400;
    s.sessionPaceData = true;
    s.sessionLaps = 1;
    s.sessionLimitType = QStringLiteral("No Limits");
    return s;
}

// Two laps with cadence that cover the whole session.
inline RunSession cs200WithCadence()
{
    RunSession s = ExportSessions::cs200();
    for (Lap &lap : s.lap) {
        if (lap.lapNumber == 2) {
            lap.timeInLap = 29321;
            lap.averageHR = 145;
        }
    }
    return s;
}

// A CS200 session that reported no laps.
inline RunSession cs200WithoutLaps()
{
    RunSession s = ExportSessions::cs200();
    s.lap.clear();
    s.sessionLaps = 0;
    return s;
}

} // namespace TcxSessions
