#pragma once

#include <QImage>
#include <QPainterPath>
#include <QPointer>
#include <QPropertyAnimation>
#include <QWidget>

// The pop-up session window: a frameless, translucent speech bubble whose tip
// points down at the clicked bar. It fades in, and it resigns its key status
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

    // The bubble's outline for a window of size, in window coordinates (y downwards).
    static QPainterPath windowPath(const QSizeF &size);
    QPainterPath windowPath() const { return windowPath(size()); }
    // The outline filled with white 0.9 at opacity 0.9 on a transparent image of the window's size.
    static QImage windowBackground(const QSize &size);
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
    QImage m_background;
    QPropertyAnimation m_fadeIn;
    bool m_isKey = false;
};
