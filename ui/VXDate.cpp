#include "VXDate.h"

namespace {

// Qt counts Monday = 1 to Sunday = 7.
constexpr int kQtSunday = 7;
constexpr qint64 kMSecsPerDay = 86400 * 1000;

} // namespace

QDateTime VXDate::midnight(const QDateTime &date)
{
    if (!date.isValid())
        return {};
    return localDay(date).startOfDay(Qt::LocalTime);
}

int VXDate::weekday(const QDateTime &date)
{
    return localDay(date).dayOfWeek() % kQtSunday + kSunday;
}

QDateTime VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(const QDateTime &date, unsigned firstDayOfTheWeek)
{
    if (!date.isValid())
        return {};
    int first = int(firstDayOfTheWeek % kDaysPerWeek);
    if (first == 0)
        first = kSaturday;
    const int day = weekday(date);
    const int daysToGo = day > first ? kDaysPerWeek - (day - first) : first - day;
    return localDay(date).addDays(daysToGo).startOfDay(Qt::LocalTime);
}

QDate VXDate::localDay(const QDateTime &date)
{
    // A local time already holds its calendar day; converting would ask the time zone.
    return date.timeSpec() == Qt::LocalTime ? date.date() : date.toLocalTime().date();
}

VXDate::OrderKey::OrderKey(const QDateTime &date) : m_date(&date)
{
    const QDateTime local = date.timeSpec() == Qt::LocalTime ? date : date.toLocalTime();
    m_wallClock = local.date().toJulianDay() * kMSecsPerDay + local.time().msecsSinceStartOfDay();
}

bool VXDate::OrderKey::operator<(const OrderKey &other) const
{
    const qint64 difference = other.m_wallClock - m_wallClock;
    if (difference > kLargestBackwardShift || difference < -kLargestBackwardShift)
        return difference > 0;
    return *m_date < *other.m_date;
}

bool VXDate::OrderKey::isSameInstant(const OrderKey &other) const
{
    const qint64 difference = other.m_wallClock - m_wallClock;
    if (difference > kLargestBackwardShift || difference < -kLargestBackwardShift)
        return false;
    return *m_date == *other.m_date;
}
