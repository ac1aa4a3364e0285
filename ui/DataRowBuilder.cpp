#include "DataRowBuilder.h"

#include "DataView.h"
#include "PaceSpeed.h"
#include "WatchModel.h"
#include "RunSession.h"
#include "VXDurationText.h"
#include "VXNumberText.h"

#include <QCoreApplication>

#include <algorithm>

namespace {

constexpr float kThousandthsPerUnit = 1000.0f;
constexpr float kTenthsPerUnit = 10.0f;
constexpr float kPercent = 100.0f;
constexpr int kSpeedDecimals = 1;
constexpr int kSportZoneCount = 5;

const QLatin1StringView kNoLimits("No Limits");
const QLatin1StringView kPaceLimits("Pace Limits");
const QChar kArrowDown(0x2193);
const QChar kArrowRight(0x2192);
const QChar kArrowUp(0x2191);

QString tr(const char *text)
{
    return QCoreApplication::translate("DataRowBuilder", text);
}

// Fills a printf-style format whose placeholders (%d, %@, %C, %.1f) take the
// given texts in order and whose "%%" is a percent sign. The formats are
// translation keys, so they are filled here rather than handed to printf.
QString fill(const QString &format, const QStringList &arguments)
{
    QString result;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != QLatin1Char('%') || i + 1 == format.size()) {
            result += format[i];
            continue;
        }
        qsizetype end = i + 1;
        while (end < format.size() && (format[end] == QLatin1Char('.') || format[end].isDigit()))
            ++end;
        if (end == format.size()) {
            result += format.mid(i);
            break;
        }
        if (format[end] == QLatin1Char('%'))
            result += QLatin1Char('%');
        else if (next < arguments.size())
            result += arguments[next++];
        i = end;
    }
    return result;
}

QString numberText(std::optional<qint64> value)
{
    return value ? QString::number(*value) : QStringLiteral("-");
}

QString plainOneDecimal(double value)
{
    return VXNumberText::plain(value, kSpeedDecimals);
}

// The speed of a pace limit, or "-" for a limit of 0, which has no speed.
QString limitSpeedText(std::optional<int> limit, double factor)
{
    const float pace = static_cast<float>(limit.value_or(0));
    if (pace == 0.0f)
        return QStringLiteral("-");
    return plainOneDecimal(speedFromPace(pace) * factor);
}

QString limitPaceMinutesText(std::optional<int> limit, double factor)
{
    return plainOneDecimal(minutesFromPace(limit.value_or(0), factor));
}

StyledTime withTenths(std::optional<qint64> tenths)
{
    return DataView::timeStringFromSeconds(tenths, true);
}

QString withoutTenths(std::optional<int> tenths)
{
    return DataView::timeStringFromSeconds(tenths, false).text;
}

} // namespace

struct DataRowBuilder::Selection
{
    const QList<const RunSession *> &sessions;
    const RunSession &last;

    bool isSingle() const { return sessions.size() == 1; }
};

DataRowBuilder::DataRowBuilder(const VXUnits &units, DataSwitches switches)
    : m_units(units), m_switches(switches)
{
}

std::optional<qint64> DataRowBuilder::collectData(const QList<const RunSession *> &selected, QStringView key)
{
    std::optional<qint64> sum;
    for (const RunSession *session : selected) {
        const std::optional<double> value = VXNumberText::numberFromVariant(session->value(key));
        if (value)
            sum = sum.value_or(0) + static_cast<qint64>(*value);
    }
    return sum;
}

QList<DataRow> DataRowBuilder::populateDataRowArray(const QList<const RunSession *> &selected) const
{
    QList<DataRow> rows;
    if (selected.isEmpty())
        return rows;
    const Selection selection{selected, *selected.last()};
    appendNoisyTransfer(selection, rows);
    appendTotals(selection, rows);
    if (!appendDistance(selection, rows) || !selection.isSingle())
        return rows;
    appendCadence(selection, rows);
    appendSportZones(selection.last, rows);
    appendLimitZones(selection.last, rows);
    appendLaps(selection.last, rows);
    return rows;
}

// First, so that no value is read before the warning that it may be wrong.
void DataRowBuilder::appendNoisyTransfer(const Selection &selection, QList<DataRow> &rows) const
{
    if (std::none_of(selection.sessions.begin(), selection.sessions.end(),
                     [](const RunSession *session) { return session->isFromNoisyTransfer(); }))
        return;
    rows.append(DataRow::text(tr("Transfer"), tr("Noisy: check the values")));
    rows.append(DataRow::separator());
}

void DataRowBuilder::appendTotals(const Selection &selection, QList<DataRow> &rows) const
{
    rows.append({tr("Total time"), withTenths(collectData(selection.sessions, u"sessionTotalTime"))});
    if (const auto rideTime = collectData(selection.sessions, u"sessionRideTime"))
        rows.append({tr("Ride time"), withTenths(rideTime)});
    if (selection.isSingle()) {
        const RunSession &session = selection.last;
        rows.append(DataRow::text(tr("Average HR"), HRDisplay(session.sessionAverageHR, session.userMaxHR)));
        rows.append(DataRow::text(tr("Maximum HR"), HRDisplay(session.sessionMaxHR, session.userMaxHR)));
    }
    if (const auto calories = collectData(selection.sessions, u"sessionCalories"))
        rows.append(DataRow::text(tr("Calories"), fill(tr("%@ kcal"), {QString::number(*calories)})));
}

