#include "toolkit/dpi_win.h"

#include "toolkit/gdi_win.h"

namespace kv {

DpiScale SystemScale() {
  ScopedGetDC screen(nullptr);
  return DpiScale(GetDeviceCaps(screen, LOGPIXELSY));
}

DpiScale WindowScale(HWND hwnd) {
  // Windows 10 1607 and later; user32 is loaded in every GUI process.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow && hwnd) {
    if (const UINT dpi = getDpiForWindow(hwnd))
      return DpiScale(static_cast<int>(dpi));
  }
  return SystemScale();
}

}  // namespace kv
