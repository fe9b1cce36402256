// Win+Z when another program holds the hotkey, as on Windows 11: the bar watches the keyboard.
#include <gtest/gtest.h>

#include <atomic>

#include "tests/e2e/support/harness.h"

namespace kv::e2e {
namespace {

// Another program's window holding Z with the given modifiers (Win+Z at first), counting the
// hotkey messages it receives.
class HotkeyHolder {
 public:
  explicit HotkeyHolder(UINT modifiers = MOD_WIN) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) -> LRESULT {
      if (msg == WM_HOTKEY)
        ++reinterpret_cast<HotkeyHolder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))->count_;
      return DefWindowProcW(hwnd, msg, wparam, lparam);
    };
    wc.lpszClassName = L"KarvossTestHotkeyHolder";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                            nullptr);
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    registered_ = RegisterHotKey(hwnd_, 1, modifiers | MOD_NOREPEAT, 'Z') != 0;
  }
  ~HotkeyHolder() {
    UnregisterHotKey(hwnd_, 1);
    DestroyWindow(hwnd_);
  }
  bool Registered() const { return registered_; }
  int Received() const { return count_; }

 private:
  HWND hwnd_ = nullptr;
  bool registered_ = false;
  int count_ = 0;
};

TEST(HeldHotkey, StartsSilentlyAndRealWinZTogglesTheBarWhileTheHolderGetsNothing) {
  HotkeyHolder holder;
  ASSERT_TRUE(holder.Registered());
  Karvoss karvoss;
  karvoss.Bar();
  ASSERT_TRUE(karvoss.WaitIdle());
  Settle(200);
  EXPECT_TRUE(karvoss.MessageBoxes().empty());
  EXPECT_TRUE(karvoss.Running());

  PressWinZ();
  ASSERT_TRUE(karvoss.WaitShown());
  ASSERT_TRUE(Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }));
  // The Z of the second Win+Z never reaches the field, whose prompt is selected.
  PressWinZ();
  EXPECT_TRUE(karvoss.WaitHidden());
  EXPECT_EQ(karvoss.FieldText(), L"Введите команду (help - справка)");

  // Held with key repeat: one toggle.
  PressWinZ(5);
  ASSERT_TRUE(karvoss.WaitShown());
  Settle(400);
  EXPECT_TRUE(karvoss.BarVisible());
  EXPECT_EQ(karvoss.BarRect().top, 0);
  EXPECT_EQ(holder.Received(), 0);
}

// A program that had the keyboard before Win+Z: an edit of this test's own, in the foreground.
class PreviousProgram {
 public:
  PreviousProgram()
      : hwnd_(CreateWindowExW(0, L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 300, 300, 200,
                              nullptr, nullptr, nullptr, nullptr)) {
    SetForegroundWindow(hwnd_);
    SetFocus(hwnd_);
  }
  ~PreviousProgram() { DestroyWindow(hwnd_); }
  std::wstring Text() const { return TextOf(hwnd_); }

 private:
  HWND hwnd_;
};

void Key(WORD vk, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
}

// Win+Z, then a, b, c at 0, 15 and 30 ms after the Windows key's release: a fast typist. The
// pauses are the typing under test, not waits for a result.
void WinZThenTypeAbc() {
  PressWinZ();
  const DWORD released = GetTickCount();
  int at = 0;
  for (WORD vk : {WORD{'A'}, WORD{'B'}, WORD{'C'}}) {
    while (GetTickCount() - released < static_cast<DWORD>(at))
      Sleep(1);
    Key(vk, true);
    Key(vk, false);
    at += 15;
  }
}

// Every key typed right after Win+Z lands in the field, in order; none reaches the program
// that had the keyboard. Both ways Win+Z is seen, at the first show and at a later one.
void ExpectTypingRightAfterWinZLandsInTheField(Karvoss& karvoss) {
  for (int show = 0; show < 2; ++show) {
    PreviousProgram previous;
    Settle(100);
    WinZThenTypeAbc();
    ASSERT_TRUE(karvoss.WaitShown());
    EXPECT_TRUE(Poll([&] { return karvoss.FieldText() == L"abc"; }, 3000))
        << "show " << show << ": " << Utf8(karvoss.FieldText());
    Settle(100);
    EXPECT_EQ(previous.Text(), L"") << "show " << show;
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(karvoss.WaitHidden()) << "show " << show;
  }
}

TEST(TypingAfterWinZ, RegisteredHotkeyLosesNoKey) {
  Karvoss karvoss;
  karvoss.Bar();
  ASSERT_TRUE(karvoss.WaitIdle());
  ExpectTypingRightAfterWinZLandsInTheField(karvoss);
}

