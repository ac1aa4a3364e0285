#pragma once

#include "VXUnits.h"

#include <QString>
#include <QVariant>

#include <optional>

// Shows the speed of a pace given per display unit (a session's average pace)
// in table cells and text fields; display only. Lives in the GUI thread.
class VXSpeedFormatter
{
public:
    VXSpeedFormatter() = default;

    // "12.0 km/h" with the locale's decimal separator, "-" for a pace of 0,
    // no text for a non-number.
    std::optional<QString> stringForObjectValue(const QVariant &value) const;

    const VXUnits &units() const { return m_units; }

private:
    VXUnits m_units;
};
