#include "app/bar_window_win.h"

#include <commctrl.h>

#include "app/suggestions.h"
#include "app/texts.h"
#include "toolkit/application_win.h"
#include "toolkit/gdi_win.h"
#include "toolkit/text_win.h"

namespace kv {
namespace {

constexpr wchar_t kClassName[] = L"TForm1";
constexpr UINT_PTR kTimer1Id = 1;
constexpr UINT_PTR kQTTimerId = 2;
constexpr UINT_PTR kSaveTimerId = 3;
constexpr UINT kN1Id = 100;

constexpr char kDesignedGradient[] =
    "16777215;12632256;22;0;0;12632256;12632256;54;0;0;12632256;16777215;23;0;0;16777215;"
    "16777215;0;0;0";

// Designed places within the client area, kDesignedWidth x kBarHeight.
constexpr int kDesignedWidth = 437;
constexpr int kFieldLeft = 8;
constexpr int kFieldTop = 13;
constexpr int kFieldHeight = 32;
constexpr int kFieldRightMargin = 84;
constexpr int kListItemHeight = 24;
constexpr int kDropDownCount = 16;
// A control id of its own: the drawn rows' notifications name their control by it.
constexpr int kFieldId = 1;
// Posted to the field after its text changed, when the suggestion list has followed it.
constexpr UINT kSuggestionsShownMessage = WM_APP + 1;
// Posted to the field when a folder to suggest from was listed in the background.
constexpr UINT kFolderListedMessage = WM_APP + 2;
constexpr Rect kOkBDesigned{360, 12, 392, 44};
constexpr Rect kCloseBDesigned{400, 12, 432, 44};
// Longest history copied into the drop-down list at once (a few milliseconds); a longer one is
// copied when it is first needed.
constexpr size_t kImmediateListItems = 2000;

Font ButtonFont() {
  return Font{"Arial Black", 17, true};
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CommandField

void CommandField::Create(HWND parent, RECT bounds, HFONT font) {
  // The list's rows are drawn here: only drawn rows take the designed height of 24 pixels.
  CreateControl(0, WC_COMBOBOXW, L"",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL |
                    CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                bounds, parent, kFieldId);
  font_ = font;
  SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  // The history has no length limit, so neither has the field (the edit's default is 30,000).
  SendMessageW(hwnd(), CB_LIMITTEXT, 0, 0);
  SendMessageW(hwnd(), CB_SETITEMHEIGHT, 0, kListItemHeight);
  SendMessageW(hwnd(), CB_SETMINVISIBLE, kDropDownCount, 0);
  // The selection field's height makes the whole box the designed 32 pixels; the frame around
  // it differs between themes, so measure and correct.
  // (Wine reads back a different item height than it was given, so correct the request.)
  LRESULT request = SendMessageW(hwnd(), CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
  for (int attempt = 0; attempt < 4; ++attempt) {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    const int error = (r.bottom - r.top) - kFieldHeight;
    if (error == 0)
      break;
    request -= error;
    SendMessageW(hwnd(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), request);
  }
  painting_.onRepaint = [this] {
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  };
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(hwnd(), &info);
  edit_ = info.hwndItem;
  list_ = info.hwndList;
  if (edit_)
    SetWindowSubclass(edit_, EditProcedure, 1, reinterpret_cast<DWORD_PTR>(this));
}

HBRUSH CommandField::FillBrush() {
  const Color rgbColor = resolveColor(painting_.color(), systemColors());
  if (!brush_ || rgbColor != brushColor_) {
    brush_.reset(CreateSolidBrush(ToColorRef(rgbColor)));
    brushColor_ = rgbColor;
  }
  return brush_;
}

void CommandField::SetFontColor(Color c) {
  fontColor_ = c;
  if (hwnd())
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CommandField::SetItems(const std::vector<std::string>& items) {
  items_ = std::make_shared<const std::vector<std::string>>(items);
  listPending_ = true;
  if (suggestions_)
    suggestions_->SetHistory(items_);
  // Under Wine a million-line history took over a minute to copy, and the bar could not come
  // down meanwhile; a long list now waits until the user opens or walks it (an open list is
  // refreshed at once, it is in view).
  if (items.size() <= kImmediateListItems || SendMessageW(hwnd(), CB_GETDROPPEDSTATE, 0, 0))
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
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd())) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(hwnd(), text.data(), static_cast<int>(text.size()))));
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(hwnd(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  SendMessageW(hwnd(), WM_SETREDRAW, FALSE, 0);
  SendMessageW(hwnd(), CB_RESETCONTENT, 0, 0);
  size_t bytes = 0;
  for (const std::string& item : items)
    bytes += (item.size() + 1) * sizeof(wchar_t);
  // Straight to the list box: through the combo box every item would also pass the subclass
  // chain, which costs Wine a server round trip per message (twenty times the insertion).
  SendMessageW(list_, LB_INITSTORAGE, items.size(), bytes);
  for (const std::string& item : items)
    SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
  SetWindowTextW(hwnd(), text.c_str());
  SendMessageW(hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(start, end));
  SendMessageW(hwnd(), WM_SETREDRAW, TRUE, 0);
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
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
    suggestions_->TextChanged(WindowText(edit_));
    PostMessageW(hwnd(), kSuggestionsShownMessage, 0, 0);
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
    SetTextColor(dc, ToColorRef(resolveColor(fontColor_, systemColors())));
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
    r.left += 2;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
  if (item.itemState & ODS_FOCUS)
    DrawFocusRect(dc, &item.rcItem);
}

void CommandField::InvalidateButton() {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(hwnd(), &info))
    InvalidateRect(hwnd(), &info.rcButton, FALSE);
}

// The whole field in its fill colour, and the drop-down arrow in the font colour on a patch of
// the same fill: no platform frame or button, whatever the colour scheme. The edit inside
// paints its own text.
void CommandField::Paint() {
  ScopedPaint paint(hwnd());
  HDC dc = paint;
  FillRect(dc, &paint.PaintRect(), FillBrush());
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(hwnd(), &info))
    return;
  const RECT& b = info.rcButton;
  const bool dropped = info.stateButton == STATE_SYSTEM_PRESSED ||
                       SendMessageW(hwnd(), CB_GETDROPPEDSTATE, 0, 0) != 0;
  // Three looks: plain, larger under the pointer, pushed one pixel down while the list is open.
  const int half = hot_ && !dropped ? 6 : 5;
  const int cx = (b.left + b.right) / 2;
  const int top = (b.top + b.bottom) / 2 - half / 2 + (dropped ? 1 : 0);
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
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
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
      SetTextColor(dc, ToColorRef(resolveColor(fontColor_, systemColors())));
      SetBkColor(dc, ToColorRef(resolveColor(painting_.color(), systemColors())));
      return reinterpret_cast<LRESULT>(FillBrush());
    }
    case WM_ERASEBKGND: {
      RECT r{};
      GetClientRect(hwnd(), &r);
      FillRect(reinterpret_cast<HDC>(wparam), &r, FillBrush());
      return 1;
    }
  }
  return DefaultHandle(msg, wparam, lparam);
}

