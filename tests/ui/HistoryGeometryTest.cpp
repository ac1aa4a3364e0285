#include "HistoryGeometry.h"
#include "HistorySessions.h"

#include <gtest/gtest.h>

#include <vector>

using HistorySessions::local;
using HistorySessions::Values;

namespace {

constexpr int kMonday = 2;
// A height whose line span (H − 55) is 200 and bar scale (H − 20) is 235.
constexpr double kHeight = 255.0;

class HistoryGeometryTest : public ::testing::Test
{
protected:
    void add(const QDateTime &date, const Values &values = {})
    {
        m_sessions.push_back(HistorySessions::session(date, values));
    }

    HistoryGeometry compute(HistoryLayers layers = {true, true, true, true})
    {
        m_input.layers = layers;
        QList<const RunSession *> sessions;
        for (const RunSession &session : m_sessions)
            sessions.append(&session);
        return HistoryGeometry::compute(sessions, m_input);
    }

    QList<double> columns(const HistoryGeometry &geometry) const
    {
        QList<double> x;
        for (const HistoryBar &bar : geometry.bars)
            x.append(bar.rect.x());
        return x;
    }

    std::vector<RunSession> m_sessions;
    HistoryGeometry::Input m_input{kHeight, 0, kMonday, {}, {}};
};

} // namespace

TEST_F(HistoryGeometryTest, NoSessionLeavesTheViewOnePointWide)
{
    const HistoryGeometry geometry = compute();
    EXPECT_EQ(geometry.width, 1.0);
    EXPECT_TRUE(geometry.weekLines.isEmpty());
}

TEST_F(HistoryGeometryTest, OneSessionOnWednesdayRunsToTheNextMonday)
{
    add(local(2008, 3, 12, 18, 30));
    const HistoryGeometry geometry = compute();
    EXPECT_EQ(geometry.startDate, local(2008, 3, 12, 0, 0));
    EXPECT_EQ(geometry.endDate, local(2008, 3, 17, 0, 0));
    EXPECT_EQ(geometry.days, 6);
    EXPECT_EQ(geometry.width, 90.0);
    EXPECT_EQ(geometry.weekLines, QList<double>{75.0});

    m_input.scrollViewWidth = 302;
    const HistoryGeometry wide = compute();
    EXPECT_EQ(wide.width, 300.0);
    EXPECT_EQ(wide.weekLines, (QList<double>{75.0, 180.0, 285.0}));
}

TEST_F(HistoryGeometryTest, OneSessionOnTheFirstDayOfTheWeek)
{
    add(local(2008, 3, 17, 7, 0));
    const HistoryGeometry geometry = compute();
    EXPECT_EQ(geometry.endDate, geometry.startDate);
    EXPECT_EQ(geometry.days, 1);
    EXPECT_EQ(geometry.width, 15.0);
    EXPECT_EQ(geometry.weekLines, QList<double>{0.0});
}

TEST_F(HistoryGeometryTest, DayNumbersAndWeekLinesFollowTheFirstDayOfTheWeek)
{
    add(local(2008, 3, 12, 8, 0));  // Wednesday, day 1
    add(local(2008, 3, 13, 23, 59));
    add(local(2008, 3, 24, 0, 0)); // Monday, day 13
    EXPECT_EQ(HistoryGeometry::numberOfDaysFrom(local(2008, 3, 12, 0, 0), local(2008, 3, 24, 0, 0)), 13);
    const HistoryGeometry monday = compute();
    EXPECT_EQ(columns(monday), (QList<double>{0, 15, 180}));
    EXPECT_EQ(monday.width, 195.0);
    EXPECT_EQ(monday.weekLines, (QList<double>{75, 180}));

    m_input.firstDayOfWeek = 1; // Sunday
    EXPECT_EQ(compute().weekLines, (QList<double>{60, 165}));
}

