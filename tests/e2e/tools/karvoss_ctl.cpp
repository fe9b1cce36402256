// Drives the running Karvoss from outside:
//   karvoss_ctl hotkey        sends Win+Z, as the hotkey would, and waits until the bar is down;
//   karvoss_ctl run <text>    calls the bar up if needed, puts the text into the field, Enter;
//   karvoss_ctl drop          calls the bar up if needed and opens the field's history list;
//   karvoss_ctl type <text>   calls the bar up if needed and types the text, as keys, into the
//   field; karvoss_ctl click <x> <y> clicks the screen there (for screenshots of nested dialogs).
// Exit code 0 when it was done within 10 s.
#include <windows.h>

#include <cwchar>

namespace {

bool WaitFor(bool (*condition)(HWND&), HWND& bar, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (condition(bar))
      return true;
    Sleep(20);
  }
  return false;
}

}  // namespace

bool Shown(HWND& bar) {
  RECT r{};
  GetWindowRect(bar, &r);
  return IsWindowVisible(bar) && r.top == 0;
}

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wcscmp(argv[1], L"click") == 0) {
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input[3]{};
    input[0].type = INPUT_MOUSE;
    input[0].mi.dx = (_wtoi(argv[2]) * 65536 + w / 2) / w;
    input[0].mi.dy = (_wtoi(argv[3]) * 65536 + h / 2) / h;
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].type = INPUT_MOUSE;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    for (INPUT& i : input) {
      SendInput(1, &i, sizeof(INPUT));
      Sleep(50);
    }
    return 0;
  }
  const bool hotkey = argc == 2 && std::wcscmp(argv[1], L"hotkey") == 0;
  const bool run = argc == 3 && std::wcscmp(argv[1], L"run") == 0;
  const bool drop = argc == 2 && std::wcscmp(argv[1], L"drop") == 0;
  const bool type = argc == 3 && std::wcscmp(argv[1], L"type") == 0;
  if (!hotkey && !run && !drop && !type)
    return 2;
  HWND bar = nullptr;
  if (!WaitFor([](HWND& b) { return (b = FindWindowW(L"TForm1", nullptr)) != nullptr; }, bar,
               10000)) {
    return 1;
  }
  if (hotkey || !IsWindowVisible(bar)) {
    PostMessageW(bar, WM_HOTKEY, 0, MAKELPARAM(MOD_WIN, 'Z'));
    if (!WaitFor(Shown, bar, 10000))
      return 1;
  }
  HWND panel = FindWindowExW(bar, nullptr, L"TsPanel", nullptr);
  HWND field = FindWindowExW(panel, nullptr, L"ComboBox", nullptr);
  if (run) {
    HWND edit = FindWindowExW(field, nullptr, L"Edit", nullptr);
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
    PostMessageW(edit, WM_CHAR, 13, 0);
  }
  if (drop)
    PostMessageW(field, CB_SHOWDROPDOWN, TRUE, 0);
  if (type) {
    for (const wchar_t* c = argv[2]; *c; ++c) {
      INPUT keys[2]{};
      keys[0].type = INPUT_KEYBOARD;
      keys[0].ki.wScan = *c;
      keys[0].ki.dwFlags = KEYEVENTF_UNICODE;
      keys[1] = keys[0];
      keys[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
      SendInput(2, keys, sizeof(INPUT));
      Sleep(30);  // a typist's pace, so the field's suggestions follow each key
    }
  }
  return 0;
}