// Enter and Esc reach the field's own edit; they go to the key-press handler first, which may
// swallow them.
LRESULT CALLBACK CommandField::EditProcedure(HWND edit, UINT msg, WPARAM wparam, LPARAM lparam,
                                             UINT_PTR, DWORD_PTR data) {
  auto* field = reinterpret_cast<CommandField*>(data);
  if (NeedsList(msg, wparam))
    field->FillList();
  if (msg == WM_CHAR && (wparam == 13 || wparam == 27) && field->keyPress_) {
    // An open list goes first, with its mouse capture: the command that runs, or the slide
    // that follows, must not leave it hanging. The entry picked in it is already the text.
    if (SendMessageW(field->hwnd(), CB_GETDROPPEDSTATE, 0, 0))
      SendMessageW(field->hwnd(), CB_SHOWDROPDOWN, FALSE, 0);
    try {
      char key = static_cast<char>(wparam);
      field->keyPress_(key);
      if (key == 0)
        return 0;
    } catch (const std::exception& e) {
      Application::Instance().ShowException(e);
      return 0;
    }
  }
  if (msg == WM_NCDESTROY)
    RemoveWindowSubclass(edit, EditProcedure, 1);
  return DefSubclassProc(edit, msg, wparam, lparam);
}

void CommandField::AttachSuggestions(std::function<std::vector<std::string>()> names,
                                     std::function<unsigned()> version) {
  if (suggestionsTried_ || !edit_)
    return;
  suggestionsTried_ = true;
  suggestions_ = FieldSuggestions::Attach(edit_, hwnd(), kFolderListedMessage);
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
    char enter = 13;
    keyPress_(enter);
  }
  return true;
}

