// Win+Z through a low-level keyboard hook, for when another program holds the hotkey (Windows 11
// keeps it for snap layouts). The hook runs on a thread of its own with its own message loop:
// the GUI thread sleeps during slides and runs modal loops, and the system drops a hook that
// does not answer in time.
#pragma once

#include <windows.h>

#include "app/hotkey_keys.h"
#include "toolkit/handles_win.h"

namespace kv {

class WinZHook {
 public:
  WinZHook() = default;
  ~WinZHook();
  WinZHook(const WinZHook&) = delete;
  WinZHook& operator=(const WinZHook&) = delete;

  // Installs the hook; Win+Z then posts `target` the WM_HOTKEY message a registered hotkey
  // `id` would. False when the hook could not be installed.
  bool Start(HWND target, WPARAM id);
  void Stop();

 private:
  static DWORD WINAPI ThreadMain(void* self);
  static LRESULT CALLBACK Procedure(int code, WPARAM wparam, LPARAM lparam);
  bool OnKey(const KBDLLHOOKSTRUCT& key, bool down);

  HWND target_ = nullptr;
  WPARAM id_ = 0;
  KernelHandle thread_;
  DWORD threadId_ = 0;
  KernelHandle ready_;
  bool installed_ = false;
  WinZRecognizer recognizer_;
};

}  // namespace kv
