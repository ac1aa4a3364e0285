#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class HistoryView;
class SportZoneView;
class VXNotifications;

// Binds colour properties of views to the colour settings: each bound
// property takes the setting's value (or its default) at once and again
// whenever the hub announces changed history colours. The application calls
// bindHistoryColors() once its views exist. Lives in the GUI thread.
class HistoryColorBinder : public QObject
{
    Q_OBJECT

public:
    explicit HistoryColorBinder(VXNotifications &notifications, QObject *parent = nullptr);

    // The five calendar colours, and the zone chart's zoneColor following
    // "VXHistoryTimeColor"; either view may be null.
    void bindHistoryColors(HistoryView *historyView, SportZoneView *zoneView);
    // One property (a QColor Q_PROPERTY of target) to one settings key.
    void bind(QObject *target, const char *property, const QString &key);

    // Sets every bound property from its setting again.
    void refresh();

private:
    struct Binding
    {
        QPointer<QObject> target;
        QByteArray property;
        QString key;
    };

    static void apply(const Binding &binding);

    QList<Binding> m_bindings;
};
