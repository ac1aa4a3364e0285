#pragma once

#include <QColor>

// The text attributes a session list row uses for a session's text.
struct TextAttributes
{
    QColor foreground;

    bool operator==(const TextAttributes &) const = default;
};
