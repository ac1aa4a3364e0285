#include "VXDurationText.h"

#include "VXNumberText.h"

namespace {

// No duration is negative; an absent one counts as 0.
quint64 unsignedTenths(std::optional<qint64> duration)
{
    return duration && *duration > 0 ? static_cast<quint64>(*duration) : 0;
}

// Minutes and seconds are padded to two digits, hours never.
QString paddedField(quint64 field)
{
    return (field < 10 ? QStringLiteral("0") : QString()) + QString::number(field);
}

QString minutesAndSeconds(quint64 wholeSeconds)
{
    const quint64 m = (wholeSeconds % VXDurationText::kSecondsPerHour) / VXDurationText::kSecondsPerMinute;
    const quint64 s = wholeSeconds % VXDurationText::kSecondsPerMinute;
    return paddedField(m) + QLatin1Char(':') + paddedField(s);
}

} // namespace

QString VXDurationText::clock(quint64 wholeSeconds)
{
    return QString::number(wholeSeconds / kSecondsPerHour) + QLatin1Char(':') + minutesAndSeconds(wholeSeconds);
}

QString VXDurationText::truncatedToSeconds(std::optional<qint64> tenths)
{
    return clock(unsignedTenths(tenths) / kTenthsPerSecond);
}

QString VXDurationText::roundedToSeconds(std::optional<qint64> tenths)
{
    return clock((unsignedTenths(tenths) + kTenthsPerSecond / 2) / kTenthsPerSecond);
}

QString VXDurationText::withTenths(std::optional<qint64> tenths)
{
    const quint64 t = unsignedTenths(tenths);
    return clock(t / kTenthsPerSecond) + VXNumberText::decimalSeparator() + QString::number(t % kTenthsPerSecond);
}

QString VXDurationText::minutesAndSecondsTruncated(std::optional<qint64> tenths)
{
    return minutesAndSeconds(unsignedTenths(tenths) / kTenthsPerSecond);
}
