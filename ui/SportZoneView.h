#pragma once

#include "SportZoneGeometry.h"

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

class SessionListController;

// The small chart of the time the selected session spent in its heart-rate
// zones: one bar (F6), five sport zones, or below / in / above a limit zone.
// While the pointer is over it, an information box names the zones once per
// entry. It reads the list's selection on every paint, which changes nothing;
// whoever changes the selection or a session asks it to redraw (reload()).
// Lives in the GUI thread.
class SportZoneView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor zoneColor READ zoneColor WRITE setZoneColor)

public:
    static inline const QString kZoneColorKey = QStringLiteral("VXHistoryTimeColor");
    static constexpr int kSmallFontPointSize = 9;

    explicit SportZoneView(QWidget *parent = nullptr);

    // The session list whose selection is drawn (not owned; may be null).
    void setSessions(SessionListController *sessions);

    // The bars' fill; none at creation (bars are then only outlined).
    QColor zoneColor() const { return m_zoneColor; }
    void setZoneColor(const QColor &color);

    bool needsDrawInfo() const { return m_needsDrawInfo; }
    // The model of the session drawn ("RS200" when it names none); empty without one.
    QString hrm() const;

    // What a paint at the current size would draw.
    SportZoneGeometry chartGeometry() const;

    QSize sizeHint() const override;

public slots:
    // Redraws for a new selection or changed sessions, without the information box.
    void reload();
    // Takes the colour of the setting "VXHistoryTimeColor" (or its default).
    void reloadZoneColor();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void drawSportZones(QPainter &painter, const SportZoneGeometry &geometry) const;
    void drawInfo(QPainter &painter, const SportZoneGeometry &geometry) const;
    QFont smallFont() const;

    QPointer<SessionListController> m_sessions;
    bool m_needsDrawInfo = false;
    QColor m_zoneColor;
};
