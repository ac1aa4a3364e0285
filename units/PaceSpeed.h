#pragma once

#include "VXDurationText.h"

// A pace is tenths of a second per distance unit; its speed is distance units
// per hour: 36000 / pace. Single precision, as every speed text rounds it.
// The caller keeps a pace of 0 (no speed) away.
inline float speedFromPace(float pace)
{
    return static_cast<float>(VXDurationText::kTenthsPerHour) / pace;
}
