#pragma once

#include <QString>

// The user's choice of metric or imperial units: unit texts and conversion
// factors, decided once from the current locale when the object is made.
// A plain value; any thread may create and read one.
class VXUnits
{
public:
    static constexpr double kMetricKmToMiles = 1.0;
    static constexpr double kImperialKmToMiles = 0.621371192;
    static constexpr double kMetricPoundsToKilogram = 0.45359237;
    static constexpr double kImperialPoundsToKilogram = 1.0;

    // Reads QLocale() (the default locale, which follows the system locale
    // unless QLocale::setDefault changed it).
    VXUnits();
    explicit VXUnits(bool metric);

    static bool localeIsMetric();

    bool isMetric() const { return m_metric; }
    // A printf format with one floating-point placeholder and the unit: "%.3f km" or "%.2f mi".
    const QString &distanceString() const { return m_distanceString; }
    const QString &speedUnitString() const { return m_speedUnitString; }
    const QString &paceUnitString() const { return m_paceUnitString; }
    double kmToMilesFactor() const { return m_kmToMilesFactor; }
    double poundsToKilogramFactor() const { return m_poundsToKilogramFactor; }

private:
    bool m_metric;
    QString m_distanceString;
    QString m_speedUnitString;
    QString m_paceUnitString;
    double m_kmToMilesFactor;
    double m_poundsToKilogramFactor;
};
