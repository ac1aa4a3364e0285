#include "SessionTableAutosave.h"

#include "SessionListController.h"
#include "SessionTableModel.h"
#include "VXDefaults.h"

#include <QHeaderView>
#include <QSettings>
#include <QTimer>
#include <QVariantList>
#include <QVariantMap>

namespace {

const QLatin1StringView kKeyField("key");
const QLatin1StringView kAscendingField("ascending");
constexpr int kSettleMs = 500;

void showSortIndicator(QHeaderView &header, const QList<SortOrder> &orders)
{
    if (orders.isEmpty())
        return;
    const int column = SessionTableModel::columnOfSortKey(orders.first().key);
    if (column >= 0)
        header.setSortIndicator(column, orders.first().ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

} // namespace

QString SessionTableAutosave::columnsKey()
{
    return QStringLiteral("NSTableView Columns ") + kAutosaveName;
}

QString SessionTableAutosave::sortOrderingKey()
{
    return QStringLiteral("NSTableView Sort Ordering ") + kAutosaveName;
}

void SessionTableAutosave::attach(QHeaderView &header, SessionListController &sessions)
{
    restoreColumns(header);
    restoreSortOrdering(sessions);
    showSortIndicator(header, sessions.sortOrders());
    // A drag resizes a column many times a second; store once it settles.
    auto *settle = new QTimer(&header);
    settle->setSingleShot(true);
    settle->setInterval(kSettleMs);
    QObject::connect(settle, &QTimer::timeout, &header, [&header] { saveColumns(header); });
    const auto save = [settle] { settle->start(); };
    QObject::connect(&header, &QHeaderView::sectionResized, settle, save);
    QObject::connect(&header, &QHeaderView::sectionMoved, settle, save);
    QObject::connect(&sessions, &SessionListController::arrangementChanged, &header,
                     [&sessions] { saveSortOrdering(sessions); });
}

void SessionTableAutosave::saveColumns(const QHeaderView &header)
{
    VXDefaults::settings().setValue(columnsKey(), header.saveState());
}

bool SessionTableAutosave::restoreColumns(QHeaderView &header)
{
    const QByteArray state = VXDefaults::value(columnsKey()).toByteArray();
    return !state.isEmpty() && header.restoreState(state);
}

void SessionTableAutosave::saveSortOrdering(const SessionListController &sessions)
{
    QVariantList orders;
    for (const SortOrder &order : sessions.sortOrders())
        orders.append(QVariantMap{{kKeyField, order.key}, {kAscendingField, order.ascending}});
    QSettings settings = VXDefaults::settings();
    if (settings.value(sortOrderingKey()).toList() != orders)
        settings.setValue(sortOrderingKey(), orders);
}

void SessionTableAutosave::restoreSortOrdering(SessionListController &sessions)
{
    QList<SortOrder> orders;
    for (const QVariant &item : VXDefaults::value(sortOrderingKey()).toList()) {
        const QVariantMap fields = item.toMap();
        const QString key = fields.value(kKeyField).toString();
        // Only keys that a column shows: anything else is a stale or foreign entry.
        if (SessionTableModel::columnOfSortKey(key) >= 0)
            orders.append(SortOrder{key, fields.value(kAscendingField, true).toBool()});
    }
    if (!orders.isEmpty())
        sessions.setSortOrders(orders);
}
