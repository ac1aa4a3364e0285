#include "VXSpeedFormatter.h"

#include "PaceSpeed.h"
#include "VXNumberText.h"

namespace {
constexpr int kSpeedDecimals = 1;
} // namespace

std::optional<QString> VXSpeedFormatter::stringForObjectValue(const QVariant &value) const
{
    const std::optional<double> pace = VXNumberText::numberFromVariant(value);
    if (!pace)
        return std::nullopt;
    if (VXNumberText::integerValue(*pace) == 0)
        return QStringLiteral("-");
    const float speed = speedFromPace(static_cast<float>(*pace));
    return VXNumberText::localeFormatted(speed, kSpeedDecimals) + QLatin1Char(' ')
           + m_units.speedUnitString();
}
