#pragma once

#include <chrono>
#include <functional>

class QWidget;

// The shake that tells the user that something could not be read: the window
// moves right, left, right, left by 20 points and ends where it started.
// GUI thread; blocks the caller for about 200 ms with the default pause.
namespace VXWindow {

inline constexpr int kShakeSteps = 4;
inline constexpr int kShakeOffset = 20;
inline constexpr std::chrono::milliseconds kShakePause{50};

// Waits between two steps; tests pass one that does not sleep.
using Pause = std::function<void(std::chrono::milliseconds)>;

// Flushes the move to the window system, then sleeps.
void sleepAfterMove(std::chrono::milliseconds pause);

void VX_shake(QWidget &window, const Pause &pause = sleepAfterMove);

} // namespace VXWindow
