// The dialogs of the built-in commands on a real window system: help, About, the command editor
// and the folder chooser, driven through real input and read back through window messages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

#include "dialogs/png_image.h"
#include "resources/resources.h"
#include "tests/e2e/support/harness.h"

namespace kv::e2e {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr Color kDialogColorRef = RGB(64, 128, 128);

void SetText(HWND hwnd, const std::wstring& text) {
  SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::vector<std::wstring> ListItems(HWND list) {
  std::vector<std::wstring> items;
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
    if (length < 0)
      return {};  // the list was being rebuilt
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    items.push_back(text);
  }
  return items;
}

HWND WaitShownWindow(const Karvoss& karvoss, const wchar_t* className) {
  HWND found = nullptr;
  Poll([&] { return (found = FindProcessWindow(karvoss.Pid(), className, true)) != nullptr; });
  return found;
}

bool WaitGone(HWND window) {
  return Poll([&] { return !IsWindowVisible(window); });
}

POINT ScreenOf(HWND form, int x, int y) {
  POINT p{x, y};
  ClientToScreen(form, &p);
  return p;
}

// The child control at a place of the form's layout (client coordinates).
HWND ControlAt(HWND form, int x, int y) {
  HWND child = ChildWindowFromPointEx(form, POINT{x, y}, CWP_SKIPINVISIBLE);
  return child == form ? nullptr : child;
}

void ClickAt(HWND form, int x, int y) {
  const POINT p = ScreenOf(form, x, y);
  Click(p.x, p.y);
}

void DoubleClickAt(HWND form, int x, int y) {
  const POINT p = ScreenOf(form, x, y);
  MoveMouse(p.x, p.y);
  Settle(30);
  for (int i = 0; i < 2; ++i) {
    MouseButton(true);
    MouseButton(false);
  }
}

POINT TopLeft(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {r.left, r.top};
}

bool IsCentred(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return r.left == (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2 &&
         r.top == (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
}

// Presses the drag bar at `grab` (client coordinates), moves the pointer by about dx, dy in
// steps and releases it; returns how far the pointer really went (absolute input rounds).
POINT DragBy(HWND form, POINT grab, int dx, int dy) {
  const POINT p = ScreenOf(form, grab.x, grab.y);
  MoveMouse(p.x, p.y);
  POINT start{};
  Poll([&] {
    return GetCursorPos(&start) && std::abs(start.x - p.x) <= 1 && std::abs(start.y - p.y) <= 1;
  });
  MouseButton(true);
  Settle(50);
  constexpr int kSteps = 5;
  for (int i = 1; i <= kSteps; ++i) {
    MoveMouse(p.x + dx * i / kSteps, p.y + dy * i / kSteps);
    Settle(30);
  }
  POINT end{};
  Poll([&] {
    return GetCursorPos(&end) && std::abs(end.x - (p.x + dx)) <= 1 &&
           std::abs(end.y - (p.y + dy)) <= 1;
  });
  MouseButton(false);
  return {end.x - start.x, end.y - start.y};
}

bool SameColor(COLORREF a, COLORREF b) {
  return (a & 0xFFFFFF) == (b & 0xFFFFFF);
}

// ---------------------------------------------------------------------------------------------
// Help and About

constexpr POINT kHelpAbout{8 + 155 / 2, 488 + 12};    // Button2 "О программе"
constexpr POINT kHelpClose{168 + 361 / 2, 488 + 12};  // Button1 "Закрыть"
constexpr POINT kAboutOk{216 + 75 / 2, 192 + 12};     // OKButton

std::wstring HelpTextWithoutFinalLineEnd() {
  std::wstring text = Wide(std::string(resources::kHelpText));
  text.resize(text.size() - 2);
  return text;
}

std::vector<std::wstring> Lines(const std::wstring& text) {
  std::vector<std::wstring> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(L"\r\n", start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::wstring::npos)
      return lines;
    start = end + 2;
  }
}

TEST(HelpWindow, HelpOpensTheTextCentredAndTheBarSlidesAway) {
  Karvoss karvoss;
  karvoss.Run(L"help");
  HWND help = WaitShownWindow(karvoss, L"TForm3");
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(karvoss.WaitHidden());
  const SIZE size = ClientSize(help);
  EXPECT_EQ(size.cx, 535);
  EXPECT_EQ(size.cy, 518);
  EXPECT_TRUE(IsCentred(help));

  HWND memo = ControlAt(help, 100, 100);
  ASSERT_NE(memo, nullptr);
  EXPECT_EQ(ClassOf(memo), L"Edit");
  const LONG_PTR style = GetWindowLongPtrW(memo, GWL_STYLE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_EQ(SendMessageW(memo, EM_GETLINECOUNT, 0, 0), 110);
  const std::wstring text = TextOf(memo);
  EXPECT_EQ(text, HelpTextWithoutFinalLineEnd());
  const std::vector<std::wstring> lines = Lines(text);
  ASSERT_EQ(lines.size(), 110u);
  EXPECT_EQ(lines[24], L"clearhistiory - Очистить историю команд");
  EXPECT_EQ(lines[109], std::wstring(62, L'='));

  // Memo1 sits at 8, 24 and is 521 x 457.
  RECT memoRect{};
  GetWindowRect(memo, &memoRect);
  const POINT origin = ScreenOf(help, 0, 0);
  EXPECT_EQ(memoRect.left - origin.x, 8);
  EXPECT_EQ(memoRect.top - origin.y, 24);
  EXPECT_EQ(memoRect.right - memoRect.left, 521);
  EXPECT_EQ(memoRect.bottom - memoRect.top, 457);

  ClickAt(help, kHelpClose.x, kHelpClose.y);
  EXPECT_TRUE(WaitGone(help));
}

TEST(HelpWindow, AboutOpensOverHelpAndClosingItReturnsToHelp) {
  Karvoss karvoss;
  karvoss.Run(L"help");
  HWND help = WaitShownWindow(karvoss, L"TForm3");
  ASSERT_NE(help, nullptr);
  ASSERT_TRUE(karvoss.WaitHidden());
  ASSERT_TRUE(Poll([&] { return GetForegroundWindow() == help; }));
  ClickAt(help, kHelpAbout.x, kHelpAbout.y);
  HWND about = WaitShownWindow(karvoss, L"TAboutBox");
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(IsWindowVisible(help));
  EXPECT_FALSE(IsWindowEnabled(help));  // the About window is modal over it
  ClickAt(about, kAboutOk.x, kAboutOk.y);
  EXPECT_TRUE(WaitGone(about));
  EXPECT_TRUE(Poll([&] { return IsWindowEnabled(help) && GetForegroundWindow() == help; }));
  EXPECT_TRUE(IsWindowVisible(help));
  ClickAt(help, kHelpClose.x, kHelpClose.y);
  EXPECT_TRUE(WaitGone(help));
  EXPECT_TRUE(karvoss.Running());
}

// The emblem over the window colour, as the About window must show it at 16, 32.
COLORREF EmblemPixel(const RgbaImage& picture, int x, int y) {
  Bitmap expected(65, 65);
  expected.fill(kDialogColorRef);
  BlendRgba(expected, {0, 0}, picture);
  return static_cast<COLORREF>(expected.pixel(x, y));
}

TEST(AboutWindow, ShowsTheVersionInItsBevelledPanelWithTheEmblem) {
  Karvoss karvoss;
  karvoss.Run(L"about");
  HWND about = WaitShownWindow(karvoss, L"TAboutBox");
  ASSERT_NE(about, nullptr);
  const SIZE size = ClientSize(about);
  EXPECT_EQ(size.cx, 298);
  EXPECT_EQ(size.cy, 223);
  EXPECT_TRUE(IsCentred(about));

  HWND panel = ControlAt(about, 150, 100);
  ASSERT_NE(panel, nullptr);
  std::vector<std::wstring> labels;
  for (HWND c = GetWindow(panel, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    labels.push_back(TextOf(c));
  EXPECT_THAT(labels,
              ElementsAre(L"Karvoss", L"Версия 3,0", L"Karvoss - расширенная командная консоль"));

  // Panel1 at 8, 24, 281 x 161: lowered outer bevel, raised inner bevel, one pixel each.
  const POINT p = ScreenOf(about, 8, 24);
  const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  ASSERT_TRUE(Poll([&] { return SameColor(ScreenPixel(p.x + 100, p.y), shadow); }));
  EXPECT_TRUE(SameColor(ScreenPixel(p.x, p.y + 80), shadow));
  EXPECT_TRUE(SameColor(ScreenPixel(p.x + 280, p.y + 80), light));
  EXPECT_TRUE(SameColor(ScreenPixel(p.x + 100, p.y + 160), light));
  EXPECT_TRUE(SameColor(ScreenPixel(p.x + 1, p.y + 80), light));
  EXPECT_TRUE(SameColor(ScreenPixel(p.x + 100, p.y + 1), light));
  EXPECT_TRUE(SameColor(ScreenPixel(p.x + 279, p.y + 80), shadow));
  EXPECT_TRUE(SameColor(ScreenPixel(p.x + 100, p.y + 159), shadow));
  EXPECT_TRUE(SameColor(ScreenPixel(p.x + 150, p.y + 80), kDialogColorRef));

  // ProgramIcon: the 48 x 48 emblem stretched to 65 x 65 at 8, 8 in the panel, its transparent
  // parts showing the panel's colour. Checked along the picture's middle row and column.
  const PngDecodeResult emblem = DecodePng(resources::kEmblemPng);
  ASSERT_TRUE(emblem.Ok());
  const RgbaImage picture = StretchRgba(emblem.image, 65, 65);
  int differing = 0;
  for (int i = 0; i < 65; ++i) {
    differing += !SameColor(ScreenPixel(p.x + 8 + i, p.y + 8 + 32), EmblemPixel(picture, i, 32));
    differing += !SameColor(ScreenPixel(p.x + 8 + 32, p.y + 8 + i), EmblemPixel(picture, 32, i));
  }
  EXPECT_EQ(differing, 0);

  ClickAt(about, kAboutOk.x, kAboutOk.y);
  EXPECT_TRUE(WaitGone(about));
}

// ---------------------------------------------------------------------------------------------
// Command editor

constexpr POINT kNames{8 + 60, 24 + 100};
constexpr POINT kComm{136 + 100, 40 + 10};
constexpr POINT kPath{136 + 100, 88 + 10};
constexpr POINT kParam{136 + 100, 136 + 10};
constexpr POINT kDir{136 + 100, 184 + 10};
constexpr POINT kDirBrowse{368 + 10, 162 + 10};
constexpr POINT kAddEdit{136 + 64, 214 + 10};
constexpr POINT kDelete{384 + 52, 214 + 10};
constexpr POINT kOk{272 + 52, 246 + 10};

struct Editor {
  HWND form = nullptr;
  HWND names = nullptr;
  HWND comm = nullptr;
  HWND path = nullptr;
  HWND param = nullptr;
  HWND dir = nullptr;
  HWND addEdit = nullptr;
};

Editor OpenEditor(Karvoss& karvoss) {
  karvoss.Run(L"commed");
  Editor e;
  e.form = WaitShownWindow(karvoss, L"TForm2");
  if (!e.form)
    return e;
  e.names = ControlAt(e.form, kNames.x, kNames.y);
  e.comm = ControlAt(e.form, kComm.x, kComm.y);
  e.path = ControlAt(e.form, kPath.x, kPath.y);
  e.param = ControlAt(e.form, kParam.x, kParam.y);
  e.dir = ControlAt(e.form, kDir.x, kDir.y);
  e.addEdit = ControlAt(e.form, kAddEdit.x, kAddEdit.y);
  return e;
}

// Clicks into an empty edit and types there, waiting until the edit shows `shown`.
void TypeInto(HWND form, POINT at, HWND edit, const std::wstring& text, const std::wstring& shown) {
  ClickAt(form, at.x, at.y);
  ASSERT_TRUE(Poll([&] { return FocusOf(form) == edit; }));
  TypeText(text);
  ASSERT_TRUE(Poll([&] { return TextOf(edit) == shown; })) << Utf8(TextOf(edit));
}

void TypeInto(HWND form, POINT at, HWND edit, const std::wstring& text) {
  TypeInto(form, at, edit, text, text);
}

// Types a name and a path into the edits, adds them, and waits until the list has `rows` rows.
void AddEntry(const Editor& e, const std::wstring& name, const std::wstring& path, size_t rows) {
  TypeInto(e.form, kComm, e.comm, name);
  TypeInto(e.form, kPath, e.path, path);
  ClickAt(e.form, kAddEdit.x, kAddEdit.y);
  ASSERT_TRUE(Poll([&] { return ListItems(e.names).size() == rows; }));
}

TEST(CommandEditor, EntriesAddedThroughTheEditsAreSavedSortedAndRunFromTheBar) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  const std::wstring probe = karvoss.Folder() + L"\\probe.exe";
  Editor e = OpenEditor(karvoss);
  ASSERT_NE(e.form, nullptr);
  EXPECT_TRUE(IsCentred(e.form));
  // The first opening puts the focus on the name.
  EXPECT_TRUE(Poll([&] { return FocusOf(e.form) == e.comm; }));

  TypeInto(e.form, kComm, e.comm, L"zprobe");
  TypeInto(e.form, kPath, e.path, probe);
  ASSERT_TRUE(Poll([&] { return IsWindowEnabled(e.addEdit) != 0; }));
  ClickAt(e.form, kAddEdit.x, kAddEdit.y);
  ASSERT_TRUE(Poll([&] { return ListItems(e.names).size() == 1; }));
  EXPECT_EQ(TextOf(e.comm), L"");

  TypeInto(e.form, kComm, e.comm, L"Aprobe");
  TypeInto(e.form, kPath, e.path, probe);
  TypeInto(e.form, kParam, e.param, L"one two");
  ASSERT_TRUE(Poll([&] { return IsWindowEnabled(e.addEdit) != 0; }));
  ClickAt(e.form, kAddEdit.x, kAddEdit.y);
  ASSERT_TRUE(Poll([&] { return ListItems(e.names).size() == 2; }));
  EXPECT_THAT(ListItems(e.names), ElementsAre(L"Aprobe", L"zprobe"));

  ClickAt(e.form, kOk.x, kOk.y);
  ASSERT_TRUE(WaitGone(e.form));
  const std::string path = Utf8(probe);
  EXPECT_EQ(ReadFileBytes(karvoss.DataFile(L"command.cms")),
            "Aprobe|" + path + "|one two|\r\nzprobe|" + path + "||\r\n");

  // The bar has reloaded its store: the new names start the probe.
  karvoss.Run(L"zprobe");
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  EXPECT_EQ(karvoss.ProbeRecords()[0].program, "probe.exe");
  EXPECT_EQ(karvoss.ProbeRecords()[0].arguments, "");
}

TEST(CommandEditor, EscCancelsAndWritesNothing) {
  Karvoss karvoss;
  Editor e = OpenEditor(karvoss);
  ASSERT_NE(e.form, nullptr);
  AddEntry(e, L"name", L"C:\\x.exe", 1);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitGone(e.form));
  Settle(200);
  EXPECT_FALSE(FileExists(karvoss.DataFile(L"command.cms")));
}

TEST(CommandEditor, WithoutAStoreFileAbandonedChangesShowAgainAndAFileIsReloaded) {
  Karvoss karvoss;
  Editor e = OpenEditor(karvoss);
  ASSERT_NE(e.form, nullptr);
  AddEntry(e, L"kept", L"x", 1);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitGone(e.form));
  ASSERT_EQ(OpenEditor(karvoss).form, e.form);
  EXPECT_THAT(ListItems(e.names), ElementsAre(L"kept"));
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitGone(e.form));

  WriteFileBytes(karvoss.DataFile(L"command.cms"), "b|y||\r\na|z||\r\n");
  ASSERT_EQ(OpenEditor(karvoss).form, e.form);
  EXPECT_THAT(ListItems(e.names), ElementsAre(L"a", L"b"));
}

TEST(CommandEditor, ARowShowsItsFieldsAndDeleteRemovesIt) {
  Karvoss karvoss;
  karvoss.Bar();
  ASSERT_TRUE(Poll([&] { return FolderExists(karvoss.Folder() + L"\\Data"); }));
  WriteFileBytes(karvoss.DataFile(L"command.cms"),
                 "zz|C:\\z.exe|`|C:\\\r\nmid|C:\\m.exe|-a -b|``\r\nAa|C:\\a.exe||\r\n");
  Editor e = OpenEditor(karvoss);
  ASSERT_NE(e.form, nullptr);
  ASSERT_THAT(ListItems(e.names), ElementsAre(L"Aa", L"mid", L"zz"));

  // Row height of the list box in the dialog font.
  const int rowHeight = static_cast<int>(SendMessageW(e.names, LB_GETITEMHEIGHT, 0, 0));
  auto clickRow = [&](int row) {
    ClickAt(e.form, 8 + 30, 24 + 2 + row * rowHeight + rowHeight / 2);
  };
  clickRow(2);
  ASSERT_TRUE(Poll([&] { return TextOf(e.comm) == L"zz"; }));
  EXPECT_EQ(TextOf(e.path), L"C:\\z.exe");
  EXPECT_EQ(TextOf(e.param), L"");  // the empty-field mark
  EXPECT_EQ(TextOf(e.dir), L"C:\\");
  clickRow(1);
  ASSERT_TRUE(Poll([&] { return TextOf(e.comm) == L"mid"; }));
  EXPECT_EQ(TextOf(e.param), L"-a -b");
  EXPECT_EQ(TextOf(e.dir), L"``");

  ClickAt(e.form, kDelete.x, kDelete.y);
  ASSERT_TRUE(Poll([&] { return ListItems(e.names).size() == 2; }));
  EXPECT_THAT(ListItems(e.names), ElementsAre(L"Aa", L"zz"));
  EXPECT_EQ(TextOf(e.comm), L"");
  ClickAt(e.form, kOk.x, kOk.y);
  ASSERT_TRUE(WaitGone(e.form));
  EXPECT_EQ(ReadFileBytes(karvoss.DataFile(L"command.cms")),
            "Aa|C:\\a.exe||\r\nzz|C:\\z.exe|`|C:\\\r\n");
}

TEST(CommandEditor, ReservedNameShowsTheMessageAndKeepsTheEdits) {
  Karvoss karvoss;
  Editor e = OpenEditor(karvoss);
  ASSERT_NE(e.form, nullptr);
  TypeInto(e.form, kComm, e.comm, L"help");
  TypeInto(e.form, kPath, e.path, L"x");
  ClickAt(e.form, kAddEdit.x, kAddEdit.y);
  HWND box = karvoss.WaitMessageBox();
  ASSERT_NE(box, nullptr);
  const WindowText texts = Karvoss::TextsOf(box);
  EXPECT_EQ(texts.caption, L"Karvoss");
  EXPECT_THAT(texts.statics, ElementsAre(L"Введенная команда зарезервирована"));
  Karvoss::Confirm(box);
  ASSERT_TRUE(Poll([&] { return karvoss.MessageBoxes().empty(); }));
  EXPECT_EQ(TextOf(e.comm), L"help");
  EXPECT_EQ(TextOf(e.path), L"x");
  EXPECT_TRUE(ListItems(e.names).empty());
  // With case, "Help" is free.
  SetText(e.comm, L"Help");
  ClickAt(e.form, kAddEdit.x, kAddEdit.y);
  EXPECT_TRUE(Poll([&] { return ListItems(e.names) == std::vector<std::wstring>{L"Help"}; }));
}

TEST(CommandEditor, AddButtonIsEnabledExactlyWhileNameAndPathHoldText) {
  Karvoss karvoss;
  Editor e = OpenEditor(karvoss);
  ASSERT_NE(e.form, nullptr);
  EXPECT_FALSE(IsWindowEnabled(e.addEdit));
  TypeInto(e.form, kComm, e.comm, L"n");
  Settle(100);
  EXPECT_FALSE(IsWindowEnabled(e.addEdit));
  TypeInto(e.form, kPath, e.path, L" ");  // a blank counts
  EXPECT_TRUE(Poll([&] { return IsWindowEnabled(e.addEdit) != 0; }));
  SetText(e.comm, L"");
  EXPECT_TRUE(Poll([&] { return !IsWindowEnabled(e.addEdit); }));
  SetText(e.comm, L"m");
  EXPECT_TRUE(Poll([&] { return IsWindowEnabled(e.addEdit) != 0; }));
  // The edits refuse the field separator, typed or set.
  TypeInto(e.form, kParam, e.param, L"a|b", L"ab");
  SetText(e.dir, L"c:\\|d");
  EXPECT_TRUE(Poll([&] { return TextOf(e.dir) == L"c:\\d"; }));
}

// "é" is not in code page 1251: stored, it would come back as "?" and name another program.
TEST(CommandEditor, ACharacterTheCodePageLacksIsRefusedWithAMessage) {
  Karvoss karvoss;
  Editor e = OpenEditor(karvoss);
  ASSERT_NE(e.form, nullptr);
  ClickAt(e.form, kPath.x, kPath.y);
  ASSERT_TRUE(Poll([&] { return FocusOf(e.form) == e.path; }));
  TypeText(L"zé");
  HWND box = karvoss.WaitMessageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_THAT(Karvoss::TextsOf(box).statics,
              ElementsAre(L"Символ «é» нельзя сохранить в файле команд."));
  Karvoss::Confirm(box);
  ASSERT_TRUE(Poll([&] { return karvoss.MessageBoxes().empty(); }));
  EXPECT_EQ(TextOf(e.path), L"z");
}

// The bar down with the store read, so that a hold taken now meets only the editor's read. A
// dialog closed before the bar's timer saw it active leaves the bar down and active.
void ShowBarFirst(Karvoss& karvoss) {
  ASSERT_TRUE(Poll([&] {
    if (!karvoss.BarVisible())
      return karvoss.BarRect().top == -100;
    return karvoss.BarRect().top == 0 && GetForegroundWindow() == karvoss.Bar();
  }));
  if (!karvoss.BarVisible())
    karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
}

// The question asked at "Ок", answered.
void Answer(Karvoss& karvoss, int answer) {
  HWND box = karvoss.WaitMessageBox();
  ASSERT_NE(box, nullptr);
  EXPECT_THAT(Karvoss::TextsOf(box).statics.back(), HasSubstr(L"Файл команд изменён"));
  PostMessageW(box, WM_COMMAND, answer, 0);
  ASSERT_TRUE(Poll([&] { return karvoss.MessageBoxes().empty(); }));
}

// Guards the store against a scanner's hold and against a change made meanwhile: a brief hold
// is waited for, a long one leaves the editor read-only, and "Ок" asks before it replaces a
// file that changed on disk.
TEST(CommandEditor, StoreHeldOrChangedOnDiskIsNeverReplacedUnasked) {
  Karvoss karvoss;
  karvoss.Bar();
  ASSERT_TRUE(Poll([&] { return FolderExists(karvoss.Folder() + L"\\Data"); }));
  const std::wstring store = karvoss.DataFile(L"command.cms");
  const std::string stored = "kvkept|kept.exe||\r\n";
  WriteFileBytes(store, stored);
  ShowBarFirst(karvoss);
  {
    HeldFile held(store, 0);
    ASSERT_TRUE(held.Held());
    held.ReleaseAfter(300);
    Editor e = OpenEditor(karvoss);
    ASSERT_NE(e.form, nullptr);
    EXPECT_TRUE(Poll([&] { return ListItems(e.names) == std::vector<std::wstring>{L"kvkept"}; }));
    EXPECT_TRUE(karvoss.MessageBoxes().empty());
    ClickAt(e.form, kOk.x, kOk.y);
    ASSERT_TRUE(WaitGone(e.form));
  }
  EXPECT_EQ(ReadFileBytes(store), stored);

  ShowBarFirst(karvoss);
  {
    HeldFile held(store, 0);
    Editor e = OpenEditor(karvoss);
    HWND box = karvoss.WaitMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_THAT(Karvoss::TextsOf(box).statics.back(), HasSubstr(L"только для просмотра"));
    Karvoss::Confirm(box);
    ASSERT_NE(e.form, nullptr);
    EXPECT_TRUE(Poll([&] { return !IsWindowEnabled(ControlAt(e.form, kOk.x, kOk.y)); }));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitGone(e.form));
  }
  EXPECT_EQ(ReadFileBytes(store), stored);

