#pragma once

#include "RunSession.h"

#include <QDateTime>

#include <optional>

// Small sessions for the history calendar: a local date and the four values it draws.
namespace HistorySessions {

inline QDateTime local(int year, int month, int day, int hour = 12, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::LocalTime);
}

struct Values
{
    std::optional<int> totalTime = 36000;
    std::optional<int> averageHR = 140;
    // Metres; the tests run in a metric locale, so also what the calendar reads.
    std::optional<int> distance = 5000;
    std::optional<int> calories = 500;
};

inline RunSession session(const QDateTime &date, const Values &values = {})
{
    RunSession s;
    s.hrm = QStringLiteral("RS200");
    s.sessionDate = date;
    s.sessionTotalTime = values.totalTime;
    s.sessionAverageHR = values.averageHR;
    s.setPrimitiveSessionTotalDistance(values.distance);
    s.sessionCalories = values.calories;
    return s;
}

} // namespace HistorySessions
