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
    static QDate localDay(const QDateTime &date);

    // A date with its local wall-clock time read once, for ordering and
    // matching many dates by instant. Reading a local time as an instant asks
    // the system's time zone (a file-system call each time), so only dates
    // whose wall-clock times lie within kLargestBackwardShift of each other,
    // where a clock set back can invert their order, are compared as instants.
    class OrderKey
    {
    public:
        explicit OrderKey(const QDateTime &date);

        bool operator<(const OrderKey &other) const;
        bool isSameInstant(const OrderKey &other) const;

    private:
        static constexpr qint64 kLargestBackwardShift = 3 * 3600 * 1000;

        const QDateTime *m_date;
        qint64 m_wallClock;
    };
};
