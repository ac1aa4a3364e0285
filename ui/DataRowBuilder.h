#pragma once

#include "StyledTime.h"
#include "VXUnits.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

class Lap;
class LimitZone;
class RunSession;

// One row of the detail table. A separator has an empty label and value, a
// heading a label and an empty value.
struct DataRow
{
    QString label;
    StyledTime value;

    static DataRow separator() { return {}; }
    static DataRow heading(const QString &label) { return {label, {}}; }
    static DataRow text(const QString &label, const QString &value) { return {label, {value, false}}; }

    bool operator==(const DataRow &) const = default;
};

// The selected segments of the detail table's two switches.
struct DataSwitches
{
    int bpmOrPercent = 0; // segment 1: percent of the user's maximum heart rate
    int speedOrPace = 0;  // segment 0: speed; any other: pace

    bool heartRateAsPercent() const { return bpmOrPercent == 1; }
    bool showsPace() const { return speedOrPace != 0; }
};

// Computes the detail table's rows from the selected sessions, the switches and
// the units. Pure: reads the sessions, keeps nothing. Any thread.
class DataRowBuilder
{
public:
    // The largest lap count a watch reports (one byte); a stored count beyond it
    // is not a real one and must not make the table build millions of rows.
    static constexpr int kMaxLaps = 255;

    DataRowBuilder(const VXUnits &units, DataSwitches switches);

    // The rows for these sessions (in selection order; the last one is the
    // session the single-session rows describe). Empty without a session.
    QList<DataRow> populateDataRowArray(const QList<const RunSession *> &selected) const;

    // The sum of key over the sessions that have it (sessionTotalDistance is the
    // derived, converted value); no value when none has it.
    static std::optional<qint64> collectData(const QList<const RunSession *> &selected, QStringView key);

    // A heart rate in bpm, or as a percentage of userMaxHR in percent mode;
    // "-" for an absent heart rate and for a percentage of an absent or 0 maximum.
    QString HRDisplay(std::optional<qint64> heartRate, std::optional<int> userMaxHR) const;
    // A pace per display unit as speed or pace; "-" for 0.
    QString displaySpeed(std::optional<int> pace) const;
    // A pace per kilometre, converted to the display unit; "-" for 0.
    QString displayLocalSpeed(std::optional<int> pace) const;
    // A CS200 watch speed (tenths of its unit per hour), unconverted.
    QString displayCS200Speed(float watchSpeed) const;

private:
    struct Selection;

    // A note when a selected session comes from a noisy transfer.
    void appendNoisyTransfer(const Selection &selection, QList<DataRow> &rows) const;
    void appendTotals(const Selection &selection, QList<DataRow> &rows) const;
    // False when the rows of a multiple selection end here.
    bool appendDistance(const Selection &selection, QList<DataRow> &rows) const;
    void appendCadence(const Selection &selection, QList<DataRow> &rows) const;
    void appendSportZones(const RunSession &session, QList<DataRow> &rows) const;
    void appendLimitZones(const RunSession &session, QList<DataRow> &rows) const;
    QString limitZoneLabel(const QString &limitType, int number, const LimitZone &zone) const;
    void appendLaps(const RunSession &session, QList<DataRow> &rows) const;
    void appendLapSpeeds(const RunSession &session, const Lap &lap, QList<DataRow> &rows) const;
    // The label of a row that shows a speed, or a pace in pace mode.
    QString speedLabel(const char *speed, const char *pace) const;
    // h:mm:ss rounded to the second, as the CSV export writes paces.
    static QString paceText(qint64 tenths);

    const VXUnits &m_units;
    DataSwitches m_switches;
};
