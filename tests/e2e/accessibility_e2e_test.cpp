// What a screen reader finds in the bar and the dialogs, asked through oleacc as one asks: the
// tree of elements with their roles, names and states, default actions, and the focus walked
// with Tab.
#include <windows.h>
#include <oleacc.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/support/harness.h"
#include "toolkit/com_ptr_win.h"

namespace kv::e2e {
namespace {

using ::testing::Contains;
using ::testing::ElementsAreArray;

// Cross-process calls need COM on the test's thread.
class Accessibility : public ::testing::Test {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { CoUninitialize(); }
};

// One element: an object and a child id (0, the object itself, or a simple element of it).
struct Element {
  IAccessible* object = nullptr;  // kept alive by the tree's `objects`
  long child = CHILDID_SELF;
  std::wstring name;
  long role = 0;
  long state = 0;
  HWND window = nullptr;  // the window whose client object this is (child 0 only)
  int depth = 0;
};

std::wstring TakeText(BSTR text) {
  std::wstring s = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return s;
}

VARIANT ChildId(long child) {
  VARIANT v{};
  v.vt = VT_I4;
  v.lVal = child;
  return v;
}

// The elements under a window's client object, depth first, as a screen reader walks them: a
// child window is entered through its own client object.
class Tree {
 public:
  explicit Tree(HWND window) { Add(window, 0); }
  const std::vector<Element>& Elements() const { return elements_; }

  const Element* Find(const std::wstring& name, long role) const {
    for (const Element& e : elements_) {
      if (e.name == name && e.role == role)
        return &e;
    }
    return nullptr;
  }

  std::string Print() const {
    std::string out;
    for (const Element& e : elements_) {
      wchar_t role[64]{};
      GetRoleTextW(static_cast<DWORD>(e.role), role, 64);
      std::wstring line =
          std::wstring(2 * static_cast<size_t>(e.depth), L' ') + role + L" \"" + e.name + L"\"";
      for (DWORD bit = 1; bit != 0 && bit <= STATE_SYSTEM_VALID; bit <<= 1) {
        wchar_t text[64]{};
        if ((static_cast<DWORD>(e.state) & bit) && GetStateTextW(bit, text, 64))
          line += std::wstring(L", ") + text;
      }
      out += Utf8(line) + "\n";
    }
    return out;
  }

 private:
  void Add(HWND window, int depth) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))) ||
        !object)
      return;
    objects_.emplace_back(object);
    elements_.push_back(Describe(object, CHILDID_SELF, depth));
    elements_.back().window = window;
    long count = 0;
    object->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(count));
    long got = 0;
    if (count == 0 || FAILED(AccessibleChildren(object, 0, count, children.data(), &got)))
      return;
    for (long i = 0; i < got; ++i) {
      VARIANT& v = children[static_cast<size_t>(i)];
      if (v.vt == VT_I4) {
        elements_.push_back(Describe(object, v.lVal, depth + 1));
      } else if (v.vt == VT_DISPATCH && v.pdispVal) {
        HWND child = nullptr;
        ComPtr<IAccessible> element;
        if (SUCCEEDED(v.pdispVal->QueryInterface(__uuidof(IAccessible), element.Receive())) &&
            SUCCEEDED(WindowFromAccessibleObject(element.Get(), &child)) && child)
          Add(child, depth + 1);
        v.pdispVal->Release();
      }
    }
  }

  static Element Describe(IAccessible* object, long child, int depth) {
    Element e{.object = object, .child = child, .depth = depth};
    BSTR name = nullptr;
    object->get_accName(ChildId(child), &name);
    e.name = TakeText(name);
    VARIANT role{};
    if (object->get_accRole(ChildId(child), &role) == S_OK && role.vt == VT_I4)
      e.role = role.lVal;
    VARIANT state{};
    if (object->get_accState(ChildId(child), &state) == S_OK && state.vt == VT_I4)
      e.state = state.lVal;
    return e;
  }

  std::vector<ComPtr<IAccessible>> objects_;
  std::vector<Element> elements_;
};

// Set KARVOSS_PRINT_TREE to see what a screen reader is given.
void MaybePrint(const char* title, const Tree& tree) {
  if (std::getenv("KARVOSS_PRINT_TREE"))
    std::printf("%s\n%s\n", title, tree.Print().c_str());
}

