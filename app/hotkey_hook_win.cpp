#include "app/hotkey_hook_win.h"

#include "toolkit/system_library_win.h"
#include "toolkit/window_win.h"

namespace kv {
namespace {

// Keys held back and sent again carry this mark, so the hook knows them when they come back.
constexpr ULONG_PTR kResentTag = 0x4B565253;  // "KVRS"
constexpr UINT kReleaseMessage = WM_APP + 1;
constexpr UINT kReinstallMessage = WM_APP + 2;
constexpr UINT_PTR kWatchdogTimerId = 2;
constexpr UINT kWatchdogIntervalMs = 2000;
// Keys the system delivered while the hook saw none: more than a stray event.
constexpr unsigned kMissedKeysForDeadHook = 3;
constexpr wchar_t kWatchClassName[] = L"KarvossKeyboardWatch";

// A low-level hook procedure gets no context; there is one hook per process.
WinZHook* activeHook = nullptr;

bool Held(int virtualKey) {
  // Within the hook the asynchronous state lags behind only for the key being reported.
  return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

INPUT KeyInput(const HeldKey& key, ULONG_PTR tag) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.dwExtraInfo = tag;
  if (key.virtualKey == VK_PACKET) {
    input.ki.wScan = static_cast<WORD>(key.scanCode);
    input.ki.dwFlags = KEYEVENTF_UNICODE;
  } else {
    input.ki.wVk = static_cast<WORD>(key.virtualKey);
    input.ki.wScan = static_cast<WORD>(key.scanCode);
    if (key.flags & LLKHF_EXTENDED)
      input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  }
  if (!key.down)
    input.ki.dwFlags |= KEYEVENTF_KEYUP;
  return input;
}

void PressMaskKey() {
  INPUT input[2] = {KeyInput({kVkMaskKey, 0, 0, true}, kOwnInputTag),
                    KeyInput({kVkMaskKey, 0, 0, false}, kOwnInputTag)};
  SendInput(2, input, sizeof(INPUT));
}

}  // namespace

WinZHook::~WinZHook() {
  Stop();
}

bool WinZHook::Start(HWND target, WPARAM id, Mode mode) {
  if (thread_.Valid())
    return installed_;
  target_ = target;
  id_ = id;
  mode_ = mode;
  activeHook = this;
  ready_.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (ready_.Valid())
    thread_.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, &threadId_));
  if (!thread_.Valid() || !ready_.Valid()) {
    Stop();
    return false;
  }
  HANDLE wait[] = {ready_.Get(), thread_.Get()};
  WaitForMultipleObjects(2, wait, FALSE, INFINITE);
  if (!installed_)
    Stop();
  return installed_;
}

bool WinZHook::StartWatch() {
  if (!installed_ || watchTried_)
    return false;
  watchTried_ = true;
  CreateWatchWindow();
  return true;
}

void WinZHook::Stop() {
  watchWindow_.Reset();
  watchTried_ = false;
  if (thread_.Valid()) {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 5000);
    thread_.Reset();
  }
  ready_.Reset();
  installed_ = false;
  if (activeHook == this)
    activeHook = nullptr;
}

void WinZHook::KeyboardReady() {
  if (installed_)
    PostThreadMessageW(threadId_, kReleaseMessage, 0, 0);
}

DWORD WINAPI WinZHook::ThreadMain(void* data) {
  static_cast<WinZHook*>(data)->Run();
  return 0;
}

void WinZHook::Run() {
  // The system gives a hook little time before it skips it, and removes one that keeps it
  // waiting; the thread must never queue behind the program's other work.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  MSG msg;
  // The thread's message queue exists before anyone may post it WM_QUIT.
  PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  Install();
  installed_ = hook_.Valid();
  SetEvent(ready_);
  if (!hook_.Valid())
    return;
  // No window here: the thread needs none, and under Wine a thread's first window costs it a
  // display connection of its own (about 1 MB).
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.hwnd != nullptr) {
      DispatchMessageW(&msg);
    } else if (msg.message == kReleaseMessage) {
      ReleaseHeld();
    } else if (msg.message == kReinstallMessage) {
      Install();
    } else if (msg.message == WM_TIMER && msg.wParam == holdTimer_) {
      OnHoldTimer();
    }
  }
  StopHoldTimer();
  hook_.Reset();
}

void WinZHook::Install() {
  // The new hook first, then the old one removed: no key passes unhooked in between. A key
  // in flight is not lost either way: callbacks only run while this thread waits for messages.
  HHOOK fresh = SetWindowsHookExW(WH_KEYBOARD_LL, Procedure, GetModuleHandleW(nullptr), 0);
  if (!fresh)
    return;
  hook_.Reset(fresh);  // the old one's release fails harmlessly when the system removed it
  recognizer_ = WinZRecognizer();
}

