#include "app/hotkey_hook_win.h"

namespace kv {
namespace {

// Marks the keys the hook itself injects, so it lets them through untouched.
constexpr ULONG_PTR kOwnInput = 0x4B564D4B;  // "KVMK"

// A low-level hook procedure gets no context; there is one hook per process.
WinZHook* activeHook = nullptr;

bool Held(int virtualKey) {
  // Within the hook the asynchronous state lags behind only for the key being reported.
  return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

void PressMaskKey() {
  INPUT input[2]{};
  for (INPUT& i : input) {
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = kVkMaskKey;
    i.ki.dwExtraInfo = kOwnInput;
  }
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

}  // namespace

WinZHook::~WinZHook() {
  Stop();
}

bool WinZHook::Start(HWND target, WPARAM id) {
  if (thread_.valid())
    return installed_;
  target_ = target;
  id_ = id;
  activeHook = this;
  ready_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (ready_.valid())
    thread_.reset(CreateThread(nullptr, 0, ThreadMain, this, 0, &threadId_));
  if (!thread_.valid() || !ready_.valid()) {
    Stop();
    return false;
  }
  HANDLE wait[] = {ready_.get(), thread_.get()};
  WaitForMultipleObjects(2, wait, FALSE, INFINITE);
  if (!installed_)
    Stop();
  return installed_;
}

void WinZHook::Stop() {
  if (thread_.valid()) {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 5000);
    thread_.reset();
  }
  ready_.reset();
  installed_ = false;
  if (activeHook == this)
    activeHook = nullptr;
}

DWORD WINAPI WinZHook::ThreadMain(void* data) {
  auto* self = static_cast<WinZHook*>(data);
  MSG msg;
  // The thread's message queue exists before anyone may post it WM_QUIT.
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, Procedure, GetModuleHandleW(nullptr), 0);
  self->installed_ = hook != nullptr;
  SetEvent(self->ready_);
  if (!hook)
    return 0;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  UnhookWindowsHookEx(hook);
  return 0;
}

LRESULT CALLBACK WinZHook::Procedure(int code, WPARAM wparam, LPARAM lparam) {
  if (code == HC_ACTION && activeHook) {
    const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    const bool down = wparam == WM_KEYDOWN || wparam == WM_SYSKEYDOWN;
    if (key.dwExtraInfo != kOwnInput && activeHook->OnKey(key, down))
      return 1;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

bool WinZHook::OnKey(const KBDLLHOOKSTRUCT& key, bool down) {
  if (key.vkCode != kVkZ)
    return false;
  const HeldModifiers held{Held(VK_LWIN) || Held(VK_RWIN), Held(VK_SHIFT), Held(VK_CONTROL),
                           Held(VK_MENU)};
  const KeyVerdict verdict = recognizer_.OnKey(key.vkCode, down, held);
  // Pressed while the Windows key is still down, a key that means nothing keeps its release
  // from opening the Start menu.
  if (verdict.maskWindowsKey)
    PressMaskKey();
  if (verdict.toggle)
    PostMessageW(target_, WM_HOTKEY, id_, MAKELPARAM(MOD_WIN, kVkZ));
  return verdict.swallow;
}

}  // namespace kv
