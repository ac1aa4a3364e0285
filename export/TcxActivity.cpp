#include "TcxActivity.h"

#include "RunSession.h"
#include "WatchModel.h"
#include "VXUnits.h"

#include <algorithm>
#include <limits>

namespace {


constexpr double kTenthsPerSecond = 10.0;
constexpr double kSecondsPerHour = 3600.0;
constexpr double kMetresPerKilometre = 1000.0;
// The international mile, the unit an imperial locale shows CS200 distances in.
constexpr double kMetresPerMile = 1609.344;
// CS200 distances count thousandths and speeds tenths of the watch's unit.
constexpr double kWatchDistancePerUnit = 1000.0;
constexpr double kWatchSpeedPerUnit = 10.0;
// The format stores heart rates as 1 to 255 and cadences as 0 to 254.
constexpr int kHighestHeartRate = 255;
constexpr int kHighestCadence = 254;
// Lap calories are an unsigned 16-bit number in the format.
constexpr int kMostCalories = std::numeric_limits<quint16>::max();

QString sportOf(const RunSession &session)
{
    if (watchModelFromName(session.hrm) == WatchModel::RS200)
        return QStringLiteral("Running");
    if (session.isCS200())
        return QStringLiteral("Biking");
    return QStringLiteral("Other");
}

qint64 tenthsOf(std::optional<int> time)
{
    return std::max(0, time.value_or(0));
}

double metresPerWatchUnit(const VXUnits &units)
{
    return units.isMetric() ? kMetresPerKilometre : kMetresPerMile;
}

// Stored distances: RS200 metres, or CS200 thousandths of the watch's unit.
double metresOf(std::optional<int> stored, bool cs200, const VXUnits &units)
{
    const double value = std::max(0, stored.value_or(0));
    return cs200 ? value / kWatchDistancePerUnit * metresPerWatchUnit(units) : value;
}

std::optional<double> speedOver(double metres, qint64 tenths)
{
    if (metres <= 0.0 || tenths <= 0)
        return std::nullopt;
    return metres / (static_cast<double>(tenths) / kTenthsPerSecond);
}

// A pace is tenths of a second per kilometre.
std::optional<double> speedOfPace(std::optional<int> pace)
{
    if (!pace || *pace <= 0)
        return std::nullopt;
    return kMetresPerKilometre / (*pace / kTenthsPerSecond);
}

std::optional<double> speedOfWatchSpeed(std::optional<int> speed, const VXUnits &units)
{
    if (!speed || *speed <= 0)
        return std::nullopt;
    return *speed / kWatchSpeedPerUnit * metresPerWatchUnit(units) / kSecondsPerHour;
}

std::optional<int> heartRate(std::optional<int> bpm)
{
    if (!bpm || *bpm <= 0 || *bpm > kHighestHeartRate)
        return std::nullopt;
    return bpm;
}

std::optional<int> cadence(std::optional<int> rpm)
{
    if (!rpm || *rpm < 0 || *rpm > kHighestCadence)
        return std::nullopt;
    return rpm;
}

TcxLap wholeSession(const RunSession &session, const VXUnits &units)
{
    const bool cs200 = session.isCS200();
    TcxLap lap;
    lap.timeTenths = tenthsOf(session.sessionTotalTime);
    lap.distanceMetres = metresOf(session.primitiveSessionTotalDistance(), cs200, units);
    lap.averageHeartRate = heartRate(session.sessionAverageHR);
    lap.maximumHeartRate = heartRate(session.sessionMaxHR);
    lap.triggerMethod = QStringLiteral("Manual");
    if (cs200) {
        // The watch averages its speed over the time in motion, and so do we.
        const qint64 rideTime = tenthsOf(session.sessionRideTime);
        lap.averageSpeed = speedOver(lap.distanceMetres, rideTime > 0 ? rideTime : lap.timeTenths);
        lap.maximumSpeed = speedOfWatchSpeed(session.sessionMaxSpeed, units);
        lap.cadence = cadence(session.sessionAverageCadence);
        lap.maximumBikeCadence = cadence(session.sessionMaxCadence);
    } else {
        lap.averageSpeed = speedOver(lap.distanceMetres, lap.timeTenths);
        lap.maximumSpeed = speedOfPace(session.sessionMaxPace);
    }
    return lap;
}

TcxLap lapOf(const Lap &watchLap, bool cs200, const VXUnits &units)
{
    TcxLap lap;
    // A CS200 lap time read from an invalid packed time can come out negative.
    lap.timeTenths = tenthsOf(watchLap.timeInLap);
    lap.distanceMetres = metresOf(watchLap.distance, cs200, units);
    lap.averageHeartRate = heartRate(watchLap.averageHR);
    lap.maximumHeartRate = heartRate(watchLap.maxHR);
    // The RS200 ends a lap by itself only after a set distance.
    lap.triggerMethod = watchLap.autoLap.value_or(false) ? QStringLiteral("Distance")
                                                         : QStringLiteral("Manual");
    if (cs200) {
        lap.cadence = cadence(watchLap.cadenceAverage);
        lap.averageSpeed = speedOver(lap.distanceMetres, lap.timeTenths);
    } else {
        const std::optional<double> watchSpeed = speedOfPace(watchLap.averagePace);
        lap.averageSpeed = watchSpeed ? watchSpeed : speedOver(lap.distanceMetres, lap.timeTenths);
    }
    return lap;
}

// Laps by number; a lap without one (never written by a layout) goes last.
QList<const Lap *> lapsInOrder(const RunSession &session)
{
    QList<const Lap *> laps;
    for (const Lap &lap : session.lap)
        laps.append(&lap);
    std::stable_sort(laps.begin(), laps.end(), [](const Lap *a, const Lap *b) {
        if (!a->lapNumber || !b->lapNumber)
            return a->lapNumber.has_value() && !b->lapNumber.has_value();
        return *a->lapNumber < *b->lapNumber;
    });
    return laps;
}

QList<TcxLap> lapsOf(const RunSession &session, const VXUnits &units)
{
    QList<TcxLap> laps;
    for (const Lap *lap : lapsInOrder(session))
        laps.append(lapOf(*lap, session.isCS200(), units));
    if (laps.isEmpty())
        laps.append(wholeSession(session, units));

    qint64 offset = 0;
    for (TcxLap &lap : laps) {
        lap.startOffsetTenths = offset;
        offset += lap.timeTenths;
    }
    // The watches count calories for the whole session only.
    if (session.sessionCalories) {
        QList<qint64> times;
        for (const TcxLap &lap : laps)
            times.append(lap.timeTenths);
        const QList<int> shares = TcxActivity::sharedCalories(*session.sessionCalories, times);
        for (qsizetype i = 0; i < laps.size(); ++i)
            laps[i].calories = shares[i];
    }
    return laps;
}

QString notesOf(const RunSession &session)
{
    QStringList parts;
    for (const std::optional<QString> &text : {session.sessionName, session.comment}) {
        if (text && !text->isEmpty())
            parts.append(*text);
    }
    return parts.join(u'\n');
}

} // namespace