  ShowBarFirst(karvoss);
  Editor e = OpenEditor(karvoss);
  ASSERT_NE(e.form, nullptr);
  const std::string other = "kvother|other.exe||\r\n";
  WriteFileBytes(store, other);  // another program, or an editor over a synced folder
  ClickAt(e.form, kOk.x, kOk.y);
  Answer(karvoss, IDNO);
  EXPECT_EQ(ReadFileBytes(store), other);
  EXPECT_TRUE(IsWindowVisible(e.form));
  ClickAt(e.form, kOk.x, kOk.y);
  Answer(karvoss, IDYES);
  ASSERT_TRUE(WaitGone(e.form));
  EXPECT_EQ(ReadFileBytes(store), stored);
}

// The editor over a store file that cannot be created: a folder stands where it should be.
Editor OpenEditorOverAnUncreatableStore(Karvoss& karvoss) {
  karvoss.Bar();
  if (!Poll([&] { return FolderExists(karvoss.Folder() + L"\\Data"); }) ||
      !CreateDirectoryW(karvoss.DataFile(L"command.cms").c_str(), nullptr)) {
    return {};
  }
  return OpenEditor(karvoss);
}

// The default error box of a store that cannot be created, confirmed.
void ConfirmCannotCreateBox(Karvoss& karvoss) {
  HWND box = karvoss.WaitMessageBox();
  ASSERT_NE(box, nullptr);
  const WindowText texts = Karvoss::TextsOf(box);
  EXPECT_EQ(texts.caption, L"Karvoss");
  ASSERT_FALSE(texts.statics.empty());
  EXPECT_EQ(texts.statics.back().rfind(L"Cannot create file \"", 0), 0u)
      << Utf8(texts.statics.back());
  Karvoss::Confirm(box);
  ASSERT_TRUE(Poll([&] { return karvoss.MessageBoxes().empty(); }));
}

