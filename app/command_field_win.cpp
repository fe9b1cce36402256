#include "app/command_field_win.h"

#include <commctrl.h>

#include "toolkit/keys.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

constexpr int kListItemHeight = 24;
constexpr int kDropDownCount = 16;
// A control id of its own: the drawn rows' notifications name their control by it.
constexpr int kFieldId = 1;
// Posted to the field after its text changed, when the suggestion list has followed it.
constexpr UINT kSuggestionsShownMessage = WM_APP + 1;
// Posted to the field when a folder to suggest from was listed in the background.
constexpr UINT kFolderListedMessage = WM_APP + 2;
// Longest history copied into the drop-down list at once (a few milliseconds); a longer one is
// copied when it is first needed.
constexpr size_t kImmediateListItems = 2000;

}  // namespace

void CommandField::Create(HWND parent, Rect bounds, HFONT font) {
  // The list's rows are drawn here: only drawn rows take the designed height of 24 pixels.
  CreateControl({.className = WC_COMBOBOXW,
                 .style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN |
                          CBS_AUTOHSCROLL | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                 .bounds = {bounds.left, bounds.top, bounds.right,
                            bounds.top + kHeight + kDropDownCount * kListItemHeight + 2},
                 .parent = parent,
                 .id = kFieldId,
                 .font = font});
  font_ = font;
  // The history has no length limit, so neither has the field (the edit's default is 30,000).
  SendMessageW(Hwnd(), CB_LIMITTEXT, 0, 0);
  SendMessageW(Hwnd(), CB_SETMINVISIBLE, kDropDownCount, 0);
  SetHeights();
  painting_.OnRepaint = [this] {
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  };
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(Hwnd(), &info);
  list_ = info.hwndList;
  if (info.hwndItem) {
    edit_.AttachControl(info.hwndItem);
    edit_.SetAccessibleName(AccessibleName());
    edit_.OnKeyPress = [this](wchar_t& ch) { EditKeyPress(ch); };
  }
}

void CommandField::SetHeights() {
  SendMessageW(Hwnd(), CB_SETITEMHEIGHT, 0, Scale()(kListItemHeight));
  SetClosedComboHeight(Hwnd(), Scale()(kHeight));
}

void CommandField::DpiChanged() {
  font_ = reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
  SetHeights();
}

std::string CommandField::Text() const {
  return WindowText(Hwnd());
}

void CommandField::SetText(const std::string& text) {
  SetWindowTextUtf8(Hwnd(), text);
  NotifyAccessible(Hwnd(), EVENT_OBJECT_VALUECHANGE);
  edit_.NotifyAccessible(edit_.Hwnd(), EVENT_OBJECT_VALUECHANGE);
}

AccessiblePart CommandField::DescribeAccessible(int part) {
  AccessiblePart described = NamedAccessible::DescribeAccessible(part);
  described.value = Text();
  return described;
}

