#include "ExportRows.h"

#include "DataOutput.h"
#include "PaceSpeed.h"
#include "RunSession.h"
#include "WatchModel.h"
#include "VXNumberText.h"

#include <algorithm>
#include <optional>

namespace {

const QString kSession = QStringLiteral("Session");
const QString kUser = QStringLiteral("User");
const QString kLimits = QStringLiteral("Limits");
const QString kNoLimits = QStringLiteral("No Limits");
const QString kPaceLimits = QStringLiteral("Pace Limits");

// The RS200 always reports five sport zones; they are written even when one is missing.
constexpr int kSportZoneCount = 5;
// Every watch reports its number of laps in one byte; a larger number can only
// come from a damaged store and would otherwise build rows without end.
constexpr int kMostLaps = 255;
constexpr int kLeastExportedLaps = 2;

constexpr int kLimitDecimals = 1;

QString integerText(std::optional<int> value)
{
    return value ? QString::number(*value) : QString();
}

QString numberedGroup(const char *name, int number)
{
    return QLatin1String(name) + u' ' + QString::number(number);
}

// A CS200 session stores its one limit zone without a number; it is zone 1.
const LimitZone *limitZoneWithNumber(const RunSession &session, int number)
{
    if (const LimitZone *zone = session.limitZoneWithNumber(number))
        return zone;
    const bool singleUnnumbered = session.limitZone.size() == 1 && !session.limitZone.front().zoneNumber;
    return number == 1 && singleUnnumbered ? &session.limitZone.front() : nullptr;
}

} // namespace

class ExportRows::Builder
{
public:
    Builder(const RunSession &session, const ExportRows &options)
        : m_session(session), m_options(options), m_units(options.m_units)
    {
    }

    QList<ExportRow> build()
    {
        appendSessionRows();
        appendUserRows();
        if (watchModelFromName(m_session.hrm) == WatchModel::RS200)
            appendSportZoneRows();
        if (watchModelFromName(m_session.hrm) == WatchModel::F6 && !m_session.sportZone.empty())
            appendF6LimitRows(m_session.sportZone.front());
        append(kLimits, "Type", m_session.sessionLimitType.value_or(QString()));
        appendLimitZoneRows();
        appendLapRows();
        return m_rows;
    }

private:
    void append(const QString &group, const char *label, const QString &value)
    {
        m_rows.append({group, QLatin1String(label), value});
    }

    QString duration(std::optional<int> tenths) const
    {
        return DataOutput::timeStringFromSeconds(tenths, m_options.m_withTenths);
    }

    bool hasPaceData() const { return m_session.sessionPaceData.value_or(false); }

    void appendSessionRows()
    {
        const RunSession &s = m_session;
        append(kSession, "Name", s.sessionName.value_or(QString()));
        append(kSession, "Training Date",
               DataOutput::dateStringFromDate(s.sessionDate.value_or(QDateTime()),
                                              m_options.m_withFixedDateFormat));
        append(kSession, "Comment", s.comment.value_or(QString()));
        append(kSession, "Average HR", integerText(s.sessionAverageHR));
        append(kSession, "Maximum HR", integerText(s.sessionMaxHR));
        append(kSession, "Maximum Set HR", integerText(s.sessionMaxSetHR));
        append(kSession, "Calories", integerText(s.sessionCalories));
        append(kSession, "Total Time", duration(s.sessionTotalTime));
        if (hasPaceData()) {
            const int averagePace = s.sessionAveragePace();
            append(kSession, "Total Distance", DataOutput::distanceFromData(s.sessionTotalDistance()));
            append(kSession, "Average Speed", DataOutput::speedFromData(averagePace));
            append(kSession, "Average Pace", DataOutput::paceFromData(averagePace));
            append(kSession, "Maximum Speed", DataOutput::speedFromData(s.sessionMaxPace, m_units));
            append(kSession, "Maximum Pace", DataOutput::paceFromData(s.sessionMaxPace, m_units));
        }
        if (!s.isCS200())
            append(kSession, "Laps", integerText(s.sessionLaps));
    }

    void appendUserRows()
    {
        const RunSession &s = m_session;
        append(kUser, "Sex", s.userSex.value_or(QString()));
        append(kUser, "Birthday", DataOutput::birthdayStringFromDate(s.userBirthday.value_or(QDateTime())));
        append(kUser, "Length", DataOutput::lengthFromData(s.userLength));
        append(kUser, "Weight", DataOutput::weightFromData(s.userWeight, m_units));
        append(kUser, "Maximum HR", integerText(s.userMaxHR));
        append(kUser, "Sitting HR", integerText(s.userSittingHR));
        if (!s.isCS200()) {
            append(kUser, "VO2 Max", integerText(s.userVO2Max));
            append(kUser, "Activity Level", s.userActivityLevel.value_or(QString()));
        }
    }

