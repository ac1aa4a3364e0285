#pragma once

#include <QList>
#include <QString>

class RunSession;

// One key of a sort order over sessions, read by name through
// RunSession::value() (so derived keys such as sessionAveragePace sort too).
// An absent value sorts before every present one.
struct SortOrder
{
    QString key;
    bool ascending = true;

    bool operator==(const SortOrder &) const = default;
};

// True when a comes before b: the first key on which they differ decides.
bool sessionLessThan(const RunSession &a, const RunSession &b, const QList<SortOrder> &sortOrders);
