#include "VXWindow.h"

#include <QGuiApplication>
#include <QThread>
#include <QWidget>

namespace VXWindow {

void sleepAfterMove(std::chrono::milliseconds pause)
{
    // The loop does not run while the shake blocks, so each move is pushed
    // to the window system before the pause, or the user would see none.
    QGuiApplication::sync();
    QThread::msleep(static_cast<unsigned long>(pause.count()));
}

void VX_shake(QWidget &window, const Pause &pause)
{
    for (int step = 0; step < kShakeSteps; ++step) {
        const QPoint origin = window.pos();
        const int dx = step % 2 == 0 ? kShakeOffset : -kShakeOffset;
        window.move(origin.x() + dx, origin.y());
        pause(kShakePause);
    }
}

} // namespace VXWindow
