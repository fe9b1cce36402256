// The window layer's own pieces in this process: the creation path, the plain controls'
// callbacks and colours reached through their parent's notifications, and the COM owner.
#include <gtest/gtest.h>
#include <unknwn.h>

#include <stdexcept>

#include "toolkit/com_ptr_win.h"
#include "toolkit/controls_win.h"
#include "toolkit/form_win.h"
#include "toolkit/gdi_win.h"

namespace kv::e2e {
namespace {

constexpr int kListId = 7;

class ControlsForm final : public Form {
 public:
  ControlsForm() {
    CreateForm({.className = L"KarvossControlsTest", .style = WS_POPUP, .bounds = {0, 0, 300, 200}},
               clWhite);
    font.Reset(CreateUiFont({.face = "MS Sans Serif", .height = 11}));
    edit.Create({.style = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                 .bounds = {10, 10, 110, 31},
                 .parent = Hwnd(),
                 .font = font});
    list.Create({.style = WS_CHILD | WS_VISIBLE | LBS_NOTIFY,
                 .bounds = {10, 40, 110, 140},
                 .parent = Hwnd(),
                 .id = kListId});
    label.Create({.text = "Имя:", .bounds = {120, 10, 200, 30}, .parent = Hwnd()});
  }

  GdiObject<HFONT> font;
  Edit edit;
  ListBox list;
  Label label;
};

TEST(CreationPath, PlacesTheWindowAndGivesItTheFontAndRefusesAnUnknownClass) {
  ControlsForm form;
  RECT r{};
  GetWindowRect(form.edit.Hwnd(), &r);
  MapWindowPoints(nullptr, form.Hwnd(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.right - r.left, 100);
  EXPECT_EQ(r.bottom - r.top, 21);
  EXPECT_NE(SendMessageW(form.edit.Hwnd(), WM_GETFONT, 0, 0), 0);
  EXPECT_EQ(SendMessageW(form.list.Hwnd(), WM_GETFONT, 0, 0), 0);
  EXPECT_EQ(GetDlgCtrlID(form.list.Hwnd()), kListId);
  EXPECT_THROW(CreateWindowFromArgs({.className = L"KarvossNoSuchClass"}), std::runtime_error);
  EXPECT_EQ(TryCreateWindowFromArgs({.className = L"KarvossNoSuchClass"}), nullptr);
}

TEST(Edit, KeyPressFiltersTypedCharactersAndEveryChangeIsReported) {
  ControlsForm form;
  int changes = 0;
  form.edit.OnTextChanged = [&] { ++changes; };
  form.edit.OnKeyPress = [](wchar_t& ch) {
    if (ch == L'|')
      ch = 0;
    else if (ch == L'a')
      ch = L'b';
  };
  for (wchar_t ch : {L'x', L'|', L'a'})
    SendMessageW(form.edit.Hwnd(), WM_CHAR, ch, 0);
  EXPECT_EQ(form.edit.Text(), "xb");
  EXPECT_EQ(changes, 2);
  form.edit.SetText("путь");
  EXPECT_EQ(changes, 3);
  form.edit.Select({1, 3});
  EXPECT_EQ(form.edit.GetSelection().start, 1u);
  EXPECT_EQ(form.edit.GetSelection().end, 3u);
}

TEST(ListBox, SelectionAndDoubleClickComeBackFromTheParent) {
  ControlsForm form;
  int selections = 0;
  int doubleClicks = 0;
  form.list.OnSelectionChanged = [&] { ++selections; };
  form.list.OnDoubleClick = [&] { ++doubleClicks; };
  form.list.SetItems({"b", "c"});
  form.list.InsertItem(0, "a");
  form.list.DeleteItem(2);
  EXPECT_EQ(SendMessageW(form.list.Hwnd(), LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(form.list.SelectedIndex(), -1);
  form.list.SetSelectedIndex(1);
  EXPECT_EQ(form.list.SelectedIndex(), 1);
  const auto notify = [&](WORD code) {
    SendMessageW(form.Hwnd(), WM_COMMAND, MAKEWPARAM(kListId, code),
                 reinterpret_cast<LPARAM>(form.list.Hwnd()));
  };
  notify(LBN_SELCHANGE);
  notify(LBN_DBLCLK);
  notify(LBN_SELCHANGE);
  EXPECT_EQ(selections, 2);
  EXPECT_EQ(doubleClicks, 1);
}

TEST(Label, AnswersItsOwnColourRequestSolidOrTransparent) {
  ControlsForm form;
  HDC dc = GetDC(form.Hwnd());
  const auto ask = [&] {
    return SendMessageW(form.Hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(form.label.Hwnd()));
  };
  form.label.Colors().Set(clBlack, kDialogColor);
  const LRESULT brush = ask();
  ASSERT_NE(brush, 0);
  EXPECT_EQ(GetTextColor(dc), ToColorRef(clBlack));
  EXPECT_EQ(GetBkColor(dc), ToColorRef(kDialogColor));
  LOGBRUSH look{};
  GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof look, &look);
  EXPECT_EQ(look.lbColor, ToColorRef(kDialogColor));
  form.label.Colors().SetTransparent(clWhite);
  EXPECT_EQ(ask(), reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
  EXPECT_EQ(GetTextColor(dc), ToColorRef(clWhite));
  EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
  ReleaseDC(form.Hwnd(), dc);
}

// Counts its references; deletes nothing (it lives on the test's stack).
class CountedObject final : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID, void** object) override {
    *object = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  ULONG refs = 1;
};

TEST(ComPtr, ReleasesWhatItHoldsOnceWhenResetReceivingMovedOrGone) {
  CountedObject a;
  CountedObject b;
  {
    ComPtr<IUnknown> held(&a);
    held->QueryInterface(IID_IUnknown, ComPtr<IUnknown>().Receive());
    EXPECT_EQ(a.refs, 1u);  // the temporary owner released its new reference
    ComPtr<IUnknown> other;
    b.QueryInterface(IID_IUnknown, other.Receive());
    EXPECT_EQ(b.refs, 2u);
    held = std::move(other);
    EXPECT_EQ(a.refs, 0u);
    EXPECT_EQ(b.refs, 2u);
    EXPECT_FALSE(other);
    held.Reset();
    EXPECT_EQ(b.refs, 1u);
    held.Reset(&b);
  }
  EXPECT_EQ(b.refs, 0u);
}

}  // namespace
}  // namespace kv::e2e