TEST_F(HistoryGeometryTest, SessionsKeepTheirCalendarDayAcrossTheChanges)
{
    // 30 March 2008 loses an hour and 26 October has 25: 86,400-second days
    // would put sessions near midnight into the neighbouring column.
    add(local(2008, 3, 29, 23, 30));
    add(local(2008, 3, 30, 23, 30));
    add(local(2008, 3, 31, 0, 15));
    EXPECT_EQ(columns(compute()), (QList<double>{0, 15, 30}));
    m_sessions.clear();
    add(local(2008, 10, 25, 23, 59));
    add(local(2008, 10, 26, 23, 45));
    add(local(2008, 10, 27, 0, 30));
    EXPECT_EQ(columns(compute()), (QList<double>{0, 15, 30}));
    // Just after midnight in summer, just before midnight in winter.
    m_sessions.clear();
    add(local(2008, 7, 1, 0, 30));
    add(local(2008, 12, 1, 23, 30));
    const HistoryGeometry geometry = compute();
    EXPECT_EQ(columns(geometry), (QList<double>{0, 153 * 15}));
    EXPECT_EQ(geometry.columnStart(local(2008, 12, 1, 0, 0)), 153 * 15);
}

TEST_F(HistoryGeometryTest, BarHeightsAndClickRectangles)
{
    add(local(2008, 3, 12), {.totalTime = 3600});
    add(local(2008, 3, 13), {.totalTime = 1800});
    add(local(2008, 3, 14), {.totalTime = 0});
    add(local(2008, 3, 15), {.totalTime = std::nullopt});
    const HistoryGeometry geometry = compute();
    ASSERT_EQ(geometry.bars.size(), 4);
    EXPECT_EQ(geometry.bars[0].rect, QRectF(0, 0, 15, 235));
    EXPECT_EQ(geometry.bars[1].rect, QRectF(15, 0, 15, 117.5));
    EXPECT_EQ(geometry.bars[2].rect, QRectF(30, 0, 15, 0));
    EXPECT_EQ(geometry.rectArray,
              (QList<QRectF>{{0, 0, 15, 238}, {15, 0, 15, 120.5}, {30, 0, 15, 3}, {45, 0, 15, 3}}));

    // When every time is 0 the bars lie flat instead of dividing by zero.
    m_sessions.erase(m_sessions.begin(), m_sessions.begin() + 2);
    const HistoryGeometry flat = compute();
    EXPECT_EQ(flat.bars[0].rect, QRectF(0, 0, 15, 0));
    EXPECT_EQ(flat.rectArray[0], QRectF(0, 0, 15, 3));
}

TEST_F(HistoryGeometryTest, ClicksHitTheEarliestSessionOfTheirColumnHalfOpen)
{
    add(local(2008, 3, 12, 8, 0), {.totalTime = 1000});
    add(local(2008, 3, 12, 18, 0), {.totalTime = 2000});
    add(local(2008, 3, 13, 8, 0), {.totalTime = 0});
    const HistoryGeometry geometry = compute();
    EXPECT_EQ(columns(geometry), (QList<double>{0, 0, 15}));
    // The earlier, lower bar wins where both contain the point; above it the later one.
    EXPECT_EQ(geometry.hitTest({14.9, 100}), 0);
    EXPECT_EQ(geometry.hitTest({5, 200}), 1);
    // The right and top edges belong to the next rectangle or to none.
    EXPECT_EQ(geometry.hitTest({15, 2.9}), 2);
    EXPECT_EQ(geometry.hitTest({20, 3}), -1);

    EXPECT_TRUE(compute({false, true, true, true}).rectArray.isEmpty());
}

