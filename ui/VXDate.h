#pragma once

#include <QDateTime>

// Calendar-day arithmetic of the history calendar. Days are local calendar
// days of the system time zone, counted with QDate, so that a session keeps
// its own day across daylight-saving changes and whatever offset is in force
// now. Weekdays are numbered 1 = Sunday to 7 = Saturday. Any thread.
class VXDate
{
public:
    static constexpr int kSunday = 1;
    static constexpr int kSaturday = 7;
    static constexpr int kDaysPerWeek = 7;

    // 00:00:00 of the date's local calendar day (the first moment of the day
    // where a time-zone change skips midnight). Invalid for an invalid date.
    static QDateTime midnight(const QDateTime &date);

    // Midnight of the next day that is weekday firstDayOfTheWeek, or of the
    // date's own day when it already is one. A weekday outside 1 to 7 is taken
    // modulo 7 (0 counts as Saturday).
    static QDateTime firstDayOfNextWeekWithFirstDayOfTheWeek(const QDateTime &date, unsigned firstDayOfTheWeek);

    // The weekday of the date's local calendar day, 1 = Sunday to 7 = Saturday.
    static int weekday(const QDateTime &date);

    // The local calendar day of a date.
    static QDate localDay(const QDateTime &date) { return date.toLocalTime().date(); }
};
