#include "VXUnits.h"

#include <QCoreApplication>
#include <QLocale>

VXUnits::VXUnits() : VXUnits(localeIsMetric()) {}

VXUnits::VXUnits(bool metric)
    : m_metric(metric),
      m_distanceString(metric ? QCoreApplication::translate("VXUnits", "%.3f km")
                              : QCoreApplication::translate("VXUnits", "%.2f mi")),
      m_speedUnitString(metric ? QCoreApplication::translate("VXUnits", "km/h")
                               : QCoreApplication::translate("VXUnits", "mph")),
      m_paceUnitString(metric ? QCoreApplication::translate("VXUnits", "min/km")
                              : QCoreApplication::translate("VXUnits", "min/mi")),
      m_kmToMilesFactor(metric ? kMetricKmToMiles : kImperialKmToMiles),
      m_poundsToKilogramFactor(metric ? kMetricPoundsToKilogram : kImperialPoundsToKilogram)
{
}

// Only US-customary locales are not metric; the United Kingdom shows
// kilometres and kilograms, as on the platform the program was first made for.
bool VXUnits::localeIsMetric()
{
    return QLocale().measurementSystem() != QLocale::ImperialUSSystem;
}
