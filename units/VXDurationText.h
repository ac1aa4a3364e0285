#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The clock texts of durations stored in tenths of a second: one function per
// rounding rule, used by the export, the views, the calendar and the pop-up.
// An absent or negative duration reads as 0. Any thread.
class VXDurationText
{
public:
    static constexpr quint64 kTenthsPerSecond = 10;
    static constexpr quint64 kTenthsPerMinute = 600;
    static constexpr quint64 kTenthsPerHour = 36000;
    static constexpr quint64 kSecondsPerMinute = 60;
    static constexpr quint64 kSecondsPerHour = 3600;

    // "h:mm:ss", the tenths dropped (never rounded up): what the views show.
    static QString truncatedToSeconds(std::optional<qint64> tenths);
    // "h:mm:ss" rounded to the nearest second, a tenths digit of 5 rounding up:
    // what the export writes, and every pace shown as a clock.
    static QString roundedToSeconds(std::optional<qint64> tenths);
    // "h:mm:ss", the locale's decimal separator and the tenths digit.
    static QString withTenths(std::optional<qint64> tenths);
    // "mm:ss" within the hour (the hour left out), the tenths dropped.
    static QString minutesAndSecondsTruncated(std::optional<qint64> tenths);
    // "h:mm:ss" of a count already in whole seconds; hours are never padded or limited.
    static QString clock(quint64 wholeSeconds);
};
