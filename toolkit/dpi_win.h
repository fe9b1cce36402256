// The DPI the system gives this per-monitor aware program (see the manifest): a window's, that
// of the monitor it is on, and the system's, which every window has where the system knows no
// per-monitor DPI (before Windows 10, and under Wine).
#pragma once

#include <windows.h>

#include "toolkit/dpi_scale.h"

namespace kv {

DpiScale SystemScale();
// The DPI of the monitor the window is on (GetDpiForWindow); the system's where that is missing.
DpiScale WindowScale(HWND hwnd);

}  // namespace kv