TEST(CommandEditor, AFailedSaveIsReportedAndTheEditorStaysOpen) {
  Karvoss karvoss;
  Editor e = OpenEditorOverAnUncreatableStore(karvoss);
  ASSERT_NE(e.form, nullptr);
  ClickAt(e.form, kOk.x, kOk.y);
  ConfirmCannotCreateBox(karvoss);
  Settle(100);
  EXPECT_TRUE(IsWindowVisible(e.form));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitGone(e.form));
}

// Enter on a focused button runs its handler outside any window procedure; the toolkit still
// shows the handler's file error in the default error box, and the program goes on.
TEST(CommandEditor, AFailedSaveReachedByEnterIsReportedAndTheProgramGoesOn) {
  Karvoss karvoss;
  Editor e = OpenEditorOverAnUncreatableStore(karvoss);
  ASSERT_NE(e.form, nullptr);
  // Pressed and released off the button: it takes the focus without a click.
  const POINT ok = ScreenOf(e.form, kOk.x, kOk.y);
  MoveMouse(ok.x, ok.y);
  Settle(30);
  MouseButton(true);
  Settle(30);
  MoveMouse(ok.x, ok.y + 60);
  Settle(30);
  MouseButton(false);
  HWND okButton = ControlAt(e.form, kOk.x, kOk.y);
  ASSERT_TRUE(Poll([&] { return FocusOf(e.form) == okButton; }));
  ASSERT_TRUE(karvoss.MessageBoxes().empty());
  PressKey(VK_RETURN);
  ConfirmCannotCreateBox(karvoss);
  EXPECT_TRUE(karvoss.Running());
  EXPECT_TRUE(IsWindowVisible(e.form));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitGone(e.form));
}