HWND OpenDialog(Karvoss& karvoss, const wchar_t* command, const wchar_t* className) {
  karvoss.Run(command);
  HWND form = nullptr;
  Poll([&] { return (form = FindProcessWindow(karvoss.Pid(), className, true)) != nullptr; });
  if (form)
    Poll([&] { return GetForegroundWindow() == form; });
  return form;
}

// Every element below the dialog's own client area is a control a screen reader can tell:
// a role of its own (not the bare client area of an unknown window) and a name.
void ExpectEveryControlTold(const Tree& tree) {
  for (const Element& e : tree.Elements()) {
    if (e.depth == 0)
      continue;
    EXPECT_NE(e.role, 0) << Utf8(e.name);
    EXPECT_NE(e.role, ROLE_SYSTEM_CLIENT) << Utf8(e.name);
    EXPECT_FALSE(e.name.empty()) << "role " << e.role;
  }
}

std::vector<std::pair<std::wstring, long>> NamesAndRoles(const Tree& tree) {
  std::vector<std::pair<std::wstring, long>> out;
  for (const Element& e : tree.Elements())
    out.emplace_back(e.name, e.role);
  return out;
}

std::wstring FocusedName(HWND form) {
  HWND focus = FocusOf(form);
  IAccessible* object = nullptr;
  if (!focus || FAILED(AccessibleObjectFromWindow(focus, OBJID_CLIENT, __uuidof(IAccessible),
                                                  reinterpret_cast<void**>(&object))))
    return {};
  ComPtr<IAccessible> owner(object);
  VARIANT state{};
  object->get_accState(ChildId(CHILDID_SELF), &state);
  if (state.vt != VT_I4 || !(state.lVal & STATE_SYSTEM_FOCUSED))
    return {};
  BSTR name = nullptr;
  object->get_accName(ChildId(CHILDID_SELF), &name);
  return TakeText(name);
}

void PressShiftTab() {
  INPUT inputs[4]{};
  for (INPUT& i : inputs)
    i.type = INPUT_KEYBOARD;
  inputs[0].ki.wVk = VK_SHIFT;
  inputs[1].ki.wVk = VK_TAB;
  inputs[2].ki.wVk = VK_TAB;
  inputs[2].ki.dwFlags = KEYEVENTF_KEYUP;
  inputs[3].ki.wVk = VK_SHIFT;
  inputs[3].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(4, inputs, sizeof(INPUT));
}

TEST_F(Accessibility, BarOkAndCloseArePushButtonsWhoseActionsRunTheCommandAndHideTheBar) {
  Karvoss karvoss;
  karvoss.AddProbe(L"probe.exe");
  karvoss.Hotkey();
  ASSERT_TRUE(karvoss.WaitShown());
  SendMessageW(karvoss.Field(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"probe.exe|told"));

  const Tree tree(karvoss.Bar());
  MaybePrint("The bar", tree);
  const Element* ok = tree.Find(L"Ok", ROLE_SYSTEM_PUSHBUTTON);
  const Element* close = tree.Find(L"Закрыть", ROLE_SYSTEM_PUSHBUTTON);
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(close, nullptr);
  EXPECT_NE(ok->child, CHILDID_SELF);  // windowless parts of the panel
  EXPECT_THAT(NamesAndRoles(tree),
              Contains(std::pair<std::wstring, long>(L"Команда", ROLE_SYSTEM_COMBOBOX)));
  RECT okBounds{};
  long x = 0, y = 0, w = 0, h = 0;
  ASSERT_EQ(ok->object->accLocation(&x, &y, &w, &h, ChildId(ok->child)), S_OK);
  RECT bar{};
  GetWindowRect(karvoss.Bar(), &bar);
  okBounds = {x, y, x + w, y + h};
  EXPECT_GT(w, 0);
  EXPECT_TRUE(okBounds.left >= bar.left && okBounds.right <= bar.right && okBounds.top >= bar.top);

  ASSERT_EQ(ok->object->accDoDefaultAction(ChildId(ok->child)), S_OK);
  ASSERT_TRUE(karvoss.WaitProbeRecords(1));
  EXPECT_EQ(karvoss.ProbeRecords()[0].arguments, "told");

  if (!karvoss.BarVisible() || karvoss.BarRect().top != 0) {
    ASSERT_TRUE(Poll([&] { return !karvoss.BarVisible(); }));
    karvoss.Hotkey();
    ASSERT_TRUE(karvoss.WaitShown());
  }
  const Tree again(karvoss.Bar());
  const Element* x2 = again.Find(L"Закрыть", ROLE_SYSTEM_PUSHBUTTON);
  ASSERT_NE(x2, nullptr);
  ASSERT_EQ(x2->object->accDoDefaultAction(ChildId(x2->child)), S_OK);
  EXPECT_TRUE(karvoss.WaitHidden());
}

