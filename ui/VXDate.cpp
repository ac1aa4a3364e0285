#include "VXDate.h"

namespace {

// Qt counts Monday = 1 to Sunday = 7.
constexpr int kQtSunday = 7;

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