LRESULT CALLBACK WinZHook::Procedure(int code, WPARAM wparam, LPARAM lparam) {
  // Called again from within itself when the hook sends keys from its callback (Wine does so).
  if (code == HC_ACTION && activeHook) {
    const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    const bool down = wparam == WM_KEYDOWN || wparam == WM_SYSKEYDOWN;
    if (activeHook->OnKey(key, down))
      return 1;
  }
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

bool WinZHook::OnKey(const KBDLLHOOKSTRUCT& key, bool down) {
  ++keysHooked_;
  if (key.dwExtraInfo == kResentTag) {
    Resend(hold_.OnResent(GetTickCount()));
    return false;
  }
  if (key.dwExtraInfo == kOwnInputTag)
    return false;
  const HeldKey event{key.vkCode, key.scanCode, key.flags, down};
  const HeldModifiers held{Held(VK_LWIN) || Held(VK_RWIN), Held(VK_SHIFT), Held(VK_CONTROL),
                           Held(VK_MENU)};
  const KeyVerdict verdict = recognizer_.OnKey(key.vkCode, down, held, key.time);
  if (!verdict.swallow && !verdict.toggle)
    return hold_.OnKey(event);
  hold_.Track(event);
  if (verdict.toggle && !IsWindowVisible(target_))
    StartHold(key.time);
  // With the hotkey registered, Win+Z is the system's to deliver.
  if (mode_ == Mode::holdTyping)
    return false;
  // Pressed while the Windows key is still down, a key that means nothing keeps its release
  // from opening the Start menu.
  if (verdict.maskWindowsKey)
    PressMaskKey();
  if (verdict.toggle)
    PostMessageW(target_, WM_HOTKEY, id_, MAKELPARAM(MOD_WIN, kVkZ));
  return verdict.swallow;
}

void WinZHook::StartHold(DWORD time) {
  hold_.Start(time);
  WatchHold();
}

// Whatever happens to the bar or to the keys sent, the hold ends within its time.
void WinZHook::WatchHold() {
  // A thread timer: the system gives it its id.
  holdTimer_ = SetTimer(nullptr, holdTimer_, TypingHold::kLongestHoldMs, nullptr);
}

void WinZHook::StopHoldTimer() {
  if (holdTimer_)
    KillTimer(nullptr, holdTimer_);
  holdTimer_ = 0;
}

void WinZHook::ReleaseHeld() {
  if (hold_.Holding() && !hold_.Released())
    Resend(hold_.Release(GetTickCount()));
}

void WinZHook::OnHoldTimer() {
  if (!hold_.Holding()) {
    StopHoldTimer();
  } else if (hold_.Overdue(GetTickCount())) {
    Resend(hold_.Released() ? hold_.GiveUp() : hold_.Release(GetTickCount()));
  }
}

void WinZHook::Resend(const std::vector<HeldKey>& keys) {
  if (keys.empty())
    return;
  WatchHold();
  std::vector<INPUT> inputs;
  inputs.reserve(keys.size());
  for (const HeldKey& key : keys)
    inputs.push_back(KeyInput(key, kResentTag));
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  // What the system would not take (a secure desktop) never comes back: stop waiting for it.
  for (UINT missing = sent; missing < inputs.size(); ++missing)
    Resend(hold_.OnResent(GetTickCount()));
}

// A hidden top-level window of the program's own thread: it hears the keyboard through raw
// input, the end of sleep, the session's unlock and a second start's request, all reasons to
// check or renew the hook, which the hook thread then does. (A message-only window would hear
// no broadcast.)
void WinZHook::CreateWatchWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WatchProcedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kWatchClassName;
  RegisterClassW(&wc);
  watchWindow_.Reset(TryCreateWindowFromArgs(
      {.className = kWatchClassName, .style = WS_POPUP, .exStyle = WS_EX_TOOLWINDOW}, this));
  if (!watchWindow_.Valid())
    return;
  rearmMessage_ = RegisterWindowMessageW(kRearmMessageName);
  // Raw input from the keyboard even while another program has it.
  RAWINPUTDEVICE keyboard{0x01, 0x06, RIDEV_INPUTSINK, watchWindow_};
  RegisterRawInputDevices(&keyboard, 1, sizeof keyboard);
  using Register = BOOL(WINAPI*)(HWND, DWORD);
  if (const auto reg = SystemEntry<Register>(L"wtsapi32.dll", "WTSRegisterSessionNotification"))
    reg(watchWindow_, 0 /* NOTIFY_FOR_THIS_SESSION */);
  SetTimer(watchWindow_, kWatchdogTimerId, kWatchdogIntervalMs, nullptr);
}

LRESULT CALLBACK WinZHook::WatchProcedure(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_NCCREATE) {
    SetWindowLongPtrW(
        hwnd, GWLP_USERDATA,
        reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
  }
  auto* self = reinterpret_cast<WinZHook*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self ? self->OnWatchMessage(hwnd, msg, wparam, lparam)
              : DefWindowProcW(hwnd, msg, wparam, lparam);
}

LRESULT WinZHook::OnWatchMessage(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_INPUT:
      ++keysRaw_;
      break;  // DefWindowProc frees the input
    case WM_TIMER:
      if (wparam == kWatchdogTimerId)
        CheckAlive();
      return 0;
    case WM_POWERBROADCAST:
      if (wparam == PBT_APMRESUMEAUTOMATIC || wparam == PBT_APMRESUMESUSPEND)
        Reinstall();
      return TRUE;
    case WM_WTSSESSION_CHANGE:
      if (wparam == WTS_SESSION_UNLOCK)
        Reinstall();
      return 0;
    default:
      if (msg == rearmMessage_ && rearmMessage_ != 0) {
        Reinstall();
        return 0;
      }
  }
  return DefWindowProcW(hwnd, msg, wparam, lparam);
}

// The hook is the hook thread's: installed there, so that its keys are handled there.
void WinZHook::Reinstall() {
  PostThreadMessageW(threadId_, kReinstallMessage, 0, 0);
}

// The system removes a hook that timed out without a word: keys it delivers that the hook no
// longer sees mean the hook is gone.
void WinZHook::CheckAlive() {
  if (keysRaw_ >= kMissedKeysForDeadHook && keysHooked_ == 0)
    Reinstall();
  keysRaw_ = 0;
  keysHooked_ = 0;
}

}  // namespace kv
