// Sends Win+Z to the running Karvoss, as the hotkey would, and waits until the bar is down:
// `karvoss_ctl hotkey`. Exit code 0 when the bar came down within 10 s.
#include <windows.h>

#include <cwchar>

namespace {

bool WaitFor(bool (*condition)(HWND&), HWND& bar, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (condition(bar)) return true;
    Sleep(20);
  }
  return false;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || std::wcscmp(argv[1], L"hotkey") != 0) return 2;
  HWND bar = nullptr;
  if (!WaitFor([](HWND& b) { return (b = FindWindowW(L"TForm1", nullptr)) != nullptr; }, bar,
               10000)) {
    return 1;
  }
  PostMessageW(bar, WM_HOTKEY, 0, MAKELPARAM(MOD_WIN, 'Z'));
  return WaitFor(
             [](HWND& b) {
               RECT r{};
               GetWindowRect(b, &r);
               return IsWindowVisible(b) && r.top == 0;
             },
             bar, 10000)
             ? 0
             : 1;
}
