#include "Lap.h"

#include <array>

namespace {
constexpr double kWatchDistanceDivisor = 1000.0; // thousandths of the watch's unit
constexpr double kTenthsPerSecond = 10.0;
constexpr double kSecondsPerHour = 3600.0;
}

float Lap::averageCS200Speed() const
{
    const double watchDistance = distance.value_or(0) / kWatchDistanceDivisor;
    const double seconds = timeInLap.value_or(0) / kTenthsPerSecond;
    // We intentionally answer 0 for a lap without time: the watch reports none
    // for an invalid packed time, and a speed of infinity helps no reader.
    if (watchDistance <= 0 || seconds <= 0)
        return 0.0f;
    return static_cast<float>(watchDistance / seconds * kSecondsPerHour);
}

std::span<const EntityKey<Lap>> Lap::keys()
{
    static const std::array<EntityKey<Lap>, 10> table{{
        {"lapNumber", &Lap::lapNumber},
        {"timeInLap", &Lap::timeInLap},
        {"averageHR", &Lap::averageHR},
        {"maxHR", &Lap::maxHR},
        {"endHR", &Lap::endHR},
        {"autoLap", &Lap::autoLap},
        {"endPace", &Lap::endPace},
        {"averagePace", &Lap::averagePace},
        {"distance", &Lap::distance},
        {"cadenceAverage", &Lap::cadenceAverage},
    }};
    return table;
}
