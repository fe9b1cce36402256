// Win+Z when another program holds the hotkey, as on Windows 11: the bar watches the keyboard.
#include <gtest/gtest.h>

#include "tests/e2e/support/harness.h"

namespace kv::e2e {
namespace {

// Another program's window holding Win+Z, counting the hotkey messages it receives.
class HotkeyHolder {
 public:
  HotkeyHolder() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) -> LRESULT {
      if (msg == WM_HOTKEY)
        ++received;
      return DefWindowProcW(hwnd, msg, wparam, lparam);
    };
    wc.lpszClassName = L"KarvossTestHotkeyHolder";
    RegisterClassW(&wc);
    hwnd_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                            nullptr);
    registered_ = RegisterHotKey(hwnd_, 1, MOD_WIN | MOD_NOREPEAT, 'Z') != 0;
    received = 0;
  }
  ~HotkeyHolder() {
    UnregisterHotKey(hwnd_, 1);
    DestroyWindow(hwnd_);
  }
  bool registered() const { return registered_; }
  static inline int received = 0;

 private:
  HWND hwnd_ = nullptr;
  bool registered_ = false;
};

TEST(HeldHotkey, StartsSilentlyAndRealWinZTogglesTheBarWhileTheHolderGetsNothing) {
  HotkeyHolder holder;
  ASSERT_TRUE(holder.registered());
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
  EXPECT_EQ(HotkeyHolder::received, 0);
}

}  // namespace
}  // namespace kv::e2e
