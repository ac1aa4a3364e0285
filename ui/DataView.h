#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// A duration text for the detail table: with tenths, its last character (the
// tenths digit) is drawn at kSmallPointSize points while the rest keeps the
// table's font.
struct StyledTime
{
    static constexpr int kSmallPointSize = 10;

    QString text;
    bool smallLastCharacter = false;

    // The text as Qt rich text (escaped), the last character in a 10-point span when set.
    QString toHtml() const;
};

// The detail-table controller. Its duration texts are class-level so that the
// sport-zone chart can use them too; they treat an absent number as 0. Any thread.
class DataView
{
public:
    // "h:mm:ss" with seconds truncated, never rounded; with tenths the locale's
    // decimal separator and the tenths digit follow, styled small.
    static StyledTime timeStringFromSeconds(std::optional<qint64> tenths, bool displayTenths);
    // "mm:ss" within the hour, or "-" from two hours up.
    static QString displayTimeNoHours(std::optional<qint64> tenths);
};
