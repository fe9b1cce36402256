// The keyboard hook. It holds back the keys typed right after a Win+Z that shows the bar until
// the field has the keyboard, so none goes to the program that had it or is lost while the
// foreground moves. Where another program holds the hotkey (Windows 11 keeps Win+Z for snap
// layouts) it also recognises Win+Z itself. It runs on a thread of its own, at time-critical
// priority and with its own message loop, because the system silently removes a hook that does
// not answer in time; a watchdog puts it back when that happens, after an unlock and after
// sleep, and when a second start of the program asks for it.
#pragma once

#include <windows.h>

#include <atomic>
#include <vector>

#include "app/hotkey_keys.h"
#include "toolkit/handles_win.h"

namespace kv {

// Broadcast by a second start of the program: the running copy puts its hook back.
inline constexpr wchar_t kRearmMessageName[] = L"Karvoss.RearmKeyboardHook";

class WinZHook {
 public:
  enum class Mode {
    holdTyping,  // the bar's own hotkey is registered: only typing after it is held
    watchWinZ,   // Win+Z is recognised here and posted to the bar as its hotkey message
  };

  WinZHook() = default;
  ~WinZHook();
  WinZHook(const WinZHook&) = delete;
  WinZHook& operator=(const WinZHook&) = delete;

  // Installs the hook for `target`, the bar. In watch mode Win+Z posts it the WM_HOTKEY
  // message that the registered hotkey `id` would. False when the hook could not be installed.
  bool Start(HWND target, WPARAM id, Mode mode);
  void Stop();
  // The watch that renews a hook the system dropped (raw input, unlock, resume, a second
  // start's request), made on the calling thread once the hook runs; not needed to answer the
  // first key, so it waits for idle time. False when there was nothing to do.
  bool StartWatch();
  bool Running() const { return installed_; }

  // The field has the keyboard: the keys held back since Win+Z are sent to it, in order.
  void KeyboardReady();

 private:
  static DWORD WINAPI ThreadMain(void* self);
  static LRESULT CALLBACK Procedure(int code, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK WatchProcedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);
  void Run();
  void Install();
  bool OnKey(const KBDLLHOOKSTRUCT& key, bool down);
  void StartHold(DWORD time);
  void WatchHold();
  void ReleaseHeld();
  void OnHoldTimer();
  void StopHoldTimer();
  void Reinstall();
  void Resend(const std::vector<HeldKey>& keys);
  void CreateWatchWindow();
  void CheckAlive();
  LRESULT OnWatchMessage(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

  HWND target_ = nullptr;
  WPARAM id_ = 0;
  Mode mode_ = Mode::holdTyping;
  KernelHandle thread_;
  DWORD threadId_ = 0;
  KernelHandle ready_;
  std::atomic<bool> installed_ = false;
  // Owned by the hook thread.
  HookHandle hook_;
  WinZRecognizer recognizer_;
  TypingHold hold_;
  UINT_PTR holdTimer_ = 0;
  std::atomic<unsigned> keysHooked_ = 0;  // since the watchdog last looked
  // Owned by the program's thread.
  WindowHandle watchWindow_;
  bool watchTried_ = false;
  UINT rearmMessage_ = 0;
  unsigned keysRaw_ = 0;  // what the system delivered meanwhile (raw input)
};

}  // namespace kv
