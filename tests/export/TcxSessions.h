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
    for (Lap &lap : s.lap)
        lap.autoLap = lap.lapNumber == 3;
    return s;
}

// One lap as the watch counts it, so no Lap members; the foot pod was on.
// Just after midnight local time, which is the day before in UTC.
inline RunSession rs200WithoutLaps()
{
    return ExportSessions::session(
        {{"hrm", "RS200"}, {"sessionName", "TEMPO"}, {"sessionDate", ExportSessions::at(2008, 1, 1, 1, 30)},
         {"sessionTotalTime", 18000}, {"sessionAverageHR", 150}, {"sessionMaxHR", 175}, {"sessionMaxSetHR", 190},
         {"sessionCalories", 400}, {"sessionTotalDistance", 5000}, {"sessionMaxPace", 2400},
         {"sessionPaceData", true}, {"sessionLaps", 1}, {"sessionLimitType", "No Limits"}});
}

// Two laps with cadence that cover the whole session.
inline RunSession cs200WithCadence()
{
    RunSession s = ExportSessions::cs200();
    s.lap.front() = ExportSessions::cs200Lap(2, 29321, 145, 171, 301, 20255, 86);
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
