#include "StoreValueText.h"

#include "StoreFileFormat.h"

#include <QTimeZone>

#include <limits>

namespace StoreValueText {

namespace {

constexpr int kSecondsPerMinute = 60;
constexpr int kSecondsPerHour = 3600;
// Offsets beyond a day are not time zones; refusing them keeps QDateTime sane.
constexpr int kMaxOffsetSeconds = 24 * kSecondsPerHour;
// Years of QDate go up to millions; nine digits stay within an int.
constexpr qint64 kMaxNumber = 999'999'999;

// value in decimal, padded with zeros to at least width digits.
void appendDigits(QString &text, int value, int width)
{
    char digits[16];
    int count = 0;
    do {
        digits[count++] = char('0' + value % 10);
        value /= 10;
    } while (value > 0 && count < int(sizeof digits));
    for (int pad = count; pad < width; ++pad)
        text += u'0';
    while (count > 0)
        text += QLatin1Char(digits[--count]);
}

QString offsetText(int offsetSeconds)
{
    const int magnitude = offsetSeconds < 0 ? -offsetSeconds : offsetSeconds;
    QString text(1, offsetSeconds < 0 ? u'-' : u'+');
    appendDigits(text, magnitude / kSecondsPerHour, 2);
    text += u':';
    appendDigits(text, magnitude % kSecondsPerHour / kSecondsPerMinute, 2);
    // Historic local mean times have offsets with seconds (Berlin before 1893).
    if (magnitude % kSecondsPerMinute != 0) {
        text += u':';
        appendDigits(text, magnitude % kSecondsPerMinute, 2);
    }
    return text;
}

// Reads a run of exactly count digits (or at least count when atLeast) at pos.
std::optional<int> digits(QStringView text, qsizetype &pos, int count, bool atLeast = false)
{
    qint64 value = 0;
    int read = 0;
    while (pos < text.size() && text[pos].isDigit() && text[pos].unicode() < 128 && (atLeast || read < count)) {
        value = value * 10 + (text[pos].unicode() - '0');
        if (value > kMaxNumber)
            return std::nullopt;
        ++pos;
        ++read;
    }
    if (read < count)
        return std::nullopt;
    return int(value);
}

bool expect(QStringView text, qsizetype &pos, char16_t character)
{
    if (pos >= text.size() || text[pos] != character)
        return false;
    ++pos;
    return true;
}

std::optional<int> parseOffset(QStringView text, qsizetype &pos)
{
    if (pos >= text.size() || (text[pos] != u'+' && text[pos] != u'-'))
        return std::nullopt;
    const int sign = text[pos] == u'-' ? -1 : 1;
    ++pos;
    const std::optional<int> hours = digits(text, pos, 2);
    if (!hours || !expect(text, pos, u':'))
        return std::nullopt;
    const std::optional<int> minutes = digits(text, pos, 2);
    if (!minutes || *minutes >= kSecondsPerMinute)
        return std::nullopt;
    int seconds = 0;
    if (pos < text.size() && text[pos] == u':') {
        ++pos;
        const std::optional<int> parsed = digits(text, pos, 2);
        if (!parsed || *parsed >= kSecondsPerMinute)
            return std::nullopt;
        seconds = *parsed;
    }
    const int total = *hours * kSecondsPerHour + *minutes * kSecondsPerMinute + seconds;
    if (total > kMaxOffsetSeconds)
        return std::nullopt;
    return sign * total;
}

std::optional<QDateTime> zoned(const QDateTime &instant, QStringView zone)
{
    if (zone == StoreFileFormat::kLocalZone)
        return instant.toLocalTime();
    const QTimeZone timeZone(zone.toLatin1());
    // A zone this system does not know still gives the right instant.
    return timeZone.isValid() ? instant.toTimeZone(timeZone) : instant;
}

} // namespace

QDateTime resolvedDate(const QDateTime &date)
{
    if (date.isValid() || !date.date().isValid() || !date.time().isValid())
        return date;
    // The same wall-clock time a day earlier lies before the gap; its offset
    // gives the instant the clock would have shown had it not jumped.
    QDateTime dayBefore = date;
    dayBefore.setDate(date.date().addDays(-1));
    if (!dayBefore.isValid())
        return date;
    const QDateTime wallAsUtc(date.date(), date.time(), Qt::UTC);
    const QDateTime instant = wallAsUtc.addSecs(-dayBefore.offsetFromUtc());
    switch (date.timeSpec()) {
    case Qt::TimeZone:
        return instant.toTimeZone(date.timeZone());
    case Qt::LocalTime:
        return instant.toLocalTime();
    default:
        return date;
    }
}

QString fromDate(const QDateTime &given)
{
    const QDateTime date = resolvedDate(given);
    if (!date.isValid())
        return StoreFileFormat::kInvalidDate;
    const QDate day = date.date();
    const QTime time = date.time();
    QString text;
    text.reserve(40);
    const int year = day.year();
    if (year < 0)
        text += u'-';
    appendDigits(text, year < 0 ? -year : year, 4);
    text += u'-';
    appendDigits(text, day.month(), 2);
    text += u'-';
    appendDigits(text, day.day(), 2);
    text += u'T';
    appendDigits(text, time.hour(), 2);
    text += u':';
    appendDigits(text, time.minute(), 2);
    text += u':';
    appendDigits(text, time.second(), 2);
    if (time.msec() != 0) {
        text += u'.';
        appendDigits(text, time.msec(), 3);
    }
    switch (date.timeSpec()) {
    case Qt::UTC:
        return text + u'Z';
    case Qt::OffsetFromUTC:
        return text + offsetText(date.offsetFromUtc());
    case Qt::LocalTime:
        return text + offsetText(date.offsetFromUtc()) + u'[' + StoreFileFormat::kLocalZone + u']';
    case Qt::TimeZone:
        return text + offsetText(date.offsetFromUtc()) + u'[' + QString::fromLatin1(date.timeZone().id()) + u']';
    }
    return text + offsetText(date.offsetFromUtc());
}

std::optional<QDateTime> toDate(QStringView text)
{
    if (text == StoreFileFormat::kInvalidDate)
        return QDateTime();
    qsizetype pos = 0;
    const bool negativeYear = expect(text, pos, u'-');
    const std::optional<int> year = digits(text, pos, 4, true);
    if (!year || !expect(text, pos, u'-'))
        return std::nullopt;
    const std::optional<int> month = digits(text, pos, 2);
    if (!month || !expect(text, pos, u'-'))
        return std::nullopt;
    const std::optional<int> dayOfMonth = digits(text, pos, 2);
    if (!dayOfMonth || !expect(text, pos, u'T'))
        return std::nullopt;
    const std::optional<int> hour = digits(text, pos, 2);
    if (!hour || !expect(text, pos, u':'))
        return std::nullopt;
    const std::optional<int> minute = digits(text, pos, 2);
    if (!minute || !expect(text, pos, u':'))
        return std::nullopt;
    const std::optional<int> second = digits(text, pos, 2);
    if (!second)
        return std::nullopt;
    int millisecond = 0;
    if (expect(text, pos, u'.')) {
        const std::optional<int> parsed = digits(text, pos, 3);
        if (!parsed)
            return std::nullopt;
        millisecond = *parsed;
    }
    const QDate day(negativeYear ? -*year : *year, *month, *dayOfMonth);
    const QTime time(*hour, *minute, *second, millisecond);
    if (!day.isValid() || !time.isValid())
        return std::nullopt;

    if (expect(text, pos, u'Z'))
        return pos == text.size() ? std::optional(QDateTime(day, time, Qt::UTC)) : std::nullopt;
    const std::optional<int> offset = parseOffset(text, pos);
    if (!offset)
        return std::nullopt;
    const QDateTime instant(day, time, Qt::OffsetFromUTC, *offset);
    if (!instant.isValid())
        return std::nullopt;
    if (pos == text.size())
        return instant;
    if (!expect(text, pos, u'[') || !text.endsWith(u']') || pos >= text.size() - 1)
        return std::nullopt;
    return zoned(instant, text.sliced(pos, text.size() - 1 - pos));
}

QVariant toMetadataValue(QStringView type, QStringView text)
{
    bool ok = false;
    if (type == StoreFileFormat::kTypeInteger) {
        const qlonglong number = text.toLongLong(&ok);
        if (!ok)
            return {};
        const bool fitsInt = number >= std::numeric_limits<int>::min() && number <= std::numeric_limits<int>::max();
        return fitsInt ? QVariant(int(number)) : QVariant(number);
    }
    if (type == StoreFileFormat::kTypeReal) {
        const double number = text.toDouble(&ok);
        return ok ? QVariant(number) : QVariant();
    }
    if (type == StoreFileFormat::kTypeBoolean)
        return text == StoreFileFormat::kTrue ? QVariant(true) : text == StoreFileFormat::kFalse ? QVariant(false) : QVariant();
    if (type == StoreFileFormat::kTypeString)
        return text.toString();
    if (type == StoreFileFormat::kTypeDate) {
        const std::optional<QDateTime> date = toDate(text);
        return date ? QVariant(*date) : QVariant();
    }
    return {};
}

bool fitsXml(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit >= 0x20 && unit < 0xD800)
            continue;
        if (unit == 0x9 || unit == 0xA || unit == 0xD || (unit >= 0xE000 && unit <= 0xFFFD))
            continue;
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            ++i;
            continue;
        }
        return false;
    }
    return true;
}

QString toUtf16Hex(QStringView text)
{
    QString hex;
    hex.reserve(text.size() * 4);
    for (QChar unit : text)
        hex += QString::asprintf("%04x", unsigned(unit.unicode()));
    return hex;
}

std::optional<QString> fromUtf16Hex(QStringView hex)
{
    constexpr int kDigitsPerUnit = 4;
    if (hex.size() % kDigitsPerUnit != 0)
        return std::nullopt;
    QString text;
    text.reserve(hex.size() / kDigitsPerUnit);
    for (qsizetype pos = 0; pos < hex.size(); pos += kDigitsPerUnit) {
        bool ok = false;
        const uint unit = hex.sliced(pos, kDigitsPerUnit).toUInt(&ok, 16);
        if (!ok)
            return std::nullopt;
        text += QChar(char16_t(unit));
    }
    return text;
}

} // namespace StoreValueText