TEST(TypingAfterWinZ, KeyboardWatchLosesNoKey) {
  HotkeyHolder holder;
  ASSERT_TRUE(holder.Registered());
  Karvoss karvoss;
  karvoss.Bar();
  ASSERT_TRUE(karvoss.WaitIdle());
  ExpectTypingRightAfterWinZLandsInTheField(karvoss);
}

// Another keyboard hook that drops one Z release before Karvoss's hook sees it, as when Z is let
// go on the secure desktop or across sleep.
class ZReleaseDropper {
 public:
  ZReleaseDropper() {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
    Poll([&] { return installed_.load(); });
  }
  ~ZReleaseDropper() {
    PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
  bool Dropped() const { return dropped_.load(); }

 private:
  static inline ZReleaseDropper* self_ = nullptr;
  static DWORD WINAPI Run(void* data) {
    self_ = static_cast<ZReleaseDropper*>(data);
    HHOOK hook = SetWindowsHookExW(
        WH_KEYBOARD_LL,
        [](int code, WPARAM wparam, LPARAM lparam) -> LRESULT {
          const auto& key = *reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
          if (code == HC_ACTION && key.vkCode == 'Z' && wparam == WM_KEYUP &&
              !self_->dropped_.exchange(true)) {
            return 1;
          }
          return CallNextHookEx(nullptr, code, wparam, lparam);
        },
        GetModuleHandleW(nullptr), 0);
    self_->installed_ = true;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
      DispatchMessageW(&msg);
    UnhookWindowsHookEx(hook);
    return 0;
  }
  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  std::atomic<bool> installed_ = false;
  std::atomic<bool> dropped_ = false;
};

// A Z release the hook missed swallows neither the next plain z nor the next Win+Z.
TEST(HeldHotkey, AMissedZReleaseIsRecoveredFrom) {
  HotkeyHolder holder;
  ASSERT_TRUE(holder.Registered());
  Karvoss karvoss;
  karvoss.Bar();
  ASSERT_TRUE(karvoss.WaitIdle());
  {
    ZReleaseDropper dropper;
    PressWinZ();
    ASSERT_TRUE(karvoss.WaitShown());
    ASSERT_TRUE(Poll([&] { return dropper.Dropped(); }));
  }
  ASSERT_TRUE(Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }));
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(karvoss.WaitHidden());
  {
    PreviousProgram previous;
    Settle(100);
    for (WORD vk : {WORD{'X'}, WORD{'Z'}})
      PressKey(vk);
    EXPECT_TRUE(Poll([&] { return previous.Text() == L"xz"; })) << Utf8(previous.Text());
  }
  PressWinZ();
  EXPECT_TRUE(karvoss.WaitShown());
}

// A second start asks the running copy to put its hook back: the watch that hears it lives on the
// program's own thread (a window on the hook thread would cost a display connection under Wine),
// and the hook it renews still recognises Win+Z.
TEST(HeldHotkey, ARenewedHookStillRecognisesWinZ) {
  HotkeyHolder holder;
  ASSERT_TRUE(holder.Registered());
  Karvoss karvoss;
  karvoss.Bar();
  ASSERT_TRUE(karvoss.WaitIdle());
  HWND watch = nullptr;
  ASSERT_TRUE(Poll([&] {
    return (watch = FindProcessWindow(karvoss.Pid(), L"KarvossKeyboardWatch")) != nullptr;
  }));
  EXPECT_EQ(GetWindowThreadProcessId(watch, nullptr),
            GetWindowThreadProcessId(karvoss.Bar(), nullptr));
  SendMessageW(watch, RegisterWindowMessageW(L"Karvoss.RearmKeyboardHook"), 0, 0);
  Settle(100);
  PressWinZ();
  EXPECT_TRUE(karvoss.WaitShown());
}

// Z with the Windows key and another modifier is not Win+Z: it reaches the program that holds it.
TEST(HeldHotkey, OtherModifiersWithWinZStillReachTheirHolders) {
  HotkeyHolder winZ;
  ASSERT_TRUE(winZ.Registered());
  Karvoss karvoss;
  karvoss.Bar();
  ASSERT_TRUE(karvoss.WaitIdle());
  for (WORD modifier : {WORD{VK_SHIFT}, WORD{VK_CONTROL}, WORD{VK_MENU}}) {
    HotkeyHolder holder(MOD_WIN | (modifier == VK_SHIFT     ? MOD_SHIFT
                                   : modifier == VK_CONTROL ? MOD_CONTROL
                                                            : MOD_ALT));
    ASSERT_TRUE(holder.Registered());
    Key(VK_LWIN, true);
    Key(modifier, true);
    PressKey('Z');
    Key(modifier, false);
    Key(VK_LWIN, false);
    EXPECT_TRUE(Poll([&] { return holder.Received() == 1; })) << modifier;
  }
  Settle(200);
  EXPECT_FALSE(karvoss.BarVisible());
}

}  // namespace
}  // namespace kv::e2e
