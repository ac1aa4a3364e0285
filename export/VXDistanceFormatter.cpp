#include "VXDistanceFormatter.h"

#include "VXNumberText.h"

#include <QCoreApplication>

#include <limits>

namespace {

constexpr float kThousandthsPerUnit = 1000.0f;
constexpr int kThousandthsDigits = 3;

enum class ScanStatus { Number, NotANumber, Negative, TooLarge };

struct Scan
{
    ScanStatus status;
    qint64 thousandths = 0;
};

// The decimal number at the start of text, times 1000 exactly: the digits are
// shifted, never multiplied in binary floating point.
Scan scanThousandths(QStringView text, QStringView separator)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    auto isDigit = [&](qsizetype at) {
        return at < text.size() && text[at] >= QLatin1Char('0') && text[at] <= QLatin1Char('9');
    };

    constexpr qint64 kLimit = std::numeric_limits<int>::max();
    qint64 whole = 0;
    bool anyDigit = false;
    bool tooLarge = false;
    for (; isDigit(i); ++i) {
        anyDigit = true;
        whole = whole * 10 + text[i].digitValue();
        if (whole > kLimit) {
            tooLarge = true;
            whole = kLimit + 1;
        }
    }
    qint64 fraction = 0;
    int places = 0;
    if (!separator.isEmpty() && text.mid(i).startsWith(separator) && isDigit(i + separator.size())) {
        i += separator.size();
        for (; isDigit(i); ++i) {
            anyDigit = true;
            if (places < kThousandthsDigits) {
                fraction = fraction * 10 + text[i].digitValue();
                ++places;
            }
        }
    }
    if (!anyDigit)
        return {ScanStatus::NotANumber};
    // A fraction shorter than three digits: "5,25" holds 250 thousandths.
    for (; places < kThousandthsDigits; ++places)
        fraction *= 10;
    const qint64 thousandths = tooLarge ? kLimit + 1 : whole * 1000 + fraction;
    if (negative && thousandths != 0)
        return {ScanStatus::Negative};
    if (thousandths > kLimit)
        return {ScanStatus::TooLarge};
    return {ScanStatus::Number, thousandths};
}

QString errorText(ScanStatus status)
{
    switch (status) {
    case ScanStatus::NotANumber:
        return QCoreApplication::translate("VXDistanceFormatter", "The distance must be a number.");
    case ScanStatus::Negative:
        return QCoreApplication::translate("VXDistanceFormatter",
                                           "The distance cannot be negative.");
    case ScanStatus::TooLarge:
        return QCoreApplication::translate("VXDistanceFormatter", "The distance is too large.");
    case ScanStatus::Number:
        break;
    }
    return {};
}

} // namespace

std::optional<QString> VXDistanceFormatter::stringForObjectValue(const QVariant &value) const
{
    const std::optional<double> number = VXNumberText::numberFromVariant(value);
    if (!number)
        return std::nullopt;
    const float units = static_cast<float>(*number) / kThousandthsPerUnit;
    return VXNumberText::fillFormat(m_units.distanceString(), units,
                                    VXNumberText::Separator::Locale);
}

bool VXDistanceFormatter::getObjectValue(const QString &text, QVariant *out,
                                         QString *errorDescription) const
{
    if (text.isEmpty()) {
        if (out)
            *out = QVariant();
        return true;
    }
    const Scan scan = scanThousandths(text, VXNumberText::decimalSeparator());
    if (scan.status != ScanStatus::Number) {
        if (errorDescription)
            *errorDescription = errorText(scan.status);
        return false;
    }
    if (out)
        *out = QVariant(static_cast<int>(scan.thousandths));
    return true;
}
