#pragma once

#include <chrono>

class QAbstractAnimation;
class QWidget;

// The shake that tells the user that something could not be read: the window
// moves right, back, right, back by 20 points, each position held 50 ms, and
// ends where it started. Animated, so painting and input go on meanwhile.
// GUI thread.
namespace VXWindow {

inline constexpr int kShakeSteps = 4;
inline constexpr int kShakeOffset = 20;
inline constexpr std::chrono::milliseconds kShakePause{50};

// Starts the shake and returns at once; a shake still running is ended first,
// with the window back at its place. The animation belongs to the window.
QAbstractAnimation *VX_shake(QWidget &window);

} // namespace VXWindow
