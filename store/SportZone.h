#pragma once

#include "EntityKey.h"

#include <optional>
#include <span>

// Time spent in a heart-rate band, owned by its RunSession. F6: one zone named
// "In Zone" without a number, limits in bpm; RS200: zones 1 to 5, limits in
// percent of the maximum heart rate. timeInZone in tenths. Any thread.
class SportZone
{
public:
    std::optional<int> zoneNumber;
    std::optional<QString> name;
    std::optional<int> limitLow;
    std::optional<int> limitHigh;
    std::optional<int> timeInZone;

    // Every stored key, in the order of the data model.
    static std::span<const EntityKey<SportZone>> keys();

    bool operator==(const SportZone &) const = default;
};
