#include "SportZoneView.h"

#include "SessionListController.h"
#include "VXDefaults.h"

#include <QEnterEvent>
#include <QFontMetricsF>
#include <QPainter>

namespace {

constexpr qreal kOutlineWidth = 2.0;
constexpr qreal kInfoOutlineWidth = 1.0;
constexpr qreal kInfoOpacity = 0.8;
const QSize kPreferredSize(250, 120);

// The platform's standard greys: white levels 1/2 and 2/3. The background
// and the labels follow the palette, so a dark theme stays readable.
QColor grey()
{
    return QColor::fromRgbF(0.5f, 0.5f, 0.5f);
}

QColor lightGrey()
{
    return QColor::fromRgbF(2.0f / 3, 2.0f / 3, 2.0f / 3);
}

// Draws text centred horizontally on x with its lower edge on y.
void drawAbove(QPainter &painter, const QPointF &anchor, const QString &text)
{
    const QFontMetricsF metrics(painter.font());
    const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
    painter.drawText(QRectF(QPointF(anchor.x() - size.width() / 2, anchor.y() - size.height()), size),
                     Qt::AlignCenter, text);
}

void drawCentred(QPainter &painter, const QPointF &centre, const QString &text)
{
    const QFontMetricsF metrics(painter.font());
    const QSizeF size(metrics.horizontalAdvance(text), metrics.height());
    painter.drawText(QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size), Qt::AlignCenter, text);
}

} // namespace

SportZoneView::SportZoneView(QWidget *parent) : QWidget(parent)
{
    setAccessibleName(tr("Zone chart"));
    setAccessibleDescription(tr("Time the selected session spent in each heart-rate zone"));
}

void SportZoneView::setSessions(SessionListController *sessions)
{
    m_sessions = sessions;
    reload();
}

void SportZoneView::setZoneColor(const QColor &color)
{
    m_zoneColor = color;
    update();
}

void SportZoneView::reloadZoneColor()
{
    setZoneColor(VXDefaults::value(kZoneColorKey).value<QColor>());
}

QSize SportZoneView::sizeHint() const
{
    return kPreferredSize;
}

SportZoneGeometry SportZoneView::chartGeometry() const
{
    const QList<const RunSession *> selected = m_sessions ? m_sessions->selectedSessions() : QList<const RunSession *>();
    return SportZoneGeometry::compute(selected, size());
}

void SportZoneView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(QPen(lightGrey(), kOutlineWidth));
    painter.drawRect(QRectF(rect()));

    const SportZoneGeometry chart = chartGeometry();
    if (!chart.drawsSession)
        return;
    drawSportZones(painter, chart);
    if (m_needsDrawInfo)
        drawInfo(painter, chart);
}

void SportZoneView::reload()
{
    // Once per entry: a redraw for new data leaves the box out until the pointer enters again.
    m_needsDrawInfo = false;
    update();
}

QString SportZoneView::hrm() const
{
    return chartGeometry().hrm;
}

void SportZoneView::drawSportZones(QPainter &painter, const SportZoneGeometry &chart) const
{
    painter.setFont(smallFont());
    for (const SportZoneBar &bar : chart.bars) {
        painter.setPen(QPen(grey(), kOutlineWidth));
        painter.setBrush(m_zoneColor.isValid() ? QBrush(m_zoneColor) : QBrush(Qt::NoBrush));
        painter.drawRect(bar.rect);
        if (bar.label.isEmpty())
            continue;
        painter.setPen(palette().color(QPalette::Text));
        drawAbove(painter, bar.labelAnchor, bar.label);
    }
}

void SportZoneView::drawInfo(QPainter &painter, const SportZoneGeometry &chart) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QColor fill = grey();
    fill.setAlphaF(kInfoOpacity);
    painter.fillRect(chart.infoBox, fill);
    painter.setPen(QPen(grey(), kInfoOutlineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(chart.infoBox);
    painter.restore();

    painter.setFont(smallFont());
    painter.setPen(Qt::white);
    for (const SportZoneInfoText &text : chart.infoTexts)
        drawCentred(painter, text.centre, text.text);
}

QFont SportZoneView::smallFont() const
{
    QFont small = font();
    small.setPointSize(kSmallFontPointSize);
    return small;
}

void SportZoneView::enterEvent(QEnterEvent *event)
{
    const SportZoneGeometry chart = chartGeometry();
    if (chart.drawsSession && chart.tracks(event->position())) {
        m_needsDrawInfo = true;
        update();
    }
    QWidget::enterEvent(event);
}

void SportZoneView::leaveEvent(QEvent *event)
{
    m_needsDrawInfo = false;
    update();
    QWidget::leaveEvent(event);
}
