#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPointer>
#include <QPropertyAnimation>
#include <QWidget>

// Where the bubble goes: its top-left corner on the screen, whether it hangs
// below the bar (tip on top) and where along its width the tip is.
struct BubblePlacement
{
    QPoint topLeft;
    bool below = false;
    double tipX = 0;

    bool operator==(const BubblePlacement &) const = default;
};

// The pop-up session window: a frameless, translucent speech bubble whose tip
// points at the clicked bar. A mask cuts it to its outline, so that it looks
// the same with and without a compositing window manager. It fades in, and it resigns its key status
// (didResignKey) when it is deactivated or Escape is pressed; every other key
// that reaches it is ignored. Lives in the GUI thread.
class VXDataWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr double kCornerRadius = 8.0;
    // The body's bottom edge; below it only the triangle.
    static constexpr double kBodyBottom = 12.0;
    static constexpr double kTriangleHalfWidth = 12.0;
    static constexpr int kFadeInMilliseconds = 200;

    explicit VXDataWindow(QWidget *parent = nullptr);

    // The bubble of size above pointer, at distance from it, on screen: flipped
    // below the pointer when there is no room above, shifted sideways to stay
    // on the screen, the tip moved to keep pointing at the pointer.
    static BubblePlacement placement(const QSize &size, const QPoint &pointer, const QRect &screen, int distance);

    // The bubble's outline for a window of size, in window coordinates (y
    // downwards); the tip at tipX on the bottom edge, or on the top edge when below.
    static QPainterPath windowPath(const QSizeF &size, double tipX, bool below = false);
    static QPainterPath windowPath(const QSizeF &size) { return windowPath(size, size.width() / 2); }
    QPainterPath windowPath() const { return windowPath(size(), m_tipX, m_below); }
    // The outline filled with the palette's window colour at opacity 0.9 on a
    // transparent image of the window's size.
    static QImage windowBackground(const QSize &size, double tipX, bool below, const QColor &fill);
    // Moves the window to placement and points its tip accordingly.
    void place(const BubblePlacement &placement);
    const QImage &background() const { return m_background; }

    // Fades the window in from its current opacity over 0.2 s.
    void animateWindow();
    QPropertyAnimation &fadeIn() { return m_fadeIn; }

    // Ends the window's key status: activates the parent window, if any, and
    // announces didResignKey().
    void resignKeyWindow();
    bool isKeyWindow() const { return m_isKey; }

signals:
    void didBecomeKey();
    void didResignKey();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void remakeBackground();

    QImage m_background;
    double m_tipX = -1;
    bool m_below = false;
    QPropertyAnimation m_fadeIn;
    bool m_isKey = false;
};