// ---------------------------------------------------------------------------------------------
// Placement: centred at the first opening, then where the drag bar left it.

struct DialogCase {
  const wchar_t* command;
  const wchar_t* className;
  POINT close;  // a button that closes it
};

void PrintTo(const DialogCase& c, std::ostream* os) {
  *os << Utf8(c.command);
}

class DialogPlacement : public ::testing::TestWithParam<DialogCase> {};

TEST_P(DialogPlacement, CentredFirstThenReopensWhereItWasDragged) {
  const DialogCase c = GetParam();
  Karvoss karvoss;
  karvoss.Run(c.command);
  HWND form = WaitShownWindow(karvoss, c.className);
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(karvoss.WaitHidden());
  EXPECT_TRUE(IsCentred(form));
  const POINT before = TopLeft(form);
  const SIZE size = ClientSize(form);
  const POINT moved = DragBy(form, {40, 10}, -60, 45);
  const POINT after{before.x + moved.x, before.y + moved.y};
  ASSERT_TRUE(Poll([&] {
    const POINT now = TopLeft(form);
    return now.x == after.x && now.y == after.y;
  })) << TopLeft(form).x
      << "," << TopLeft(form).y << " expected " << after.x << "," << after.y;
  EXPECT_EQ(ClientSize(form).cx, size.cx);
  EXPECT_EQ(ClientSize(form).cy, size.cy);
  ClickAt(form, c.close.x, c.close.y);
  ASSERT_TRUE(WaitGone(form));

  karvoss.Run(c.command);
  ASSERT_EQ(WaitShownWindow(karvoss, c.className), form);
  const POINT again = TopLeft(form);
  EXPECT_EQ(again.x, after.x);
  EXPECT_EQ(again.y, after.y);
}

