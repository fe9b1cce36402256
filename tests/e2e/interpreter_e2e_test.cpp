// Typed commands on the real shell: plain launches, stored commands, network commands, the
// history file and its drop-down list.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/e2e/support/harness.h"

namespace kv::e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::UnorderedElementsAre;

// Win+Z, then the text typed key by key into the field (replacing the selected text), then Enter.
void TypeCommand(Karvoss& karvoss, const std::wstring& text) {
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  ASSERT_TRUE(Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }));
  TypeText(text);
  ASSERT_TRUE(Poll([&] { return karvoss.FieldText() == text; }));
  PressKey(VK_RETURN);
}

std::string FolderUtf8(const Karvoss& karvoss) {
  return Utf8(karvoss.Folder());
}

TEST(Launch, ProgramBarParametersStartsTheProgramWithEverythingAfterTheFirstBar) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  karvoss.Run(L"probe.exe|a|b");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  const ProbeRecord r = karvoss.ProbeRecords()[0];
  EXPECT_EQ(r.program, "probe.exe");
  EXPECT_EQ(r.arguments, "a|b");
  EXPECT_TRUE(
      Poll([&] { return ReadFileBytes(karvoss.DataFile(L"history.cmh")) == "probe.exe|a|b\r\n"; }));
  EXPECT_EQ(karvoss.FieldText(), L"Выполнение...");
}

TEST(Launch, StoredCommandStartsWithItsStoredParametersAndFolder) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  const std::string folder = FolderUtf8(karvoss);
  CreateDirectoryW((karvoss.Folder() + L"\\work").c_str(), nullptr);
  karvoss.Bar();
  ASSERT_TRUE(Poll([&] { return FolderExists(karvoss.Folder() + L"\\Data"); }));
  WriteFileBytes(karvoss.DataFile(L"command.cms"),
                 "pr|" + folder + "\\probe.exe|one `two`|" + folder + "\\work\r\n");
  karvoss.Run(L"pr");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  const ProbeRecord r = karvoss.ProbeRecords()[0];
  EXPECT_EQ(r.arguments, "one `two`");
  EXPECT_EQ(r.folder, folder + "\\work");
}

TEST(Launch, StoredNamesSharingTheTypedStartAreAllStarted) {
  Karvoss karvoss;
  karvoss.AddProbe(L"first.exe");
  karvoss.AddProbe(L"second.exe");
  const std::string folder = FolderUtf8(karvoss);
  karvoss.Bar();
  ASSERT_TRUE(Poll([&] { return FolderExists(karvoss.Folder() + L"\\Data"); }));
  WriteFileBytes(karvoss.DataFile(L"command.cms"), "pa|" + folder + "\\first.exe|1||\r\npb|" +
                                                       folder + "\\second.exe|2||\r\n" + "q|" +
                                                       folder + "\\first.exe|3||\r\n");
  karvoss.Run(L"p");
  ASSERT_TRUE(karvoss.WaitProbeRecords(2));
  Settle(300);
  const auto records = karvoss.ProbeRecords();
  ASSERT_EQ(records.size(), 2u);
  std::vector<std::string> started;
  for (const auto& r : records)
    started.push_back(r.program + " " + r.arguments);
  EXPECT_THAT(started, UnorderedElementsAre("first.exe 1", "second.exe 2"));
}

TEST(Launch, PingShowsWhatWillRunThenStartsIt) {
  Karvoss karvoss;
  karvoss.AddProbe(L"ping.exe");  // found first: the program's own folder is searched first
  karvoss.Run(L"ping host -n 1");
  HWND box = karvoss.WaitMessageBox();
  ASSERT_NE(box, nullptr);
  const WindowText texts = Karvoss::TextsOf(box);
  EXPECT_EQ(texts.caption, L"Karvoss");
  EXPECT_THAT(texts.statics, ElementsAre(L"ping/host -n 1"));
  Settle(200);
  EXPECT_TRUE(karvoss.ProbeRecords().empty());  // nothing starts before the window is closed
  Karvoss::Confirm(box);
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  EXPECT_EQ(karvoss.ProbeRecords()[0].program, "ping.exe");
  EXPECT_EQ(karvoss.ProbeRecords()[0].arguments, "host -n 1");
}

