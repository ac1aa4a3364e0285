#include "VXDurationText.h"

#include "VXNumberText.h"

namespace {

QString paddedField(quint64 field)
{
    return VXDurationText::padding(field) + QString::number(field);
}

} // namespace

quint64 VXDurationText::tenths(std::optional<qint64> duration)
{
    return duration && *duration > 0 ? static_cast<quint64>(*duration) : 0;
}

QString VXDurationText::padding(quint64 field)
{
    return field < 10 ? QStringLiteral("0") : QString();
}

QString VXDurationText::clock(quint64 wholeSeconds)
{
    const quint64 h = wholeSeconds / kSecondsPerHour;
    const quint64 m = (wholeSeconds % kSecondsPerHour) / kSecondsPerMinute;
    const quint64 s = wholeSeconds % kSecondsPerMinute;
    return QString::number(h) + QLatin1Char(':') + paddedField(m) + QLatin1Char(':')
           + paddedField(s);
}

QString VXDurationText::clockWithTenths(quint64 tenths)
{
    const quint64 h = tenths / kTenthsPerHour;
    const quint64 m = (tenths % kTenthsPerHour) / kTenthsPerMinute;
    const quint64 s = (tenths % kTenthsPerMinute) / kTenthsPerSecond;
    const quint64 d = tenths % kTenthsPerSecond;
    return QString::number(h) + QLatin1Char(':') + paddedField(m) + QLatin1Char(':')
           + paddedField(s) + VXNumberText::decimalSeparator() + QString::number(d);
}

QString VXDurationText::minutesAndSeconds(quint64 wholeSeconds)
{
    const quint64 m = (wholeSeconds % kSecondsPerHour) / kSecondsPerMinute;
    const quint64 s = wholeSeconds % kSecondsPerMinute;
    return paddedField(m) + QLatin1Char(':') + paddedField(s);
}
