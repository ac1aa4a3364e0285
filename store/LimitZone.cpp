#include "LimitZone.h"

#include <array>

std::span<const EntityKey<LimitZone>> LimitZone::keys()
{
    static const std::array<EntityKey<LimitZone>, 6> table{{
        {"zoneNumber", &LimitZone::zoneNumber},
        {"limitLow", &LimitZone::limitLow},
        {"limitHigh", &LimitZone::limitHigh},
        {"timeBelowZone", &LimitZone::timeBelowZone},
        {"timeInZone", &LimitZone::timeInZone},
        {"timeAboveZone", &LimitZone::timeAboveZone},
    }};
    return table;
}
