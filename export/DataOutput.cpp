#include "DataOutput.h"

#include "VXDefaults.h"
#include "VXDurationText.h"
#include "VXNumberText.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kSaveDateFormatKey = QStringLiteral("SaveDateFormat");
const QString kSaveDataWithTenthsKey = QStringLiteral("SaveDataWithTenths");
const QString kDayFirstDateFormat = QStringLiteral("Date DD/MM/YYYY");

// strftime's %m/%d/%Y %H:%M:%S in QDateTime's notation.
const QString kMonthFirstDateTime = QStringLiteral("MM/dd/yyyy HH:mm:ss");
const QString kDayFirstDateTime = QStringLiteral("dd/MM/yyyy HH:mm:ss");
const QString kMonthFirstDate = QStringLiteral("MM/dd/yyyy");
const QString kDayFirstDate = QStringLiteral("dd/MM/yyyy");

constexpr float kTenthsPerHour = 36000.0f;
constexpr float kThousandthsPerUnit = 1000.0f;
constexpr double kMetresPerKilometre = 1000.0;
constexpr double kInchesPerCentimetre = 0.39370079;
constexpr double kTenthsPerPound = 10.0;
constexpr float kLargestPace = 4294967040.0f; // the largest float below 2^32
constexpr int kSpeedDecimals = 2;
constexpr int kMetricDistanceDecimals = 3;
constexpr int kImperialDistanceDecimals = 2;
constexpr int kWeightDecimals = 0;

bool dayFirstDates()
{
    return VXDefaults::value(kSaveDateFormatKey).toString() == kDayFirstDateFormat;
}

QString localDateText(const QDateTime &date, const QString &format)
{
    if (!date.isValid())
        return {};
    // toString with a format string writes ASCII digits whatever the locale.
    return date.toLocalTime().toString(format);
}

float singlePrecisionSpeed(qint64 pace)
{
    return kTenthsPerHour / static_cast<float>(pace);
}

int distanceDecimals()
{
    return VXUnits::localeIsMetric() ? kMetricDistanceDecimals : kImperialDistanceDecimals;
}

} // namespace

DataOutput::DataOutput(QObject *parent) : QObject(parent) {}

QString DataOutput::timeStringFromSeconds(std::optional<qint64> tenths, bool withTenths)
{
    const quint64 t = VXDurationText::tenths(tenths);
    if (withTenths)
        return VXDurationText::clockWithTenths(t);
    const quint64 roundedSeconds = (t + VXDurationText::kTenthsPerSecond / 2)
                                   / VXDurationText::kTenthsPerSecond;
    return VXDurationText::clock(roundedSeconds);
}

QString DataOutput::dateStringFromDate(const QDateTime &date, bool withFixedDateFormat)
{
    const bool dayFirst = !withFixedDateFormat && dayFirstDates();
    return localDateText(date, dayFirst ? kDayFirstDateTime : kMonthFirstDateTime);
}

QString DataOutput::birthdayStringFromDate(const QDateTime &date)
{
    return localDateText(date, dayFirstDates() ? kDayFirstDate : kMonthFirstDate);
}

QString DataOutput::speedFromData(std::optional<qint64> pace)
{
    if (!pace || *pace == 0)
        return {};
    return VXNumberText::localeFormatted(singlePrecisionSpeed(*pace), kSpeedDecimals);
}

QString DataOutput::speedFromData(std::optional<qint64> pacePerKilometre, const VXUnits &units)
{
    if (!pacePerKilometre || *pacePerKilometre == 0)
        return {};
    const double speed = singlePrecisionSpeed(*pacePerKilometre) * units.kmToMilesFactor();
    return VXNumberText::localeFormatted(speed, kSpeedDecimals);
}

QString DataOutput::paceFromData(std::optional<qint64> pace)
{
    const bool withTenths = VXDefaults::value(kSaveDataWithTenthsKey).toBool();
    return timeStringFromSeconds(pace.value_or(0), withTenths);
}

QString DataOutput::paceFromData(std::optional<qint64> pacePerKilometre, const VXUnits &units)
{
    const float pace = static_cast<float>(static_cast<double>(pacePerKilometre.value_or(0))
                                          / units.kmToMilesFactor());
    // Truncated toward zero to an unsigned 32-bit count; the bounds keep the cast defined.
    const float bounded = std::isnan(pace) ? 0.0f : std::clamp(pace, 0.0f, kLargestPace);
    return paceFromData(static_cast<qint64>(bounded));
}

QString DataOutput::distanceFromData(std::optional<qint64> thousandths)
{
    const float distance = static_cast<float>(thousandths.value_or(0)) / kThousandthsPerUnit;
    return VXNumberText::localeFormatted(distance, distanceDecimals());
}

QString DataOutput::distanceFromData(std::optional<qint64> metres, const VXUnits &units)
{
    double distance = static_cast<double>(metres.value_or(0)) / kMetresPerKilometre;
    if (!VXUnits::localeIsMetric())
        distance *= units.kmToMilesFactor();
    return VXNumberText::localeFormatted(distance, distanceDecimals());
}

QString DataOutput::lengthFromData(std::optional<qint64> centimetres)
{
    if (VXUnits::localeIsMetric())
        return centimetres ? QString::number(*centimetres) : QString();
    // std::llround rounds halves away from zero.
    const double inches = static_cast<double>(centimetres.value_or(0)) * kInchesPerCentimetre;
    return QString::number(std::llround(inches));
}

QString DataOutput::weightFromData(std::optional<qint64> weight, const VXUnits &units)
{
    const double shown =
        std::round(static_cast<double>(weight.value_or(0)) * units.poundsToKilogramFactor()
                   / kTenthsPerPound);
    // Adding +0.0 turns a rounded -0.0 into 0, so no "-0" is written.
    return VXNumberText::localeFormatted(shown + 0.0, kWeightDecimals);
}
