// Suggestions under the command field while the user types: the history, the names of the
// user's own commands and the bar's words, and the entries of the typed folder, picked from a
// list that never changes what runs.
#include <gtest/gtest.h>

#include <set>

#include "app/bar.h"
#include "tests/e2e/support/harness.h"
#include "tests/support/settings_record.h"

namespace kv::e2e {
namespace {

// The suggestion list, or null when it is not shown. Its window is the platform's own: a visible
// pop-up of the program, other than the bar, holding a list box.
HWND SuggestionList(Karvoss& karvoss) {
  struct Search {
    DWORD pid;
    HWND bar;
    HWND list;
  } search{karvoss.Pid(), karvoss.Bar(), nullptr};
  EnumWindows(
      [](HWND hwnd, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(hwnd, &owner);
        if (owner != s->pid || hwnd == s->bar || !IsWindowVisible(hwnd))
          return TRUE;
        HWND list = FindWindowExW(hwnd, nullptr, L"ListBox", nullptr);
        if (!list)
          return TRUE;
        s->list = list;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.list;
}

// Its rows, or -1 when it is not shown.
LRESULT SuggestionRows(Karvoss& karvoss) {
  HWND list = SuggestionList(karvoss);
  return list ? SendMessageW(list, LB_GETCOUNT, 0, 0) : -1;
}

// Walks the shown list with Down; each row puts its text into the field.
std::set<std::wstring> WalkSuggestions(Karvoss& karvoss, LRESULT rows) {
  std::set<std::wstring> seen;
  for (LRESULT i = 0; i < rows; ++i) {
    const std::wstring before = karvoss.FieldText();
    PressKey(VK_DOWN);
    Poll([&] { return karvoss.FieldText() != before; });
    seen.insert(karvoss.FieldText());
  }
  return seen;
}

// The row the shown list marks as picked; -1 for none or no list.
LRESULT PickedRow(Karvoss& karvoss) {
  HWND list = SuggestionList(karvoss);
  return list ? SendMessageW(list, LB_GETCURSEL, 0, 0) : -1;
}

// Moves the pointer onto the list's first row, which it then shows as picked; gives the point.
// It comes from beside the row: a pointer that has not moved since the list came picks nothing.
POINT PointAtFirstRow(Karvoss& karvoss) {
  HWND list = SuggestionList(karvoss);
  RECT frame{};
  GetWindowRect(list, &frame);
  const auto rowHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  const POINT row{frame.left + 20, frame.top + rowHeight / 2};
  MoveMouse(row.x + 10, row.y);
  MoveMouse(row.x, row.y);
  Poll([&] { return PickedRow(karvoss) == 0; });
  return row;
}

// Types `text` over the field's text and waits until the field has all of it.
bool Retype(Karvoss& karvoss, const std::wstring& text) {
  SendMessageW(karvoss.Edit(), EM_SETSEL, 0, -1);
  TypeText(text);
  return Poll([&] { return karvoss.FieldText() == text; });
}

// Brings the bar down with the focus in the field, once the suggestion list is there: it comes
// with the shell libraries, in the first idle moment after the first show; keys typed after
// that are handled after it.
void ShowReady(Karvoss& karvoss) {
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  ASSERT_TRUE(Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }));
  ASSERT_TRUE(Poll([&] { return karvoss.HasLoaded(L"shell32.dll"); }));
}

// A Karvoss that starts with these files in its Data folder.
class KarvossWithData : public Karvoss {
 public:
  explicit KarvossWithData(const std::vector<std::pair<std::wstring, std::string>>& files)
      : Karvoss(Options{false, L""}) {
    CreateDirectoryW((Folder() + L"\\Data").c_str(), nullptr);
    for (const auto& [name, bytes] : files)
      WriteFileBytes(DataFile(name), bytes);
    Start();
  }
};

void MakeFile(const std::wstring& path, DWORD attributes = FILE_ATTRIBUTE_NORMAL) {
  HANDLE h =
      CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, attributes, nullptr);
  if (h != INVALID_HANDLE_VALUE)
    CloseHandle(h);
}

TEST(Suggestions, TypedFolderAndCommandNamesAreListedAndEnterRunsTheTypedText) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  karvoss.Bar();
  ASSERT_TRUE(Poll([&] { return FolderExists(karvoss.Folder() + L"\\Data"); }));
  const std::wstring projects = karvoss.Folder() + L"\\Проекты\\";
  CreateDirectoryW(projects.c_str(), nullptr);
  for (const wchar_t* name : {L"Альфа", L"Альбом", L"Бета"})
    CreateDirectoryW((projects + name).c_str(), nullptr);
  WriteFileBytes(projects + L"Альманах.txt", "");
  // Windows-1251: "почта" (and "поиск", added later).
  const std::string mail = "\xEF\xEE\xF7\xF2\xE0|probe.exe|mail|\r\n";
  WriteFileBytes(karvoss.DataFile(L"command.cms"), mail);
  ShowReady(karvoss);
  ASSERT_TRUE(Retype(karvoss, projects + L"Аль"));
  ASSERT_TRUE(Poll([&] { return SuggestionRows(karvoss) == 3; })) << SuggestionRows(karvoss);
  EXPECT_EQ(WalkSuggestions(karvoss, 3),
            (std::set<std::wstring>{projects + L"Альбом", projects + L"Альманах.txt",
                                    projects + L"Альфа"}));
  // A click on a row puts it in the field; the bar stays down and keeps the focus.
  ASSERT_TRUE(Retype(karvoss, projects + L"Альб"));
  ASSERT_TRUE(Poll([&] { return SuggestionRows(karvoss) == 1; }));
  // Its first row overlaps the bar's lower edge, where the click must still reach the list.
  const POINT row = PointAtFirstRow(karvoss);
  ASSERT_LT(row.y, karvoss.BarRect().bottom);
  MouseButton(true);
  MouseButton(false);
  EXPECT_TRUE(Poll([&] { return karvoss.FieldText() == projects + L"Альбом"; }));
  EXPECT_FALSE(Poll([&] { return karvoss.BarRect().top < 0; }, 1000)) << "the bar slid away";
  EXPECT_EQ(FocusOf(karvoss.Bar()), karvoss.Edit());
  ASSERT_TRUE(Retype(karvoss, projects + L"Аль"));
  ASSERT_TRUE(Poll([&] { return SuggestionRows(karvoss) == 3; }));
  // Esc closes the list only; the bar stays for the next line.
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(Poll([&] { return SuggestionRows(karvoss) == -1; }));
  EXPECT_FALSE(Poll([&] { return karvoss.BarRect().top < 0; }, 1000)) << "the bar slid away";
  // The next Esc sends the bar up as ever.
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(karvoss.WaitHidden());
  // A command added meanwhile is offered at the next show.
  WriteFileBytes(karvoss.DataFile(L"command.cms"),
                 mail + "\xEF\xEE\xE8\xF1\xEA|probe.exe|find|\r\n");
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  ASSERT_TRUE(Poll([&] { return FocusOf(karvoss.Bar()) == karvoss.Edit(); }));