void CommandField::SelectAll() {
  SendMessageW(Hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

HBRUSH CommandField::FillBrush() {
  const Color rgbColor = resolveColor(painting_.Color(), CurrentSystemColors());
  if (!brush_ || rgbColor != brushColor_) {
    brush_.Reset(CreateSolidBrush(ToColorRef(rgbColor)));
    brushColor_ = rgbColor;
  }
  return brush_;
}

void CommandField::SetFontColor(Color c) {
  fontColor_ = c;
  if (Hwnd())
    RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CommandField::SetItems(const std::vector<std::string>& items) {
  items_ = std::make_shared<const std::vector<std::string>>(items);
  listPending_ = true;
  if (suggestions_)
    suggestions_->SetHistory(items_);
  // Under Wine a million-line history took over a minute to copy, and the bar could not come
  // down meanwhile; a long list now waits until the user opens or walks it (an open list is
  // refreshed at once, it is in view).
  if (items.size() <= kImmediateListItems || SendMessageW(Hwnd(), CB_GETDROPPEDSTATE, 0, 0))
    FillList();
}

void CommandField::FillList() {
  if (!listPending_)
    return;
  listPending_ = false;
  const std::shared_ptr<const std::vector<std::string>> held = items_;
  const std::vector<std::string>& items = *held;
  HCURSOR cursor = nullptr;
  if (items.size() > kImmediateListItems)
    cursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  // Emptying the list empties the field too: keep its text and selection.
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(Hwnd())) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(Hwnd(), text.data(), static_cast<int>(text.size()))));
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(Hwnd(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  SendMessageW(Hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(Hwnd(), CB_RESETCONTENT, 0, 0);
  size_t bytes = 0;
  for (const std::string& item : items)
    bytes += (item.size() + 1) * sizeof(wchar_t);
  // Straight to the list box: through the combo box every item would also pass the subclass
  // chain, which costs Wine a server round trip per message (twenty times the insertion).
  SendMessageW(list_, LB_INITSTORAGE, items.size(), bytes);
  for (const std::string& item : items)
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  SetWindowTextW(Hwnd(), text.c_str());
  SendMessageW(Hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(start, end));
  SendMessageW(Hwnd(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  if (cursor)
    SetCursor(cursor);
}

// Messages after which the control reads its list: opening it, walking it with the arrow and
// page keys, and the wheel.
bool CommandField::NeedsList(UINT msg, WPARAM wparam) {
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return wparam == VK_UP || wparam == VK_DOWN || wparam == VK_PRIOR || wparam == VK_NEXT ||
             wparam == VK_F4;
    case WM_MOUSEWHEEL:
      return true;
    case CB_SHOWDROPDOWN:
      return wparam != 0;
    default:
      return false;
  }
}

bool CommandField::Reflected(UINT msg, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  // Sent before the list is sized and shown, and before it looks for the field's text in it.
  if (msg == WM_COMMAND && HIWORD(wparam) == CBN_DROPDOWN)
    FillList();
  // The arrow shows whether the list is open.
  if (msg == WM_COMMAND && (HIWORD(wparam) == CBN_DROPDOWN || HIWORD(wparam) == CBN_CLOSEUP))
    InvalidateButton();
  // The suggestion list follows the text: its names are brought up to date before the list is
  // made, and the list is brought to the front once the key has been handled.
  if (msg == WM_COMMAND && HIWORD(wparam) == CBN_EDITCHANGE && suggestions_) {
    if (const unsigned version = suggestionNamesVersion_(); version != namesVersion_) {
      namesVersion_ = version;
      suggestions_->SetNames(suggestionNames_());
    }
    suggestions_->TextChanged(edit_.Text());
    PostMessageW(Hwnd(), kSuggestionsShownMessage, 0, 0);
  }
  if (msg == WM_DRAWITEM) {
    DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
    result = TRUE;
    return true;
  }
  return false;
}

// A row of the list in the field's font and colours; the picked row in the system's selection
// colours.
void CommandField::DrawRow(const DRAWITEMSTRUCT& item) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  HDC dc = item.hDC;
  RECT r = item.rcItem;
  if (selected) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  } else {
    FillRect(dc, &r, FillBrush());
    SetTextColor(dc, ToColorRef(resolveColor(fontColor_, CurrentSystemColors())));
  }
  if (item.itemID == static_cast<UINT>(-1))
    return;
  const auto length = SendMessageW(item.hwndItem, CB_GETLBTEXTLEN, item.itemID, 0);
  if (length > 0) {
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(item.hwndItem, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    ScopedSelect font(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    r.left += Scale()(2);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (item.itemState & ODS_FOCUS)
    DrawFocusRect(dc, &item.rcItem);
}

void CommandField::InvalidateButton() {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(Hwnd(), &info))
    InvalidateRect(Hwnd(), &info.rcButton, FALSE);
}

// The whole field in its fill colour, and the drop-down arrow in the font colour on a patch of
// the same fill: no platform frame or button, whatever the colour scheme. The edit inside
// paints its own text.
void CommandField::Paint() {
  ScopedPaint paint(Hwnd());
  HDC dc = paint;
  FillRect(dc, &paint.PaintRect(), FillBrush());
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(Hwnd(), &info))
    return;
  const RECT& b = info.rcButton;
  const bool dropped = info.stateButton == STATE_SYSTEM_PRESSED ||
                       SendMessageW(Hwnd(), CB_GETDROPPEDSTATE, 0, 0) != 0;
  // Three looks: plain, larger under the pointer, pushed one pixel down while the list is open.
  const int half = Scale()(hot_ && !dropped ? 6 : 5);
  const int cx = (b.left + b.right) / 2;
  const int top = (b.top + b.bottom) / 2 - half / 2 + (dropped ? Scale()(1) : 0);
  for (int row = 0; row < half; ++row)
    FillSolidRect(dc, {cx - half + row + 1, top + row, cx + half - row, top + row + 1}, fontColor_);
}

LRESULT CommandField::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (NeedsList(msg, wparam))
    FillList();
  switch (msg) {
    case WM_PAINT:
      Paint();
      return 0;
    case kFolderListedMessage:
      if (suggestions_) {
        suggestions_->FolderListed();
        suggestions_->BringListToFront();
      }
      return 0;
    case kSuggestionsShownMessage:
      if (suggestions_)
        suggestions_->BringListToFront();
      return 0;
    case WM_MOUSEMOVE:
      if (!hot_) {
        hot_ = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Hwnd(), 0};
        TrackMouseEvent(&track);
        InvalidateButton();
      }
      break;
    case WM_MOUSELEAVE:
      hot_ = false;
      InvalidateButton();
      break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wparam);
      SetTextColor(dc, ToColorRef(resolveColor(fontColor_, CurrentSystemColors())));
      SetBkColor(dc, ToColorRef(resolveColor(painting_.Color(), CurrentSystemColors())));
      return reinterpret_cast<LRESULT>(FillBrush());
    }
    case WM_ERASEBKGND: {
      RECT r{};
      GetClientRect(Hwnd(), &r);
      FillRect(reinterpret_cast<HDC>(wparam), &r, FillBrush());
      return 1;
    }
  }
  return DefaultHandle(msg, wparam, lparam);
}

