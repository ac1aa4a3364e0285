#include "SportZone.h"

#include <array>

std::span<const EntityKey<SportZone>> SportZone::keys()
{
    static const std::array<EntityKey<SportZone>, 5> table{{
        {"zoneNumber", &SportZone::zoneNumber},
        {"name", &SportZone::name},
        {"limitLow", &SportZone::limitLow},
        {"limitHigh", &SportZone::limitHigh},
        {"timeInZone", &SportZone::timeInZone},
    }};
    return table;
}
