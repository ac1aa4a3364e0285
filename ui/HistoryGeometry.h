#pragma once

#include <QDate>
#include <QDateTime>
#include <QLineF>
#include <QList>
#include <QPointF>
#include <QRectF>

#include <optional>

class RunSession;
class VXUnits;

// The layers of the history calendar that are switched on.
struct HistoryLayers
{
    bool time = true;
    bool heartRate = true;
    bool distance = true;
    bool calories = false;
};

// One session's time bar: the outline runs up the left side, across the top
// and down the right side; the fill closes it along the bottom.
struct HistoryBar
{
    QRectF rect;
    bool selected = false;
};

// A line layer: the connecting segments and the dots, in drawing order.
struct HistoryLine
{
    QList<QLineF> segments;
    QList<QPointF> dots;
};

// A week of the calendar from its line (or the left edge) to the next, and
// its sessions: sessionCount of them from index firstSession on.
struct HistoryWeek
{
    double x = 0;
    QDate firstDay;
    qsizetype firstSession = 0;
    qsizetype sessionCount = 0;
};

// The total time (tenths of a second) and distance (thousandths of the
// user's unit) of a week's sessions.
struct HistoryWeekTotals
{
    qint64 totalTime = 0;
    qint64 distance = 0;
};

// Where a month's first day (or the calendar's first day) begins.
struct HistoryMonth
{
    double x = 0;
    QDate day;
};

// Everything one drawing pass of the history calendar draws and clicks hit,
// computed by one pure function from the drawn sessions. Coordinates are the
// calendar's own: origin at the bottom-left corner, y upwards; the view flips
// them when it paints and when it tests a click. Any thread.
struct HistoryGeometry
{
    static constexpr double kDayWidth = 15.0;
    static constexpr double kWeekWidth = 105.0;
    static constexpr double kHalfDay = 7.5;
    static constexpr double kSpaceAboveBars = 20.0;
    static constexpr double kClickExtraHeight = 3.0;
    static constexpr double kLineBottom = 35.0;
    static constexpr double kCaloriesBottom = 20.0;
    static constexpr double kLineSpanReduction = 55.0;
    static constexpr double kFlatRangeHeight = 0.75;
    static constexpr double kDotDiameter = 8.0;
    static constexpr double kScrollViewBorder = 2.0;
    static constexpr double kEmptyWidth = 1.0;

    struct Input
    {
        double height = 0;
        // The enclosing scroll view's width; the calendar is at least this minus its border.
        double scrollViewWidth = 0;
        int firstDayOfWeek = 2;
        HistoryLayers layers;
        // sessionDate of every session selected in the session list.
        QList<QDateTime> selectedDates;
    };

    // sessionArray: the visible sessions dated after 1970, by sessionDate ascending.
    static HistoryGeometry compute(const QList<const RunSession *> &sessionArray, const Input &input);

    // The day number of b counted from a's local calendar day (which is day 1).
    static int numberOfDaysFrom(const QDateTime &a, const QDateTime &b);

    // The totals of a week of sessionArray, read when its labels are first drawn
    // rather than for every week of years at each layout.
    static HistoryWeekTotals totalsOf(const HistoryWeek &week, const QList<const RunSession *> &sessionArray,
                                      const VXUnits &units);

    // Left edge of the column of date's day; 0 before the first pass or without a date.
    double columnStart(const std::optional<QDateTime> &date) const;
    // The first click rectangle containing point (half-open on both axes), or -1.
    int hitTest(const QPointF &point) const;
    // Where to scroll so that a column starting at x is visible in the visible
    // part [left, left + visibleWidth); none when it already is.
    static std::optional<double> scrollTarget(double left, double visibleWidth, double columnX);

    QDateTime startDate;
    QDateTime endDate;
    int days = 0;
    double width = kEmptyWidth;
    double height = 0;
    // x of each week line; the baseline runs along y = 0 over the whole width.
    QList<double> weekLines;
    QList<HistoryBar> bars;
    // Click targets in the order of the sessions; empty when the time layer is off.
    QList<QRectF> rectArray;
    HistoryLine heartRate;
    HistoryLine distance;
    HistoryLine calories;
    QList<HistoryWeek> weeks;
    QList<HistoryMonth> months;
};
