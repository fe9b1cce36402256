// Sends Win+Z to the running Karvoss, as the hotkey would: `karvoss_ctl hotkey`. Waits until
// the bar window exists (up to 10 s). Exit code 0 when it was delivered.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
  if (argc < 2 || std::wcscmp(argv[1], L"hotkey") != 0)
    return 2;
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (HWND bar = FindWindowW(L"TForm1", nullptr)) {
      PostMessageW(bar, WM_HOTKEY, 0, MAKELPARAM(MOD_WIN, 'Z'));
      return 0;
    }
    Sleep(50);
  }
  return 1;
}
