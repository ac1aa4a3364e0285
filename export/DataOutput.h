#pragma once

#include "VXUnits.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QtGlobal>

#include <optional>

// The exporter: the text forms of the values written into export files.
// The formatting operations are static, read "SaveDateFormat" and
// "SaveDataWithTenths" on every call and treat an absent number as 0.
// Lives in the GUI thread (the formatting operations: any thread).
class DataOutput : public QObject
{
    Q_OBJECT

public:
    explicit DataOutput(QObject *parent = nullptr);

    // "h:mm:ss" rounded to the nearest second (a tenths digit of 5 rounds up),
    // or "h:mm:ss<separator>d" with tenths.
    static QString timeStringFromSeconds(std::optional<qint64> tenths, bool withTenths);

    // Local time, "%m/%d/%Y %H:%M:%S", or day first when not fixed and
    // "SaveDateFormat" is "Date DD/MM/YYYY". An invalid date gives an empty text.
    static QString dateStringFromDate(const QDateTime &date, bool withFixedDateFormat);
    // "%m/%d/%Y", or "%d/%m/%Y" when "SaveDateFormat" is "Date DD/MM/YYYY"; empty when invalid.
    static QString birthdayStringFromDate(const QDateTime &date);

    // Speeds ("%.2f", locale separator) of a pace in tenths of a second per unit.
    // An absent or zero pace has no speed: the result is an empty text.
    static QString speedFromData(std::optional<qint64> pace);
    static QString speedFromData(std::optional<qint64> pacePerKilometre, const VXUnits &units);

    // Paces as durations, with tenths when "SaveDataWithTenths" is on.
    static QString paceFromData(std::optional<qint64> pace);
    static QString paceFromData(std::optional<qint64> pacePerKilometre, const VXUnits &units);

    // Thousandths of the display unit, "%.3f" in a metric locale, else "%.2f".
    static QString distanceFromData(std::optional<qint64> thousandths);
    // Metres, in kilometres or (not metric) miles; metric is the locale's at the call.
    static QString distanceFromData(std::optional<qint64> metres, const VXUnits &units);

    // Centimetres in a metric locale (empty when absent), else whole inches.
    static QString lengthFromData(std::optional<qint64> centimetres);
    // The stored weight (tenths of a pound) in whole kilograms or pounds.
    static QString weightFromData(std::optional<qint64> weight, const VXUnits &units);
};
