#pragma once
// modXbTimer: the hover timer of XPButton controls and its callback. The timer belongs to the
// control's window, so it ends with the window; the callback finds its control through the
// window's properties "xb_ClassID" and "xb_TimerID".
class QWidget;

namespace orvello::modXbTimer {

inline constexpr int kHoverTimerId = 237;
inline constexpr int kHoverIntervalMs = 50;

// Starts timer id on window, ticking every intervalMs into HoverTimerProc; a running timer of
// the same id is restarted.
void SetTimer(QWidget* window, int id, int intervalMs);
// Stops timer id of window; nothing happens when it does not run.
void KillTimer(QWidget* window, int id);
bool TimerRunning(const QWidget* window, int id);
// The callback: the control named by window's "xb_ClassID" runs its hover check, provided the
// identity is the window's own and the timer is the one "xb_TimerID" names.
void HoverTimerProc(QWidget* window, int id);

}  // namespace orvello::modXbTimer
