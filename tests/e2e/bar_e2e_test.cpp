// The bar under a real window system: start-up, the single-instance guard, the slides, the
// field's keys, the buttons.
#include <gtest/gtest.h>

#include "tests/e2e/support/harness.h"

namespace kv::e2e {
namespace {

const std::wstring kPrompt = L"Введите команду (help - справка)";

TEST(Startup, FirstStartCreatesDataWritesNothingAndShowsNothing) {
  Karvoss karvoss;
  HWND bar = karvoss.Bar();
  ASSERT_TRUE(Poll([&] { return FolderExists(karvoss.Folder() + L"\\Data"); }));
  Settle(300);
  EXPECT_TRUE(FolderEntries(karvoss.Folder() + L"\\Data").empty());
  EXPECT_FALSE(IsWindowVisible(bar));
  const RECT r = karvoss.BarRect();
  EXPECT_EQ(r.top, -100);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right - r.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(r.bottom - r.top, 61);
  // Always on top, never a taskbar button.
  const LONG_PTR ex = GetWindowLongPtrW(bar, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  EXPECT_TRUE(karvoss.MessageBoxes().empty());
}

TEST(Startup, SecondCopyShowsOneBoxAndEndsWhileTheFirstKeepsWinZ) {
  Karvoss first;
  first.Bar();
  Karvoss second(Karvoss::Options{true, first.Folder()});
  HWND box = second.WaitMessageBox();
  ASSERT_NE(box, nullptr);
  Settle(200);
  EXPECT_EQ(second.MessageBoxes().size(), 1u);
  const WindowText texts = Karvoss::TextsOf(box);
  EXPECT_EQ(texts.caption, L"Karvoss: повторный запуск ");
  ASSERT_EQ(texts.statics.size(), 1u);  // exclamation icon plus the one text
  EXPECT_EQ(texts.statics[0],
            L"Программа уже запущена! Нажмите сочетание Win+Z для вызова консоли.");
  EXPECT_EQ(FindProcessWindow(second.Pid(), L"TForm1", true), nullptr);
  Karvoss::Confirm(box);
  EXPECT_TRUE(second.WaitExit());
  EXPECT_TRUE(first.Running());
  // The first instance still holds the hotkey, and Win+Z still works for it.
  EXPECT_FALSE(RegisterHotKey(nullptr, 77, MOD_WIN | MOD_NOREPEAT, 'Z'));
  first.Hotkey();
  EXPECT_TRUE(first.WaitShown());
}

// The dialogs' windows are made when the program is first idle: a second copy started at once
// still says so and ends, and a command typed at once still opens its window.
TEST(Startup, SecondCopyStartedAtOnceStillShowsItsBox) {
  Karvoss first;
  Karvoss second(Karvoss::Options{false, first.Folder()});
  // Once the first has its bar (its single-instance guard comes right after), not before: two
  // copies started in the same instant may take the guard in either order.
  ASSERT_TRUE(Poll([&] { return FindProcessWindow(first.Pid(), L"TForm1", false) != nullptr; }));
  second.Start();
  HWND box = second.WaitMessageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(Karvoss::TextsOf(box).caption, L"Karvoss: повторный запуск ");
  Karvoss::Confirm(box);
  EXPECT_TRUE(second.WaitExit());
  first.Hotkey();
  EXPECT_TRUE(first.WaitShown());
}

TEST(Startup, HelpTypedAtOnceOpensTheHelpWindow) {
  Karvoss karvoss;
  karvoss.Run(L"help");
  EXPECT_TRUE(Poll([&] { return FindProcessWindow(karvoss.Pid(), L"TForm3", true) != nullptr; }));
}

TEST(Slides, WinZBringsTheBarDownWithThePromptSelectedAndTakesItBackUp) {
  Karvoss karvoss;
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  const RECT r = karvoss.BarRect();
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(karvoss.FieldText(), kPrompt);
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(karvoss.Field(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, kPrompt.size());
  EXPECT_TRUE(Poll([&] { return GetForegroundWindow() == karvoss.Bar(); }));
  EXPECT_TRUE(Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }));
  // "Ok" starts 5 pixels right of the field, "X" 5 pixels right of "Ok", 10 from the edge.
  RECT field{};
  GetWindowRect(karvoss.Field(), &field);
  EXPECT_EQ(field.left, 8);
  EXPECT_EQ(field.right, GetSystemMetrics(SM_CXSCREEN) - 84);
  karvoss.Hotkey();
  EXPECT_TRUE(karvoss.WaitHidden());
}

TEST(Slides, EscHidesWithoutRunningAnything) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  ASSERT_TRUE(Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }));
  SendMessageW(karvoss.Field(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"probe.exe"));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(karvoss.WaitHidden());
  EXPECT_EQ(karvoss.FieldText(), L"probe.exe");
  Settle(300);
  EXPECT_TRUE(karvoss.ProbeRecords().empty());
  EXPECT_FALSE(FileExists(karvoss.DataFile(L"history.cmh")));
}

TEST(Slides, AnotherActiveWindowSendsTheBarAway) {
  Karvoss karvoss;
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  OtherWindow other;
  other.Activate();
  EXPECT_TRUE(karvoss.WaitHidden());
}

TEST(Commands, ExitEndsTheProgram) {
  Karvoss karvoss;
  karvoss.Run(L"exit");
  EXPECT_TRUE(karvoss.WaitExit());
}

TEST(Commands, HideSlidesTheBarAway) {
  Karvoss karvoss;
  karvoss.Run(L"hide");
  EXPECT_TRUE(karvoss.WaitHidden());
  EXPECT_TRUE(karvoss.Running());
}

TEST(CloseButton, ShortClickHides) {
  Karvoss karvoss;
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  const int x = GetSystemMetrics(SM_CXSCREEN) - 10 - 16;
  Click(x, 28);
  EXPECT_TRUE(karvoss.WaitHidden());
  EXPECT_TRUE(karvoss.Running());
}

TEST(CloseButton, HeldOneSecondOpensTheExitMenu) {
  Karvoss karvoss;
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  const int x = GetSystemMetrics(SM_CXSCREEN) - 10 - 16;
  MoveMouse(x, 28);
  Settle(50);
  MouseButton(true);
  // The menu is a popup of the program (class #32768); it shows after the one-second tick.
  EXPECT_TRUE(
      Poll([&] { return FindProcessWindow(karvoss.Pid(), L"#32768", true) != nullptr; }, 5000));
  MouseButton(false);
  Settle(100);
  // Its one item, "Выход", ends the program.
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  EXPECT_TRUE(karvoss.WaitExit());
}

}  // namespace
}  // namespace kv::e2e
