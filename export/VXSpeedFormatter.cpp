#include "VXSpeedFormatter.h"

#include "VXNumberText.h"

namespace {
// Tenths of a second in an hour: the speed of a pace p is 36000 / p per hour.
constexpr float kTenthsPerHour = 36000.0f;
constexpr int kSpeedDecimals = 1;
} // namespace

std::optional<QString> VXSpeedFormatter::stringForObjectValue(const QVariant &value) const
{
    const std::optional<double> pace = VXNumberText::numberFromVariant(value);
    if (!pace)
        return std::nullopt;
    if (VXNumberText::integerValue(*pace) == 0)
        return QStringLiteral("-");
    const float speed = kTenthsPerHour / static_cast<float>(*pace);
    return VXNumberText::localeFormatted(speed, kSpeedDecimals) + QLatin1Char(' ')
           + m_units.speedUnitString();
}
