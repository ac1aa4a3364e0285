#include "VXDataWindow.h"

#include <QKeyEvent>
#include <QLayout>
#include <QPainter>
#include <QRegion>

#include <algorithm>

namespace {

constexpr double kBodyCornerCentre = VXDataWindow::kBodyBottom + VXDataWindow::kCornerRadius;
constexpr double kCornerSize = 2 * VXDataWindow::kCornerRadius;
constexpr double kFillOpacity = 0.9;

// Qt sweeps positive angles counter-clockwise as seen on screen; the corners run clockwise.
constexpr double kClockwiseQuarter = -90.0;

// The outline is laid out with the origin at the bottom-left corner and y
// upwards; this turns such a point into window coordinates.
class FlippedPath
{
public:
    explicit FlippedPath(double height) : m_height(height) {}

    void moveTo(double x, double y) { m_path.moveTo(x, m_height - y); }
    void lineTo(double x, double y) { m_path.lineTo(x, m_height - y); }
    // A clockwise quarter arc of the corner radius around (cx, cy), starting at startAngle degrees.
    void cornerArc(double cx, double cy, double startAngle)
    {
        const double r = VXDataWindow::kCornerRadius;
        m_path.arcTo(QRectF(cx - r, m_height - cy - r, kCornerSize, kCornerSize), startAngle, kClockwiseQuarter);
    }
    QPainterPath &path() { return m_path; }

private:
    double m_height;
    QPainterPath m_path;
};

} // namespace

VXDataWindow::VXDataWindow(QWidget *parent)
    // A dialog rather than a tool window: a tool window would share the key
    // status of the window it is attached to and never lose it.
    : QWidget(parent, Qt::Dialog | Qt::FramelessWindowHint), m_fadeIn(this, "windowOpacity")
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAutoFillBackground(false);
    setAccessibleName(tr("Session"));
    m_fadeIn.setDuration(kFadeInMilliseconds);
    m_fadeIn.setEndValue(1.0);
}

BubblePlacement VXDataWindow::placement(const QSize &size, const QPoint &pointer, const QRect &screen, int distance)
{
    BubblePlacement placed;
    int y = pointer.y() - distance - size.height();
    if (y < screen.top()) {
        placed.below = true;
        y = pointer.y() + distance;
    }
    const int widest = std::max(screen.right() + 1 - size.width(), screen.left());
    const int x = std::clamp(pointer.x() - size.width() / 2, screen.left(), widest);
    placed.topLeft = QPoint(x, y);
    // The tip stays clear of the rounded corners.
    const double margin = kCornerRadius + kTriangleHalfWidth;
    placed.tipX = std::clamp(double(pointer.x() - x), margin, std::max(margin, size.width() - margin));
    return placed;
}

QPainterPath VXDataWindow::windowPath(const QSizeF &size, double tipX, bool below)
{
    const double w = size.width();
    const double h = size.height();
    const double r = kCornerRadius;
    FlippedPath outline(h);
    outline.moveTo(0, kBodyCornerCentre);
    outline.lineTo(0, h - r);
    outline.cornerArc(r, h - r, 180.0);
    outline.lineTo(w - r, h);
    outline.cornerArc(w - r, h - r, 90.0);
    outline.lineTo(w, kBodyCornerCentre);
    outline.cornerArc(w - r, kBodyCornerCentre, 0.0);
    outline.lineTo(tipX + kTriangleHalfWidth, kBodyBottom);
    outline.lineTo(tipX, 0);
    outline.lineTo(tipX - kTriangleHalfWidth, kBodyBottom);
    outline.lineTo(r, kBodyBottom);
    outline.cornerArc(r, kBodyCornerCentre, -90.0);
    outline.path().closeSubpath();
    if (!below)
        return outline.path();
    // Hanging below the bar: the same bubble upside down, tip on top.
    return QTransform(1, 0, 0, -1, 0, h).map(outline.path());
}

QImage VXDataWindow::windowBackground(const QSize &size, double tipX, bool below, const QColor &fill)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor translucent = fill;
    translucent.setAlphaF(kFillOpacity);
    painter.fillPath(windowPath(QSizeF(size), tipX, below), translucent);
    return image;
}

void VXDataWindow::place(const BubblePlacement &placement)
{
    move(placement.topLeft);
    if (placement.tipX == m_tipX && placement.below == m_below)
        return;
    m_tipX = placement.tipX;
    m_below = placement.below;
    remakeBackground();
}

void VXDataWindow::remakeBackground()
{
    if (m_tipX < 0)
        m_tipX = width() / 2.0;
    m_background = windowBackground(size(), m_tipX, m_below, palette().color(QPalette::Window));
    // Without compositing the transparent corners would show black: cut them away.
    setMask(QRegion(windowPath().toFillPolygon().toPolygon()));
    // The fields sit in the body, clear of the tip.
    if (layout())
        layout()->setContentsMargins(0, m_below ? int(kBodyBottom) : 0, 0, m_below ? 0 : int(kBodyBottom));
    update();
}

void VXDataWindow::animateWindow()
{
    m_fadeIn.stop();
    m_fadeIn.setStartValue(windowOpacity());
    m_fadeIn.start();
}

void VXDataWindow::resignKeyWindow()
{
    m_isKey = false;
    if (parentWidget())
        parentWidget()->window()->activateWindow();
    emit didResignKey();
}

void VXDataWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, m_background);
}

void VXDataWindow::resizeEvent(QResizeEvent *event)
{
    // The size is fixed by the window's layout; the image is remade only if it changes.
    if (m_background.size() != size())
        remakeBackground();
    QWidget::resizeEvent(event);
}

void VXDataWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        resignKeyWindow();
    event->accept();
}

void VXDataWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow() && isVisible() && !m_isKey) {
            m_isKey = true;
            emit didBecomeKey();
        } else if (!isActiveWindow() && m_isKey) {
            m_isKey = false;
            emit didResignKey();
        }
    }
    QWidget::changeEvent(event);
}
