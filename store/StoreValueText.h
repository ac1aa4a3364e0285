#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>
#include <QVariant>

#include <optional>

// The text forms of values in the store file. Every value that the writer
// can produce is read back exactly: dates keep their instant to the
// millisecond and their kind of time, texts keep every UTF-16 code unit.
// Any thread.
namespace StoreValueText {

// A date whose wall-clock time falls into a daylight-saving gap, which
// QDateTime keeps as invalid, as the wall-clock time moved forward by the gap
// (02:30 on the day Berlin skips from 02:00 to 03:00 is 03:30 CEST); any
// other date as it is.
QDateTime resolvedDate(const QDateTime &date);

// "2008-07-03T18:05:33+02:00[local]" and the other forms of StoreFileFormat.h;
// milliseconds only when there are any. A date in a gap is resolvedDate();
// any other invalid date is "invalid".
QString fromDate(const QDateTime &date);
// Absent when the text is not one of those forms or names an impossible date.
std::optional<QDateTime> toDate(QStringView text);

// A metadata value of the given type ("integer", "real", "boolean", "string"
// or "date"): an int when the integer fits one, else a qlonglong. Invalid
// when the text is not of that type.
QVariant toMetadataValue(QStringView type, QStringView text);

// False when XML 1.0 cannot carry the text (most control characters, lone
// surrogates, U+FFFE and U+FFFF), even as a character reference.
bool fitsXml(QStringView text);
// Four lowercase hex digits per UTF-16 code unit.
QString toUtf16Hex(QStringView text);
std::optional<QString> fromUtf16Hex(QStringView hex);

} // namespace StoreValueText
