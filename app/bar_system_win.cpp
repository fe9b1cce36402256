#include "app/bar_system_win.h"

#include "toolkit/application_win.h"
#include "toolkit/message_box_win.h"
#include "toolkit/system_library_win.h"
#include "toolkit/text_win.h"

namespace kv {

bool WindowsBarSystem::CreateInstanceMutex() {
  // A stale error from an earlier call must not read as "already exists".
  SetLastError(0);
  CreateMutexA(nullptr, TRUE, "Karvossz");  // lives as long as the process
  return GetLastError() != 0;
}

HotkeyRegistration WindowsBarSystem::RegisterHotkey() {
  hotkeyId_ = GlobalAddAtomA("hotkey");
  // MOD_NOREPEAT: holding Win+Z down must not toggle the bar on every key repeat.
  if (RegisterHotKey(bar_, hotkeyId_, MOD_WIN | MOD_NOREPEAT, 'Z')) {
    // Keys typed right after Win+Z would reach the field only once the bar has the foreground;
    // the hook holds them meanwhile. Without it the bar still works, only a fast first key may
    // go astray.
    hook_.Start(bar_, hotkeyId_, WinZHook::Mode::holdTyping);
    return HotkeyRegistration::registered;
  }
  return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED ? HotkeyRegistration::taken
                                                           : HotkeyRegistration::failed;
}

bool WindowsBarSystem::WatchKeyboardForHotkey() {
  return hook_.Start(bar_, hotkeyId_, WinZHook::Mode::watchWinZ);
}

void WindowsBarSystem::KeyboardReady() {
  hook_.KeyboardReady();
}

void WindowsBarSystem::AskRunningCopyToRearm() {
  // The running copy's hook may be the reason the user starts the program again (the system
  // drops a hook without a word): it puts its hook back.
  PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(kRearmMessageName), 0, 0);
}

void WindowsBarSystem::UnregisterHotkey() {
  UnregisterHotKey(bar_, hotkeyId_);
  hook_.Stop();
}

void WindowsBarSystem::Terminate() {
  Application::Instance().Terminate();
}

void WindowsBarSystem::Sleep(int milliseconds) {
  ::Sleep(static_cast<DWORD>(milliseconds));
}

void WindowsBarSystem::ShowMessage(const std::string& text) {
  ShowPlainMessage(text);
}

void WindowsBarSystem::ShowErrorBox(const std::string& message) {
  kv::ShowErrorBox(message);
}

void WindowsBarSystem::ShowWarningBox(const std::string& text, const std::string& caption) {
  ShowMessageBox(nullptr, text, caption, MB_OK | MB_ICONEXCLAMATION);
}

int WindowsBarSystem::ShellOpen(const std::string& file, const std::string& parameters,
                                const std::string& directory) {
  // The wide-character shell function, so a path outside the ANSI code page still starts.
  return shell_.Open(Widen(file), Widen(parameters), Widen(directory));
}

namespace {

// Windows refuses shutdown, power-off and restart requests from a process that has not enabled
// its shutdown privilege; log-off needs none. The security library is loaded only for this.
void EnableShutdownPrivilege() {
  using OpenToken = BOOL(WINAPI*)(HANDLE, DWORD, PHANDLE);
  using LookUp = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, PLUID);
  using Adjust = BOOL(WINAPI*)(HANDLE, BOOL, PTOKEN_PRIVILEGES, DWORD, PTOKEN_PRIVILEGES, PDWORD);
  const auto openToken = SystemEntry<OpenToken>(L"advapi32.dll", "OpenProcessToken");
  const auto lookUp = SystemEntry<LookUp>(L"advapi32.dll", "LookupPrivilegeValueW");
  const auto adjust = SystemEntry<Adjust>(L"advapi32.dll", "AdjustTokenPrivileges");
  HANDLE opened = nullptr;
  if (!openToken || !lookUp || !adjust ||
      !openToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened)) {
    return;
  }
  const KernelHandle token(opened);
  TOKEN_PRIVILEGES tp{};
  tp.PrivilegeCount = 1;
  tp.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (lookUp(nullptr, SE_SHUTDOWN_NAME, &tp.Privileges[0].Luid))
    adjust(token, FALSE, &tp, 0, nullptr, nullptr);
}

}  // namespace

bool WindowsSessionControl::CallExitWindows(unsigned flags) {
  if (flags & (EWX_SHUTDOWN | EWX_REBOOT | EWX_POWEROFF))
    EnableShutdownPrivilege();
  return ExitWindowsEx(flags, 0) != 0;
}

}  // namespace kv
