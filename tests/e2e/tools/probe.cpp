// A program for the launcher to start: appends one line to the file named by
// KARVOSS_PROBE_LOG: its own file name, a tab, its command line after the program name, a tab,
// its working folder (UTF-8). With KARVOSS_PROBE_STAY=<ms> it shows a window for that long,
// so it can take the activation from the bar.
#include <windows.h>

#include "tests/e2e/support/common.h"

#include <string>

namespace {

using kv::e2e::Utf8;

// The command line less the program name, as the program received it.
std::wstring Arguments() {
  const wchar_t* p = GetCommandLineW();
  if (*p == L'"') {
    ++p;
    while (*p && *p != L'"')
      ++p;
    if (*p)
      ++p;
  } else {
    while (*p && *p != L' ' && *p != L'\t')
      ++p;
  }
  while (*p == L' ' || *p == L'\t')
    ++p;
  return p;
}

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[32768];
  const DWORD n = GetEnvironmentVariableW(name, buffer, 32768);
  return n && n < 32768 ? std::wstring(buffer, n) : std::wstring();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring name = module;
  name = name.substr(name.find_last_of(L"\\/") + 1);
  wchar_t cwd[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, cwd);

  const std::wstring log = Environment(L"KARVOSS_PROBE_LOG");
  if (!log.empty()) {
    const std::string line = Utf8(name) + "\t" + Utf8(Arguments()) + "\t" + Utf8(cwd) + "\n";
    // Several probes may start at once: retry while another one holds the file.
    for (int attempt = 0; attempt < 200; ++attempt) {
      HANDLE f = CreateFileW(log.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      if (f != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(f);
        break;
      }
      Sleep(10);
    }
  }

  const std::wstring stay = Environment(L"KARVOSS_PROBE_STAY");
  if (!stay.empty()) {
    HWND w = CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 200,
                             300, 200, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(w);
    const DWORD until = GetTickCount() + static_cast<DWORD>(_wtoi(stay.c_str()));
    MSG msg;
    while (GetTickCount() < until) {
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
      Sleep(10);
    }
  }
  return 0;
}