TEST(Launch, MissingProgramIsReportedInTheFieldAndNotRemembered) {
  Karvoss karvoss;
  karvoss.Run(L"no-such-program-here.exe");
  ASSERT_TRUE(Poll([&] { return karvoss.FieldText() == L"Команда не найдена (2)"; }));
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(karvoss.Field(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, std::wstring(L"Команда не найдена (2)").size());
  Settle(200);
  EXPECT_FALSE(FileExists(karvoss.DataFile(L"history.cmh")));
}

TEST(Launch, PathOutsideTheAnsiCodePageStillStarts) {
  Karvoss karvoss;
  const std::wstring folder = karvoss.Folder() + L"\\\x6587\x4ef6";  // not in Windows-1251
  CreateDirectoryW(folder.c_str(), nullptr);
  CopyFileW((BinFolder() + L"\\probe.exe").c_str(), (folder + L"\\probe.exe").c_str(), FALSE);
  karvoss.Run(folder + L"\\probe.exe|x");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  EXPECT_EQ(karvoss.ProbeRecords()[0].arguments, "x");
}

TEST(History, TypedCommandsAreKeptNewestFirstOnceEach) {
  Karvoss karvoss;
  karvoss.AddProbe(L"a.exe");
  karvoss.AddProbe(L"b.exe");
  size_t started = 0;
  for (const wchar_t* name : {L"a", L"b", L"a"}) {
    TypeCommand(karvoss, name);
    ASSERT_TRUE(karvoss.WaitProbeRecords(++started));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(karvoss.WaitHidden());
  }
  EXPECT_TRUE(
      Poll([&] { return ReadFileBytes(karvoss.DataFile(L"history.cmh")) == "a\r\nb\r\n"; }));
  EXPECT_THAT(ComboItems(karvoss.Field()), ElementsAre(L"a", L"b"));
  // The next show offers the last command, selected.
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  EXPECT_EQ(karvoss.FieldText(), L"a");
}

TEST(History, RussianTextIsStoredInTheAnsiCodePage) {
  Karvoss karvoss;
  karvoss.AddProbe(L"проба.exe");
  karvoss.Run(L"проба.exe|ёж");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  EXPECT_EQ(karvoss.ProbeRecords()[0].arguments, "ёж");
  // Windows-1251 bytes of "проба.exe|ёж".
  EXPECT_TRUE(Poll([&] {
    return ReadFileBytes(karvoss.DataFile(L"history.cmh")) ==
           "\xEF\xF0\xEE\xE1\xE0.exe|\xB8\xE6\r\n";
  }));
  // Read back at the next show through the code page.
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(karvoss.WaitHidden());
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  EXPECT_THAT(ComboItems(karvoss.Field()), ElementsAre(L"проба.exe|ёж"));
}

TEST(History, ClearHistoryLeavesAnEmptyFileThePromptAndAnEmptyFieldNextTime) {
  Karvoss karvoss;
  karvoss.AddProbe(L"a.exe");
  karvoss.Run(L"a");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  karvoss.Run(L"clearhistory");
  ASSERT_TRUE(Poll([&] {
    return FileExists(karvoss.DataFile(L"history.cmh")) &&
           ReadFileBytes(karvoss.DataFile(L"history.cmh")).empty() &&
           karvoss.FieldText() == L"Введите команду (help - справка)";
  }));
  EXPECT_TRUE(ComboItems(karvoss.Field()).empty());
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(karvoss.WaitHidden());
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  EXPECT_EQ(karvoss.FieldText(), L"");
}

TEST(History, FileEditedWhileHiddenShowsAtTheNextShow) {
  Karvoss karvoss;
  karvoss.Bar();
  ASSERT_TRUE(Poll([&] { return FolderExists(karvoss.Folder() + L"\\Data"); }));
  WriteFileBytes(karvoss.DataFile(L"history.cmh"), "x\ny\nx\n");
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  EXPECT_THAT(ComboItems(karvoss.Field()), ElementsAre(L"x", L"y", L"x"));
}

}  // namespace
}  // namespace kv::e2e
