#include "SortOrder.h"

#include "RunSession.h"

#include <QPartialOrdering>

namespace {

// -1, 0 or 1; absent first, values of one key always share one type.
int compareValues(const QVariant &a, const QVariant &b)
{
    if (!a.isValid() || !b.isValid())
        return int(a.isValid()) - int(b.isValid());
    const QPartialOrdering order = QVariant::compare(a, b);
    if (order == QPartialOrdering::Less)
        return -1;
    if (order == QPartialOrdering::Greater)
        return 1;
    return 0;
}

} // namespace

bool sessionLessThan(const RunSession &a, const RunSession &b, const QList<SortOrder> &sortOrders)
{
    for (const SortOrder &order : sortOrders) {
        const int comparison = compareValues(a.value(order.key), b.value(order.key));
        if (comparison != 0)
            return order.ascending ? comparison < 0 : comparison > 0;
    }
    return false;
}
