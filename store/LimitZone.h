#pragma once

#include "EntityKey.h"

#include <optional>
#include <span>

// Time spent below, inside and above a pair of limits, owned by its RunSession.
// RS200: zones 1 to 3 (limits in bpm, a sport-zone number with limitHigh 0, or
// paces); CS200: one zone without a number. Times in tenths. Any thread.
class LimitZone
{
public:
    std::optional<int> zoneNumber;
    std::optional<int> limitLow;
    std::optional<int> limitHigh;
    std::optional<int> timeBelowZone;
    std::optional<int> timeInZone;
    std::optional<int> timeAboveZone;

    // Every stored key, in the order of the data model.
    static std::span<const EntityKey<LimitZone>> keys();

    bool operator==(const LimitZone &) const = default;
};