bool DataRowBuilder::appendDistance(const Selection &selection, QList<DataRow> &rows) const
{
    const std::optional<qint64> distance = collectData(selection.sessions, u"sessionTotalDistance");
    if (!distance)
        return selection.isSingle();
    rows.append(DataRow::separator());
    const float units = static_cast<float>(*distance) / kThousandthsPerUnit;
    rows.append(DataRow::text(tr("Total distance"),
                              VXNumberText::fillFormat(m_units.distanceString(), units,
                                                       VXNumberText::Separator::Locale)));
    if (!selection.isSingle())
        return false;
    const RunSession &session = selection.last;
    rows.append(DataRow::text(speedLabel(QT_TR_NOOP("Average speed"), QT_TR_NOOP("Average pace")),
                              displaySpeed(session.sessionAveragePace())));
    if (session.sessionMaxPace)
        rows.append(DataRow::text(speedLabel(QT_TR_NOOP("Maximum speed"), QT_TR_NOOP("Maximum pace")),
                                  displayLocalSpeed(session.sessionMaxPace)));
    if (session.sessionMaxSpeed)
        rows.append(DataRow::text(tr("Maximum speed"),
                                  displayCS200Speed(static_cast<float>(*session.sessionMaxSpeed))));
    return true;
}

void DataRowBuilder::appendCadence(const Selection &selection, QList<DataRow> &rows) const
{
    const std::optional<qint64> cadence = collectData(selection.sessions, u"sessionAverageCadence");
    if (!cadence)
        return;
    const QString rpm = tr("rpm");
    rows.append(DataRow::separator());
    rows.append(DataRow::text(tr("Average cadence"), fill(QStringLiteral("%@ %@"), {numberText(cadence), rpm})));
    rows.append(DataRow::text(tr("Maximum cadence"),
                              fill(QStringLiteral("%@ %@"), {numberText(selection.last.sessionMaxCadence), rpm})));
}

void DataRowBuilder::appendSportZones(const RunSession &session, QList<DataRow> &rows) const
{
    if (session.sportZone.size() != kSportZoneCount)
        return;
    rows.append(DataRow::separator());
    rows.append(DataRow::heading(tr("Sport Zones")));
    for (int z = 1; z <= kSportZoneCount; ++z) {
        const SportZone *found = session.sportZoneWithNumber(z);
        const SportZone zone = found ? *found : SportZone{};
        const QString label = fill(tr("Zone %d  (%d-%d%%)"),
                                   {QString::number(z), QString::number(zone.limitLow.value_or(0)),
                                    QString::number(zone.limitHigh.value_or(0))});
        rows.append(DataRow::text(label, withoutTenths(zone.timeInZone)));
    }
}

void DataRowBuilder::appendLimitZones(const RunSession &session, QList<DataRow> &rows) const
{
    if (watchModelFromName(session.hrm) == WatchModel::CS200 || !session.sessionLimitType || *session.sessionLimitType == kNoLimits)
        return;
    const QString &limitType = *session.sessionLimitType;
    rows.append(DataRow::separator());
    rows.append(DataRow::heading(limitType));
    const int count = static_cast<int>(session.limitZone.size());
    for (int i = 1; i <= count; ++i) {
        const LimitZone *found = session.limitZoneWithNumber(i);
        const LimitZone zone = found ? *found : LimitZone{};
        const QString times = fill(QStringLiteral("%C %@  %C %@  %C %@"),
                                   {kArrowDown, withoutTenths(zone.timeBelowZone), kArrowRight,
                                    withoutTenths(zone.timeInZone), kArrowUp, withoutTenths(zone.timeAboveZone)});
        rows.append(DataRow::text(limitZoneLabel(limitType, i, zone), times));
    }
}

QString DataRowBuilder::limitZoneLabel(const QString &limitType, int number, const LimitZone &zone) const
{
    const double f = m_units.kmToMilesFactor();
    if (limitType == kPaceLimits && !m_switches.showsPace())
        return fill(tr("Zone %d  (%.1f-%.1f %@)"),
                    {QString::number(number), limitSpeedText(zone.limitLow, f),
                     limitSpeedText(zone.limitHigh, f), m_units.speedUnitString()});
    if (limitType == kPaceLimits)
        return fill(tr("Zone %d  (%.1f-%.1f %@)"),
                    {QString::number(number), limitPaceMinutesText(zone.limitLow, f),
                     limitPaceMinutesText(zone.limitHigh, f), m_units.paceUnitString()});
    // A high limit of 0 marks a limit given as a sport-zone number.
    if (zone.limitHigh.value_or(0) == 0)
        return fill(tr("Sport Zone %@"), {numberText(zone.limitLow)});
    return fill(tr("Zone %d  (%@-%@)"),
                {QString::number(number), numberText(zone.limitLow), numberText(zone.limitHigh)});
}

