// The floor of the start-up bench: only what Karvoss must have, one hidden top-most popup
// window the width of the screen and 61 pixels high, and the common controls 6.0 (manifest and
// InitCommonControlsEx). WM_HOTKEY shows it and slides it from -100 to 0 in the bar's 19 steps
// of 5 pixels with a full repaint each and no delay, the cost of moving and painting a window
// that nothing can go below; a second WM_HOTKEY hides it.
#include <windows.h>
#include <commctrl.h>

namespace {

constexpr int kHeight = 61;
constexpr int kHiddenTop = -100;

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

void MoveTo(HWND hwnd, int top) {
  SetWindowPos(hwnd, nullptr, 0, top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

LRESULT CALLBACK Procedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_HOTKEY:
      if (IsWindowVisible(hwnd)) {
        ShowWindow(hwnd, SW_HIDE);
        MoveTo(hwnd, kHiddenTop);
        return 0;
      }
      ShowWindow(hwnd, SW_SHOW);
      for (int top = kHiddenTop + 5; top <= -5; top += 5) {
        MoveTo(hwnd, top);
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        Pump();
        Sleep(0);
      }
      MoveTo(hwnd, 0);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      FillRect(dc, &ps.rcPaint, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSW wc{};
  wc.lpfnWndProc = Procedure;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = L"KarvossFloor";
  RegisterClassW(&wc);
  CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"floor", WS_POPUP, 0,
                  kHiddenTop, GetSystemMetrics(SM_CXSCREEN), kHeight, nullptr, nullptr, instance,
                  nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
