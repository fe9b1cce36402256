// How a window of this program takes the foreground the way Windows allows it: each step is
// tried only when the one before did not bring the window to the front.
#pragma once

namespace kv {

enum class ForegroundStep {
  none,          // nothing tried yet
  done,          // the window is in the foreground
  plainRequest,  // SetForegroundWindow once this process has sent the last input
  joinInput,     // the same with the foreground thread's input joined for the call
  altRelease,    // an Alt key-up first, after which the system lets the request through
  giveUp,
};

// What the system reports before the next step.
struct ForegroundReport {
  bool inForeground = false;  // the window is the foreground window
  // The foreground window belongs to another thread that answers its messages; joining the
  // input of a hung thread could freeze this one.
  bool joinable = false;
};

// The step after `tried` (none at first): done as soon as the window is in front; otherwise the
// plain request, then joining a joinable foreground thread's input, then the Alt key-up, each
// once, then giving up.
ForegroundStep NextForegroundStep(ForegroundStep tried, const ForegroundReport& report);

}  // namespace kv