TEST_F(Accessibility, EveryControlOfTheOptionsWindowAndTheCommandEditorHasARoleAndAName) {
  Karvoss karvoss;
  HWND options = OpenDialog(karvoss, L"options", L"TOptForm");
  ASSERT_NE(options, nullptr);
  {
    const Tree tree(options);
    MaybePrint("The options window", tree);
    ExpectEveryControlTold(tree);
    const std::vector<std::pair<std::wstring, long>> expected{
        {L"Задержка выпадания", ROLE_SYSTEM_SLIDER},
        {L"Цвет краёв", ROLE_SYSTEM_PUSHBUTTON},
        {L"Цвет середины", ROLE_SYSTEM_PUSHBUTTON},
        {L"Цвет текста", ROLE_SYSTEM_PUSHBUTTON},
        {L"Ok", ROLE_SYSTEM_PUSHBUTTON},
        {L"Отмена", ROLE_SYSTEM_PUSHBUTTON},
        {L"Настройки", ROLE_SYSTEM_TITLEBAR},
        {L"Текст панели", ROLE_SYSTEM_STATICTEXT}};
    for (const auto& control : expected)
      EXPECT_THAT(NamesAndRoles(tree), Contains(control)) << Utf8(control.first);
  }
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(Poll([&] { return !IsWindowVisible(options); }));

  HWND editor = OpenDialog(karvoss, L"commed", L"TForm2");
  ASSERT_NE(editor, nullptr);
  const Tree tree(editor);
  MaybePrint("The command editor", tree);
  ExpectEveryControlTold(tree);
  for (const auto& control : std::vector<std::pair<std::wstring, long>>{
           {L"Имя", ROLE_SYSTEM_TEXT},
           {L"Выбрать программу", ROLE_SYSTEM_PUSHBUTTON},
           {L"Выбрать рабочую папку", ROLE_SYSTEM_PUSHBUTTON},
           {L"Команды", ROLE_SYSTEM_LIST},
           {L"Добавить/Изменить", ROLE_SYSTEM_PUSHBUTTON}})
    EXPECT_THAT(NamesAndRoles(tree), Contains(control)) << Utf8(control.first);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(Poll([&] { return !IsWindowVisible(editor); }));
}

TEST_F(Accessibility, TabWalksTheOptionsWindowInOrderAndEnterPressesTheFocusedColourPicker) {
  Karvoss karvoss;
  HWND options = OpenDialog(karvoss, L"options", L"TOptForm");
  ASSERT_NE(options, nullptr);
  ASSERT_TRUE(Poll([&] { return FocusedName(options) == L"Задержка выпадания"; }));
  std::vector<std::wstring> walked;
  for (int i = 0; i < 6; ++i) {
    const std::wstring before = FocusedName(options);
    PressKey(VK_TAB);
    Poll([&] {
      const std::wstring now = FocusedName(options);
      return !now.empty() && now != before;
    });
    walked.push_back(FocusedName(options));
  }
  EXPECT_THAT(walked, ElementsAreArray({L"Цвет краёв", L"Цвет середины", L"Цвет текста", L"Ok",
                                        L"Отмена", L"Задержка выпадания"}));
  PressShiftTab();
  ASSERT_TRUE(Poll([&] { return FocusedName(options) == L"Отмена"; }));
  for (int i = 0; i < 4; ++i)
    PressShiftTab();
  ASSERT_TRUE(Poll([&] { return FocusedName(options) == L"Цвет краёв"; }));

  // The colour dialog is the one window with the red, green and blue edits.
  PressKey(VK_RETURN);
  HWND dialog = nullptr;
  ASSERT_TRUE(Poll([&] {
    for (HWND box : karvoss.MessageBoxes()) {
      if (GetDlgItem(box, 706))
        dialog = box;
    }
    return dialog != nullptr;
  }));
  SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(Poll([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(Poll([&] { return !IsWindowVisible(options); }));
}

}  // namespace
}  // namespace kv::e2e