INSTANTIATE_TEST_SUITE_P(Dialogs, DialogPlacement,
                         ::testing::Values(DialogCase{L"help", L"TForm3", kHelpClose},
                                           DialogCase{L"about", L"TAboutBox", kAboutOk},
                                           DialogCase{L"commed", L"TForm2", kOk}),
                         [](const auto& info) { return Utf8(info.param.className); });

// ---------------------------------------------------------------------------------------------
// Folder chooser

constexpr POINT kChooserOk{176 + 25, 24 + 9};
constexpr POINT kChooserCancel{232 + 25, 24 + 9};
constexpr POINT kChooserList{8 + 100, 48 + 90};
constexpr POINT kChooserDrives{8 + 80, 24 + 9};
constexpr int kListTop = 48 + 2;  // inside the list's sunken edge
constexpr int kRowHeight = 16;

struct Chooser {
  HWND form = nullptr;
  HWND list = nullptr;
  HWND drives = nullptr;
};

Chooser OpenChooser(Karvoss& karvoss, const Editor& e) {
  ClickAt(e.form, kDirBrowse.x, kDirBrowse.y);
  Chooser c;
  c.form = WaitShownWindow(karvoss, L"Tf_Dir");
  if (!c.form)
    return c;
  c.list = ControlAt(c.form, kChooserList.x, kChooserList.y);
  c.drives = ControlAt(c.form, kChooserDrives.x, kChooserDrives.y);
  return c;
}