TEST_F(HistoryGeometryTest, HeartRateLineBreaksAroundPointsAtOrBelowTheBaseline)
{
    add(local(2008, 3, 12), {.averageHR = 140});
    add(local(2008, 3, 13), {.averageHR = 0});
    add(local(2008, 3, 14), {.averageHR = 160});
    add(local(2008, 3, 15), {.averageHR = 150});
    add(local(2008, 3, 16), {.averageHR = std::nullopt});
    add(local(2008, 3, 17), {.averageHR = 140});
    const HistoryLine line = compute().heartRate;
    EXPECT_EQ(line.dots, (QList<QPointF>{{7.5, 35}, {37.5, 235}, {52.5, 135}, {82.5, 35}}));
    EXPECT_EQ(line.segments, QList<QLineF>{QLineF(37.5, 235, 52.5, 135)});

    // Equal rates lie at three quarters of the height.
    m_sessions.clear();
    add(local(2008, 3, 12), {.averageHR = 150});
    add(local(2008, 3, 13), {.averageHR = 150});
    EXPECT_EQ(compute().heartRate.dots, (QList<QPointF>{{7.5, 0.75 * kHeight}, {22.5, 0.75 * kHeight}}));
}

TEST_F(HistoryGeometryTest, DistanceLineRestartsAfterAMissingOrZeroDistance)
{
    add(local(2008, 3, 12), {.distance = 5000});
    add(local(2008, 3, 13), {.distance = 10000});
    add(local(2008, 3, 14), {.distance = 0});
    add(local(2008, 3, 15), {.distance = 8000});
    add(local(2008, 3, 16), {.distance = std::nullopt});
    add(local(2008, 3, 17), {.distance = 6000});
    add(local(2008, 3, 18), {.distance = 2000});
    const HistoryLine line = compute().distance;
    // The minimum is 0, so 5 km lies halfway up the span, not at its bottom.
    EXPECT_EQ(line.dots, (QList<QPointF>{{7.5, 135}, {22.5, 235}, {52.5, 195}, {82.5, 155}, {97.5, 75}}));
    EXPECT_EQ(line.segments, (QList<QLineF>{{7.5, 135, 22.5, 235}, {82.5, 155, 97.5, 75}}));
}

TEST_F(HistoryGeometryTest, DistancesAreReadInTheUsersUnit)
{
    // In miles an RS200's 10 km is 6.213 mi; a CS200's distance is never converted.
    const QLocale metric;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    add(local(2008, 3, 12), {.distance = 10000});
    add(local(2008, 3, 13), {.distance = 6213});
    m_sessions.back().hrm = QStringLiteral("CS200");
    add(local(2008, 3, 14), {.distance = 3107}); // 1.930 mi
    const HistoryLine line = compute().distance;
    QLocale::setDefault(metric);
    EXPECT_EQ(line.dots, (QList<QPointF>{{7.5, 235}, {22.5, 235}, {37.5, 35 + 1930.0 / 6213 * 200}}));
}

TEST_F(HistoryGeometryTest, CalorieLineStartsAtTwentyAndRestartsAfterZero)
{
    add(local(2008, 3, 12), {.calories = 500});
    add(local(2008, 3, 13), {.calories = 0});
    add(local(2008, 3, 14), {.calories = 300});
    add(local(2008, 3, 15), {.calories = 400});
    const HistoryGeometry geometry = compute();
    EXPECT_EQ(geometry.calories.dots, (QList<QPointF>{{7.5, 220}, {37.5, 20}, {52.5, 120}}));
    EXPECT_EQ(geometry.calories.segments, QList<QLineF>{QLineF(37.5, 20, 52.5, 120)});
    EXPECT_TRUE(compute({true, true, true, false}).calories.dots.isEmpty());
}

TEST(HistoryGeometry, ScrollTargets)
{
    // Column left of the visible part: to the left edge; right of it: to the right edge.
    EXPECT_EQ(HistoryGeometry::scrollTarget(100, 300, 50), 50.0);
    EXPECT_EQ(HistoryGeometry::scrollTarget(0, 300, 400), 115.0);
    EXPECT_EQ(HistoryGeometry::scrollTarget(0, 300, 286), 1.0);
    EXPECT_EQ(HistoryGeometry::scrollTarget(0, 300, 285), std::nullopt);
    // Without a selection the first column is the target.
    const HistoryGeometry none;
    EXPECT_EQ(none.columnStart(std::nullopt), 0.0);
}