LRESULT CommandField::FieldEdit::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (NeedsList(msg, wparam))
    field_.FillList();
  return Edit::Handle(msg, wparam, lparam);
}

void CommandField::EditKeyPress(wchar_t& ch) {
  if ((ch != kKeyEnter && ch != kKeyEscape) || !keyPress_)
    return;
  // An open list goes first, with its mouse capture: the command that runs, or the slide
  // that follows, must not leave it hanging. The entry picked in it is already the text.
  if (SendMessageW(Hwnd(), CB_GETDROPPEDSTATE, 0, 0))
    SendMessageW(Hwnd(), CB_SHOWDROPDOWN, FALSE, 0);
  char key = static_cast<char>(ch);
  keyPress_(key);
  if (key == 0)
    ch = 0;
}

void CommandField::AttachSuggestions(std::function<std::vector<std::string>()> names,
                                     std::function<unsigned()> version) {
  if (suggestionsTried_ || !edit_.Hwnd())
    return;
  suggestionsTried_ = true;
  suggestions_ = FieldSuggestions::Attach(edit_.Hwnd(), Hwnd(), kFolderListedMessage);
  if (!suggestions_)
    return;
  suggestionNames_ = std::move(names);
  suggestionNamesVersion_ = std::move(version);
  namesVersion_ = suggestionNamesVersion_();
  suggestions_->SetNames(suggestionNames_());
  if (items_)
    suggestions_->SetHistory(items_);
}

bool CommandField::TakeSuggestionKey(UINT msg, WPARAM key) {
  if (!suggestions_)
    return false;
  suggestions_->KeyComing(msg, key);
  if (msg != WM_KEYDOWN || (key != VK_RETURN && key != VK_ESCAPE) || !suggestions_->IsOpen())
    return false;
  if (key == VK_ESCAPE) {
    suggestions_->Dismiss();
    // Should the list still be in view, the key goes on to the platform's own handling: an Esc
    // is never swallowed by a list that stays.
    return !suggestions_->IsOpen();
  }
  suggestions_->CloseList();
  if (keyPress_) {
    char enter = kKeyEnter;
    keyPress_(enter);
  }
  return true;
}

void CommandField::CloseSuggestions() {
  if (suggestions_)
    suggestions_->CloseList();
}

}  // namespace kv
