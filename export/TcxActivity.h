#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QtGlobal>

#include <optional>

class RunSession;
class VXUnits;

// One lap of a Training Center activity, in the units the format uses:
// seconds, metres, metres per second. Values the watch did not give are absent.
struct TcxLap
{
    qint64 startOffsetTenths = 0; // from the session's start
    qint64 timeTenths = 0;
    double distanceMetres = 0.0;
    std::optional<double> maximumSpeed;
    std::optional<int> calories;
    std::optional<int> averageHeartRate;
    std::optional<int> maximumHeartRate;
    std::optional<int> cadence;
    QString triggerMethod;
    // The activity extension's lap values.
    std::optional<double> averageSpeed;
    std::optional<int> maximumBikeCadence;

    bool operator==(const TcxLap &) const = default;
};

// A session as one Training Center activity: what each lap says, taken from
// the watch's own figures only (no track, no samples, no positions).
// A plain value; any thread.
class TcxActivity
{
public:
    QString sport;
    QDateTime start; // UTC
    QList<TcxLap> laps;
    QString notes;

    // One lap per Lap in lap-number order, or one lap for the whole session
    // when it has none. CS200 distances and speeds are taken in kilometres
    // when units is metric and in miles otherwise. No activity without a
    // start date: the format needs one.
    static std::optional<TcxActivity> fromSession(const RunSession &session, const VXUnits &units);

    // calories shared out in proportion to times, rounded so that the shares
    // add up to calories exactly; equal weights when every time is 0.
    static QList<int> sharedCalories(int calories, const QList<qint64> &times);
};