std::optional<TcxActivity> TcxActivity::fromSession(const RunSession &session, const VXUnits &units)
{
    if (!session.sessionDate || !session.sessionDate->isValid())
        return std::nullopt;
    TcxActivity activity;
    activity.sport = sportOf(session);
    activity.start = session.sessionDate->toUTC();
    activity.laps = lapsOf(session, units);
    activity.notes = notesOf(session);
    return activity;
}

QList<int> TcxActivity::sharedCalories(int calories, const QList<qint64> &times)
{
    const qint64 total = std::clamp(calories, 0, kMostCalories);
    qint64 allTime = 0;
    for (const qint64 time : times)
        allTime += std::max<qint64>(0, time);
    const bool byCount = allTime == 0;
    if (byCount)
        allTime = times.size();

    // Each lap gets the difference of the rounded running totals (halves
    // rounding up), so no calorie is lost or counted twice.
    QList<int> shares;
    qint64 elapsed = 0;
    qint64 handedOut = 0;
    for (const qint64 time : times) {
        elapsed += byCount ? 1 : std::max<qint64>(0, time);
        const qint64 dueSoFar = (2 * total * elapsed + allTime) / (2 * allTime);
        shares.append(static_cast<int>(dueSoFar - handedOut));
        handedOut = dueSoFar;
    }
    return shares;
}
