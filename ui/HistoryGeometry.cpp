#include "HistoryGeometry.h"

#include "RunSession.h"
#include "VXDate.h"
#include "VXUnits.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

// The lowest and highest positive value of a key, 0 and 0 when no session has one.
struct ValueRange
{
    double minimum = 0;
    double range = 0;
};

// Where a line layer puts its points: the value's place within the range,
// over the span above the layer's bottom; a range of 0 puts every point at
// three quarters of the height.
struct LineScale
{
    ValueRange values;
    double bottom = 0;
    double span = 0;
    double flatHeight = 0;

    double y(double value) const
    {
        if (values.range == 0)
            return flatHeight;
        return bottom + (value - values.minimum) / values.range * span;
    }
};

// value(i): the value of the i-th session.
template <typename Value>
ValueRange positiveRange(const QList<const RunSession *> &sessions, Value value)
{
    std::optional<int> minimum;
    std::optional<int> maximum;
    for (qsizetype i = 0; i < sessions.size(); ++i) {
        const std::optional<int> v = value(i);
        if (!v || *v <= 0)
            continue;
        minimum = std::min(minimum.value_or(*v), *v);
        maximum = std::max(maximum.value_or(*v), *v);
    }
    return {double(minimum.value_or(0)), double(maximum.value_or(0) - minimum.value_or(0))};
}

// The distance and calorie lines: a session without a value, or with 0,
// ends the line; the next session with a value starts a new one. A point at
// or below the baseline is left out and the line goes on from the one before.
template <typename Value>
HistoryLine restartingLine(const QList<const RunSession *> &sessions, const QList<double> &pointX,
                           const LineScale &scale, Value value)
{
    HistoryLine line;
    bool started = false;
    QPointF previous;
    for (qsizetype i = 0; i < sessions.size(); ++i) {
        const std::optional<int> v = value(i);
        if (!v || *v == 0) {
            started = false;
            continue;
        }
        const QPointF point(pointX[i], scale.y(*v));
        if (!started) {
            started = true;
            previous = point;
        }
        if (!(point.y() > 0))
            continue;
        line.dots.append(point);
        if (i == 0) {
            previous = point;
            continue;
        }
        // The first point of a line joins itself: nothing to draw.
        if (previous != point)
            line.segments.append(QLineF(previous, point));
        previous = point;
    }
    return line;
}

// The heart-rate line: every session takes part; a point at or below the
// baseline breaks the line around it.
HistoryLine heartRateLine(const QList<const RunSession *> &sessions, const QList<double> &pointX,
                          const LineScale &scale)
{
    HistoryLine line;
    bool gap = false;
    QPointF previous;
    for (qsizetype i = 0; i < sessions.size(); ++i) {
        const QPointF point(pointX[i], scale.y(sessions[i]->sessionAverageHR.value_or(0)));
        if (!(point.y() > 0)) {
            gap = true;
            continue;
        }
        line.dots.append(point);
        if (i != 0) {
            if (!gap)
                line.segments.append(QLineF(previous, point));
            gap = false;
        }
        previous = point;
    }
    return line;
}

QList<HistoryBar> timeBars(const QList<const RunSession *> &sessions, const QList<double> &columnX,
                           const HistoryGeometry::Input &input)
{
    int longest = 0;
    for (const RunSession *session : sessions)
        longest = std::max(longest, session->sessionTotalTime.value_or(0));
    const double scale = input.height - HistoryGeometry::kSpaceAboveBars;
    std::vector<VXDate::OrderKey> selectedDates;
    for (const QDateTime &date : input.selectedDates)
        selectedDates.emplace_back(date);
    const auto isSelected = [&selectedDates](const QDateTime &date) {
        const VXDate::OrderKey key(date);
        return std::any_of(selectedDates.begin(), selectedDates.end(),
                           [&key](const VXDate::OrderKey &selected) { return key.isSameInstant(selected); });
    };

    QList<HistoryBar> bars;
    bars.reserve(sessions.size());
    for (qsizetype i = 0; i < sessions.size(); ++i) {
        // With no time at all (longest 0) every bar lies flat.
        const double height =
            longest > 0 ? sessions[i]->sessionTotalTime.value_or(0) / double(longest) * scale : 0.0;
        const bool selected = !selectedDates.empty() && isSelected(*sessions[i]->sessionDate);
        bars.append({QRectF(columnX[i], 0, HistoryGeometry::kDayWidth, std::max(height, 0.0)), selected});
    }
    return bars;
}

// The weeks from the left edge, each with the sessions in it.
QList<HistoryWeek> weeksOf(const QList<double> &columnX, const QList<double> &weekLines, const QDate &startDay)
{
    QList<HistoryWeek> weeks;
    if (weekLines.isEmpty() || weekLines.first() > 0)
        weeks.append({0, startDay});
    for (double x : weekLines)
        weeks.append({x, startDay.addDays(qint64(x / HistoryGeometry::kDayWidth))});
    qsizetype week = 0;
    for (qsizetype i = 0; i < columnX.size(); ++i) {
        while (week + 1 < weeks.size() && weeks[week + 1].x <= columnX[i]) {
            ++week;
            weeks[week].firstSession = i;
        }
        ++weeks[week].sessionCount;
    }
    return weeks;
}

QList<HistoryMonth> monthsOf(const QDate &startDay, double width)
{
    QList<HistoryMonth> months{{0, startDay}};
    for (QDate day = QDate(startDay.year(), startDay.month(), 1).addMonths(1);; day = day.addMonths(1)) {
        const double x = startDay.daysTo(day) * HistoryGeometry::kDayWidth;
        if (x >= width)
            break;
        months.append({x, day});
    }
    return months;
}

} // namespace