  ASSERT_TRUE(Retype(karvoss, L"по"));
  ASSERT_TRUE(Poll([&] { return SuggestionRows(karvoss) == 2; })) << SuggestionRows(karvoss);
  EXPECT_EQ(WalkSuggestions(karvoss, 2), (std::set<std::wstring>{L"почта", L"поиск"}));
  // Back to the typed text, the pointer on a row, then Enter: "по" runs as typed, so both
  // commands that begin with it start, not the row under the pointer.
  ASSERT_TRUE(Retype(karvoss, L"по"));
  ASSERT_TRUE(Poll([&] { return SuggestionRows(karvoss) == 2; }));
  PointAtFirstRow(karvoss);
  PressKey(VK_RETURN);
  ASSERT_TRUE(karvoss.WaitProbeRecords(2));
  std::set<std::string> arguments;
  for (const auto& record : karvoss.ProbeRecords())
    arguments.insert(record.arguments);
  EXPECT_EQ(arguments, (std::set<std::string>{"mail", "find"}));
  EXPECT_TRUE(
      Poll([&] { return ReadFileBytes(karvoss.DataFile(L"history.cmh")) == "\xEF\xEE\r\n"; }));
}

TEST(Suggestions, TheListIsGoneAtTheFirstSlideStep) {
  // A slow slide: 40 ms a step.
  KarvossWithData karvoss({{L"config.cfg", test::SettingsRecord(40, 0xFFFFFF, 0xC0C0C0, 0)}});
  ShowReady(karvoss);
  ASSERT_TRUE(Retype(karvoss, L"reg"));
  ASSERT_TRUE(Poll([&] { return SuggestionRows(karvoss) > 0; }));
  karvoss.Hotkey();
  int slideSamples = 0;
  int listShown = 0;
  ASSERT_TRUE(Poll([&] {
    const RECT bar = karvoss.BarRect();
    const bool list = SuggestionList(karvoss) != nullptr;
    if (karvoss.BarVisible() && bar.top < 0 && bar.top > kHiddenTop) {
      ++slideSamples;
      listShown += list ? 1 : 0;
    }
    return !karvoss.BarVisible();
  }));
  EXPECT_GT(slideSamples, 3);
  EXPECT_EQ(listShown, 0) << "of " << slideSamples << " looks at the sliding bar";
}