int RowIndex(HWND list, const std::wstring& text) {
  const std::vector<std::wstring> items = ListItems(list);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == text)
      return static_cast<int>(i);
  }
  return -1;
}

POINT RowPlace(HWND list, int row) {
  const int top = static_cast<int>(SendMessageW(list, LB_GETTOPINDEX, 0, 0));
  return {8 + 60, kListTop + (row - top) * kRowHeight + kRowHeight / 2};
}

std::wstring SelectedDriveText(HWND combo) {
  const LRESULT index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (index < 0)
    return {};
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

TEST(FolderChooser, HighlightThenOkReturnsTheOpenFolderAndDoubleClickOpens) {
  Karvoss karvoss;
  const std::wstring base = karvoss.Folder() + L"\\dirs";
  CreateDirectoryW(base.c_str(), nullptr);
  CreateDirectoryW((base + L"\\beta").c_str(), nullptr);
  CreateDirectoryW((base + L"\\Alpha").c_str(), nullptr);
  Editor e = OpenEditor(karvoss);
  ASSERT_NE(e.form, nullptr);
  SetText(e.dir, base);

  Chooser c = OpenChooser(karvoss, e);
  ASSERT_NE(c.form, nullptr);
  ASSERT_NE(c.list, nullptr);
  EXPECT_TRUE(IsCentred(c.form));
  std::vector<std::wstring> rows;
  ASSERT_TRUE(Poll([&] {
    rows = ListItems(c.list);
    return rows.size() >= 3 && rows.back() == L"beta";
  }));
  // The open folder's row is selected, its subfolders follow, sorted without regard to case.
  const int dirsRow = static_cast<int>(rows.size()) - 3;
  EXPECT_EQ(rows[dirsRow], L"dirs");
  EXPECT_EQ(rows[dirsRow + 1], L"Alpha");
  EXPECT_EQ(rows[dirsRow + 2], L"beta");
  EXPECT_EQ(SendMessageW(c.list, LB_GETCURSEL, 0, 0), dirsRow);
  EXPECT_EQ(SelectedDriveText(c.drives).substr(0, 2), L"c:");
  // The rows are drawn: the open folder's row in the selection colour, and a closed folder's
  // glyph (15 x 11, indented 10 pixels a level) in its yellow.
  const POINT rows0 = ScreenOf(c.form, 8 + 2, kListTop);
  const int top = static_cast<int>(SendMessageW(c.list, LB_GETTOPINDEX, 0, 0));
  const int dirsY = rows0.y + (dirsRow - top) * kRowHeight;
  EXPECT_TRUE(Poll([&] {
    return SameColor(ScreenPixel(rows0.x + 250, dirsY + 8), GetSysColor(COLOR_HIGHLIGHT));
  }));
  const int alphaGlyphX = rows0.x + 2 + (dirsRow + 1) * 10;
  EXPECT_TRUE(SameColor(ScreenPixel(alphaGlyphX + 8, dirsY + kRowHeight + 10), RGB(255, 214, 92)));

  // One click only highlights; "Ok" returns the folder that is open.
  const POINT alpha = RowPlace(c.list, dirsRow + 1);
  ClickAt(c.form, alpha.x, alpha.y);
  ASSERT_TRUE(Poll([&] { return SendMessageW(c.list, LB_GETCURSEL, 0, 0) == dirsRow + 1; }));
  ClickAt(c.form, kChooserOk.x, kChooserOk.y);
  ASSERT_TRUE(WaitGone(c.form));
  EXPECT_EQ(TextOf(e.dir), base);

  // A double click opens the row; then "Ok" returns it.
  c = OpenChooser(karvoss, e);
  ASSERT_NE(c.form, nullptr);
  ASSERT_TRUE(Poll([&] { return RowIndex(c.list, L"beta") >= 0; }));
  const POINT beta = RowPlace(c.list, RowIndex(c.list, L"beta"));
  DoubleClickAt(c.form, beta.x, beta.y);
  ASSERT_TRUE(Poll([&] {
    const std::vector<std::wstring> now = ListItems(c.list);
    return !now.empty() && now.back() == L"beta" &&
           SendMessageW(c.list, LB_GETCURSEL, 0, 0) == static_cast<LRESULT>(now.size()) - 1;
  }));
  ClickAt(c.form, kChooserOk.x, kChooserOk.y);
  ASSERT_TRUE(WaitGone(c.form));
  EXPECT_EQ(TextOf(e.dir), base + L"\\beta");

  // "Отмена" and Esc leave the working folder as it was.
  SetText(e.dir, L"");
  c = OpenChooser(karvoss, e);
  ASSERT_NE(c.form, nullptr);
  // Kept from last time: the chooser still shows beta open.
  EXPECT_TRUE(Poll([&] {
    const std::vector<std::wstring> now = ListItems(c.list);
    return !now.empty() && now.back() == L"beta";
  }));
  ClickAt(c.form, kChooserCancel.x, kChooserCancel.y);
  ASSERT_TRUE(WaitGone(c.form));
  EXPECT_EQ(TextOf(e.dir), L"");
  c = OpenChooser(karvoss, e);
  ASSERT_NE(c.form, nullptr);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitGone(c.form));
  EXPECT_EQ(TextOf(e.dir), L"");
  EXPECT_TRUE(IsWindowVisible(e.form));
}