int HistoryGeometry::numberOfDaysFrom(const QDateTime &a, const QDateTime &b)
{
    if (!a.isValid() || !b.isValid())
        return 1;
    return int(VXDate::localDay(a).daysTo(VXDate::localDay(b))) + 1;
}

HistoryGeometry HistoryGeometry::compute(const QList<const RunSession *> &sessionArray, const Input &input)
{
    HistoryGeometry geometry;
    geometry.height = input.height;
    if (sessionArray.isEmpty())
        return geometry;

    const QDateTime &first = *sessionArray.first()->sessionDate;
    geometry.startDate = VXDate::midnight(first);
    geometry.endDate = sessionArray.size() == 1
                           ? VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(geometry.startDate, input.firstDayOfWeek)
                           : VXDate::midnight(*sessionArray.last()->sessionDate);
    geometry.days = numberOfDaysFrom(geometry.startDate, geometry.endDate);
    geometry.width = std::max(geometry.days * kDayWidth, input.scrollViewWidth - kScrollViewBorder);

    const QDate startDay = geometry.startDate.date();
    const QDate firstWeek =
        VXDate::firstDayOfNextWeekWithFirstDayOfTheWeek(geometry.startDate, input.firstDayOfWeek).date();
    for (double x = startDay.daysTo(firstWeek) * kDayWidth; x < geometry.width; x += kWeekWidth)
        geometry.weekLines.append(x);

    QList<double> columnX;
    QList<double> pointX;
    columnX.reserve(sessionArray.size());
    pointX.reserve(sessionArray.size());
    for (const RunSession *session : sessionArray) {
        const double x = startDay.daysTo(VXDate::localDay(*session->sessionDate)) * kDayWidth;
        columnX.append(x);
        pointX.append(x + kHalfDay);
    }

    geometry.weeks = weeksOf(columnX, geometry.weekLines, startDay);
    geometry.months = monthsOf(startDay, geometry.width);

    if (input.layers.time) {
        geometry.bars = timeBars(sessionArray, columnX, input);
        geometry.rectArray.reserve(geometry.bars.size());
        for (const HistoryBar &bar : std::as_const(geometry.bars))
            geometry.rectArray.append(bar.rect.adjusted(0, 0, 0, kClickExtraHeight));
    }

    const double span = input.height - kLineSpanReduction;
    const double flat = kFlatRangeHeight * input.height;
    if (input.layers.heartRate) {
        const auto heartRate = [&sessionArray](qsizetype i) { return sessionArray[i]->sessionAverageHR; };
        const LineScale scale{positiveRange(sessionArray, heartRate), kLineBottom, span, flat};
        geometry.heartRate = heartRateLine(sessionArray, pointX, scale);
    }
    if (input.layers.distance) {
        // Each session's distance in the user's unit, read once for the scale and
        // the line; the units are made once per pass, not per session.
        const VXUnits units;
        QList<std::optional<int>> distances;
        distances.reserve(sessionArray.size());
        for (const RunSession *session : sessionArray)
            distances.append(session->sessionTotalDistance(units));
        const auto distance = [&distances](qsizetype i) { return distances[i]; };
        // Unlike the other lines, the distance scale includes 0 (and any negative value).
        double minimum = 0;
        double maximum = 0;
        for (const std::optional<int> &value : std::as_const(distances)) {
            const double d = value.value_or(0);
            minimum = std::min(minimum, d);
            maximum = std::max(maximum, d);
        }
        const LineScale scale{{minimum, maximum - minimum}, kLineBottom, span, flat};
        geometry.distance = restartingLine(sessionArray, pointX, scale, distance);
    }
    if (input.layers.calories) {
        const auto calories = [&sessionArray](qsizetype i) { return sessionArray[i]->sessionCalories; };
        const LineScale scale{positiveRange(sessionArray, calories), kCaloriesBottom, span, flat};
        geometry.calories = restartingLine(sessionArray, pointX, scale, calories);
    }
    return geometry;
}

HistoryWeekTotals HistoryGeometry::totalsOf(const HistoryWeek &week, const QList<const RunSession *> &sessionArray,
                                            const VXUnits &units)
{
    HistoryWeekTotals totals;
    for (qsizetype i = week.firstSession; i < week.firstSession + week.sessionCount && i < sessionArray.size(); ++i) {
        totals.totalTime += sessionArray[i]->sessionTotalTime.value_or(0);
        totals.distance += std::max(sessionArray[i]->sessionTotalDistance(units).value_or(0), 0);
    }
    return totals;
}

double HistoryGeometry::columnStart(const std::optional<QDateTime> &date) const
{
    if (!startDate.isValid() || !date || !date->isValid())
        return 0;
    return (numberOfDaysFrom(startDate, *date) - 1) * kDayWidth;
}

int HistoryGeometry::hitTest(const QPointF &point) const
{
    for (qsizetype i = 0; i < rectArray.size(); ++i) {
        const QRectF &r = rectArray[i];
        if (point.x() >= r.left() && point.x() < r.right() && point.y() >= r.top() && point.y() < r.bottom())
            return int(i);
    }
    return -1;
}

std::optional<double> HistoryGeometry::scrollTarget(double left, double visibleWidth, double columnX)
{
    if (left > columnX)
        return columnX;
    if (columnX > left + visibleWidth - kDayWidth)
        return columnX - visibleWidth + kDayWidth;
    return std::nullopt;
}
