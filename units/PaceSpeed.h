#pragma once

#include "VXDurationText.h"

// A pace is tenths of a second per distance unit; its speed is distance units
// per hour: 36000 / pace. Single precision, as every speed text rounds it.
// The caller keeps a pace of 0 (no speed) away.
inline float speedFromPace(float pace)
{
    return static_cast<float>(VXDurationText::kTenthsPerHour) / pace;
}

// A pace limit as minutes per display unit (a decimal number): the tenths
// become seconds in single precision, then the unit factor and the minute apply.
inline double minutesFromPace(int pace, double kmToMilesFactor)
{
    const float seconds = static_cast<float>(pace) / static_cast<float>(VXDurationText::kTenthsPerSecond);
    return (seconds / kmToMilesFactor) / static_cast<double>(VXDurationText::kSecondsPerMinute);
}
