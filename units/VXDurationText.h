#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The clock texts of durations stored in tenths of a second, shared by the
// export and the views, which differ only in how they round. Any thread.
class VXDurationText
{
public:
    static constexpr quint64 kTenthsPerSecond = 10;
    static constexpr quint64 kTenthsPerMinute = 600;
    static constexpr quint64 kTenthsPerHour = 36000;
    static constexpr quint64 kSecondsPerMinute = 60;
    static constexpr quint64 kSecondsPerHour = 3600;

    // A stored duration as the unsigned count the texts work on: an absent
    // value counts as 0, and so does a negative one (no duration is negative).
    static quint64 tenths(std::optional<qint64> duration);

    // "h:mm:ss"; hours are never padded or limited.
    static QString clock(quint64 wholeSeconds);
    // "h:mm:ss" with seconds truncated, the locale's decimal separator and the tenths digit.
    static QString clockWithTenths(quint64 tenths);
    // "mm:ss" within the hour, the hour itself left out.
    static QString minutesAndSeconds(quint64 wholeSeconds);

    // "0" for a field below 10, else "".
    static QString padding(quint64 field);
};
