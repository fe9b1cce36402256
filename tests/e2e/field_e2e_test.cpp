// The command field as a daily user meets it: the history list from the keyboard, very long
// lines, and text the ANSI code page cannot hold.
#include <gtest/gtest.h>

#include "tests/e2e/support/harness.h"

namespace kv::e2e {
namespace {

bool Dropped(Karvoss& karvoss) {
  return SendMessageW(karvoss.Field(), CB_GETDROPPEDSTATE, 0, 0) != 0;
}

// The bar down with the given history, the field focused.
void ShowWithHistory(Karvoss& karvoss, const std::string& history) {
  karvoss.Bar();
  ASSERT_TRUE(Poll([&] { return FolderExists(karvoss.Folder() + L"\\Data"); }));
  WriteFileBytes(karvoss.DataFile(L"history.cmh"), history);
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  ASSERT_TRUE(Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }));
}

TEST(HistoryList, F4DownEnterRunsThePickedEntryWithTheListClosed) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  std::string history = "probe.exe|one\r\nprobe.exe|two\r\n";
  for (int i = 0; i < 20; ++i)
    history += "entry " + std::to_string(i) + "\r\n";
  ShowWithHistory(karvoss, history);
  PressKey(VK_F4);
  ASSERT_TRUE(Poll([&] { return Dropped(karvoss); }));
  // Rows of 24 pixels, at most 16 in view.
  HWND list = FindProcessWindow(karvoss.Pid(), L"ComboLBox", true);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 24);
  RECT client{};
  GetClientRect(list, &client);
  EXPECT_EQ(client.bottom / 24, 16);
  PressKey(VK_DOWN);
  PressKey(VK_DOWN);
  ASSERT_TRUE(Poll([&] { return karvoss.FieldText() == L"probe.exe|two"; }));
  PressKey(VK_RETURN);
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  EXPECT_EQ(karvoss.ProbeRecords()[0].arguments, "two");
  EXPECT_TRUE(Poll([&] { return !Dropped(karvoss) && CaptureOf(karvoss.Bar()) == nullptr; }));
}

TEST(HistoryList, EscWithTheListOpenClosesItAndHidesTheBar) {
  Karvoss karvoss;
  ShowWithHistory(karvoss, "a\r\nb\r\n");
  PressKey(VK_F4);
  ASSERT_TRUE(Poll([&] { return Dropped(karvoss); }));
  PressKey(VK_ESCAPE);
  // Closed before the slide begins, not left hanging below the sliding bar.
  bool droppedWhileSliding = false;
  EXPECT_TRUE(Poll([&] {
    droppedWhileSliding = droppedWhileSliding || (Dropped(karvoss) && karvoss.BarRect().top < 0);
    return !karvoss.BarVisible() && karvoss.BarRect().top == -100;
  }));
  EXPECT_FALSE(droppedWhileSliding);
  EXPECT_FALSE(Dropped(karvoss));
}

TEST(LongLines, ProgramNamesLongerThanAPathFailInTheFieldAndAreNotRecorded) {
  Karvoss karvoss;
  for (const size_t length : {1000u, 5000u}) {
    karvoss.Run(std::wstring(length, L'a') + L".exe");
    EXPECT_TRUE(Poll([&] { return karvoss.FieldText() == L"Команда не найдена (2)"; })) << length;
    EXPECT_TRUE(karvoss.Running());
  }
  EXPECT_FALSE(FileExists(karvoss.DataFile(L"history.cmh")));
}

TEST(LongLines, APasteOfFortyThousandCharactersArrivesWhole) {
  Karvoss karvoss;
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  std::wstring text;
  for (int i = 0; i < 40000; ++i)
    text += static_cast<wchar_t>(L'a' + i % 26);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(memory);
  SetClipboardData(CF_UNICODETEXT, memory);
  CloseClipboard();
  SendMessageW(karvoss.Edit(), EM_SETSEL, 0, -1);
  SendMessageW(karvoss.Edit(), WM_PASTE, 0, 0);
  const std::wstring pasted = karvoss.FieldText();
  EXPECT_EQ(pasted.size(), text.size());
  EXPECT_TRUE(pasted == text);
}

// "é" is not in code page 1251: the history must not store "ze", which would start ze.exe.
TEST(ForeignText, ACharacterTheCodePageLacksIsNeverStoredAsALookAlike) {
  Karvoss karvoss;
  karvoss.AddProbe(L"zé.exe");
  karvoss.AddProbe(L"ze.exe");
  karvoss.Run(L"zé");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  EXPECT_EQ(karvoss.ProbeRecords()[0].program, "zé.exe");
  EXPECT_TRUE(Poll([&] { return FileExists(karvoss.DataFile(L"history.cmh")); }));
  EXPECT_EQ(ReadFileBytes(karvoss.DataFile(L"history.cmh")), "z?\r\n");
}

}  // namespace
}  // namespace kv::e2e
