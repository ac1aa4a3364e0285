#pragma once

#include <QString>

// A duration text for the detail table: with tenths, its last character (the
// tenths digit) is drawn at kSmallPointSize points while the rest keeps the
// table's font. A plain value; any thread.
struct StyledTime
{
    static constexpr int kSmallPointSize = 10;

    QString text;
    bool smallLastCharacter = false;

    // The text as Qt rich text (escaped), the last character in a 10-point span when set.
    QString toHtml() const;

    bool operator==(const StyledTime &) const = default;
};
