#include "HistorySessions.h"
#include "VXDate.h"

#include <gtest/gtest.h>

using HistorySessions::local;

namespace {

constexpr unsigned kSunday = 1;
constexpr unsigned kMonday = 2;
constexpr unsigned kSaturday = 7;

} // namespace

TEST(VXDate, MidnightIsTheStartOfTheLocalCalendarDay)
{
    // Summer and winter days keep their own offset, whatever is in force now.
    EXPECT_EQ(VXDate::midnight(local(2008, 7, 1, 0, 30)), local(2008, 7, 1, 0, 0));
    EXPECT_EQ(VXDate::midnight(local(2008, 12, 1, 23, 59)), local(2008, 12, 1, 0, 0));
    // A UTC time late in the evening belongs to the next local day (+0200 in July).
    EXPECT_EQ(VXDate::midnight(QDateTime(QDate(2008, 7, 1), QTime(22, 30), Qt::UTC)), local(2008, 7, 2, 0, 0));
    EXPECT_FALSE(VXDate::midnight(QDateTime()).isValid());
    // 26 October 2008 is 25 hours long.
    EXPECT_EQ(VXDate::midnight(local(2008, 10, 26, 23, 30)).secsTo(VXDate::midnight(local(2008, 10, 27, 0, 10))),
              25 * 3600);
}

TEST(VXDate, FirstDayOfNextWeek)
{
    // Wednesday 12 March 2008.
    EXPECT_EQ(VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(local(2008, 3, 12, 18, 30), kMonday),
              local(2008, 3, 17, 0, 0));
    // Already on the first day: midnight of the same day.
    EXPECT_EQ(VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(local(2008, 3, 17, 9, 0), kMonday),
              local(2008, 3, 17, 0, 0));
    // Saturday with Sunday first: the next day; Sunday with Saturday first: six days on.
    EXPECT_EQ(VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(local(2008, 3, 15, 23, 59), kSunday),
              local(2008, 3, 16, 0, 0));
    EXPECT_EQ(VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(local(2008, 3, 16, 0, 0), kSaturday),
              local(2008, 3, 22, 0, 0));
    // Late on Wednesday before the autumn change.
    EXPECT_EQ(VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(local(2008, 10, 22, 23, 30), kMonday),
              local(2008, 10, 27, 0, 0));
}

TEST(VXDate, OrderKeysFollowTheInstantAlsoInTheRepeatedHour)
{
    // On 26 October 2008 the clock went from 3:00 back to 2:00: 2:30 summer time
    // comes before 2:15 winter time.
    const QDateTime summer = QDateTime::fromSecsSinceEpoch(1224981000, Qt::LocalTime); // 00:30 UTC
    const QDateTime winter = QDateTime::fromSecsSinceEpoch(1224983700, Qt::LocalTime); // 01:15 UTC
    ASSERT_EQ(summer.time(), QTime(2, 30));
    ASSERT_EQ(winter.time(), QTime(2, 15));
    EXPECT_TRUE(VXDate::OrderKey(summer) < VXDate::OrderKey(winter));
    EXPECT_FALSE(VXDate::OrderKey(winter) < VXDate::OrderKey(summer));

    const QDateTime sameInUtc = summer.toUTC();
    EXPECT_TRUE(VXDate::OrderKey(summer).isSameInstant(VXDate::OrderKey(sameInUtc)));
    EXPECT_FALSE(VXDate::OrderKey(summer).isSameInstant(VXDate::OrderKey(winter)));
}
