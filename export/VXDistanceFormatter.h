#pragma once

#include "VXUnits.h"

#include <QString>
#include <QVariant>

#include <optional>

// Shows and parses a session's total distance, stored in thousandths of the
// display unit, for table cells and text fields. Lives in the GUI thread.
class VXDistanceFormatter
{
public:
    VXDistanceFormatter() = default;

    // "5.000 km" / "3.11 mi" with the locale's decimal separator; no text for a non-number.
    std::optional<QString> stringForObjectValue(const QVariant &value) const;

    // Empty text: no value (an invalid QVariant) and success. Otherwise a decimal
    // number at the start of the text (leading blanks skipped, trailing text such
    // as the unit ignored) in the locale's separator, times 1000 with the rest
    // dropped, as an int. A text that does not start with a number, a negative
    // number or one beyond the int range fails with an error text and leaves out
    // untouched. Either pointer may be null.
    bool getObjectValue(const QString &text, QVariant *out, QString *errorDescription) const;

    const VXUnits &units() const { return m_units; }

private:
    VXUnits m_units;
};
