#include "toolkit/controls_win.h"

#include <commctrl.h>

#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

bool IsColorRequest(UINT msg) {
  return msg == WM_CTLCOLORSTATIC || msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
}

}  // namespace

void ControlColors::Set(Color text, Color background) {
  set_ = true;
  transparent_ = false;
  text_ = text;
  if (background != background_)
    brush_.Reset();
  background_ = background;
}

void ControlColors::SetTransparent(Color text) {
  set_ = true;
  transparent_ = true;
  text_ = text;
}

LRESULT ControlColors::Apply(WPARAM wparam) {
  HDC dc = reinterpret_cast<HDC>(wparam);
  SetTextColor(dc, ToColorRef(resolveColor(text_, CurrentSystemColors())));
  if (transparent_) {
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
  }
  const COLORREF background = ToColorRef(resolveColor(background_, CurrentSystemColors()));
  SetBkColor(dc, background);
  if (!brush_)
    brush_.Reset(CreateSolidBrush(background));
  return reinterpret_cast<LRESULT>(brush_.Get());
}

void SetClosedComboHeight(HWND combo, int height) {
  // Wine reads back a different item height than it was given: the request is corrected until
  // the box has the height.
  LRESULT request = SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  for (int attempt = 0; attempt < 4; ++attempt) {
    RECT r{};
    GetWindowRect(combo, &r);
    const int error = (r.bottom - r.top) - height;
    if (error == 0)
      break;
    request -= error;
    SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), request);
  }
}

Label::Label() : NamedAccessible(ROLE_SYSTEM_STATICTEXT) {}

void Label::Create(WindowArgs args) {
  args.className = L"STATIC";
  CreateControl(args);
}

bool Label::Reflected(UINT msg, WPARAM wparam, LPARAM, LRESULT& result) {
  if (msg != WM_CTLCOLORSTATIC || !colors_.IsSet())
    return false;
  result = colors_.Apply(wparam);
  return true;
}

Edit::Edit() : NamedAccessible(ROLE_SYSTEM_TEXT) {}

void Edit::Create(WindowArgs args) {
  args.className = L"EDIT";
  CreateControl(args);
}

std::string Edit::Text() const {
  return WindowText(Hwnd());
}

void Edit::SetText(const std::string& text) {
  SetWindowTextUtf8(Hwnd(), text);
}

Edit::Selection Edit::GetSelection() const {
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(Hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

void Edit::Select(Selection selection) {
  SendMessageW(Hwnd(), EM_SETSEL, selection.start, static_cast<LPARAM>(selection.end));
}

LRESULT Edit::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_CHAR && OnKeyPress) {
    auto ch = static_cast<wchar_t>(wparam);
    OnKeyPress(ch);
    if (ch == 0)
      return 0;
    wparam = ch;
  }
  return DefaultHandle(msg, wparam, lparam);
}

AccessiblePart Edit::DescribeAccessible(int part) {
  AccessiblePart described = NamedAccessible::DescribeAccessible(part);
  if (!(GetWindowLongW(Hwnd(), GWL_STYLE) & ES_PASSWORD))
    described.value = Text();
  return described;
}

bool Edit::Reflected(UINT msg, WPARAM wparam, LPARAM, LRESULT& result) {
  if (msg == WM_COMMAND && HIWORD(wparam) == EN_CHANGE && OnTextChanged) {
    OnTextChanged();
    result = 0;
    return true;
  }
  // A read-only edit asks with WM_CTLCOLORSTATIC.
  if (IsColorRequest(msg) && colors_.IsSet()) {
    result = colors_.Apply(wparam);
    return true;
  }
  return false;
}

ListBox::ListBox() : NamedAccessible(ROLE_SYSTEM_LIST) {}

void ListBox::Create(WindowArgs args) {
  args.className = WC_LISTBOXW;
  CreateControl(args);
}

void ListBox::SetItems(const std::vector<std::string>& items) {
  SendMessageW(Hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Hwnd(), LB_RESETCONTENT, 0, 0);
  for (const std::string& item : items)
    SendMessageW(Hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  SendMessageW(Hwnd(), WM_SETREDRAW, TRUE, 0);
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

void ListBox::InsertItem(size_t row, const std::string& text) {
  SendMessageW(Hwnd(), LB_INSERTSTRING, row, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void ListBox::DeleteItem(size_t row) {
  SendMessageW(Hwnd(), LB_DELETESTRING, row, 0);
}

int ListBox::SelectedIndex() const {
  return static_cast<int>(SendMessageW(Hwnd(), LB_GETCURSEL, 0, 0));
}

void ListBox::SetSelectedIndex(int row) {
  SendMessageW(Hwnd(), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
}

int ListBox::AccessiblePartCount() {
  const LRESULT count = SendMessageW(Hwnd(), LB_GETCOUNT, 0, 0);
  return count > 0 ? static_cast<int>(count) : 0;
}

AccessiblePart ListBox::DescribeAccessible(int part) {
  if (part == 0)
    return NamedAccessible::DescribeAccessible(part);
  const auto row = static_cast<WPARAM>(part - 1);
  AccessiblePart item{.role = ROLE_SYSTEM_LISTITEM,
                      .state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE};
  const LRESULT length = SendMessageW(Hwnd(), LB_GETTEXTLEN, row, 0);
  if (length > 0) {
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(Hwnd(), LB_GETTEXT, row, reinterpret_cast<LPARAM>(text.data()))));
    item.name = Narrow(text);
  }
  if (SendMessageW(Hwnd(), LB_GETSEL, row, 0) > 0)
    item.state |= STATE_SYSTEM_SELECTED;
  if (GetFocus() == Hwnd() && SendMessageW(Hwnd(), LB_GETCARETINDEX, 0, 0) == part - 1)
    item.state |= STATE_SYSTEM_FOCUSED;
  RECT r{};
  SendMessageW(Hwnd(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
  RECT client{};
  GetClientRect(Hwnd(), &client);
  RECT shown{};
  if (IntersectRect(&shown, &r, &client))
    item.bounds = {r.left, r.top, r.right, r.bottom};
  else
    item.state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
  return item;
}

bool ListBox::Reflected(UINT msg, WPARAM wparam, LPARAM, LRESULT& result) {
  if (msg != WM_COMMAND)
    return false;
  const WORD code = HIWORD(wparam);
  if (code == LBN_SELCHANGE && OnSelectionChanged) {
    OnSelectionChanged();
  } else if (code == LBN_DBLCLK && OnDoubleClick) {
    OnDoubleClick();
  } else {
    return false;
  }
  result = 0;
  return true;
}

}  // namespace kv