TEST(Suggestions, TheWholeFolderIsSearchedForTheTypedStart) {
  Karvoss karvoss;
  const std::wstring big = karvoss.Folder() + L"\\big\\";
  CreateDirectoryW(big.c_str(), nullptr);
  for (int i = 0; i < 6000; ++i) {
    wchar_t name[16];
    swprintf(name, 16, L"n%04d.txt", i);
    MakeFile(big + name);
  }
  // A name well past the 4,000th in the listing's own order (under Wine the Linux file
  // system's), and a hidden entry with the same start, which is not offered.
  const std::vector<std::wstring> listed = FolderEntries(big);
  ASSERT_EQ(listed.size(), 6000u);
  const std::wstring late = listed[4500];
  const std::wstring start = late.substr(0, 5);
  MakeFile(big + start + L".bak", FILE_ATTRIBUTE_HIDDEN);
  ShowReady(karvoss);
  ASSERT_TRUE(Retype(karvoss, big + start));
  ASSERT_TRUE(Poll([&] { return SuggestionRows(karvoss) == 1; })) << SuggestionRows(karvoss);
  EXPECT_EQ(WalkSuggestions(karvoss, 1), std::set<std::wstring>{big + late});
}

TEST(Suggestions, HistoryComesFirstAndEscAfterWalkingPutsBackTheTypedText) {
  KarvossWithData karvoss({{L"history.cmh", "regedit\r\ncalc\r\n"}});
  ShowReady(karvoss);
  // The history's "regedit" and the shortcut "registry".
  ASSERT_TRUE(Retype(karvoss, L"reg"));
  ASSERT_TRUE(Poll([&] { return SuggestionRows(karvoss) == 2; })) << SuggestionRows(karvoss);
  // The list shown again under a pointer resting on its first row: no row is picked by it, and
  // Down goes to the first one.
  PointAtFirstRow(karvoss);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(Poll([&] { return SuggestionRows(karvoss) == -1; }));
  ASSERT_TRUE(Retype(karvoss, L"reg"));
  ASSERT_TRUE(Poll([&] { return SuggestionRows(karvoss) == 2; })) << SuggestionRows(karvoss);
  EXPECT_FALSE(Poll([&] { return PickedRow(karvoss) >= 0; }, 1000))
      << "a row picked by a pointer that did not move";
  PressKey(VK_DOWN);
  ASSERT_TRUE(Poll([&] { return karvoss.FieldText() == L"regedit"; })) << Utf8(karvoss.FieldText());
  // Esc closes the list only and puts back what was typed.
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(Poll([&] { return SuggestionRows(karvoss) == -1 && karvoss.FieldText() == L"reg"; }))
      << Utf8(karvoss.FieldText());
  EXPECT_FALSE(Poll([&] { return karvoss.BarRect().top < 0; }, 1000)) << "the bar slid away";
}

TEST(Suggestions, EnvironmentNamesAndParametersAreCompletedAsPaths) {
  Karvoss karvoss;
  ShowReady(karvoss);
  for (const std::wstring typed : {L"%windir%\\sy", L"notepad|\"%windir%\\sy"}) {
    ASSERT_TRUE(Retype(karvoss, typed));
    ASSERT_TRUE(Poll([&] { return SuggestionRows(karvoss) > 0; })) << Utf8(typed);
    const std::wstring folder = typed.substr(0, typed.size() - 2);
    EXPECT_EQ(WalkSuggestions(karvoss, SuggestionRows(karvoss)).count(folder + L"system32"), 1u)
        << Utf8(typed);
  }
}

}  // namespace
}  // namespace kv::e2e