    void appendSportZoneRows()
    {
        for (int number = 1; number <= kSportZoneCount; ++number) {
            const SportZone *zone = m_session.sportZoneWithNumber(number);
            const SportZone absent;
            const SportZone &z = zone ? *zone : absent;
            const QString group = numberedGroup("SportZone", number);
            append(group, "Low Limit", integerText(z.limitLow));
            append(group, "High Limit", integerText(z.limitHigh));
            append(group, "Time in Zone", duration(z.timeInZone));
        }
    }

    void appendF6LimitRows(const SportZone &zone)
    {
        append(kLimits, "Low Limit", integerText(zone.limitLow));
        append(kLimits, "High Limit", integerText(zone.limitHigh));
        append(kLimits, "Time in Zone", duration(zone.timeInZone));
    }

    void appendLimitZoneRows()
    {
        const std::optional<QString> &limitType = m_session.sessionLimitType;
        if (!limitType || *limitType == kNoLimits)
            return;
        const int zoneCount = int(m_session.limitZone.size());
        for (int number = 1; number <= zoneCount; ++number) {
            const LimitZone *zone = limitZoneWithNumber(m_session, number);
            const LimitZone absent;
            const LimitZone &z = zone ? *zone : absent;
            const QString group = numberedGroup("LimitZone", number);
            if (*limitType == kPaceLimits) {
                append(group, "Low Speed Limit", speedLimit(z.limitLow));
                append(group, "High Speed Limit", speedLimit(z.limitHigh));
                append(group, "Low Pace Limit", paceLimit(z.limitLow));
                append(group, "High Pace Limit", paceLimit(z.limitHigh));
            } else {
                append(group, "Low HR Limit", integerText(z.limitLow));
                append(group, "High HR Limit", integerText(z.limitHigh));
            }
            append(group, "Time Below Limits", duration(z.timeBelowZone));
            append(group, "Time Inside Limits", duration(z.timeInZone));
            append(group, "Time Above Limits", duration(z.timeAboveZone));
        }
    }

    // Speed of a pace limit in the display unit; an absent or zero pace has none.
    QString speedLimit(std::optional<int> pace) const
    {
        const float limit = static_cast<float>(pace.value_or(0));
        if (limit == 0.0f)
            return {};
        const double speed = speedFromPace(limit) * m_units.kmToMilesFactor();
        return VXNumberText::localeFormatted(speed, kLimitDecimals);
    }

    // Minutes per display unit, as a decimal number.
    QString paceLimit(std::optional<int> pace) const
    {
        return VXNumberText::localeFormatted(minutesFromPace(pace.value_or(0), m_units.kmToMilesFactor()),
                                             kLimitDecimals);
    }

    void appendLapRows()
    {
        if (m_session.isCS200())
            return;
        const int lapCount = std::min(m_session.sessionLaps.value_or(0), kMostLaps);
        if (lapCount < kLeastExportedLaps)
            return;
        for (int number = 1; number <= lapCount; ++number) {
            const Lap *lap = m_session.lapWithNumber(number);
            const Lap absent;
            const Lap &l = lap ? *lap : absent;
            const QString group = numberedGroup("Lap", number);
            append(group, "Time in Lap", duration(l.timeInLap));
            append(group, "Average HR", integerText(l.averageHR));
            append(group, "End HR", integerText(l.endHR));
            append(group, "Maximum HR", integerText(l.maxHR));
            if (hasPaceData()) {
                append(group, "Distance", DataOutput::distanceFromData(l.distance, m_units));
                append(group, "Average Speed", DataOutput::speedFromData(l.averagePace, m_units));
                append(group, "End Speed", DataOutput::speedFromData(l.endPace, m_units));
            }
        }
    }

    const RunSession &m_session;
    const ExportRows &m_options;
    const VXUnits &m_units;
    QList<ExportRow> m_rows;
};

ExportRows::ExportRows(bool withTenths, bool withFixedDateFormat)
    : m_withTenths(withTenths), m_withFixedDateFormat(withFixedDateFormat)
{
}

QList<ExportRow> ExportRows::rowsForSession(const RunSession *session) const
{
    const RunSession nothingSelected;
    return Builder(session ? *session : nothingSelected, *this).build();
}
