#pragma once

#include <QString>
#include <QVariant>

#include <optional>

// printf-style number texts, plain (decimal point ".") or with the current
// locale's decimal separator, never with digit grouping. Any thread.
class VXNumberText
{
public:
    enum class Separator { Plain, Locale };

    // QLocale().decimalPoint(): follows QLocale::setDefault, else the system locale.
    static QString decimalSeparator();

    // "%.<decimals>f" of value; the C library's rounding, so ties go as printf takes them.
    static QString plain(double value, int decimals);
    static QString localeFormatted(double value, int decimals);

    // Fills a unit format such as "%.3f km": its first "%.<n>f" placeholder takes
    // value, "%%" becomes "%". A format without a placeholder is returned as it is.
    static QString fillFormat(const QString &format, double value, Separator separator);

    // The value when the variant holds a number (integer, floating point or bool,
    // as a number object would); no value for text, dates, invalid variants.
    static std::optional<double> numberFromVariant(const QVariant &value);

    // The number's integer value, truncated toward zero; 0 for NaN, clamped to the int range.
    static int integerValue(double value);
};
