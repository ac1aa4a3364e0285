#include "VXNumberText.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>
#include <limits>

namespace {
constexpr int kMaxDecimals = 17;
} // namespace

QString VXNumberText::decimalSeparator()
{
    return QLocale().decimalPoint();
}

QString VXNumberText::plain(double value, int decimals)
{
    // Qt's own %f rounds exact ties away from zero; the texts here follow printf.
    char buffer[512];
    const int length = std::snprintf(buffer, sizeof buffer, "%.*f",
                                     qBound(0, decimals, kMaxDecimals), value);
    if (length < 0)
        return {};
    return QString::fromLatin1(buffer, qMin<int>(length, sizeof buffer - 1));
}

QString VXNumberText::localeFormatted(double value, int decimals)
{
    QString text = plain(value, decimals);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0)
        text.replace(point, 1, decimalSeparator());
    return text;
}

QString VXNumberText::fillFormat(const QString &format, double value, Separator separator)
{
    static const QRegularExpression placeholder(QStringLiteral("%%|%\\.(\\d+)f|%f"));
    QString result;
    qsizetype copiedUpTo = 0;
    bool filled = false;
    auto it = placeholder.globalMatch(format);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        result += format.mid(copiedUpTo, match.capturedStart() - copiedUpTo);
        copiedUpTo = match.capturedEnd();
        if (match.captured() == QLatin1String("%%")) {
            result += QLatin1Char('%');
        } else if (filled) {
            result += match.captured();
        } else {
            const int decimals = match.hasCaptured(1) ? match.captured(1).toInt() : 6;
            result += separator == Separator::Locale ? localeFormatted(value, decimals)
                                                     : plain(value, decimals);
            filled = true;
        }
    }
    result += format.mid(copiedUpTo);
    return result;
}

std::optional<double> VXNumberText::numberFromVariant(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Float:
    case QMetaType::Double:
        return value.toDouble();
    default:
        return std::nullopt;
    }
}

int VXNumberText::integerValue(double value)
{
    if (std::isnan(value))
        return 0;
    const double truncated = std::trunc(value);
    if (truncated <= std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    if (truncated >= std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    return static_cast<int>(truncated);
}
