#pragma once

#include "EntityKey.h"

#include <optional>
#include <span>

// One lap of a session. A plain value owned by its RunSession; every key is
// optional and absent is not 0. Times in tenths of a second, heart rates in bpm;
// endPace, averagePace and distance are RS200 paces and metres or CS200 watch
// speed and watch distance. Any thread.
class Lap
{
public:
    std::optional<int> lapNumber;
    std::optional<int> timeInLap;
    std::optional<int> averageHR;
    std::optional<int> maxHR;
    std::optional<int> endHR;
    std::optional<bool> autoLap;
    std::optional<int> endPace;
    std::optional<int> averagePace;
    std::optional<int> distance;
    std::optional<int> cadenceAverage;

    // Average speed of a CS200 lap in the watch's distance unit per hour:
    // (distance / 1000) / (timeInLap / 10 s) × 3600. A lap without a distance,
    // or with a distance but no or a zero timeInLap, gives 0.
    float averageCS200Speed() const;

    // Every stored key, in the order of the data model.
    static std::span<const EntityKey<Lap>> keys();

    bool operator==(const Lap &) const = default;
};
