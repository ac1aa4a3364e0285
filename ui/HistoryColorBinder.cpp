#include "HistoryColorBinder.h"

#include "HistoryView.h"
#include "SportZoneView.h"
#include "VXDefaults.h"
#include "VXNotifications.h"

#include <QColor>

HistoryColorBinder::HistoryColorBinder(VXNotifications &notifications, QObject *parent) : QObject(parent)
{
    connect(&notifications, &VXNotifications::historyColorsDidChange, this, &HistoryColorBinder::refresh);
}

void HistoryColorBinder::bindHistoryColors(HistoryView *historyView, SportZoneView *zoneView)
{
    if (historyView) {
        bind(historyView, "historyTimeColor", QStringLiteral("VXHistoryTimeColor"));
        bind(historyView, "historySelectedTimeColor", QStringLiteral("VXHistorySelectedTimeColor"));
        bind(historyView, "historyHRColor", QStringLiteral("VXHistoryHRColor"));
        bind(historyView, "historyDistanceColor", QStringLiteral("VXHistoryDistanceColor"));
        bind(historyView, "historyCaloriesColor", QStringLiteral("VXHistoryCaloriesColor"));
    }
    // The zone chart has no colour setting of its own.
    if (zoneView)
        bind(zoneView, "zoneColor", QStringLiteral("VXHistoryTimeColor"));
}

void HistoryColorBinder::bind(QObject *target, const char *property, const QString &key)
{
    const Binding binding{target, property, key};
    m_bindings.append(binding);
    apply(binding);
}

void HistoryColorBinder::refresh()
{
    for (const Binding &binding : std::as_const(m_bindings))
        apply(binding);
}

void HistoryColorBinder::apply(const Binding &binding)
{
    if (!binding.target)
        return;
    QColor color = VXDefaults::value(binding.key).value<QColor>();
    // A stored value that is no colour counts as no setting.
    if (!color.isValid())
        color = VXDefaults::table().value(binding.key).value<QColor>();
    binding.target->setProperty(binding.property.constData(), color);
}