void CommandField::CloseSuggestions() {
  if (suggestions_)
    suggestions_->CloseList();
}

// ---------------------------------------------------------------------------------------------
// BarWindow

BarWindow::BarWindow()
    : Timer1(kTimer1Id, 1),
      QTTimer(kQTTimerId, 1000),
      SaveTimer(kSaveTimerId, kHistorySaveDelayMs) {}

void BarWindow::Create(TForm1& logic) {
  logic_ = &logic;
  CreateForm(kClassName, std::string(texts::kBarCaption), kDesignedWidth, kBarHeight, clBtnFace,
             nullptr, WS_POPUP | WS_CLIPCHILDREN, WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
  // Fully transparent until the first show prepares it.
  SetLayeredWindowAttributes(hwnd(), 0, 0, LWA_ALPHA);
  alpha_ = 0;
  Timer1.Attach(hwnd());
  QTTimer.Attach(hwnd());
  SaveTimer.Attach(hwnd());

  Pan.Create(hwnd(), {0, 0, kDesignedWidth, kBarHeight});
  Pan.Background().gradient().setPercent(100);
  Pan.SetGradientData(kDesignedGradient);

  // The field's window comes later (CreateField); its colours and keys are kept until then.
  ECommand.Painting().setColor(0, clBtnHighlight);
  ECommand.Painting().setColor(3, clSilver);
  ECommand.SetKeyPress([this](char& key) { logic_->ECommandKeyPress(key); });

  for (auto* button : {&OkB, &CloseB}) {
    TPNGButton& b = button->Button();
    b.setButtonStyle(PngButtonStyle::pbsFlat);
    b.setButtonLayout(PngButtonLayout::pbsImageRight);
    b.setFont(ButtonFont());
    b.setFontColor(clBlack);
  }
  OkB.Attach(Pan, kOkBDesigned);
  OkB.Button().setCaption("Ok");
  OkB.Button().OnClick = [this] { logic_->OkBClick(); };
  CloseB.Attach(Pan, kCloseBDesigned);
  CloseB.Button().setCaption("X");
  CloseB.Button().OnClick = [this] { logic_->CloseBClick(); };
  CloseB.Button().OnMouseDown = [this](MouseButton, Point) { logic_->CloseBMouseDown(); };
  CloseB.Button().OnMouseUp = [this](MouseButton, Point) { logic_->CloseBMouseUp(); };

  PopupMenu1.reset(CreatePopupMenu());
  AppendMenuW(PopupMenu1, MF_STRING, kN1Id, Widen(texts::kExitMenuItem).c_str());
}

// The field is the costliest control of the bar (the platform's combo box, with the first use
// of the fonts): it is made when the loop is first idle, or at once when the bar needs it
// sooner, so Win+Z right after start-up is not kept waiting for it.
bool BarWindow::CreateField() {
  if (ECommand.hwnd())
    return false;
  fieldFont_.reset(CreateUiFont("Arial Black", 17, true));
  RECT client{};
  GetClientRect(hwnd(), &client);
  ECommand.Create(Pan.hwnd(),
                  {kFieldLeft, kFieldTop, client.right - kFieldRightMargin,
                   kFieldTop + kFieldHeight + kDropDownCount * kListItemHeight + 2},
                  fieldFont_);
  SetWindowTextUtf8(ECommand.hwnd(), "ECommand");
  SetTabOrder({ECommand.hwnd()});
  LayOut(client.right);
  return true;
}

void BarWindow::AttachSuggestions() {
  Field().AttachSuggestions([this] { return NameSuggestions(logic_->CommandLines()); },
                            [this] { return logic_->CommandLinesVersion(); });
}

CommandField& BarWindow::Field() {
  CreateField();
  return ECommand;
}

void BarWindow::RunFormCreate() {
  try {
    logic_->FormCreate();
  } catch (const std::exception& e) {
    Application::Instance().ShowException(e);
  }
}

void BarWindow::LayOut(int clientWidth) {
  Pan.SetBounds(0, 0, clientWidth, kBarHeight);
  if (ECommand.hwnd()) {
    RECT field = ECommand.Bounds();
    SetWindowPos(ECommand.hwnd(), nullptr, 0, 0, clientWidth - kFieldLeft - kFieldRightMargin,
                 field.bottom - field.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  // The buttons follow the field at once, not only at the first timer tick, so the first slide
  // already shows them in place.
  const Rect f = FieldBounds();
  OkB.SetLeft(f.right + 5);
  CloseB.SetLeft(f.right + OkB.Bounds().width() + 10);
}

void BarWindow::ShowBarWindow() {
  ShowWindow(hwnd(), SW_SHOW);
  TakeForeground(hwnd());
  if (OnShow)
    OnShow();
}

void BarWindow::ActivateBar() {
  TakeForeground(hwnd());
  FocusField();
}

bool BarWindow::PreTranslate(MSG& msg) {
  // Before the autocomplete object sees the key: it would put the row under the pointer in the
  // field on Enter, and may or may not keep the Esc from the field.
  if (ECommand.Edit() && msg.hwnd == ECommand.Edit() &&
      ECommand.TakeSuggestionKey(msg.message, msg.wParam)) {
    return true;
  }
  return Form::PreTranslate(msg);
}

bool BarWindow::BringOpenDialogToFront() {
  // A modal dialog (ours, a message box or a common dialog) disables the bar while it is open.
  if (IsWindowEnabled(hwnd()))
    return false;
  struct Search {
    HWND bar;
    HWND front;
  } search{hwnd(), nullptr};
  // Top-level windows come in z-order; the dialog that takes input is the only enabled one.
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM data) -> BOOL {
        auto* s = reinterpret_cast<Search*>(data);
        if (w != s->bar && IsWindowVisible(w) && IsWindowEnabled(w)) {
          s->front = w;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  if (search.front)
    TakeForeground(search.front);
  return true;
}

void BarWindow::HideBarWindow() {
  ShowWindow(hwnd(), SW_HIDE);
}
bool BarWindow::IsBarShowing() {
  return IsWindowVisible(hwnd()) != 0;
}
bool BarWindow::IsBarActive() {
  return GetForegroundWindow() == hwnd();
}

int BarWindow::BarTop() {
  RECT r{};
  GetWindowRect(hwnd(), &r);
  return r.top;
}

void BarWindow::SetBarTop(int top) {
  // The suggestion list hangs below the field and would stay behind: never in view while the
  // bar moves.
  if (top != 0)
    ECommand.CloseSuggestions();
  RECT r{};
  GetWindowRect(hwnd(), &r);
  SetWindowPos(hwnd(), nullptr, r.left, top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void BarWindow::SetBarBounds(int left, int top, int width) {
  SetWindowPos(hwnd(), nullptr, left, top, width, kBarHeight,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

int BarWindow::ScreenWidth() {
  return GetSystemMetrics(SM_CXSCREEN);
}

void BarWindow::SetBarAlpha(int alpha) {
  // Every show asks for 255; only a change goes to the system.
  if (alpha == alpha_)
    return;
  alpha_ = alpha;
  SetLayeredWindowAttributes(hwnd(), 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

void BarWindow::RepaintBar() {
  RedrawWindow(hwnd(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
}

void BarWindow::PaintChanges() {
  RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// A slide step moves the bar whole: what was on screen moves with it, so a step paints only
// what the system marked invalid (the strip that came into view), from the composed images.
void BarWindow::RepaintPan() {
  RedrawWindow(Pan.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void BarWindow::RepaintField() {
  RedrawWindow(Field().hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void BarWindow::ProcessMessages() {
  Application::Instance().ProcessMessages();
}
void BarWindow::SetTimer1(bool on) {
  Timer1.SetEnabled(on);
}
void BarWindow::SetQTTimer(bool on) {
  QTTimer.SetEnabled(on);
}
void BarWindow::SetSaveTimer(bool on) {
  SaveTimer.SetEnabled(on);
}

std::string BarWindow::FieldText() {
  return WindowText(Field().hwnd());
}

void BarWindow::SetFieldText(const std::string& text) {
  SetWindowTextUtf8(Field().hwnd(), text);
}

void BarWindow::SelectAllField() {
  SendMessageW(Field().hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void BarWindow::FocusField() {
  SetFocus(Field().hwnd());
}

void BarWindow::SetDropDownItems(const std::vector<std::string>& items) {
  Field().SetItems(items);
}

void BarWindow::CloseSuggestions() {
  ECommand.CloseSuggestions();
}

Rect BarWindow::FieldBounds() {
  if (!ECommand.hwnd()) {
    // Where the field will be.
    RECT client{};
    GetClientRect(hwnd(), &client);
    return {kFieldLeft, kFieldTop, client.right - kFieldRightMargin, kFieldTop + kFieldHeight};
  }
  const RECT r = ECommand.Bounds();
  // The window rectangle of a drop-down combo box is the closed box, without its list.
  return {r.left, r.top, r.right, r.bottom};
}

void BarWindow::PopupExitMenu(Point screen) {
  const UINT chosen =
      TrackPopupMenu(PopupMenu1, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON,
                     screen.x, screen.y, 0, hwnd(), nullptr);
  PostMessageW(hwnd(), WM_NULL, 0, 0);
  if (chosen == kN1Id)
    logic_->N1Click();
}

void BarWindow::SetPanelGradient(const std::string& data) {
  Pan.SetGradientData(data);
}

void BarWindow::SetButtonsFontColor(Color c) {
  OkB.Button().setFontColor(c);
  CloseB.Button().setFontColor(c);
}

void BarWindow::SetFieldColor(Color c) {
  ECommand.Painting().setColor(3, c);
}
void BarWindow::SetFieldFontColor(Color c) {
  ECommand.SetFontColor(c);
}

LRESULT BarWindow::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_HOTKEY:
      logic_->WMHotKey(LOWORD(lparam), HIWORD(lparam));
      return 0;
    case WM_TIMER:
      if (wparam == kTimer1Id) {
        logic_->Timer1Timer();
      } else if (wparam == kQTTimerId) {
        logic_->QTTimerTimer();
      } else if (wparam == kSaveTimerId) {
        logic_->SaveTimerTimer();
      }
      return 0;
    case WM_SIZE:
      LayOut(LOWORD(lparam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wparam) == WA_INACTIVE)
        ECommand.CloseSuggestions();
      break;
    case WM_ENDSESSION:
      if (wparam)
        Application::Instance().Terminate();
      return 0;
  }
  return Form::Handle(msg, wparam, lparam);
}

}  // namespace kv