TEST(FolderChooser, EnterOpensTheHighlightedRowAndAnotherDriveSwitchesTheDropDown) {
  Karvoss karvoss;
  const std::wstring base = karvoss.Folder() + L"\\dirs";
  CreateDirectoryW(base.c_str(), nullptr);
  CreateDirectoryW((base + L"\\inner").c_str(), nullptr);
  Editor e = OpenEditor(karvoss);
  ASSERT_NE(e.form, nullptr);
  SetText(e.dir, base);
  Chooser c = OpenChooser(karvoss, e);
  ASSERT_NE(c.form, nullptr);
  ASSERT_TRUE(Poll([&] { return FocusOf(c.form) == c.list; }));
  ASSERT_TRUE(Poll([&] { return RowIndex(c.list, L"inner") >= 0; }));
  PressKey(VK_DOWN);
  ASSERT_TRUE(
      Poll([&] { return SendMessageW(c.list, LB_GETCURSEL, 0, 0) == RowIndex(c.list, L"inner"); }));
  PressKey(VK_RETURN);
  ASSERT_TRUE(Poll([&] {
    return SendMessageW(c.list, LB_GETCOUNT, 0, 0) > 0 && ListItems(c.list).back() == L"inner" &&
           IsWindowVisible(c.form);
  }));
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitGone(c.form));

  // Wine's Z: is the root of the Unix file system; a folder there switches the drop-down.
  SetText(e.dir, L"Z:\\tmp");
  c = OpenChooser(karvoss, e);
  ASSERT_NE(c.form, nullptr);
  EXPECT_EQ(SelectedDriveText(c.drives).substr(0, 2), L"z:");
  EXPECT_TRUE(Poll([&] {
    const std::vector<std::wstring> now = ListItems(c.list);
    return now.size() >= 2 && now[0] == L"Z:\\" && now[1] == L"tmp";
  }));
  ClickAt(c.form, kChooserOk.x, kChooserOk.y);
  ASSERT_TRUE(WaitGone(c.form));
  EXPECT_EQ(TextOf(e.dir), L"Z:\\tmp");
}

