// The system around the bar on Windows: the single-instance mutex, the hotkey, message boxes,
// the shell and the session.
#pragma once

#include <windows.h>

#include "app/bar.h"
#include "app/hotkey_hook_win.h"
#include "interpreter/session.h"
#include "toolkit/gdi_win.h"
#include "toolkit/shell_win.h"

namespace kv {

class WindowsBarSystem final : public BarSystem {
 public:
  void SetBarWindow(HWND bar) { bar_ = bar; }

  bool CreateInstanceMutex() override;
  HotkeyRegistration RegisterHotkey() override;
  bool WatchKeyboardForHotkey() override;
  void UnregisterHotkey() override;
  void KeyboardReady() override;
  void AskRunningCopyToRearm() override;
  void Terminate() override;
  void Sleep(int milliseconds) override;
  void ShowMessage(const std::string& text) override;
  void ShowErrorBox(const std::string& message) override;
  void ShowWarningBox(const std::string& text, const std::string& caption) override;
  int ShellOpen(const std::string& file, const std::string& parameters,
                const std::string& directory) override;
  // Loads the shell libraries ahead of the first launch.
  void LoadShell() { shell_.Load(); }
  // The keyboard hook's watch, at idle time; false when there was nothing to do.
  bool StartKeyboardWatch() { return hook_.StartWatch(); }
  const SystemColors& Colors() override { return colors_; }

 private:
  HWND bar_ = nullptr;
  ATOM hotkeyId_ = 0;
  WinZHook hook_;
  Shell shell_;
  WindowsSystemColors colors_;
};

class WindowsSessionControl final : public SessionControl {
 public:
  bool CallExitWindows(unsigned flags) override;
};

}  // namespace kv
