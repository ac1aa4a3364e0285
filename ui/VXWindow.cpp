#include "VXWindow.h"

#include <QPropertyAnimation>
#include <QWidget>

namespace VXWindow {

namespace {

const char *const kShakeName = "VX_shake";
// Holds a position up to just before the next step, so that steps jump.
constexpr double kJustBefore = 1e-6;

} // namespace

QAbstractAnimation *VX_shake(QWidget &window)
{
    QPoint origin = window.pos();
    if (auto *running = window.findChild<QPropertyAnimation *>(QLatin1String(kShakeName))) {
        origin = running->endValue().toPoint();
        running->stop();
        delete running;
        window.move(origin);
    }
    auto *shake = new QPropertyAnimation(&window, "pos", &window);
    shake->setObjectName(QLatin1String(kShakeName));
    shake->setDuration(int(kShakeSteps * kShakePause.count()));
    for (int step = 0; step < kShakeSteps; ++step) {
        // Even steps move right from where the window stands, odd steps back.
        const QPoint position = step % 2 == 0 ? origin + QPoint(kShakeOffset, 0) : origin;
        shake->setKeyValueAt(double(step) / kShakeSteps, position);
        shake->setKeyValueAt(double(step + 1) / kShakeSteps - kJustBefore, position);
    }
    shake->setEndValue(origin);
    shake->start(QAbstractAnimation::DeleteWhenStopped);
    return shake;
}

} // namespace VXWindow