// ---------------------------------------------------------------------------------------------
// Win+Z while a dialog is open: the dialog comes to the front, the disabled bar stays hidden.

// Another program takes the foreground, then Win+Z arrives.
bool WinZFromAnotherProgramFronts(Karvoss& karvoss, HWND dialog) {
  OtherWindow other;
  other.Activate();
  if (!Poll([&] { return GetForegroundWindow() == other.Hwnd(); }))
    return false;
  karvoss.Hotkey();
  const bool fronted = Poll([&] { return GetForegroundWindow() == dialog; });
  Settle(300);
  return fronted && !karvoss.BarVisible();
}

TEST(WinZWithDialogOpen, BringsTheHelpWindowForwardAndItClosesWithAClick) {
  Karvoss karvoss;
  karvoss.Run(L"help");
  HWND help = WaitShownWindow(karvoss, L"TForm3");
  ASSERT_NE(help, nullptr);
  ASSERT_TRUE(karvoss.WaitHidden());
  EXPECT_TRUE(WinZFromAnotherProgramFronts(karvoss, help));
  // Owned by the bar while shown, so it has no taskbar button; not once hidden, so the bar's
  // own showing has no hidden dialogs to walk.
  EXPECT_EQ(GetWindow(help, GW_OWNER), karvoss.Bar());
  ClickAt(help, kHelpClose.x, kHelpClose.y);
  EXPECT_TRUE(WaitGone(help));
  EXPECT_EQ(GetWindow(help, GW_OWNER), nullptr);
}

TEST(WinZWithDialogOpen, BringsTheFolderChooserOverTheEditorForward) {
  Karvoss karvoss;
  Editor e = OpenEditor(karvoss);
  ASSERT_NE(e.form, nullptr);
  ASSERT_TRUE(karvoss.WaitHidden());
  Chooser c = OpenChooser(karvoss, e);
  ASSERT_NE(c.form, nullptr);
  EXPECT_TRUE(WinZFromAnotherProgramFronts(karvoss, c.form));
  ClickAt(c.form, kChooserCancel.x, kChooserCancel.y);
  EXPECT_TRUE(WaitGone(c.form));
  EXPECT_TRUE(IsWindowVisible(e.form));
  EXPECT_TRUE(Poll([&] { return GetForegroundWindow() == e.form; }));
}

}  // namespace
}  // namespace kv::e2e