void DataRowBuilder::appendLaps(const RunSession &session, QList<DataRow> &rows) const
{
    const int laps = std::min(session.sessionLaps.value_or(0), kMaxLaps);
    if (laps < 2)
        return;
    for (int l = 1; l <= laps; ++l) {
        const Lap *found = session.lapWithNumber(l);
        const Lap lap = found ? *found : Lap{};
        rows.append(DataRow::separator());
        rows.append(DataRow::heading(fill(tr("Lap %d"), {QString::number(l)})));
        rows.append({tr("Time in lap"), withTenths(lap.timeInLap)});
        rows.append(DataRow::text(tr("Average HR"), HRDisplay(lap.averageHR, session.userMaxHR)));
        if (lap.endHR)
            rows.append(DataRow::text(tr("End HR"), HRDisplay(lap.endHR, session.userMaxHR)));
        rows.append(DataRow::text(tr("Maximum HR"), HRDisplay(lap.maxHR, session.userMaxHR)));
        if (session.sessionPaceData.value_or(false))
            appendLapSpeeds(session, lap, rows);
    }
}

void DataRowBuilder::appendLapSpeeds(const RunSession &session, const Lap &lap, QList<DataRow> &rows) const
{
    const float distance = static_cast<float>(lap.distance.value_or(0)) / kThousandthsPerUnit;
    if (session.isCS200()) {
        rows.append(DataRow::text(tr("Distance"), VXNumberText::fillFormat(m_units.distanceString(), distance,
                                                                           VXNumberText::Separator::Plain)));
        rows.append(DataRow::text(tr("Average speed"), displayCS200Speed(lap.averageCS200Speed() * 10.0f)));
        rows.append(DataRow::text(tr("End speed"),
                                  displayCS200Speed(static_cast<float>(lap.endPace.value_or(0)))));
        if (lap.cadenceAverage)
            rows.append(DataRow::text(tr("Average cadence"),
                                      fill(QStringLiteral("%@ %@"), {numberText(lap.cadenceAverage), tr("rpm")})));
        return;
    }
    rows.append(DataRow::text(tr("Distance"),
                              VXNumberText::fillFormat(m_units.distanceString(), distance * m_units.kmToMilesFactor(),
                                                       VXNumberText::Separator::Plain)));
    rows.append(DataRow::text(speedLabel(QT_TR_NOOP("Average speed"), QT_TR_NOOP("Average pace")),
                              displayLocalSpeed(lap.averagePace)));
    rows.append(DataRow::text(speedLabel(QT_TR_NOOP("End speed"), QT_TR_NOOP("End pace")),
                              displayLocalSpeed(lap.endPace)));
}

QString DataRowBuilder::speedLabel(const char *speed, const char *pace) const
{
    return m_switches.showsPace() ? tr(pace) : tr(speed);
}

QString DataRowBuilder::HRDisplay(std::optional<qint64> heartRate, std::optional<int> userMaxHR) const
{
    if (!heartRate)
        return QStringLiteral("-");
    if (!m_switches.heartRateAsPercent())
        return QString::number(*heartRate);
    if (userMaxHR.value_or(0) == 0)
        return QStringLiteral("-");
    const float percent = static_cast<float>(*heartRate) / static_cast<float>(*userMaxHR) * kPercent;
    return VXNumberText::localeFormatted(percent, 0) + QLatin1Char('%');
}

QString DataRowBuilder::paceText(qint64 tenths)
{
    // Rounded to the second like the CSV export's paces, so both show the same text.
    return VXDurationText::roundedToSeconds(tenths);
}

QString DataRowBuilder::displaySpeed(std::optional<int> pace) const
{
    const int p = pace.value_or(0);
    if (p == 0)
        return QStringLiteral("-");
    if (m_switches.showsPace())
        return fill(QStringLiteral("%@ %@"),
                    {paceText(static_cast<qint64>(static_cast<float>(p))), m_units.paceUnitString()});
    const float speed = speedFromPace(static_cast<float>(p));
    return VXNumberText::localeFormatted(speed, kSpeedDecimals) + QLatin1Char(' ') + m_units.speedUnitString();
}

QString DataRowBuilder::displayLocalSpeed(std::optional<int> pace) const
{
    const int p = pace.value_or(0);
    if (p == 0)
        return QStringLiteral("-");
    const double f = m_units.kmToMilesFactor();
    if (m_switches.showsPace()) {
        const float perUnit = static_cast<float>(static_cast<double>(static_cast<float>(p)) / f);
        return fill(QStringLiteral("%@ %@"),
                    {paceText(static_cast<qint64>(perUnit)), m_units.paceUnitString()});
    }
    const double speed = speedFromPace(static_cast<float>(p)) * f;
    return VXNumberText::localeFormatted(speed, kSpeedDecimals) + QLatin1Char(' ') + m_units.speedUnitString();
}

QString DataRowBuilder::displayCS200Speed(float watchSpeed) const
{
    return VXNumberText::localeFormatted(watchSpeed / kTenthsPerUnit, kSpeedDecimals) + QLatin1Char(' ')
           + m_units.speedUnitString();
}
